#include "mail/mail.h"

#include <gtest/gtest.h>

#include <map>

#include "mail/mapi_errors.h"
#include "tests/mail/stub_mapi.h"
#include "tests/support/tender_files.h"

namespace {

using Strings = std::vector<std::string>;

std::string Show(const KsAutomationValue& value) {
  if (const auto* i = std::get_if<int32_t>(&value)) return std::to_string(*i);
  if (const auto* b = std::get_if<bool>(&value)) return *b ? "true" : "false";
  return std::get<std::string>(value);
}

// An Outlook that records every call as "object.member(args)" and fails
// where the test says.
class FakeOutlook : public AutomationObject {
 public:
  FakeOutlook(std::string name, Strings& log, std::map<std::string, int>& failures)
      : name_(std::move(name)), log_(log), failures_(failures) {}

  std::unique_ptr<AutomationObject> Call(const std::string& member,
                                         const std::vector<KsAutomationValue>& args) override {
    std::string entry = name_ + "." + member + "(";
    for (size_t i = 0; i < args.size(); ++i) entry += (i ? "," : "") + Show(args[i]);
    entry += ")";
    log_.push_back(entry);
    Fail(entry);
    if (member == "CreateItem") return Make("item");
    if (member == "Attachments") return Make("attachments");
    return nullptr;
  }
  void Set(const std::string& member, const KsAutomationValue& value) override {
    const std::string entry = name_ + "." + member + "=" + Show(value);
    log_.push_back(entry);
    Fail(entry);
  }

 private:
  std::unique_ptr<AutomationObject> Make(const char* name) {
    return std::make_unique<FakeOutlook>(name, log_, failures_);
  }
  void Fail(const std::string& entry) {
    if (failures_.count(entry)) throw EAutomationError("Outlook: " + entry);
  }

  std::string name_;
  Strings& log_;
  std::map<std::string, int>& failures_;
};

struct Outlook {
  KsAutomationFactory Factory() {
    return [this](const std::string& progId) -> std::unique_ptr<AutomationObject> {
      log.push_back("create " + progId);
      return std::make_unique<FakeOutlook>("app", log, failures);
    };
  }
  Strings log;
  std::map<std::string, int> failures;
};

}  // namespace

TEST(Mail, DefaultsAndDisplayNames) {
  KsMail mail;
  EXPECT_EQ(mail.Sensitivity, 0);
  EXPECT_EQ(mail.Importance, 1);
  EXPECT_EQ(mail.MailClient, 2);
  EXPECT_EQ(mail.BodyFormat, 0);
  EXPECT_EQ(mail.Options, 0);
  EXPECT_EQ(mail.ErrorCode, 0);
  EXPECT_TRUE(mail.To.empty() && mail.CC.empty() && mail.Subject.empty() && mail.Body.empty() &&
              mail.ErrorText.empty() && mail.Attachments.empty());
  EXPECT_STREQ(kMailClientNames[mcNone], "");
  EXPECT_STREQ(kMailClientNames[mcOutlook], "Microsoft-Outlook");
  EXPECT_STREQ(kMailClientNames[mcMapi], "Microsoft Mail API (MAPI; z.B. Notes ...)");
  EXPECT_EQ(Strings(kMailBodyFormatNames.begin(), kMailBodyFormatNames.end()),
            (Strings{"nur Text (ANSI)", "HyperText (HTML)", "RichTextFormat (RTF)"}));
  EXPECT_EQ(Strings(kMailSensitivityNames.begin(), kMailSensitivityNames.end()),
            (Strings{"Normal", "Pers\xF6nlich", "Privat", "Geheim"}));
  EXPECT_EQ(Strings(kMailImportanceNames.begin(), kMailImportanceNames.end()),
            (Strings{"Niedrig", "Normal", "Hoch"}));
}

TEST(Mail, BodyKeepsItsBytes) {
  KsMail mail;
  const std::string bytes("Zeile\r\n\0\xFC", 9);
  mail.SetBody(bytes);
  EXPECT_EQ(mail.GetBody(), bytes);
  EXPECT_EQ(mail.GetBody(), bytes);
  mail.SetBody("");
  EXPECT_EQ(mail.GetBody(), "");
}

