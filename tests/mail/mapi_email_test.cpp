#include "mail/mapi_email.h"

#include <gtest/gtest.h>

#include "mail/mapi_errors.h"
#include "tests/mail/stub_mapi.h"
#include "tests/support/tender_files.h"

namespace {

using Strings = std::vector<std::string>;

// Records the component's events in the order they come.
struct EventLog {
  explicit EventLog(KsMapiEmail& mail) {
    auto note = [this](const char* name) {
      return [this, name](KsMapiEmail&) { events.push_back(name); };
    };
    mail.OnBeforeLogon = note("BeforeLogon");
    mail.OnAfterLogon = note("AfterLogon");
    mail.OnBeforeLogoff = note("BeforeLogoff");
    mail.OnAfterLogoff = note("AfterLogoff");
    mail.OnBeforeSendMail = note("BeforeSendMail");
    mail.OnAfterSendMail = note("AfterSendMail");
    mail.OnMapiError = [this](KsMapiEmail&, int32_t code) {
      events.push_back("MapiError " + std::to_string(code));
      errors.push_back(code);
    };
  }
  Strings events;
  std::vector<int32_t> errors;
};

const StubCall& Only(const StubControl& stub, const std::string& function) {
  const StubCall* found = nullptr;
  for (const StubCall& call : stub.calls)
    if (call.function == function) {
      EXPECT_EQ(found, nullptr) << function << " called twice";
      found = &call;
    }
  static const StubCall none;
  EXPECT_NE(found, nullptr) << function << " not called";
  return found ? *found : none;
}

Strings ResolvedNames(const StubControl& stub) {
  Strings names;
  for (const StubCall& call : stub.calls)
    if (call.function == "MAPIResolveName") names.push_back(call.name);
  return names;
}

// Every descriptor MAPI handed out was given back.
void ExpectAllFreed(const StubControl& stub) {
  std::vector<void*> freed;
  for (const StubCall& call : stub.calls)
    if (call.function == "MAPIFreeBuffer") freed.push_back(call.buffer);
  EXPECT_EQ(freed, stub.handedOut);
}

}  // namespace

