// The send commands end to end: the window, the mail layer and the Linux
// provider with stand-ins for sendmail and xdg-email, or the stub mapi32
// where the mail system's answer is to be chosen.

#include <dlfcn.h>

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <filesystem>
#include <fstream>
#include <memory>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "mail/mapi_binding.h"
#include "mail/mapi_settings.h"
#include "tests/mail/stub/stub_control.h"
#include "tests/support/format_guard.h"
#include "tests/support/mail_stand_ins.h"
#include "tests/support/parsed_mail.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/time_of_writing.h"
#include "tests/ui/window_fixture.h"
#include "ui/send_commands.h"

namespace {

namespace fs = std::filesystem;

const char kNoDocument[] =
    "Bitte lesen Sie zun\xE4"
    "chst eine Datei ein.";

class InstalledMapi : public MapiSettings {
 public:
  std::optional<std::string> MapiValue() const override { return "1"; }
  std::optional<std::string> DefaultProfile() const override { return std::nullopt; }
};

struct StoreHolder {
  MemorySettingsStore store;
};

// The window of the tests, with the send command's helpers.
struct SendWindow : StoreHolder, Window {
  SendWindow() : Window(store) {}
  void ShowMailClient(bool on) { Find<QCheckBox>("cboxShowMapiClient")->setChecked(on); }
  void Send() { Action("aSend")->trigger(); }
  KsLyxObj& Document() { return form.Document(); }
  static void SetMember(KsGAEBObj* element, const char* name, const std::string& value) {
    element->Members.FindOrMake(name)->SetAsString(value);
  }
};

// The offer as saving would write it now, without its time of writing: the
// mail's copy may be written a second earlier.
std::string Exported(KsLyxObj& document, const std::string& path) {
  return document.ExportD84(path) ? WithoutTimeOfWriting(ReadFile(path))
                                  : std::string("export failed");
}

}  // namespace

class SendCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void SendCommandInMenuAndToolBar();
  void SendWithoutDocument();
  void OfferThroughSendmail();
  void PriceBeingTypedGoesWithTheOffer();
  void MissingAddressIsAskedFor();
  void UnsavedChangesAreAskedAbout();
  void XmlTenderIsSentAsX84();
  void Gaeb90TenderIsSentAsGaeb90D84();
  void AddressAskedForGoesToTheMailProgram();
  void CancelledCheckSendsNothing();
  void EmptyAnswerEndsTheCommand();
  void OfferThroughTheMailProgram();
  void FailedSendIsShownAndTheFileGoes();
  void CancelShowsNothing();
  void WithoutMailSystemTheErrorIsShown();
  void SubjectFromTheLvNameAndDescription();
  void FailedExportIsShown();
  void TemporaryFolderIsPrivate();
  void SupportRequest();

 private:
  void UseProvider() { InitMapi(std::make_shared<InstalledMapi>(), {TARVO_MAPI32}); }
  StubControl* UseStub() {
    InitMapi(std::make_shared<InstalledMapi>(), {TARVO_STUB_MAPI32});
    auto* control =
        reinterpret_cast<StubMapiControlFunction*>(dlsym(Mapi().MapiLibrary, "StubMapiControl"));
    StubControl* stub = control();
    stub->Reset();
    return stub;
  }
  std::string TarvoFolder() const { return runtime_->Path("Tarvo"); }

  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
  std::unique_ptr<TempDir> runtime_;
  std::unique_ptr<EnvGuard> env_;
};

void SendCommandsTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void SendCommandsTest::init() {
  boxes_.messages.clear();
  boxes_.errors.clear();
  boxes_.warnings.clear();
  runtime_ = std::make_unique<TempDir>();
  env_ = std::make_unique<EnvGuard>();
  env_->Set("XDG_RUNTIME_DIR", runtime_->Dir());
}

void SendCommandsTest::cleanup() {
  DoneMapi();
  env_.reset();
  runtime_.reset();
}

