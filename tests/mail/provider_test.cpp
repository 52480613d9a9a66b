// The Linux provider through its C interface, as any program would call it,
// with stand-ins for sendmail and xdg-email.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <thread>

#include "mail/mapi.h"
#include "mail/provider/handover.h"
#include "mail/provider/outbox.h"
#include "tests/support/mail_stand_ins.h"
#include "tests/support/parsed_mail.h"

namespace {

namespace fs = std::filesystem;

class Provider {
 public:
  Provider() : library_(dlopen(TARVO_MAPI32, RTLD_NOW | RTLD_LOCAL)) {
    if (!library_) throw std::runtime_error(dlerror());
    Logon = Entry<MAPILOGON>("MAPILogon");
    Logoff = Entry<MAPILOGOFF>("MAPILogoff");
    SendMail = Entry<MAPISENDMAIL>("MAPISendMail");
    ResolveName = Entry<MAPIRESOLVENAME>("MAPIResolveName");
    FreeBuffer = Entry<MAPIFREEBUFFER>("MAPIFreeBuffer");
  }
  ~Provider() { dlclose(library_); }

  template <typename Function>
  Function* Entry(const char* name) {
    return reinterpret_cast<Function*>(dlsym(library_, name));
  }

  MAPILOGON* Logon;
  MAPILOGOFF* Logoff;
  MAPISENDMAIL* SendMail;
  MAPIRESOLVENAME* ResolveName;
  MAPIFREEBUFFER* FreeBuffer;

 private:
  void* library_;
};

// A message built from plain values, as MAPI wants it.
class Message {
 public:
  Message& Subject(std::string s) {
    subject_ = std::move(s);
    message_.lpszSubject = subject_.data();
    return *this;
  }
  Message& Text(std::string s) {
    text_ = std::move(s);
    message_.lpszNoteText = text_.data();
    return *this;
  }
  Message& Recipient(ULONG recipClass, std::string address, std::string name = "") {
    strings_.push_back(std::move(address));
    strings_.push_back(std::move(name));
    MapiRecipDesc r{};
    r.ulRecipClass = recipClass;
    r.lpszAddress =
        strings_[strings_.size() - 2].empty() ? nullptr : strings_[strings_.size() - 2].data();
    r.lpszName = strings_.back().data();
    recipients_.push_back(r);
    return *this;
  }
  Message& File(std::string path, std::string name = "") {
    strings_.push_back(std::move(path));
    strings_.push_back(std::move(name));
    MapiFileDesc f{};
    f.nPosition = static_cast<ULONG>(-1);
    f.lpszPathName = strings_[strings_.size() - 2].data();
    f.lpszFileName = strings_.back().empty() ? nullptr : strings_.back().data();
    files_.push_back(f);
    return *this;
  }
  MapiMessage* Get() {
    message_.nRecipCount = static_cast<ULONG>(recipients_.size());
    message_.lpRecips = recipients_.empty() ? nullptr : recipients_.data();
    message_.nFileCount = static_cast<ULONG>(files_.size());
    message_.lpFiles = files_.empty() ? nullptr : files_.data();
    return &message_;
  }
  MapiMessage& Raw() { return message_; }

 private:
  MapiMessage message_{};
  std::string subject_, text_;
  std::deque<std::string> strings_;
  std::vector<MapiRecipDesc> recipients_;
  std::vector<MapiFileDesc> files_;
};

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

}  // namespace

