#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "gaeb/gaeb_catalogue.h"
#include "tests/ui/window_fixture.h"
#include "ui/action_icons.h"
#include "ui/file_argument.h"
#include "ui/german_message_box.h"
#include "ui/german_qt.h"
#include "ui/qt_window_dialogs.h"

namespace {

const TActionIcon kIcons[] = {TActionIcon::Open,          TActionIcon::Save,
                              TActionIcon::Print,         TActionIcon::Help,
                              TActionIcon::PreviousEmpty, TActionIcon::NextEmpty};

QImage Picture(const QIcon& icon) { return icon.pixmap(24, 24).toImage(); }

// An icon theme with a picture for the given names only.
void WriteTheme(const QString& root, const QStringList& names) {
  QDir(root).mkpath(QStringLiteral("test/24x24/actions"));
  QFile index(root + QStringLiteral("/test/index.theme"));
  index.open(QIODevice::WriteOnly);
  index.write(
      "[Icon Theme]\nName=test\nDirectories=24x24/actions\n\n[24x24/actions]\nSize=24\n"
      "Type=Fixed\n");
  QImage image(24, 24, QImage::Format_ARGB32);
  image.fill(Qt::magenta);
  for (const QString& name : names)
    image.save(root + QStringLiteral("/test/24x24/actions/") + name + QStringLiteral(".png"));
}

}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void QtDialogsSpeakGerman_data();
  void QtDialogsSpeakGerman();
  void FileArgument_data();
  void FileArgument();
  void CommandsHaveDrawnIconsOfTheirOwn();
  void CommandsTakeTheThemesIcons();
  void SaveQuestionAnswersItsKeys_data();
  void SaveQuestionAnswersItsKeys();
  void GoOnQuestionDefaultsToCancel();
  void MessageBoxFitsItsTitle();
  void FileDialogShowsItsColumnsWhole();
};

void DesktopTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  QVERIFY(InstallGermanQtTexts(*QCoreApplication::instance()));
}

void DesktopTest::QtDialogsSpeakGerman_data() {
  QTest::addColumn<QString>("context");
  QTest::addColumn<QString>("english");
  QTest::addColumn<QString>("german");
  QTest::newRow("button") << "QPlatformTheme"
                          << "Cancel"
                          << "Abbrechen";
  QTest::newRow("file dialog") << "QFileDialog"
                               << "Look in:"
                               << "Suchen in:";
  QTest::newRow("file name") << "QFileDialog"
                             << "File &name:"
                             << "Datei&name:";
  QTest::newRow("print dialog") << "QPrintDialog"
                                << "Print"
                                << "Drucken";
  QTest::newRow("printer properties") << "QPrintDialog"
                                      << "&Options >>"
                                      << "&Einstellungen >>";
}

void DesktopTest::QtDialogsSpeakGerman() {
  QFETCH(QString, context);
  QFETCH(QString, english);
  QFETCH(QString, german);
  QCOMPARE(QCoreApplication::translate(qPrintable(context), qPrintable(english)), german);
}

void DesktopTest::FileArgument_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<QString>("file");
  const QString dir = QStringLiteral(TARVO_TEST_DATA_DIR "/real");
  const QString tender = dir + QStringLiteral("/LV_Los01.P83");
  QTest::newRow("none") << QStringList{"tarvo"} << QString();
  QTest::newRow("absolute") << QStringList{"tarvo", tender} << tender;
  QTest::newRow("relative") << QStringList{"tarvo", "lv.d83"}
                            << QDir::current().absoluteFilePath(QStringLiteral("lv.d83"));
  QTest::newRow("options left out") << QStringList{"tarvo", tender, "-style", "-reverse"} << tender;
  QTest::newRow("resource library") << QStringList{"tarvo", "/OTARVO_DE", tender, "-OX"} << tender;
  QTest::newRow("only the library") << QStringList{"tarvo", "/OTARVO_DE"} << QString();
  QTest::newRow("the last of two") << QStringList{"tarvo", "a.d83", tender} << tender;
  QTest::newRow("empty") << QStringList{"tarvo", ""} << QString();
}

void DesktopTest::FileArgument() {
  QFETCH(QStringList, arguments);
  QFETCH(QString, file);
  QCOMPARE(::FileArgument(arguments), file);
}

// Without a theme every command has a picture, each a different one.
void DesktopTest::CommandsHaveDrawnIconsOfTheirOwn() {
  QIcon::setThemeSearchPaths({});
  QIcon::setThemeName(QString());
  QList<QImage> pictures;
  for (TActionIcon icon : kIcons) {
    const QImage picture = Picture(ActionIcon(icon));
    QCOMPARE(picture.size(), QSize(24, 24));
    QVERIFY2(!pictures.contains(picture), qPrintable(ThemeIconNames(icon).constFirst()));
    pictures << picture;
  }
}