void SendCommandsTest::SendCommandInMenuAndToolBar() {
  SendWindow w;
  auto* send = w.Find<QAction>("aSend");
  QVERIFY(send);
  QCOMPARE(send->text(), QStringLiteral("E-Mail senden"));
  QCOMPARE(send->toolTip(), QStringLiteral("Als E-Mail versenden"));
  QCOMPARE(send->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
  QVERIFY(!send->icon().isNull());

  const QList<QAction*> file = w.Find<QMenu>("mmDatei")->actions();
  const qsizetype at = file.indexOf(send);
  QVERIFY(at > 1);
  QVERIFY(file[at - 1]->isSeparator());
  QCOMPARE(file[at - 2], w.Find<QAction>("aPrint"));
  QVERIFY(file[at + 1]->isSeparator());

  const QList<QAction*> tools = w.Find<QToolBar>("paToolBar")->actions();
  QCOMPARE(tools.indexOf(send), tools.indexOf(w.Find<QAction>("aPrint")) + 1);
}

void SendCommandsTest::SendWithoutDocument() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.Send();
  QCOMPARE(boxes_.messages, std::vector<std::string>{kNoDocument});
  QVERIFY(!standIns.SendmailRan());
  QVERIFY(!fs::exists(TarvoFolder()));
}

// Ctrl+E on a real tender: the client's address, the subject with its
// umlauts and the attachment byte for byte as the D84 export writes it.
void SendCommandsTest::OfferThroughSendmail() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.form.LoadFile(RealTender("1561-02_ROHBAUARBEITEN.P83"));
  QVERIFY(w.Document().Loaded());
  w.ShowMailClient(false);
  w.SetMember(w.Document().LvInfo, "BEZ",
              "Rohbau Stra\xDF"
              "e \x80 Au\xDF"
              "enanlagen");
  w.ShowActive();
  QTest::keyClick(&w.form, Qt::Key_E, Qt::ControlModifier);

  QVERIFY(boxes_.messages.empty() && boxes_.errors.empty() && boxes_.warnings.empty());
  QVERIFY(w.dialogs.inputPrompts.isEmpty());
  QVERIFY(standIns.SendmailRan());
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), runtime_->Dir());
  QCOMPARE(mail.defects, 0);
  QCOMPARE(mail.Header("To"), std::string("info@lrasig.de"));
  QCOMPARE(mail.Header("Subject"), std::string("Preisabgabe 1561 - 0 Rohbau Stra\xC3\x9F"
                                               "e \xE2\x82\xAC Au\xC3\x9F"
                                               "enanlagen"));
  QCOMPARE(mail.body, std::string());
  QCOMPARE(mail.attachments.size(), size_t{1});
  QCOMPARE(mail.attachments[0].first, std::string("1561-02_ROHBAUARBEITEN.D84"));
  QVERIFY(!fs::exists(TarvoFolder() + "/1561-02_ROHBAUARBEITEN.D84"));
  QCOMPARE(WithoutTimeOfWriting(mail.attachments[0].second),
           Exported(w.Document(), runtime_->Path("check.D84")));
  QCOMPARE(w.form.statusBar()->currentMessage(),
           QStringLiteral("Das Angebot 1561-02_ROHBAUARBEITEN wurde an info@lrasig.de gesendet."));
}

// Ctrl+E straight from the grid's editor: the price still being typed is in
// the offer that leaves.
void SendCommandsTest::PriceBeingTypedGoesWithTheOffer() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.ShowActive();
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowMailClient(false);
  w.dialogs.inputAnswer = QStringLiteral("vergabe@halle.example");
  w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
  PriceGrid& grid = w.Grid();
  QVERIFY(grid.SelectCell(1, grid.Model().ColumnOf("EP")));
  QTest::keyClicks(&grid.Editor(), QStringLiteral("4711,5"));
  QTest::keyClick(&grid.Editor(), Qt::Key_E, Qt::ControlModifier);

  // The entry was taken before the command asked about saving it.
  QCOMPARE(w.dialogs.savePrompts, QStringList{QStringLiteral("Vor dem Senden speichern?")});
  QVERIFY(grid.Editor().isHidden());
  QVERIFY(standIns.SendmailRan());
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), runtime_->Dir());
  QCOMPARE(mail.attachments.size(), size_t{1});
  QVERIFY(mail.attachments[0].second.find("[EP]4711,5[end]") != std::string::npos);
  QCOMPARE(WithoutTimeOfWriting(mail.attachments[0].second),
           Exported(w.Document(), runtime_->Path("check.D84")));

  // Under X11 key bindings the line edit takes Ctrl+E as "end of line", and
  // so the command never ran. Ctrl+A, "select all" everywhere, stands in for
  // it here: as the send command's key it reaches the command.
  QVERIFY(grid.SelectCell(1, grid.Model().ColumnOf("EP")));
  w.Action("aSend")->setShortcut(QKeySequence::SelectAll);
  QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier);
  QApplication::sendEvent(&grid.Editor(), &override);
  QVERIFY(!override.isAccepted());
  w.Action("aSend")->setShortcut({});
  QKeyEvent selectAll(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier);
  QApplication::sendEvent(&grid.Editor(), &selectAll);
  QVERIFY(selectAll.isAccepted());
}

