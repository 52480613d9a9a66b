#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "archive/price_archive.h"
#include "gaeb/gaeb_catalogue.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/ui/window_fixture.h"
#include "ui/archive_options.h"

namespace {

// Row 1 of the first area of LV_Los01 is position 010010 without a price.
constexpr int kPositionRow = 1;

int ArchivedOffers() {
  PriceArchive archive(ArchiveLocation::Default());
  return archive.Counts().first;
}

}  // namespace

// Every save of the window enters the offer into the archive; the archive
// failing never costs the save.
class ArchiveSaveTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void SavingEntersTheOfferIntoTheArchive();
  void AFailingArchiveIsToldOnceAndCatchesUpAtTheNextSave();
  void TheOptionSwitchesItOff();
  void TheServerIsKeptInTheSettings();

 private:
  void OpenAndPrice(Window& w);
  QString Saved(Window& w, const char* name);

  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
  std::unique_ptr<QTemporaryDir> dir_;
  QString tender_;
};

void ArchiveSaveTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void ArchiveSaveTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  qputenv("XDG_DATA_HOME", dir_->filePath(QStringLiteral("data")).toLocal8Bit());
  tender_ = dir_->filePath(QStringLiteral("LV_Los01.P83"));
  QVERIFY(QFile::copy(RealTender("LV_Los01.P83"), tender_));
}

void ArchiveSaveTest::OpenAndPrice(Window& w) {
  w.ShowActive();
  QVERIFY(w.form.LoadFile(tender_));
  w.TypeIntoCell(kPositionRow, "EP", QStringLiteral("4711"));
}

QString ArchiveSaveTest::Saved(Window& w, const char* name) {
  w.dialogs.saveAnswer = dir_->filePath(QString::fromLatin1(name));
  if (!w.form.SaveFile()) qWarning("not saved");
  return w.dialogs.saveAnswer;
}

void ArchiveSaveTest::SavingEntersTheOfferIntoTheArchive() {
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  Saved(w, "angebot.D84");
  QVERIFY(w.form.statusBar()->currentMessage().isEmpty());
  PriceArchive archive(ArchiveLocation::Default());
  QCOMPARE(archive.Counts(), (std::pair<int, int>{1, 1}));
  Saved(w, "angebot.D84");
  QCOMPARE(archive.Counts(), (std::pair<int, int>{1, 1}));
}

void ArchiveSaveTest::AFailingArchiveIsToldOnceAndCatchesUpAtTheNextSave() {
  // Where the archive's folder should be, a file stands.
  QVERIFY(QDir().mkpath(dir_->filePath(QStringLiteral("data"))));
  const QString blocker = dir_->filePath(QStringLiteral("data/Tarvo_Redurir"));
  QFile(blocker).open(QIODevice::WriteOnly);
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  QVERIFY(QFile::exists(Saved(w, "a.D84")));
  const QString told = w.form.statusBar()->currentMessage();
  QVERIFY2(told.startsWith(QStringLiteral("Das Angebot ist gespeichert, das Preisarchiv nicht:")),
           qPrintable(told));
  QVERIFY(told.contains(QStringLiteral("Tarvo_Redurir")));
  w.form.statusBar()->clearMessage();
  QVERIFY(QFile::exists(Saved(w, "b.D84")));
  QVERIFY(w.form.statusBar()->currentMessage().isEmpty());
  QVERIFY(boxes_.messages.empty());

  QVERIFY(QFile::remove(blocker));
  Saved(w, "c.D84");
  QVERIFY(w.form.statusBar()->currentMessage().isEmpty());
  QCOMPARE(ArchivedOffers(), 3);
}

void ArchiveSaveTest::TheOptionSwitchesItOff() {
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  w.Find<QCheckBox>("cboxArchive")->setChecked(false);
  Saved(w, "angebot.D84");
  QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("data/Tarvo_Redurir/Preisarchiv.sqlite"))));
}

void ArchiveSaveTest::TheServerIsKeptInTheSettings() {
  MemorySettingsStore store;
  ArchiveOptions options;
  QVERIFY(options.cboxArchive->isChecked());
  QVERIFY(!options.eArchHost->isEnabled());
  options.cboxServer->setChecked(true);
  QVERIFY(options.eArchHost->isEnabled());
  QVERIFY_THROWS_EXCEPTION(std::runtime_error, options.Location());
  options.eArchHost->setText(QStringLiteral("/run/postgresql"));
  options.eArchPort->setValue(5433);
  options.eArchDatabase->setText(QStringLiteral("preisarchiv"));
  options.eArchUser->setText(QStringLiteral("bieter"));
  options.eArchPassword->setText(QStringLiteral("gehe'im;"));
  options.Write(store);
  ArchiveOptions back;
  back.Read(store);
  const ArchiveLocation l = back.Location();
  QCOMPARE(l.Kind, ArchiveLocation::Engine::PostgreSQL);
  QCOMPARE(QString::fromStdString(l.Describe()),
           QStringLiteral("PostgreSQL bieter@/run/postgresql:5433/preisarchiv"));
  QCOMPARE(QString::fromStdString(l.Password), QStringLiteral("gehe'im;"));
}

QTEST_MAIN(ArchiveSaveTest)
#include "test_archive_save.moc"