TEST(Provider, ResolveName) {
  Provider mapi;
  const struct {
    const char* name;
    ULONG code;
    const char* address;
  } cases[] = {
      {"bau@ulm.de", SUCCESS_SUCCESS, "bau@ulm.de"},
      {"SMTP:bau@ulm.de", SUCCESS_SUCCESS, "bau@ulm.de"},
      {"[SMTP:bau@ulm.de]", SUCCESS_SUCCESS, "bau@ulm.de"},
      {"a@b@c.de", MAPI_E_AMBIGUOUS_RECIPIENT, nullptr},
      {"Bauamt Ulm", MAPI_E_UNKNOWN_RECIPIENT, nullptr},
      {"", MAPI_E_UNKNOWN_RECIPIENT, nullptr},
      {"bau@ulm.de\r\nBcc: x@evil.example", MAPI_E_AMBIGUOUS_RECIPIENT, nullptr},
      {"bau@ulm.de\r\nX-Evil: 1", MAPI_E_UNKNOWN_RECIPIENT, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::string name = c.name;
    for (FLAGS flags : {FLAGS{0}, FLAGS{MAPI_DIALOG}}) {
      lpMapiRecipDesc found = reinterpret_cast<lpMapiRecipDesc>(&name);
      ASSERT_EQ(mapi.ResolveName(0, 0, name.data(), flags, 0, &found), c.code);
      if (!c.address) {
        EXPECT_EQ(found, nullptr);
        continue;
      }
      ASSERT_NE(found, nullptr);
      EXPECT_STREQ(found->lpszName, c.address);
      EXPECT_EQ(std::string(found->lpszAddress), std::string("SMTP:") + c.address);
      EXPECT_EQ(found->ulRecipClass, ULONG{MAPI_TO});
      EXPECT_EQ(mapi.FreeBuffer(found), ULONG{SUCCESS_SUCCESS});
      EXPECT_EQ(mapi.FreeBuffer(found), ULONG{MAPI_E_FAILURE});  // not twice
    }
  }
  EXPECT_EQ(mapi.ResolveName(0, 0, nullptr, 0, 0, nullptr), ULONG{MAPI_E_FAILURE});
  lpMapiRecipDesc found = nullptr;
  EXPECT_EQ(mapi.ResolveName(0, 0, nullptr, 0, 0, &found), ULONG{MAPI_E_UNKNOWN_RECIPIENT});
  int local = 0;
  EXPECT_EQ(mapi.FreeBuffer(&local), ULONG{MAPI_E_FAILURE});
  EXPECT_EQ(mapi.FreeBuffer(nullptr), ULONG{SUCCESS_SUCCESS});
}

TEST(Provider, SessionsAndUnsupportedCalls) {
  Provider mapi;
  LHANDLE first = 0, second = 0;
  ASSERT_EQ(mapi.Logon(0, nullptr, nullptr, MAPI_LOGON_UI, 0, &first), ULONG{SUCCESS_SUCCESS});
  ASSERT_EQ(mapi.Logon(0, nullptr, nullptr, 0, 0, &second), ULONG{SUCCESS_SUCCESS});
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(mapi.Logon(0, nullptr, nullptr, 0, 0, nullptr), ULONG{MAPI_E_FAILURE});
  EXPECT_EQ(mapi.Logoff(first, 0, 0, 0), ULONG{SUCCESS_SUCCESS});
  EXPECT_EQ(mapi.Logoff(first, 0, 0, 0), ULONG{MAPI_E_INVALID_SESSION});
  Message message;
  EXPECT_EQ(mapi.SendMail(first, 0, message.Get(), 0, 0), ULONG{MAPI_E_INVALID_SESSION});
  char name[] = "a@b.de";
  lpMapiRecipDesc found = nullptr;
  EXPECT_EQ(mapi.ResolveName(first, 0, name, 0, 0, &found), ULONG{MAPI_E_INVALID_SESSION});
  EXPECT_EQ(mapi.SendMail(second, 0, nullptr, 0, 0), ULONG{MAPI_E_INVALID_MESSAGE});
  EXPECT_EQ(mapi.Logoff(second, 0, 0, 0), ULONG{SUCCESS_SUCCESS});

  EXPECT_EQ(mapi.Entry<MAPIFINDNEXT>("MAPIFindNext")(0, 0, nullptr, nullptr, 0, 0, nullptr),
            ULONG{MAPI_E_NOT_SUPPORTED});
  EXPECT_EQ(mapi.Entry<MAPIREADMAIL>("MAPIReadMail")(0, 0, nullptr, 0, 0, nullptr),
            ULONG{MAPI_E_NOT_SUPPORTED});
  EXPECT_EQ(mapi.Entry<MAPIDELETEMAIL>("MAPIDeleteMail")(0, 0, nullptr, 0, 0),
            ULONG{MAPI_E_NOT_SUPPORTED});
  EXPECT_EQ(mapi.Entry<MAPISAVEMAIL>("MAPISaveMail")(0, 0, nullptr, 0, 0, nullptr),
            ULONG{MAPI_E_NOT_SUPPORTED});
  EXPECT_EQ(mapi.Entry<MAPIADDRESS>("MAPIAddress")(0, 0, nullptr, 0, nullptr, 0, nullptr, 0, 0,
                                                   nullptr, nullptr),
            ULONG{MAPI_E_NOT_SUPPORTED});
}

// Without the dialog: a complete message to `sendmail -t -i`, read back with
// Python's email package.
TEST(Provider, SendmailGetsACompleteMessage) {
  MailStandIns standIns;
  Provider mapi;
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i * 7 % 256);
  const std::string file = dir.Write("Angebot Los 1.D84", bytes);
  Message message;
  message
      .Subject(
          "Preisabgabe 01 Stra\xDF"
          "enbau \x80 Au\xDF"
          "enanlagen")
      .Text(
          "Sehr geehrte Damen und Herren,\r\n\r\nmit freundlichen Gr\xFC\xDF"
          "en\r\n")
      .Recipient(MAPI_TO, "SMTP:bau@ulm.de", "Bauamt")
      .Recipient(MAPI_TO, "", "vergabe@ulm.de")
      .Recipient(MAPI_CC, "SMTP:kopie@ulm.de")
      .Recipient(MAPI_BCC, "SMTP:blind@ulm.de")
      .Recipient(MAPI_ORIG, "SMTP:ich@bau.example")
      .File(file, "B\xFCro.D84")
      .File(file);
  ASSERT_EQ(mapi.SendMail(0, 0, message.Get(), 0, 0), ULONG{SUCCESS_SUCCESS});
  EXPECT_EQ(standIns.SendmailArgs(), "-t\n-i\n");
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), dir.Dir());
  EXPECT_EQ(mail.defects, 0);
  EXPECT_EQ(mail.Header("To"), "bau@ulm.de, vergabe@ulm.de");
  EXPECT_EQ(mail.Header("Cc"), "kopie@ulm.de");
  EXPECT_EQ(mail.Header("Bcc"), "blind@ulm.de");
  EXPECT_EQ(mail.Header("Subject"),
            "Preisabgabe 01 Stra\xC3\x9F"
            "enbau \xE2\x82\xAC Au\xC3\x9F"
            "enanlagen");
  EXPECT_EQ(mail.Header("From"), "");
  EXPECT_EQ(mail.body,
            "Sehr geehrte Damen und Herren,\n\nmit freundlichen Gr\xC3\xBC\xC3\x9F"
            "en\n");
  ASSERT_EQ(mail.attachments.size(), 2u);
  EXPECT_EQ(mail.attachments[0].first, "B\xC3\xBCro.D84");
  EXPECT_EQ(mail.attachments[0].second, bytes);
  EXPECT_EQ(mail.attachments[1].first, "Angebot Los 1.D84");
  EXPECT_EQ(mail.attachments[1].second, bytes);
}