void SendCommandsTest::MissingAddressIsAskedFor() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowMailClient(false);
  w.dialogs.inputAnswer = QStringLiteral("vergabe@halle.example");
  w.Send();
  QCOMPARE(w.dialogs.inputPrompts,
           QStringList{QStringLiteral("Die Auftraggeber EMail-Adresse fehlt|AG E-Mail Adresse|")});
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), runtime_->Dir());
  QCOMPARE(mail.Header("To"), std::string("vergabe@halle.example"));
  QCOMPARE(mail.Header("Subject"),
           std::string("Preisabgabe 01 Los 1 - Geoelektrische Untersuchungen"));
  QCOMPARE(mail.attachments.size(), size_t{1});
  QCOMPARE(mail.attachments[0].first, std::string("LV_Los01.D84"));
  QVERIFY(!fs::exists(TarvoFolder() + "/LV_Los01.D84"));
}

// Unsaved changes are offered for saving first, as when closing: Abbrechen
// sends nothing, Ja saves and sends what was saved.
void SendCommandsTest::UnsavedChangesAreAskedAbout() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.ShowActive();
  w.form.LoadFile(RealTender("1561-02_ROHBAUARBEITEN.P83"));
  w.ShowMailClient(false);
  w.TypeIntoCell(w.Grid().CurrentRow(), "EP", QStringLiteral("99"));
  QVERIFY(w.Document().Modified());
  w.Send();
  QCOMPARE(w.dialogs.savePrompts, QStringList{QStringLiteral("Vor dem Senden speichern?")});
  QVERIFY(!standIns.SendmailRan());

  w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Save;
  w.dialogs.saveAnswer = QString::fromStdString(runtime_->Path("Rohbau.D84"));
  w.Send();
  QVERIFY(!w.Document().Modified());
  QVERIFY(standIns.SendmailRan());
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), runtime_->Dir());
  QCOMPARE(mail.attachments.size(), size_t{1});
  QCOMPARE(mail.attachments[0].second, ReadFile(runtime_->Path("Rohbau.D84")));
}

void SendCommandsTest::XmlTenderIsSentAsX84() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  QVERIFY(w.form.LoadFile(RealTender("../xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83")));
  w.ShowMailClient(false);
  w.dialogs.inputAnswer = QStringLiteral("vergabe@halle.example");
  w.Send();
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), runtime_->Dir());
  QCOMPARE(mail.attachments.size(), size_t{1});
  QVERIFY(mail.attachments[0].first.ends_with(".X84"));
  QVERIFY(mail.attachments[0].second.find("/DA84/3.3") != std::string::npos);
}