TEST(MapiEmail, RecipientListsSplitAtSemicolonAndComma) {
  const struct {
    std::string value;
    Strings entries;
    std::string readBack;
  } cases[] = {
      {"a;b,c", {"a", "b", "c"}, "a;b;c;"},
      {"a;;b", {"a", "", "b"}, "a;;b;"},
      {"", {}, ""},
      {",", {"", ""}, ";;"},
      {"Max Muster <m@x.de>", {"Max Muster <m@x.de>"}, "Max Muster <m@x.de>;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    KsMapiEmail mail;
    mail.SetRecipient(c.value);
    mail.SetCC(c.value);
    mail.SetBcc(c.value);
    EXPECT_EQ(mail.RecipientAsStrings, c.entries);
    EXPECT_EQ(mail.CCAsStrings, c.entries);
    EXPECT_EQ(mail.BccAsStrings, c.entries);
    EXPECT_EQ(mail.Recipient(), c.readBack);
    EXPECT_EQ(mail.CC(), c.readBack);
    EXPECT_EQ(mail.Bcc(), c.readBack);
  }
}

TEST(MapiEmail, Defaults) {
  KsMapiEmail mail;
  EXPECT_FALSE(mail.ShowDialog);
  EXPECT_FALSE(mail.Acknowledge);
  EXPECT_TRUE(mail.TruncAttFN);
  EXPECT_TRUE(mail.UseLongMessageID);
  EXPECT_FALSE(mail.UseDefProfile);
  EXPECT_FALSE(mail.UnreadOnly);
  EXPECT_EQ(mail.LogonFlags(), 0u);
  EXPECT_EQ(mail.Session(), 0u);
  EXPECT_EQ(mail.LastResult(), 0);
  EXPECT_FALSE(mail.LongText());
}

TEST(MapiEmail, ShortStringsAndLongText) {
  KsMapiEmail mail;
  mail.Subject = std::string(300, 's');
  mail.Profile = std::string(256, 'p');
  mail.Password = std::string(255, 'w');
  EXPECT_EQ(mail.Subject.size(), 255u);
  EXPECT_EQ(mail.Profile.size(), 255u);
  EXPECT_EQ(mail.Password.size(), 255u);
  mail.Text = "kurz";
  EXPECT_EQ(mail.SetLongText("lang\0danach"), 4u);
  EXPECT_EQ(mail.LongText(), "lang");
  EXPECT_TRUE(mail.Text.empty());
  EXPECT_EQ(mail.SetLongText(nullptr), 0u);
  EXPECT_FALSE(mail.LongText());
}

TEST(MapiEmail, LogonFlagsFollowTheirSwitches) {
  KsMapiEmail mail;
  mail.SetDownLoadFirst(true);
  EXPECT_EQ(mail.LogonFlags(), static_cast<FLAGS>(MAPI_FORCE_DOWNLOAD));
  mail.SetNewSession(true);
  EXPECT_EQ(mail.LogonFlags(), static_cast<FLAGS>(MAPI_FORCE_DOWNLOAD | MAPI_NEW_SESSION));
  mail.SetDownLoadFirst(false);
  EXPECT_EQ(mail.LogonFlags(), static_cast<FLAGS>(MAPI_NEW_SESSION));
  EXPECT_TRUE(mail.NewSession());
  EXPECT_FALSE(mail.DownLoadFirst());
}

// The whole road of one message: logon, each entry resolved and released,
// the message sent, logoff; empty entries skipped.
TEST(MapiEmail, SendMailCallsInOrder) {
  StubMapi mapi;
  TempDir dir;
  const std::string file = dir.Write("Preisabgabe.D84", "D84");
  KsMapiEmail mail;
  EventLog log(mail);
  mail.SetRecipient("a@x.de;;b@y.de");
  mail.SetCC("c@z.de");
  mail.SetBcc("d@w.de");
  mail.Subject = "Preisabgabe 01 Rohbau";
  mail.SetLongText("Text");
  mail.Attachment = {file};

  EXPECT_EQ(mail.SendMail(), 0);
  const Strings expected = {"MAPILogon",       "MAPIResolveName", "MAPIFreeBuffer",
                            "MAPIResolveName", "MAPIFreeBuffer",  "MAPIResolveName",
                            "MAPIFreeBuffer",  "MAPIResolveName", "MAPIFreeBuffer",
                            "MAPISendMail",    "MAPILogoff"};
  EXPECT_EQ(mapi.stub->Functions(), expected);
  EXPECT_EQ(ResolvedNames(*mapi.stub), (Strings{"a@x.de", "b@y.de", "c@z.de", "d@w.de"}));
  ExpectAllFreed(*mapi.stub);
  const Strings events = {"BeforeLogon",   "AfterLogon",   "BeforeSendMail",
                          "AfterSendMail", "BeforeLogoff", "AfterLogoff"};
  EXPECT_EQ(log.events, events);

  const StubCall& logon = Only(*mapi.stub, "MAPILogon");
  EXPECT_TRUE(logon.profileNull);
  EXPECT_TRUE(logon.passwordNull);
  EXPECT_EQ(logon.flags, 0u);
  for (const StubCall& call : mapi.stub->calls)
    if (call.function == "MAPIResolveName") {
      EXPECT_EQ(call.session, 42u);
      EXPECT_EQ(call.flags, 0u);
    }

  const StubCall& send = Only(*mapi.stub, "MAPISendMail");
  EXPECT_EQ(send.session, 42u);
  EXPECT_EQ(send.flags, 0u);
  EXPECT_EQ(send.subject, "Preisabgabe 01 Rohbau");
  EXPECT_EQ(send.noteText, "Text");
  EXPECT_EQ(send.messageFlags, 0u);
  ASSERT_EQ(send.recipients.size(), 4u);
  const ULONG classes[] = {MAPI_TO, MAPI_TO, MAPI_CC, MAPI_BCC};
  const char* names[] = {"a@x.de", "b@y.de", "c@z.de", "d@w.de"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(send.recipients[i].recipClass, classes[i]);
    EXPECT_EQ(send.recipients[i].name, names[i]);
    EXPECT_EQ(send.recipients[i].address, std::string("SMTP:") + names[i]);
  }
  ASSERT_EQ(send.files.size(), 1u);
  EXPECT_EQ(send.files[0].position, static_cast<ULONG>(-1));
  EXPECT_EQ(send.files[0].path, file);
  EXPECT_EQ(send.files[0].fileName, "isabgabe.D84");
  EXPECT_EQ(Only(*mapi.stub, "MAPILogoff").session, 42u);
  EXPECT_EQ(mail.Session(), 0u);
}

// The list keeps what MAPI resolved; the message carries MAPI's address and
// entry identifier, or the name when MAPI gave no address.
TEST(MapiEmail, ResolvedNamesReplaceTheEntries) {
  StubMapi mapi;
  mapi.stub->resolve = [](const std::string& name, FLAGS) {
    StubResolveAnswer answer;
    answer.name = "Stadt " + name;
    answer.address = "SMTP:" + name + "@ulm.de";
    answer.addressNull = name == "Neu";
    answer.entryId = std::string("\0\1id", 4);
    return answer;
  };
  KsMapiEmail mail;
  mail.SetRecipient("Ulm,Neu");
  EXPECT_EQ(mail.SendMail(), 0);
  EXPECT_EQ(mail.RecipientAsStrings, (Strings{"Stadt Ulm", "Stadt Neu"}));
  const StubCall& send = Only(*mapi.stub, "MAPISendMail");
  ASSERT_EQ(send.recipients.size(), 2u);
  EXPECT_EQ(send.recipients[0].address, "SMTP:Ulm@ulm.de");
  EXPECT_EQ(send.recipients[0].entryId, std::string("\0\1id", 4));
  EXPECT_EQ(send.recipients[1].name, "Stadt Neu");
  EXPECT_EQ(send.recipients[1].address, "Stadt Neu");
  ExpectAllFreed(*mapi.stub);
}

// Unknown and ambiguous names get a second try in MAPI's dialog; what stays
// unresolved is reported and left out, and with nobody left the compose
// dialog opens whatever ShowDialog says.
TEST(MapiEmail, UnresolvableRecipients) {
  const struct {
    const char* label;
    ULONG first, second;
    bool retried, kept;
  } cases[] = {
      {"unknown, picked in the dialog", MAPI_E_UNKNOWN_RECIPIENT, 0, true, true},
      {"ambiguous, picked in the dialog", MAPI_E_AMBIGUOUS_RECIPIENT, 0, true, true},
      {"unknown twice", MAPI_E_UNKNOWN_RECIPIENT, MAPI_E_UNKNOWN_RECIPIENT, true, false},
      {"ambiguous, then cancelled", MAPI_E_AMBIGUOUS_RECIPIENT, MAPI_USER_ABORT, true, false},
      {"other failure: no dialog", MAPI_E_FAILURE, 0, false, false},
  };
  for (bool showDialog : {false, true}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.label) + (showDialog ? " with dialog" : ""));
      const auto answers = [&c](const std::string& name, FLAGS flags) {
        StubResolveAnswer answer;
        answer.code = name == "ok@x.de" ? 0 : flags & MAPI_DIALOG ? c.second : c.first;
        answer.name = name;
        answer.address = "SMTP:" + name;
        return answer;
      };
      StubMapi mapi;
      mapi.stub->resolve = answers;
      KsMapiEmail mail;
      EventLog log(mail);
      mail.ShowDialog = showDialog;
      mail.SetRecipient("wer");
      EXPECT_EQ(mail.SendMail(), 0);
      const Strings asked = ResolvedNames(*mapi.stub);
      EXPECT_EQ(asked.size(), c.retried ? 2u : 1u);
      const StubCall& send = Only(*mapi.stub, "MAPISendMail");
      EXPECT_EQ(send.recipients.size(), c.kept ? 1u : 0u);
      EXPECT_EQ(send.flags, c.kept && !showDialog ? 0u : static_cast<FLAGS>(MAPI_DIALOG));
      const ULONG reported = c.retried ? c.second : c.first;
      EXPECT_EQ(log.errors, c.kept ? std::vector<int32_t>{}
                                   : std::vector<int32_t>{static_cast<int32_t>(reported)});
      for (size_t i = 2; i < mapi.stub->calls.size(); ++i) {
        const StubCall& call = mapi.stub->calls[i];
        if (call.function == "MAPIResolveName") {
          EXPECT_EQ(call.flags, static_cast<FLAGS>(MAPI_DIALOG));
        }
      }
      ExpectAllFreed(*mapi.stub);

      mapi.stub->Reset();
      mapi.stub->resolve = answers;
      mail.SetRecipient("wer;ok@x.de");
      EXPECT_EQ(mail.SendMail(), 0);
      const StubCall& second = Only(*mapi.stub, "MAPISendMail");
      EXPECT_EQ(second.recipients.size(), c.kept ? 2u : 1u);
      EXPECT_EQ(second.flags, showDialog ? static_cast<FLAGS>(MAPI_DIALOG) : 0u);
    }
  }
}

