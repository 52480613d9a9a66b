#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include "document/lyx_obj.h"
#include "document/recovery_file.h"
#include "gaeb/gaeb_catalogue.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/ui/window_fixture.h"

namespace {

// Row 1 of the first area of LV_Los01 is position 010010 without a price.
constexpr int kPositionRow = 1;

QByteArray WithoutStamp(QByteArray bytes) {
  for (const char* key : {"[DATUM]", "[UHRZEIT]"}) {
    const qsizetype at = bytes.indexOf(key);
    if (at >= 0) bytes.remove(at, bytes.indexOf('\n', at) - at);
  }
  return bytes;
}

QByteArray FileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class AutosaveTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void SecuresWhatIsTypedAsASaveWouldHave();
  void SaveAndDiscardRemoveTheFile_data();
  void SaveAndDiscardRemoveTheFile();
  void ZeroSecondsTurnsItOffAndIsKept();
  void APauseInTypingSecures();

 private:
  void OpenAndPrice(Window& w);

  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
  std::unique_ptr<QTemporaryDir> dir_;
  QString tender_;
};

void AutosaveTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void AutosaveTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  qputenv("XDG_DATA_HOME", dir_->filePath(QStringLiteral("data")).toLocal8Bit());
  tender_ = dir_->filePath(QStringLiteral("LV_Los01.P83"));
  QVERIFY(QFile::copy(RealTender("LV_Los01.P83"), tender_));
}

void AutosaveTest::OpenAndPrice(Window& w) {
  w.ShowActive();
  QVERIFY(w.form.LoadFile(tender_));
  QVERIFY2(!w.form.SecureOffer(true), "nothing to secure yet");
  w.TypeIntoCell(kPositionRow, "EP", QStringLiteral("4711"));
}

void AutosaveTest::SecuresWhatIsTypedAsASaveWouldHave() {
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  QVERIFY(w.form.SecureOffer(true));
  w.form.AutoSave().Wait();
  const QString recovery = QString::fromStdString(w.form.AutoSave().Path());
  QVERIFY(recovery.contains(QStringLiteral("/data/Tarvo_Redurir/Wiederherstellung/")));

  KsLyxObj restored;
  RecoveryHead head;
  QVERIFY2(restored.Restore(recovery.toStdString(), head), restored.LastError.c_str());
  QVERIFY(restored.Modified());
  const QString fromRecovery = dir_->filePath(QStringLiteral("wieder.D84"));
  QVERIFY(restored.ExportD84(fromRecovery.toStdString()));
  const QString saved = dir_->filePath(QStringLiteral("Angebot.D84"));
  QVERIFY(w.form.Document().ExportD84(saved.toStdString()));
  QCOMPARE(WithoutStamp(FileContent(fromRecovery)), WithoutStamp(FileContent(saved)));
  QVERIFY(FileContent(saved).contains("4711"));
}

void AutosaveTest::SaveAndDiscardRemoveTheFile_data() {
  QTest::addColumn<bool>("save");
  QTest::newRow("saved") << true;
  QTest::newRow("closed without saving") << false;
}

void AutosaveTest::SaveAndDiscardRemoveTheFile() {
  QFETCH(bool, save);
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  QVERIFY(w.form.SecureOffer(true));
  w.form.AutoSave().Wait();
  const QString recovery = QString::fromStdString(w.form.AutoSave().Path());
  QVERIFY(QFile::exists(recovery));
  if (save) {
    w.dialogs.saveAnswer = dir_->filePath(QStringLiteral("Angebot.D84"));
    QVERIFY(w.form.SaveFile());
  } else {
    w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
    QVERIFY(w.form.close());
  }
  QVERIFY(!QFile::exists(recovery));
}

void AutosaveTest::ZeroSecondsTurnsItOffAndIsKept() {
  MemorySettingsStore store;
  {
    Window w(store);
    QCOMPARE(w.form.findChild<QSpinBox*>()->value(), 60);
    w.form.findChild<QSpinBox*>()->setValue(0);
    OpenAndPrice(w);
    QVERIFY(!w.form.SecureOffer(true));
    w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
    QVERIFY(w.form.close());
  }
  Window again(store);
  QCOMPARE(again.form.findChild<QSpinBox*>()->value(), 0);
}

void AutosaveTest::APauseInTypingSecures() {
  MemorySettingsStore store;
  Window w(store);
  w.form.findChild<QSpinBox*>()->setValue(3600);
  OpenAndPrice(w);
  QVERIFY(w.form.SecureOffer(true));
  w.form.AutoSave().Wait();
  const QString recovery = QString::fromStdString(w.form.AutoSave().Path());
  QVERIFY(!FileContent(recovery).contains("9876"));
  // The hour is not up: only the pause after the entry writes it again.
  w.TypeIntoCell(kPositionRow, "EP", QStringLiteral("9876"));
  QTRY_VERIFY_WITH_TIMEOUT(FileContent(recovery).contains("9876"), 10000);
}

QTEST_MAIN(AutosaveTest)
#include "test_autosave.moc"