// The offer of a GAEB 90 tender leaves as the GAEB 90 D84 that saving writes:
// head records in phase 84, one record 23 per priced position, record 99.
void SendCommandsTest::Gaeb90TenderIsSentAsGaeb90D84() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  QVERIFY(w.form.LoadFile(QStringLiteral(TARVO_TEST_DATA_DIR "/gaeb90/LV_Los01.D83")));
  KsGAEBObj* first = w.Document().Lv->ChildList("LVBEREICH")->Element(0);
  SetPositionValue(*first->ChildList("POSITION")->Element(0), "4711", "EP");
  w.ShowMailClient(false);
  w.dialogs.inputAnswer = QStringLiteral("vergabe@halle.example");
  w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
  w.Send();
  QVERIFY(standIns.SendmailRan());
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), runtime_->Dir());
  QCOMPARE(mail.Header("To"), std::string("vergabe@halle.example"));
  QCOMPARE(mail.attachments.size(), size_t{1});
  QCOMPARE(mail.attachments[0].first, std::string("LV_Los01.D84"));
  const std::string& d84 = mail.attachments[0].second;
  QVERIFY(d84.starts_with("00        84L"));
  // Position 1.10, 1 psch at 4711: unit price with 3, total with 2 implied decimals.
  QVERIFY(d84.find("\r\n23 1  10     00004711000 000000471100") != std::string::npos);
  QVERIFY(d84.find("\r\n99") != std::string::npos);
  QCOMPARE(WithoutTimeOfWriting(d84), Exported(w.Document(), runtime_->Path("check.D84")));
  QVERIFY(!fs::exists(TarvoFolder() + "/LV_Los01.D84"));
}

void SendCommandsTest::AddressAskedForGoesToTheMailProgram() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowMailClient(true);
  w.dialogs.inputAnswer = QStringLiteral("vergabe@halle.example");
  w.Send();
  QCOMPARE(w.dialogs.inputPrompts.size(), 1);
  QVERIFY(!w.dialogs.findingPrompts.value(0).contains(QStringLiteral("Auftraggebers")));
  QCOMPARE(standIns.XdgEmailValues("--to"), std::vector<std::string>{"vergabe@halle.example"});
}

// Abbrechen in the address box or in the check sends nothing; the check's
// leads to the first gap.
void SendCommandsTest::CancelledCheckSendsNothing() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowMailClient(true);
  w.dialogs.inputCancelled = true;
  w.Send();
  QCOMPARE(w.dialogs.inputPrompts.size(), 1);
  QVERIFY(w.dialogs.findingPrompts.isEmpty());
  w.dialogs.inputCancelled = false;
  w.dialogs.goOnAnswer = false;
  w.Send();
  QCOMPARE(w.dialogs.findingPrompts.size(), 1);
  QVERIFY(!standIns.XdgEmailRan());
  QVERIFY(!fs::exists(TarvoFolder()));
  QCOMPARE(w.Pages()->currentWidget(), w.Find<QWidget>("tsTitPos"));
  QVERIFY(w.form.statusBar()->currentMessage().isEmpty());
}

void SendCommandsTest::EmptyAnswerEndsTheCommand() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowMailClient(false);
  w.dialogs.inputAnswer = QStringLiteral("  ");
  w.Send();
  QCOMPARE(w.dialogs.inputPrompts.size(), 1);
  QVERIFY(!standIns.SendmailRan());
  QVERIFY(!fs::exists(TarvoFolder()));
  QVERIFY(boxes_.messages.empty() && boxes_.warnings.empty());
}

// With the mail program's dialog the missing address is asked for too; given
// none, the offer's check names it and the mail program's dialog takes it.
// The attachment can still be read after the command has deleted its file.
void SendCommandsTest::OfferThroughTheMailProgram() {
  MailStandIns standIns;
  UseProvider();
  SendWindow w;
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowMailClient(true);
  w.Send();
  QCOMPARE(w.dialogs.inputPrompts,
           QStringList{QStringLiteral("Die Auftraggeber EMail-Adresse fehlt|AG E-Mail Adresse|")});
  QCOMPARE(w.dialogs.findingPrompts.size(), 1);
  QVERIFY(w.dialogs.findingPrompts[0].endsWith(
      QStringLiteral("\n- Die E-Mail-Adresse des Auftraggebers fehlt.")));
  QCOMPARE(w.form.statusBar()->currentMessage(),
           QStringLiteral("Das Angebot LV_Los01 wurde an das E-Mail-Programm \u00FCbergeben."));
  QVERIFY(boxes_.warnings.empty() && boxes_.errors.empty());
  QVERIFY(standIns.XdgEmailRan());
  QVERIFY(standIns.XdgEmailValues("--to").empty());
  QCOMPARE(standIns.XdgEmailValues("--subject"),
           std::vector<std::string>{"Preisabgabe 01 Los 1 - Geoelektrische Untersuchungen"});
  const std::vector<std::string> copies = standIns.XdgEmailValues("--attach");
  QCOMPARE(copies.size(), size_t{1});
  QVERIFY(!fs::exists(TarvoFolder() + "/LV_Los01.D84"));
  QCOMPARE(WithoutTimeOfWriting(ReadFile(copies[0])),
           Exported(w.Document(), runtime_->Path("check.D84")));
}

