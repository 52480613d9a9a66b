#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "document/autosave.h"
#include "document/lyx_obj.h"
#include "document/recovery_place.h"
#include "gaeb/gaeb_catalogue.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/typing_script.h"
#include "tests/ui/window_fixture.h"
#include "ui/recovery_question.h"

namespace {

QByteArray FileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray WithoutStamp(QByteArray bytes) {
  for (const char* key : {"[DATUM]", "[UHRZEIT]"}) {
    const qsizetype at = bytes.indexOf(key);
    if (at >= 0) bytes.remove(at, bytes.indexOf('\n', at) - at);
  }
  return bytes;
}

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }

// What the question showed and which button was pressed.
struct Answer {
  QString text;
  QStringList buttons;
  bool restoreEnabled = false;
  int asked = 0;
};

// Presses the button `caption` of every recovery question that comes up
// while the test waits, noting what the last one showed.
class QuestionAnswerer {
 public:
  explicit QuestionAnswerer(QString caption) : caption_(std::move(caption)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start(10);
  }
  Answer answer;

 private:
  void Look() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* box = qobject_cast<QMessageBox*>(widget);
      if (!box || !box->isVisible() || box->objectName() != QLatin1String("RecoveryQuestion"))
        continue;
      ++answer.asked;
      answer.text = box->text();
      answer.buttons.clear();
      QPushButton* chosen = nullptr;
      for (QAbstractButton* button : box->buttons()) {
        answer.buttons << button->text();
        if (button->text() == QLatin1String("Wiederherstellen"))
          answer.restoreEnabled = button->isEnabled();
        if (button->text() == caption_) chosen = qobject_cast<QPushButton*>(button);
      }
      if (chosen && chosen->isEnabled())
        chosen->click();
      else
        box->reject();
      return;
    }
  }
  QString caption_;
  QTimer timer_;
};

}  // namespace

class RecoveryQuestionTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void RestoredOfferIsTheSecuredOneAndSavesAsThen();
  void DiscardRemovesAndLaterKeeps_data();
  void DiscardRemovesAndLaterKeeps();
  void DamagedFileIsReportedAndNotRestored();
  void GoneGaeb90TenderStillRestoresItsOffer();
  void FilesOfARunningWindowAreNotOffered();

 private:
  // A recovery file of `tender` priced with "4711" left by a window that
  // no longer runs; the offer as that window would have saved it goes to
  // `saved` when given.
  QString LeaveOrphan(const QString& tender, const QString& saved = {});

  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
  std::unique_ptr<QTemporaryDir> dir_;
  QString tender_;
};

void RecoveryQuestionTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void RecoveryQuestionTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  qputenv("XDG_DATA_HOME", dir_->filePath(QStringLiteral("data")).toLocal8Bit());
  tender_ = dir_->filePath(QStringLiteral("LV_Los01.P83"));
  QVERIFY(QFile::copy(RealTender("LV_Los01.P83"), tender_));
}

QString RecoveryQuestionTest::LeaveOrphan(const QString& tender, const QString& saved) {
  KsLyxObj doc;
  if (!doc.Import(Native(tender))) qWarning("%s", doc.LastError.c_str());
  KsGAEBObj& position = *typing_script::Positions(doc).front();
  doc.NoteEdit(position);
  ApplyCellText(position, position.GetMember(typing_script::PriceMember(position)), "4711");
  Autosave autosave(60);
  autosave.Opened(Native(tender));
  autosave.Secure(doc, 1765260000, true);
  autosave.Wait();
  if (!saved.isEmpty()) doc.ExportD84(Native(saved));
  // As a killed window leaves it: the file without its owner's lock.
  const QString orphan = QFile::decodeName(QByteArray::fromStdString(RecoveryDirectory())) +
                         QStringLiteral("/lv.999999.wiederherstellung.xml");
  QFile::copy(QFile::decodeName(QByteArray::fromStdString(autosave.Path())), orphan);
  autosave.Discard();
  return orphan;
}

void RecoveryQuestionTest::RestoredOfferIsTheSecuredOneAndSavesAsThen() {
  const QString then = dir_->filePath(QStringLiteral("damals.D84"));
  const QString orphan = LeaveOrphan(tender_, then);
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QuestionAnswerer answerer(QStringLiteral("Wiederherstellen"));
  QVERIFY(AskAboutRecoveries(w.form));
  QCOMPARE(answerer.answer.asked, 1);
  QStringList buttons = answerer.answer.buttons;
  buttons.sort();
  QCOMPARE(buttons, QStringList({QStringLiteral("Sp\u00E4ter"), QStringLiteral("Verwerfen"),
                                 QStringLiteral("Wiederherstellen")}));
  const QString text = answerer.answer.text;
  QVERIFY2(text.contains(QStringLiteral("Ausschreibung: LV_Los01.P83")), qPrintable(text));
  QVERIFY2(text.contains(QStringLiteral("Zuletzt gesichert: am ")), qPrintable(text));
  QVERIFY2(text.contains(QStringLiteral("Von der Ausschreibung abweichende Eintr\u00E4ge: 1\n")),
           qPrintable(text));

  QVERIFY(w.form.Document().Loaded());
  QVERIFY(w.form.Document().Modified());
  QVERIFY(w.form.isWindowModified());
  QVERIFY(w.form.windowTitle().startsWith(QStringLiteral("LV_Los01.P83")));
  // Secured on into the file it came from, which is this window's now.
  QCOMPARE(QString::fromStdString(w.form.AutoSave().Path()), orphan);
  QVERIFY(RecoveryClaim::Orphans().empty());

  w.dialogs.saveAnswer = dir_->filePath(QStringLiteral("Angebot.D84"));
  QVERIFY(w.form.SaveFile());
  QCOMPARE(w.dialogs.saveDirectory, dir_->path());
  QCOMPARE(w.dialogs.saveProposal, QStringLiteral("LV_Los01.D84"));
  QCOMPARE(WithoutStamp(FileContent(w.dialogs.saveAnswer)), WithoutStamp(FileContent(then)));
  QVERIFY(FileContent(then).contains("4711"));
  QVERIFY(!QFile::exists(orphan));
}