TEST(Provider, SenderAndReceipt) {
  MailStandIns standIns;
  EnvGuard env;
  env.Set("EMAIL", "bieter@bau.example");
  Provider mapi;
  TempDir dir;
  Message message;
  message.Recipient(MAPI_TO, "bau@ulm.de").Raw().flFlags = MAPI_RECEIPT_REQUESTED;
  ASSERT_EQ(mapi.SendMail(0, 0, message.Get(), 0, 0), ULONG{SUCCESS_SUCCESS});
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), dir.Dir());
  EXPECT_EQ(mail.Header("From"), "bieter@bau.example");
  EXPECT_EQ(mail.Header("Disposition-Notification-To"), "bieter@bau.example");
  EXPECT_EQ(mail.attachments.size(), 0u);
  EXPECT_EQ(mail.defects, 0);
}

TEST(Provider, SendmailResultsAreMapiCodes) {
  const struct {
    int exit;
    ULONG code;
  } cases[] = {
      {1, MAPI_E_FAILURE},          {67, MAPI_E_UNKNOWN_RECIPIENT}, {68, MAPI_E_UNKNOWN_RECIPIENT},
      {69, MAPI_E_NETWORK_FAILURE}, {75, MAPI_E_NETWORK_FAILURE},   {77, MAPI_E_ACCESS_DENIED}};
  MailStandIns standIns;
  Provider mapi;
  Message message;
  message.Recipient(MAPI_TO, "bau@ulm.de");
  for (const auto& c : cases) {
    standIns.ExitWith("sendmail", c.exit);
    EXPECT_EQ(mapi.SendMail(0, 0, message.Get(), 0, 0), c.code) << c.exit;
  }
}