// A theme's icons win; help takes the theme's second name when it lacks the
// first, and a command whose icon the theme lacks keeps its drawn one.
void DesktopTest::CommandsTakeTheThemesIcons() {
  QTemporaryDir themes;
  WriteTheme(themes.path(), {"document-open", "document-print", "help-browser"});
  QIcon::setThemeSearchPaths({themes.path()});
  QIcon::setThemeName(QStringLiteral("test"));
  MemorySettingsStore settings;
  Window w(settings);
  const QImage magenta = [] {
    QImage image(24, 24, QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    return image;
  }();
  const auto themed = [&](const char* action) {
    return Picture(w.Action(action)->icon()).convertToFormat(QImage::Format_ARGB32) == magenta;
  };
  QVERIFY(themed("aLoad"));
  QVERIFY(themed("aPrint"));
  QVERIFY(themed("aHelp"));
  QVERIFY(!themed("aSave"));
  QVERIFY(!Picture(w.Action("aSave")->icon()).isNull());
  QIcon::setThemeName(QString());
}

void DesktopTest::SaveQuestionAnswersItsKeys_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("answer");
  using Answer = WindowDialogs::SaveChanges;
  QTest::newRow("J") << int(Qt::Key_J) << int(Answer::Save);
  QTest::newRow("N") << int(Qt::Key_N) << int(Answer::Discard);
  QTest::newRow("A") << int(Qt::Key_A) << int(Answer::Cancel);
  QTest::newRow("Enter") << int(Qt::Key_Return) << int(Answer::Save);
  QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Answer::Cancel);
}

// The question that guards unsaved work is answered from the keyboard, with
// the German captions.
void DesktopTest::SaveQuestionAnswersItsKeys() {
  QFETCH(int, key);
  QFETCH(int, answer);
  QStringList captions;
  QTimer press;
  connect(&press, &QTimer::timeout, this, [&] {
    QWidget* box = QApplication::activeModalWidget();
    if (!box) return;
    press.stop();
    for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
      captions << button->text();
    QTest::keyClick(box, static_cast<Qt::Key>(key));
  });
  press.start(10);
  QtWindowDialogs dialogs;
  QCOMPARE(int(dialogs.AskSaveChanges(nullptr, QStringLiteral("lv.d83"))), answer);
  captions.sort();
  QCOMPARE(captions, QStringList({"&Abbrechen", "&Ja", "&Nein"}));
}

// What the offer lacks: Enter and Esc lead back to it, going on takes a click.
void DesktopTest::GoOnQuestionDefaultsToCancel() {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
    QStringList captions;
    QTimer press;
    connect(&press, &QTimer::timeout, this, [&] {
      QWidget* box = QApplication::activeModalWidget();
      if (!box) return;
      press.stop();
      for (const QAbstractButton* button : box->findChildren<QAbstractButton*>())
        captions << button->text();
      QTest::keyClick(box, key);
    });
    press.start(10);
    QtWindowDialogs dialogs;
    QVERIFY(!dialogs.GoOnDespite(nullptr,
                                 QStringLiteral("Das Angebot ist noch nicht vollst\u00E4ndig:")));
    captions.sort();
    QCOMPARE(captions, QStringList({"Abbrechen", "Trotzdem fortfahren"}));
  }
}

void DesktopTest::MessageBoxFitsItsTitle() {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tarvo Rudarur: Bieter - Preiserfassung"),
                  QStringLiteral("OK?"), QMessageBox::Ok);
  GermanMessageBox(box);
  box.show();
  QVERIFY(QTest::qWaitForWindowExposed(&box));
  // A title bar holds the window manager's buttons beside the title.
  const int titleBar = box.fontMetrics().horizontalAdvance(box.windowTitle()) + 100;
  QVERIFY2(box.width() >= titleBar, qPrintable(QString::number(box.width())));
}

// Size, type and date of the tenders in the open dialog are not cut. The file model
// delivers them from a thread after the rows, and on a busy machine the header
// measures them a moment later: what counts is how the dialog settles.
void DesktopTest::FileDialogShowsItsColumnsWhole() {
  QStringList cut;
  QElapsedTimer sinceRows;
  QTimer look;
  connect(&look, &QTimer::timeout, this, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    auto* files = dialog ? dialog->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
    if (!files || files->model()->rowCount(files->rootIndex()) == 0) return;
    if (!sinceRows.isValid()) sinceRows.start();
    const QAbstractItemModel& model = *files->model();
    cut.clear();
    for (int c = 1; c < files->header()->count(); ++c) {
      if (files->header()->isSectionHidden(c)) continue;
      for (int row = 0; row < model.rowCount(files->rootIndex()); ++row) {
        const QString text = model.index(row, c, files->rootIndex()).data().toString();
        if (files->header()->sectionSize(c) <= files->fontMetrics().horizontalAdvance(text))
          cut << text;
      }
    }
    if (!cut.isEmpty() && sinceRows.elapsed() < 5000) return;
    look.stop();
    dialog->reject();
  });
  look.start(20);
  QtWindowDialogs dialogs;
  QDir::setCurrent(QStringLiteral(TARVO_TEST_DATA_DIR "/real"));
  QCOMPARE(dialogs.OpenFileName(nullptr), QString());
  QVERIFY(sinceRows.isValid());
  QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral(", "))));
}

QTEST_MAIN(DesktopTest)
#include "test_desktop.moc"
