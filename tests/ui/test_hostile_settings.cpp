// Settings that would keep the window from appearing, or make it slow to
// appear: a settings "file" that is none, and lists of absurd length.

#include <sys/stat.h>

#include <QTemporaryDir>
#include <QTest>

#include "gaeb/gaeb_catalogue.h"
#include "tests/support/format_guard.h"
#include "tests/ui/window_fixture.h"
#include "ui/qt_settings_store.h"
#include "ui/recent_files.h"

class HostileSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void NoRegularFileIsNeitherReadNorWritten_data();
  void NoRegularFileIsNeitherReadNorWritten();
  void ListsAreCleanedAsTheyAreRead();

 private:
  std::unique_ptr<FormatGuard> format_;
};

void HostileSettingsTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void HostileSettingsTest::NoRegularFileIsNeitherReadNorWritten_data() {
  QTest::addColumn<QString>("kind");
  QTest::newRow("FIFO") << "fifo";
  QTest::newRow("folder") << "folder";
  QTest::newRow("link to a device") << "device";
}

// A FIFO would block the reading (and so the window) until some other
// program writes into it; /dev/zero would never end. The window starts with
// its defaults and leaves the thing as it found it.
void HostileSettingsTest::NoRegularFileIsNeitherReadNorWritten() {
  QFETCH(QString, kind);
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("Tarvo_Redurir.ini"));
  const QByteArray path = file.toLocal8Bit();
  mode_t type = 0;
  if (kind == QLatin1String("fifo")) {
    QCOMPARE(mkfifo(path.constData(), 0600), 0);
    type = S_IFIFO;
  } else if (kind == QLatin1String("folder")) {
    QCOMPARE(mkdir(path.constData(), 0700), 0);
    type = S_IFDIR;
  } else {
    QCOMPARE(symlink("/dev/zero", path.constData()), 0);
    type = S_IFCHR;
  }
  QTest::ignoreMessage(QtWarningMsg,
                       qPrintable(QStringLiteral("Warnung: Die Einstellungsdatei %1 ist keine "
                                                 "gew\u00f6hnliche Datei; die Einstellungen "
                                                 "werden weder gelesen noch gespeichert.")
                                      .arg(file)));
  QtSettingsStore store(file);
  QCOMPARE(store.Location(), file);
  QVERIFY(!store.OpenForReading());
  {
    ScriptedDialogs dialogs;
    TFormLyx form(store, dialogs);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.findChild<QLineEdit*>(QStringLiteral("eArtStaat"))->text(),
             QStringLiteral("EWR"));
    form.close();
  }
  QVERIFY(!store.OpenForWriting());
  struct stat after;
  QCOMPARE(stat(path.constData(), &after), 0);
  QCOMPARE(after.st_mode & S_IFMT, type);
}

// Every column once, in the order first named; widths of known columns
// only; each recent file once, none longer than a path can be.
void HostileSettingsTest::ListsAreCleanedAsTheyAreRead() {
  QString opt, widths;
  for (int i = 0; i < 100000; ++i) {
    opt += QStringLiteral("1-F%1;1-OZ;0-EP;").arg(i);
    widths += QStringLiteral("F%1=10;").arg(i);
  }
  opt += QStringLiteral("1-EP;1-GB;");
  widths += QStringLiteral("EP=80;OZ=90;EP=20;");
  MemorySettingsStore store;
  store.keyExists = true;
  store.values["Opt"] = opt;
  store.values["ColWidths"] = widths;
  store.values["FILE0"] = QStringLiteral("/lv/a.d83");
  store.values["FILE1"] = QStringLiteral("/LV/A.D83");
  store.values["FILE2"] = QStringLiteral("/lv/") + QString(1 << 20, QLatin1Char('x'));
  store.values["FILE3"] = QStringLiteral("/lv/b.d83");
  {
    Window w(store);
    QCOMPARE(w.Columns()->ItemCount(), 3);
    QCOMPARE(w.form.RecentFiles().Paths(), (QStringList{"/lv/a.d83", "/lv/b.d83"}));
    w.form.close();
  }
  QCOMPARE(store.ReadString("Opt"), QStringLiteral("1-OZ;0-EP;1-GB;"));
  QCOMPARE(store.ReadString("ColWidths"), QStringLiteral("EP=80;OZ=90;"));
  QCOMPARE(store.ReadString("FILE1"), QStringLiteral("/lv/b.d83"));
}

QTEST_MAIN(HostileSettingsTest)
#include "test_hostile_settings.moc"