void RecoveryQuestionTest::DiscardRemovesAndLaterKeeps_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<bool>("kept");
  QTest::newRow("Verwerfen") << QStringLiteral("Verwerfen") << false;
  QTest::newRow("Sp\u00E4ter") << QStringLiteral("Sp\u00E4ter") << true;
}

void RecoveryQuestionTest::DiscardRemovesAndLaterKeeps() {
  QFETCH(QString, button);
  QFETCH(bool, kept);
  const QString orphan = LeaveOrphan(tender_);
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  {
    QuestionAnswerer answerer(button);
    QVERIFY(!AskAboutRecoveries(w.form));
    QCOMPARE(answerer.answer.asked, 1);
  }
  QVERIFY(!w.form.Document().Loaded());
  QCOMPARE(QFile::exists(orphan), kept);
  // Asked again at the next start only when kept.
  QuestionAnswerer again(QStringLiteral("Sp\u00E4ter"));
  QVERIFY(!AskAboutRecoveries(w.form));
  QCOMPARE(again.answer.asked, kept ? 1 : 0);
}

void RecoveryQuestionTest::DamagedFileIsReportedAndNotRestored() {
  const QString orphan = LeaveOrphan(tender_);
  QByteArray bytes = FileContent(orphan);
  QFile file(orphan);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes.left(bytes.size() / 2));
  file.close();
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QuestionAnswerer answerer(QStringLiteral("Wiederherstellen"));
  QVERIFY(!AskAboutRecoveries(w.form));
  QCOMPARE(answerer.answer.asked, 1);
  QVERIFY(!answerer.answer.restoreEnabled);
  QVERIFY2(answerer.answer.text.startsWith(QStringLiteral("Die Wiederherstellungsdatei ") + orphan +
                                           QStringLiteral(" ist ")),
           qPrintable(answerer.answer.text));
  QVERIFY(answerer.answer.text.contains(QStringLiteral("kann nicht wiederhergestellt werden")));
  QVERIFY(!w.form.Document().Loaded());
  QVERIFY(QFile::exists(orphan));
}

// The tender went after the crash: the recovery file alone gives the offer,
// in the tender's own format.
void RecoveryQuestionTest::GoneGaeb90TenderStillRestoresItsOffer() {
  const QString tender = dir_->filePath(QStringLiteral("LV_Los01.D83"));
  QVERIFY(QFile::copy(QStringLiteral(TARVO_TEST_DATA_DIR "/gaeb90/LV_Los01.D83"), tender));
  const QString then = dir_->filePath(QStringLiteral("damals.D84"));
  LeaveOrphan(tender, then);
  QVERIFY(QFile::remove(tender));
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QuestionAnswerer answerer(QStringLiteral("Wiederherstellen"));
  QVERIFY(AskAboutRecoveries(w.form));
  QVERIFY2(answerer.answer.text.contains(QStringLiteral("ist nicht mehr vorhanden")),
           qPrintable(answerer.answer.text));
  QVERIFY(!answerer.answer.text.contains(QStringLiteral("abweichende")));
  QVERIFY(w.form.Document().IsGaeb90());
  w.dialogs.saveAnswer = dir_->filePath(QStringLiteral("Angebot.D84"));
  QVERIFY(w.form.SaveFile());
  QCOMPARE(w.dialogs.offerSaveCount, 1);
  QCOMPARE(FileContent(w.dialogs.saveAnswer), FileContent(then));
}

void RecoveryQuestionTest::FilesOfARunningWindowAreNotOffered() {
  MemorySettingsStore store;
  Window first(store);
  first.ShowActive();
  QVERIFY(first.form.LoadFile(tender_));
  first.TypeIntoCell(1, "EP", QStringLiteral("4711"));
  QVERIFY(first.form.SecureOffer(true));
  first.form.AutoSave().Wait();
  Window second(store);
  QuestionAnswerer answerer(QStringLiteral("Wiederherstellen"));
  QVERIFY(!AskAboutRecoveries(second.form));
  QCOMPARE(answerer.answer.asked, 0);
  first.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
  QVERIFY(first.form.close());
}

QTEST_MAIN(RecoveryQuestionTest)
#include "test_recovery_question.moc"