// An address in brackets that MAPI turns into a plain name goes out as the
// entry without its brackets, as both name and address.
TEST(MapiEmail, BracketRule) {
  const struct {
    std::string entry, resolvedName, name, address;
  } cases[] = {
      {"[SMTP:bau@ulm.de]", "Bauamt Ulm", "SMTP:bau@ulm.de", "SMTP:bau@ulm.de"},
      {"Bauamt [SMTP:bau@ulm.de]", "Bauamt", "Bauamt SMTP:bau@ulm.de", "Bauamt SMTP:bau@ulm.de"},
      {"[SMTP:bau@ulm.de]", "Bauamt [Ulm]", "Bauamt [Ulm]", "SMTP:resolved"},
      {"]bau@ulm.de[", "Bauamt", "bau@ulm.de", "bau@ulm.de"},
      {"[bau@ulm.de", "Bauamt", "Bauamt", "SMTP:resolved"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.entry);
    StubMapi mapi;
    mapi.stub->resolve = [&c](const std::string&, FLAGS) {
      return StubResolveAnswer{0, c.resolvedName, "SMTP:resolved", false, "id"};
    };
    KsMapiEmail mail;
    mail.SetRecipient(c.entry);
    EXPECT_EQ(mail.SendMail(), 0);
    const StubCall& send = Only(*mapi.stub, "MAPISendMail");
    ASSERT_EQ(send.recipients.size(), 1u);
    EXPECT_EQ(send.recipients[0].name, c.name);
    EXPECT_EQ(send.recipients[0].address, c.address);
    EXPECT_EQ(send.recipients[0].entryId, c.address == "SMTP:resolved" ? "id" : "");
    ExpectAllFreed(*mapi.stub);
  }
}