TEST(Mail, SubjectNeverHoldsMoreThan255Characters) {
  KsMail mail;
  mail.Subject = std::string(400, 'x');
  EXPECT_EQ(mail.Subject.size(), 255u);
}

TEST(Mail, NoBackEndSendsNothing) {
  for (uint8_t client : {0, 3, 255}) {
    Outlook outlook;
    KsMail mail(outlook.Factory());
    mail.MailClient = static_cast<TMailClient>(client);
    mail.ErrorText = "vorher";
    mail.ErrorCode = 7;
    EXPECT_FALSE(mail.Send());
    EXPECT_EQ(mail.ErrorText, "vorher");
    EXPECT_EQ(mail.ErrorCode, 7);
    EXPECT_TRUE(outlook.log.empty());
  }
}

// What the offer command gives: three addresses become three main
// recipients, the empty body an empty note, the files the attachments.
TEST(Mail, SimpleMapiBackEnd) {
  StubMapi mapi;
  TempDir dir;
  const std::string file = dir.Write("LV_Los01.D84", "D84");
  const std::string longer = dir.Write("1561-02_ROHBAUARBEITEN.D84", "D84");
  KsMail mail;
  mail.To = "a@x.de;b@y.de,c@z.de";
  mail.CC = "d@w.de";
  mail.Subject = "Preisabgabe 01 Rohbau";
  mail.SetBody("");
  mail.Attachments = {file, longer};
  EXPECT_TRUE(mail.Send());
  EXPECT_EQ(mail.ErrorCode, 0);
  const StubCall& send = mapi.stub->calls[mapi.stub->calls.size() - 2];
  ASSERT_EQ(send.function, "MAPISendMail");
  EXPECT_EQ(send.flags, 0u);
  ASSERT_EQ(send.recipients.size(), 4u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(send.recipients[i].recipClass, ULONG{MAPI_TO});
  EXPECT_EQ(send.recipients[3].recipClass, ULONG{MAPI_CC});
  EXPECT_EQ(send.subject, "Preisabgabe 01 Rohbau");
  EXPECT_FALSE(send.noteTextNull);
  EXPECT_EQ(send.noteText, "");
  EXPECT_EQ(send.messageFlags, 0u);
  ASSERT_EQ(send.files.size(), 2u);
  EXPECT_EQ(send.files[0].path, file);
  EXPECT_EQ(send.files[0].fileName, "LV_Los01.D84");
  // The recipient sees the tender's whole name, not the 8.3 form "ARBEITEN.D84".
  EXPECT_EQ(send.files[1].fileName, "1561-02_ROHBAUARBEITEN.D84");
}

TEST(Mail, SimpleMapiDialogAndFailures) {
  StubMapi mapi;
  KsMail mail;
  mail.SetBody(std::string("Text\0Rest", 9));
  mail.Options = moShowBeforeSend;
  mail.To = "a@x.de";
  EXPECT_TRUE(mail.Send());
  EXPECT_EQ(mapi.stub->calls[mapi.stub->calls.size() - 2].flags, ULONG{MAPI_DIALOG});
  EXPECT_EQ(mapi.stub->calls[mapi.stub->calls.size() - 2].noteText, "Text");

  // Without any recipient the message is always shown.
  mapi.stub->Reset();
  mail.Options = 0;
  mail.To = "";
  EXPECT_TRUE(mail.Send());
  EXPECT_EQ(mapi.stub->calls[mapi.stub->calls.size() - 2].flags, ULONG{MAPI_DIALOG});

  mapi.stub->Reset();
  mapi.stub->sendAnswer = MAPI_E_UNKNOWN_RECIPIENT;
  EXPECT_FALSE(mail.Send());
  EXPECT_EQ(mail.ErrorCode, MAPI_E_UNKNOWN_RECIPIENT);
  EXPECT_EQ(mail.ErrorText, "Unbekannter Empf\xE4nger");

  // Success sets the code but leaves the text of the failure before.
  mapi.stub->Reset();
  EXPECT_TRUE(mail.Send());
  EXPECT_EQ(mail.ErrorCode, 0);
  EXPECT_EQ(mail.ErrorText, "Unbekannter Empf\xE4nger");
}

TEST(Mail, WithoutSimpleMapiTheExceptionReachesTheCaller) {
  InitMapi(std::make_shared<FakeMapiSettings>(std::nullopt), {TARVO_STUB_MAPI32});
  KsMail mail;
  mail.To = "a@x.de";
  try {
    mail.Send();
    ADD_FAILURE() << "no exception";
  } catch (const EMapiUnavailable& e) {
    EXPECT_STREQ(e.what(), kMapiUnavailableText);
  }
  EXPECT_EQ(mail.ErrorCode, 0);
  DoneMapi();
}

// On Linux there is no Outlook: creating it fails towards the caller.
TEST(Mail, OutlookOnThisSystem) {
  KsMail mail;
  mail.MailClient = mcOutlook;
  EXPECT_THROW(mail.Send(), EAutomationError);
  EXPECT_EQ(mail.ErrorCode, 0);
}

TEST(Mail, OutlookCallsInOrder) {
  const struct {
    TMailBodyFormat format;
    TMailOptions options;
    const char* bodyProperty;
    const char* last;
  } cases[] = {
      {bfText, 0, "Body", "item.Send()"},
      {bfHtml, moShowBeforeSend, "HTMLBody", "item.Display(false)"},
      {bfRtf, 0, "Body", "item.Send()"},
  };
  for (const auto& c : cases) {
    Outlook outlook;
    KsMail mail(outlook.Factory());
    mail.MailClient = mcOutlook;
    mail.To = "a@x.de";
    mail.CC = "c@x.de";
    mail.Subject = "Betreff";
    mail.SetBody("{\\rtf1 Text}");
    mail.BodyFormat = c.format;
    mail.Importance = miHigh;
    mail.Sensitivity = msConfidential;
    mail.Options = c.options;
    mail.Attachments = {"/a.D84", "/b.D84"};
    EXPECT_TRUE(mail.Send());
    const Strings expected = {"create Outlook.Application",
                              "app.CreateItem(0)",
                              "item.To=a@x.de",
                              "item.Subject=Betreff",
                              std::string("item.") + c.bodyProperty + "={\\rtf1 Text}",
                              "item.CC=c@x.de",
                              "item.Importance=2",
                              "item.Sensitivity=3",
                              "item.Attachments()",
                              "attachments.Add(/a.D84)",
                              "item.Attachments()",
                              "attachments.Add(/b.D84)",
                              c.last};
    EXPECT_EQ(outlook.log, expected);
    EXPECT_EQ(mail.ErrorCode, 0);
  }
}

// Each attachment that cannot be added is skipped and named; the message
// still goes out.
TEST(Mail, OutlookMissingAttachments) {
  Outlook outlook;
  outlook.failures = {{"attachments.Add(/a.D84)", 1}, {"attachments.Add(/c.D84)", 1}};
  KsMail mail(outlook.Factory());
  mail.MailClient = mcOutlook;
  mail.Attachments = {"/a.D84", "/b.D84", "/c.D84"};
  EXPECT_FALSE(mail.Send());
  EXPECT_EQ(mail.ErrorCode, -1);
  EXPECT_EQ(mail.ErrorText, "Der eMail-Anhang /c.D84 konnte nicht gefunden werden.");
  EXPECT_EQ(outlook.log.back(), "item.Send()");
  EXPECT_NE(std::find(outlook.log.begin(), outlook.log.end(), "attachments.Add(/b.D84)"),
            outlook.log.end());
}

TEST(Mail, OutlookOtherFailures) {
  for (const char* failing : {"app.CreateItem(0)", "item.Subject=", "item.Send()"}) {
    SCOPED_TRACE(failing);
    Outlook outlook;
    outlook.failures = {{failing, 1}};
    KsMail mail(outlook.Factory());
    mail.MailClient = mcOutlook;
    EXPECT_FALSE(mail.Send());
    EXPECT_EQ(mail.ErrorCode, -1);
    EXPECT_EQ(mail.ErrorText,
              "Die eMail konnte nicht versendet werden !\\nBitte \xFC"
              "berpr\xFC"
              "fen Sie, ob Sie alle Empf\xE4nger korrekt angegeben haben.");
    EXPECT_EQ(outlook.log.back(), failing);
  }
}