// The state letter of a process in /proc; a process that is gone or has ended
// (a zombie waiting for its parent) does not run.
bool Runs(pid_t id) {
  std::ifstream stat("/proc/" + std::to_string(id) + "/stat");
  std::string line;
  if (!std::getline(stat, line) || line.rfind(')') == std::string::npos) return false;
  const char state = line[line.rfind(')') + 2];
  return state != 'Z' && state != 'X';
}

// A signal sent to another process takes effect when that process next runs:
// whether it has ended is looked at for a few seconds.
bool EndsSoon(pid_t id) {
  for (int tries = 0; tries < 100 && Runs(id); ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return !Runs(id);
}

// A sendmail that never returns would freeze the window on "E-Mail senden":
// it is ended with what it started, collected, and the message counts as
// not sent, with a code the window shows as "Netzwerkfehler".
TEST(Provider, HangingSendmailIsEnded) {
  MailStandIns standIns;
  standIns.Hang("sendmail");
  OutgoingMail mail;
  mail.to = {"bau@ulm.de"};
  mail.subject = "Angebot";
  EXPECT_EQ(HandToSendmail(mail, std::chrono::milliseconds(1500)), ULONG{MAPI_E_NETWORK_FAILURE});
  const std::vector<pid_t> ids = standIns.HangingIds("sendmail");
  ASSERT_EQ(ids.size(), 2u) << "the stand-in did not start";
  // The stand-in was this process's child: collected, it is gone altogether.
  EXPECT_EQ(kill(ids[0], 0), -1);
  EXPECT_EQ(errno, ESRCH);
  EXPECT_TRUE(EndsSoon(ids[1]));
}

TEST(Provider, MissingSendmail) {
  if (Exists("/usr/sbin/sendmail") || Exists("/usr/lib/sendmail"))
    GTEST_SKIP() << "this machine has a mail system";
  MailStandIns standIns;
  standIns.Remove("sendmail");
  EnvGuard env;
  env.Set("PATH", standIns.Dir().Dir());
  Provider mapi;
  Message message;
  message.Recipient(MAPI_TO, "bau@ulm.de");
  EXPECT_EQ(mapi.SendMail(0, 0, message.Get(), 0, 0), ULONG{MAPI_E_NOT_SUPPORTED});
}

// Nothing a tender can put into a subject, an address or a file name
// reaches the message as a header of its own, and no bad input crashes.
TEST(Provider, BadInput) {
  MailStandIns standIns;
  Provider mapi;
  TempDir dir;
  const std::string file = dir.Write("a.D84", "x");
  const struct {
    const char* label;
    std::function<void(Message&)> build;
    ULONG code;
    std::function<void(MapiMessage&)> patch = nullptr;
  } cases[] = {
      {"line break in an address",
       [](Message& m) { m.Recipient(MAPI_TO, "bau@ulm.de\r\nBcc: x@evil.example"); },
       MAPI_E_UNKNOWN_RECIPIENT},
      {"line break in a name without address",
       [](Message& m) { m.Recipient(MAPI_TO, "", "bau@ulm.de\nX-Evil: 1"); },
       MAPI_E_UNKNOWN_RECIPIENT},
      {"option as address", [](Message& m) { m.Recipient(MAPI_TO, "-oQ/tmp@x.de"); },
       MAPI_E_UNKNOWN_RECIPIENT},
      {"no recipient", [](Message&) {}, MAPI_E_INVALID_RECIPS},
      {"unknown class", [](Message& m) { m.Recipient(7, "bau@ulm.de"); }, MAPI_E_BAD_RECIPTYPE},
      {"missing file",
       [&](Message& m) { m.Recipient(MAPI_TO, "bau@ulm.de").File(dir.Path("fehlt.D84")); },
       MAPI_E_ATTACHMENT_NOT_FOUND},
      {"empty path", [](Message& m) { m.Recipient(MAPI_TO, "bau@ulm.de").File(""); },
       MAPI_E_ATTACHMENT_NOT_FOUND},
      {"folder as file", [&](Message& m) { m.Recipient(MAPI_TO, "bau@ulm.de").File(dir.Dir()); },
       MAPI_E_ATTACHMENT_OPEN_FAILURE},
      {"recipients missing", [](Message&) {}, MAPI_E_INVALID_RECIPS,
       [](MapiMessage& m) { m.nRecipCount = 3; }},
      {"files missing", [](Message& m) { m.Recipient(MAPI_TO, "bau@ulm.de"); },
       MAPI_E_ATTACHMENT_NOT_FOUND, [](MapiMessage& m) { m.nFileCount = 2; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    Message message;
    c.build(message);
    MapiMessage* raw = message.Get();
    if (c.patch) c.patch(*raw);
    EXPECT_EQ(mapi.SendMail(0, 0, raw, 0, 0), c.code);
    EXPECT_FALSE(standIns.SendmailRan());
  }

  Message message;
  message.Subject("Angebot\r\nBcc: x@evil.example\r\n\r\nText")
      .Recipient(MAPI_TO, "bau@ulm.de")
      .File(file, "..\\..\r\nX-Evil: 1/../a.D84");
  ASSERT_EQ(mapi.SendMail(0, 0, message.Get(), 0, 0), ULONG{SUCCESS_SUCCESS});
  const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), dir.Dir());
  EXPECT_EQ(mail.headerNames, (std::vector<std::string>{"Date", "To", "Subject", "Message-ID",
                                                        "MIME-Version", "Content-Type"}));
  EXPECT_EQ(mail.Header("Subject"), "Angebot  Bcc: x@evil.example    Text");
  ASSERT_EQ(mail.attachments.size(), 1u);
  EXPECT_EQ(mail.attachments[0].first, ".._..__X-Evil: 1_.._a.D84");
  EXPECT_EQ(mail.defects, 0);
}

// Random subjects, names and texts through the whole provider: every
// message parses without defects and with its seven headers at most.
TEST(Provider, RandomTextsNeverMakeHeaders) {
  MailStandIns standIns;
  Provider mapi;
  TempDir dir;
  const std::string file = dir.Write("a.D84", "x");
  std::mt19937 random(4711);
  const std::string alphabet("a \r\n\t:=?_\"\\;<>@\xE4\xFF\x01\x7F\x80");
  auto text = [&](size_t max) {
    std::string s(random() % max, ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE(round);
    Message message;
    message.Subject(text(300)).Text(text(2000)).Recipient(MAPI_TO, "bau@ulm.de", text(40));
    message.File(file, text(80));
    ASSERT_EQ(mapi.SendMail(0, 0, message.Get(), 0, 0), ULONG{SUCCESS_SUCCESS});
    const ParsedMail mail = ParseMail(standIns.SendmailMessagePath(), dir.Dir());
    EXPECT_EQ(mail.defects, 0);
    EXPECT_LE(mail.headerNames.size(), 7u);
    EXPECT_EQ(mail.Header("To"), "bau@ulm.de");
    ASSERT_EQ(mail.attachments.size(), 1u);
    EXPECT_EQ(mail.attachments[0].second, "x");
  }
}

// With the dialog the desktop's mail program gets the message through
// xdg-email, with a copy of each attachment that outlives the caller's file.
TEST(Provider, DialogHandsOverThroughXdgEmail) {
  MailStandIns standIns;
  Provider mapi;
  TempDir dir;
  const std::string file = dir.Write("LV_Los01.D84", "D84 Inhalt");
  Message message;
  message
      .Subject(
          "Preisabgabe 01 Stra\xDF"
          "enbau\r\n")
      .Text(
          "Gr\xFC\xDF"
          "e\r\n")
      .Recipient(MAPI_TO, "SMTP:bau@ulm.de")
      .Recipient(MAPI_CC, "kopie@ulm.de")
      .Recipient(MAPI_BCC, "blind@ulm.de")
      .File(file)
      .File(file);
  ASSERT_EQ(mapi.SendMail(0, 0, message.Get(), MAPI_DIALOG, 0), ULONG{SUCCESS_SUCCESS});
  fs::remove(file);
  EXPECT_FALSE(standIns.SendmailRan());
  const std::vector<std::string> args = standIns.XdgEmailArgs();
  ASSERT_FALSE(args.empty());
  EXPECT_EQ(args[0], "--utf8");
  EXPECT_EQ(standIns.XdgEmailValues("--to"), std::vector<std::string>{"bau@ulm.de"});
  EXPECT_EQ(standIns.XdgEmailValues("--cc"), std::vector<std::string>{"kopie@ulm.de"});
  EXPECT_EQ(standIns.XdgEmailValues("--bcc"), std::vector<std::string>{"blind@ulm.de"});
  EXPECT_EQ(standIns.XdgEmailValues("--subject"),
            std::vector<std::string>{"Preisabgabe 01 Stra\xC3\x9F"
                                     "enbau  "});
  EXPECT_EQ(standIns.XdgEmailValues("--body"), std::vector<std::string>{"Gr\xC3\xBC\xC3\x9F"
                                                                        "e\r\n"});
  const std::vector<std::string> copies = standIns.XdgEmailValues("--attach");
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_NE(copies[0], copies[1]);
  for (const std::string& copy : copies) {
    EXPECT_EQ(copy.rfind(standIns.Outbox() + "/", 0), 0u) << copy;
    EXPECT_EQ(fs::path(copy).filename(), "LV_Los01.D84");
    EXPECT_EQ(ReadFile(copy), "D84 Inhalt");
  }
  const auto perms = fs::status(standIns.Outbox()).permissions();
  EXPECT_EQ(perms & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);

  // No recipient at all is fine here: the user completes the message.
  Message empty;
  EXPECT_EQ(mapi.SendMail(0, 0, empty.Get(), MAPI_DIALOG, 0), ULONG{SUCCESS_SUCCESS});
  EXPECT_EQ(standIns.XdgEmailArgs(), std::vector<std::string>{"--utf8"});
}

TEST(Provider, DialogFailures) {
  MailStandIns standIns;
  Provider mapi;
  TempDir dir;
  const std::string file = dir.Write("a.D84", "x");
  const struct {
    int exit;
    ULONG code;
  } cases[] = {{3, MAPI_E_NOT_SUPPORTED}, {2, MAPI_E_ATTACHMENT_NOT_FOUND}, {4, MAPI_E_FAILURE}};
  for (const auto& c : cases) {
    standIns.ExitWith("xdg-email", c.exit);
    Message message;
    message.Recipient(MAPI_TO, "bau@ulm.de").File(file);
    EXPECT_EQ(mapi.SendMail(0, 0, message.Get(), MAPI_DIALOG, 0), c.code);
    // A copy nobody will read is not kept.
    EXPECT_TRUE(fs::is_empty(standIns.Outbox()));
  }
  EnvGuard env;
  env.Set("PATH", "/nonexistent");
  Message message;
  EXPECT_EQ(mapi.SendMail(0, 0, message.Get(), MAPI_DIALOG, 0), ULONG{MAPI_E_NOT_SUPPORTED});
}

// A mail program that xdg-email had to start keeps it waiting until the user
// closes it; the message is handed over all the same, and the copy stays.
TEST(Provider, MailProgramLeftOpen) {
  MailStandIns standIns;
  Provider mapi;
  TempDir dir;
  const std::string file = dir.Write("a.D84", "D84 Inhalt");
  standIns.Linger("xdg-email");
  Message message;
  message.Recipient(MAPI_TO, "bau@ulm.de").File(file);
  EXPECT_EQ(mapi.SendMail(0, 0, message.Get(), MAPI_DIALOG, 0), ULONG{SUCCESS_SUCCESS});
  const std::vector<std::string> copies = standIns.XdgEmailValues("--attach");
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(ReadFile(copies[0]), "D84 Inhalt");
  standIns.Release("xdg-email");
}

TEST(Provider, OutboxKeepsCopiesADay) {
  TempDir dir;
  const fs::path outbox = dir.Path("outbox");
  const fs::path old = NewMessageFolder(outbox);
  const fs::path fresh = NewMessageFolder(outbox);
  std::ofstream(old / "a.D84") << "x";
  const auto now = fs::file_time_type::clock::now();
  fs::last_write_time(old, now - std::chrono::hours(25));
  fs::last_write_time(fresh, now - std::chrono::hours(23));
  CleanOutbox(outbox, now);
  EXPECT_FALSE(fs::exists(old));
  EXPECT_TRUE(fs::exists(fresh));
  CleanOutbox(dir.Path("none"), now);  // a missing outbox is no error
}