// The resolver is given at most 255 characters of an entry.
TEST(MapiEmail, LongEntriesAreCutForTheResolver) {
  StubMapi mapi;
  KsMapiEmail mail;
  mail.SetRecipient(std::string(300, 'a'));
  mail.SendMail();
  EXPECT_EQ(ResolvedNames(*mapi.stub), Strings{std::string(255, 'a')});
}

TEST(MapiEmail, MissingAttachmentEndsBeforeSending) {
  StubMapi mapi;
  TempDir dir;
  KsMapiEmail mail;
  EventLog log(mail);
  mail.SetRecipient("a@x.de");
  mail.Attachment = {dir.Write("da.D84", "x"), dir.Path("fehlt.D84")};
  EXPECT_EQ(mail.SendMail(), MAPI_E_ATTACHMENT_NOT_FOUND);
  EXPECT_EQ(mail.LastResult(), MAPI_E_ATTACHMENT_NOT_FOUND);
  EXPECT_EQ(mail.ErrorText(), "Anhang nicht gefunden");
  EXPECT_EQ(log.errors, std::vector<int32_t>{MAPI_E_ATTACHMENT_NOT_FOUND});
  const Strings expected = {"MAPILogon", "MAPIResolveName", "MAPIFreeBuffer", "MAPILogoff"};
  EXPECT_EQ(mapi.stub->Functions(), expected);

  mapi.stub->Reset();
  mail.Attachment = {dir.Path("")};  // a folder is no file
  EXPECT_EQ(mail.SendMail(), MAPI_E_ATTACHMENT_NOT_FOUND);
}

TEST(MapiEmail, AttachmentNames) {
  StubMapi mapi;
  TempDir dir;
  const std::string longName = dir.Write("Leistungsverzeichnis_2003.D84", "x");
  const std::string umlaut = dir.Write("B\xC3\xBCro.D84", "x");
  KsMapiEmail mail;
  mail.Attachment = {longName, umlaut};
  mail.SendMail();
  const StubCall& send = Only(*mapi.stub, "MAPISendMail");
  ASSERT_EQ(send.files.size(), 2u);
  EXPECT_EQ(send.files[0].fileName, "nis_2003.D84");
  EXPECT_EQ(send.files[1].fileName, "B\xFCro.D84");  // text is Windows-1252
  EXPECT_EQ(send.files[1].path, umlaut);             // the path stays the file system's

  mapi.stub->Reset();
  mail.TruncAttFN = false;
  mail.SendMail();
  EXPECT_EQ(Only(*mapi.stub, "MAPISendMail").files[0].fileName, "Leistungsverzeichnis_2003.D84");
}