// The mend: the bidder learns that the offer has not left.
void SendCommandsTest::FailedSendIsShownAndTheFileGoes() {
  MailStandIns standIns;
  standIns.ExitWith("sendmail", 1);
  UseProvider();
  SendWindow w;
  w.form.LoadFile(RealTender("1561-02_ROHBAUARBEITEN.P83"));
  w.ShowMailClient(false);
  w.Send();
  QVERIFY(standIns.SendmailRan());
  QCOMPARE(boxes_.warnings,
           std::vector<std::string>{"Die E-Mail wurde nicht versendet: Allgemeiner Fehler"});
  QVERIFY(!fs::exists(TarvoFolder() + "/1561-02_ROHBAUARBEITEN.D84"));

  // An address nobody can resolve leaves the message to the mail program,
  // and there is none.
  boxes_.warnings.clear();
  standIns.ExitWith("xdg-email", 3);
  w.SetMember(w.Document().Ag->Child("ADRESSE"), "EMAIL", "Bauamt Halle");
  w.Send();
  QVERIFY(standIns.XdgEmailRan());
  QVERIFY(standIns.XdgEmailValues("--to").empty());
  QCOMPARE(boxes_.warnings, std::vector<std::string>{"Die E-Mail wurde nicht versendet: eMail "
                                                     "Versand wird nicht unterst\xFCtzt"});
  QVERIFY(fs::is_empty(TarvoFolder()));
}

void SendCommandsTest::CancelShowsNothing() {
  StubControl* stub = UseStub();
  stub->sendAnswer = MAPI_USER_ABORT;
  SendWindow w;
  w.form.LoadFile(RealTender("1561-02_ROHBAUARBEITEN.P83"));
  w.Send();
  QVERIFY(boxes_.warnings.empty() && boxes_.errors.empty() && boxes_.messages.empty());
  QCOMPARE(stub->calls[stub->calls.size() - 2].function, std::string("MAPISendMail"));
  QVERIFY(stub->calls[stub->calls.size() - 2].files.at(0).existed);
  QVERIFY(!fs::exists(TarvoFolder() + "/1561-02_ROHBAUARBEITEN.D84"));
}

void SendCommandsTest::WithoutMailSystemTheErrorIsShown() {
  InitMapi(std::make_shared<InstalledMapi>(), {"/nonexistent/libmapi32.so"});
  SendWindow w;
  w.form.LoadFile(RealTender("1561-02_ROHBAUARBEITEN.P83"));
  w.Send();
  QCOMPARE(boxes_.errors, std::vector<std::string>{"Fehler beim Senden der E-Mail : MAPI services "
                                                   "are not available on this system"});
  QVERIFY(fs::exists(TarvoFolder()));
  QVERIFY(fs::is_empty(TarvoFolder()));
}

// The subject is "Preisabgabe", the LV's name and its description; a long
// description arrives cut to its field, and KsMail cuts any subject to 255.
void SendCommandsTest::SubjectFromTheLvNameAndDescription() {
  StubControl* stub = UseStub();
  std::string tender = ReadFile(RealTender("LV_Los01.P83").toStdString());
  const std::string bez = "[Bez]Los 1 - Geoelektrische Untersuchungen[end]";
  tender.replace(tender.find(bez), bez.size(), "[Bez]" + std::string(300, 'b') + "[end]");
  SendWindow w;
  w.form.LoadFile(QString::fromStdString(runtime_->Write("Lang.P83", tender)));
  w.Send();
  const StubCall& send = stub->calls[stub->calls.size() - 2];
  QCOMPARE(send.function, std::string("MAPISendMail"));
  QCOMPARE(send.subject, "Preisabgabe 01 " + std::string(60, 'b'));
  QCOMPARE(send.flags, FLAGS{MAPI_DIALOG});  // the option is on by default
  QCOMPARE(send.noteText, std::string());
}