// A failed logon is retried with MAPI's own logon dialog and the default
// profile; when that fails too, the error is reported twice.
TEST(MapiEmail, LogonRetryAndErrorEvents) {
  StubMapi mapi;
  mapi.stub->logonAnswers = {MAPI_E_FAILURE, MAPI_E_INVALID_SESSION};
  KsMapiEmail mail;
  EventLog log(mail);
  mail.Profile = "Bieter";
  mail.Password = "geheim";
  mail.SetNewSession(true);
  mail.SetRecipient("a@x.de");
  EXPECT_EQ(mail.SendMail(), MAPI_E_LOGIN_FAILURE);
  EXPECT_EQ(mail.ErrorText(), "Fehler beim Anmelden am eMail Server");
  EXPECT_EQ(mapi.stub->Functions(), (Strings{"MAPILogon", "MAPILogon"}));
  const StubCall& first = mapi.stub->calls[0];
  EXPECT_EQ(first.profile, "Bieter");
  EXPECT_EQ(first.password, "geheim");
  EXPECT_EQ(first.flags, static_cast<FLAGS>(MAPI_NEW_SESSION));
  const StubCall& second = mapi.stub->calls[1];
  EXPECT_TRUE(second.profileNull);
  EXPECT_TRUE(second.passwordNull);
  EXPECT_EQ(second.flags, static_cast<FLAGS>(MAPI_NEW_SESSION | MAPI_LOGON_UI));
  EXPECT_EQ(log.errors, (std::vector<int32_t>{MAPI_E_INVALID_SESSION, MAPI_E_LOGIN_FAILURE}));
  EXPECT_EQ(log.events, (Strings{"BeforeLogon", "MapiError 19", "MapiError 3"}));

  mapi.stub->Reset();
  mapi.stub->logonAnswers = {MAPI_E_FAILURE};
  EXPECT_EQ(mail.Logon(), 0);
  EXPECT_EQ(mail.Session(), 42u);
  EXPECT_EQ(mail.Logoff(), 0);  // before the log goes, which the logoff events write to
}

TEST(MapiEmail, DefaultProfileFromTheSettings) {
  const struct {
    std::optional<std::string> stored;
    bool fails;
    const char* expected;
  } cases[] = {
      {"Outlook", false, "Outlook"},
      {std::string(300, 'p'), false, nullptr},
      {std::nullopt, false, "Vorher"},
      {"Outlook", true, ""},
  };
  for (const auto& c : cases) {
    auto settings = std::make_shared<FakeMapiSettings>();
    settings->profile = c.stored;
    settings->profileFails = c.fails;
    StubMapi mapi(settings);
    KsMapiEmail mail;
    mail.Profile = "Vorher";
    mail.UseDefProfile = true;
    EXPECT_EQ(mail.Logon(), 0);
    const std::string expected = c.expected ? c.expected : std::string(255, 'p');
    EXPECT_EQ(mail.Profile.str(), expected);
    EXPECT_EQ(mapi.stub->calls[0].profile, expected);
    EXPECT_EQ(mapi.stub->calls[0].profileNull, expected.empty());
  }
}

// A session opened before SendMail stays open; the component's end closes it.
TEST(MapiEmail, OpenSessionIsReusedAndClosedAtTheEnd) {
  StubMapi mapi;
  {
    KsMapiEmail mail;
    EXPECT_EQ(mail.Logon(), 0);
    EXPECT_EQ(mail.Logon(), 0);
    EXPECT_EQ(mail.SendMail(), 0);
    EXPECT_EQ(mapi.stub->Functions(), (Strings{"MAPILogon", "MAPISendMail"}));
  }
  EXPECT_EQ(mapi.stub->Functions(), (Strings{"MAPILogon", "MAPISendMail", "MAPILogoff"}));
  KsMapiEmail mail;
  EXPECT_EQ(mail.Logoff(), 0);  // no session: nothing to do
  EXPECT_EQ(mapi.stub->calls.size(), 3u);
}

TEST(MapiEmail, MessageTexts) {
  const struct {
    const char* subject;
    const char* text;
    const char* longText;
    bool subjectNull, noteNull;
    const char* note;
  } cases[] = {
      {"", "", nullptr, true, true, ""},
      {"Betreff", "kurz", nullptr, false, false, "kurz"},
      {"Betreff", "kurz", "lang", false, false, "lang"},
      {"Betreff", "", "", false, false, ""},
  };
  for (const auto& c : cases) {
    StubMapi mapi;
    KsMapiEmail mail;
    mail.Subject = c.subject;
    if (c.longText) mail.SetLongText(c.longText);
    mail.Text = c.text;
    mail.SendMail();
    const StubCall& send = Only(*mapi.stub, "MAPISendMail");
    EXPECT_EQ(send.subjectNull, c.subjectNull);
    EXPECT_EQ(send.subject, c.subject);
    EXPECT_EQ(send.noteTextNull, c.noteNull);
    EXPECT_EQ(send.noteText, c.note);
  }
}