void SendCommandsTest::FailedExportIsShown() {
  StubControl* stub = UseStub();
  SendWindow w;
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  fs::create_directories(TarvoFolder() + "/LV_Los01.D84");  // a folder where the file should go
  w.Send();
  QCOMPARE(boxes_.messages.size(), size_t{1});
  QVERIFY(boxes_.messages[0].rfind("Beim Erstellen der D84 Datei trat ein Fehler auf : Fehler "
                                   "beim Schreiben der Datei: ",
                                   0) == 0);
  QVERIFY(stub->calls.empty());

  boxes_.messages.clear();
  fs::remove_all(TarvoFolder());
  runtime_->Write("Tarvo", "a file");
  w.Send();
  QCOMPARE(boxes_.messages,
           std::vector<std::string>{"Beim Erstellen der D84 Datei trat ein Fehler auf : Das "
                                    "Verzeichnis " +
                                    TarvoFolder() + " konnte nicht angelegt werden."});
}

void SendCommandsTest::TemporaryFolderIsPrivate() {
  fs::create_directories(TarvoFolder());
  fs::permissions(TarvoFolder(), fs::perms::all);
  QCOMPARE(OfferMailFile("Bau.P83", ".D84"), TarvoFolder() + "/Bau.D84");
  QCOMPARE(OfferMailFile("ohne", ".D84"), TarvoFolder() + "/ohne.D84");
  QCOMPARE(OfferMailFile("Bau.X83", ".X84"), TarvoFolder() + "/Bau.X84");
  // A long name loses the end of its stem to fit the mail's 255, whole
  // characters only; it starts as the tender's and keeps the extension.
  const std::string umlauts = "\xC3\xA4\xC3\xB6\xC3\xBC";
  std::string name = "Los7_";
  for (int i = 0; i < 60; ++i) name += umlauts;
  const std::string fitted = OfferMailFile(name + "Ende.P83", ".D84");
  QVERIFY(fitted.size() == 255 || fitted.size() == 254);
  const std::string kept = fitted.substr(TarvoFolder().size() + 1);
  QVERIFY(kept.starts_with("Los7_" + umlauts));
  QVERIFY(kept.ends_with(".D84"));
  const std::string stem = kept.substr(0, kept.size() - 4);
  QVERIFY((stem.size() - 5) % 2 == 0 && stem[stem.size() - 2] == '\xC3');
  QVERIFY(std::ofstream(fitted).good());
  fs::remove(fitted);
  QCOMPARE(fs::status(TarvoFolder()).permissions() & fs::perms::mask, fs::perms::owner_all);
  fs::remove(TarvoFolder());
  fs::create_directory_symlink(runtime_->Path("elsewhere"), TarvoFolder());
  fs::create_directory(runtime_->Path("elsewhere"));
  QVERIFY_THROWS_EXCEPTION(std::runtime_error, OfferMailFile("Bau.P83", ".D84"));
}

void SendCommandsTest::SupportRequest() {
  StubControl* stub = UseStub();
  SendWindow w;
  w.Find<QLineEdit>("eName1")->setText(QStringLiteral("Bau M\u00FCller GmbH"));
  w.Find<QLineEdit>("eOrt")->setText(QStringLiteral("K\u00F6ln"));
  emit w.Find<QLabel>("lblSupport")->linkActivated(QString());
  const StubCall& send = stub->calls[stub->calls.size() - 2];
  QCOMPARE(send.function, std::string("MAPISendMail"));
  QCOMPARE(send.flags, FLAGS{MAPI_DIALOG});
  QCOMPARE(send.subject, std::string("Anfrage Tarvo_Redurir"));
  QCOMPARE(send.noteText, std::string("Sehr geehrte Damen und Herren,\r\n\r\n\r\nmit freundlichen "
                                      "Gr\xFC\xDF"
                                      "en\r\nBau M\xFCller GmbH\r\nK\xF6ln"));
  QCOMPARE(send.recipients.size(), size_t{1});
  QCOMPARE(send.recipients[0].name, std::string("support@rudarur-software.example"));
  QVERIFY(send.files.empty());
  QVERIFY(boxes_.warnings.empty() && boxes_.errors.empty());
}

QTEST_MAIN(SendCommandsTest)
#include "test_send_commands.moc"