TEST(MapiEmail, ReceiptFlagAndFailedSend) {
  StubMapi mapi;
  mapi.stub->sendAnswer = MAPI_USER_ABORT;
  KsMapiEmail mail;
  EventLog log(mail);
  mail.Acknowledge = true;
  mail.SetRecipient("a@x.de");
  EXPECT_EQ(mail.SendMail(), MAPI_USER_ABORT);
  EXPECT_EQ(Only(*mapi.stub, "MAPISendMail").messageFlags,
            static_cast<FLAGS>(MAPI_RECEIPT_REQUESTED));
  EXPECT_EQ(mail.ErrorText(), "Abbruch durch den Anwender");
  EXPECT_EQ(log.events, (Strings{"BeforeLogon", "AfterLogon", "BeforeSendMail", "MapiError 1",
                                 "BeforeLogoff", "AfterLogoff"}));
  EXPECT_EQ(mapi.stub->Functions().back(), "MAPILogoff");
}

TEST(MapiEmail, TruncateFileName) {
  const struct {
    std::string name, expected;
  } cases[] = {
      {"Preisabgabe.D84", "isabgabe.D84"},
      {"Leistungsverzeichnis_2003.D84", "nis_2003.D84"},
      {"a.b.c.d.e.f.g.h", "c.d.e.f.g.h"},
      {"..........abcdef.txt", "abcdef.txt"},
      {"verylongname_without_dot", "_without_dot"},
      {"Angebot.D84", "Angebot.D84"},
      {"Angebot_Bauvorhaben.D84", "vorhaben.D84"},
      {"Angebot12.D84", "ngebot12.D84"},
      {"abcdefgh.longext", "efgh.longext"},
      {"", ""},
      {"............", "............"},
      {".............", ""},
  };
  KsMapiEmail mail;
  for (const auto& c : cases) EXPECT_EQ(mail.TruncateFileName(c.name), c.expected) << c.name;
}

TEST(MapiEmail, ErrorTexts) {
  const std::map<int32_t, std::string> texts = {
      {0, ""},
      {1, "Abbruch durch den Anwender"},
      {2, "Allgemeiner Fehler"},
      {3, "Fehler beim Anmelden am eMail Server"},
      {4, "Disk/Festplatte voll"},
      {5, "Ungen\xFCgender Speicher"},
      {6, "Zugriff verweigert"},
      {7, ""},
      {8, "Zu viele eMail Verbindungen"},
      {9, "Zu viele Dateien"},
      {10, "Zu viele Empf\xE4nger"},
      {11, "Anhang nicht gefunden"},
      {12,
       "Anhang konnte nicht ge\xF6"
       "ffnet werden"},
      {13, "Anhang konnte nicht geschrieben werden"},
      {14, "Unbekannter Empf\xE4nger"},
      {15, "Unbekannter Empf\xE4ngertyp"},
      {16, "Nachricht ist leer"},
      {17, "Ung\xFCltige Nachricht"},
      {18, "Nachrichtentext zu lang"},
      {19, "Ung\xFCltige eMail Verbindung"},
      {20, "eMail Typ wird nicht unterst\xFCtzt"},
      {21, "Mehrdeutiger Empf\xE4nger"},
      {22, "Nachricht in Benutzung"},
      {23, "Netzwerkfehler"},
      {24, "Ung\xFCltige Eingabefelder"},
      {25, "Ung\xFCltige Empf\xE4nger"},
      {26, "eMail Versand wird nicht unterst\xFCtzt"},
      {27, ""},
      {-1, ""},
  };
  StubMapi mapi;
  for (const auto& [code, text] : texts) {
    EXPECT_EQ(MapiErrorText(code), text) << code;
    mapi.stub->sendAnswer = static_cast<ULONG>(code);
    KsMapiEmail mail;
    mail.SetRecipient("a@x.de");
    mail.SendMail();
    EXPECT_EQ(mail.ErrorText(), text) << code;
  }
}
