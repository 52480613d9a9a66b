#include "mail/provider/mime_message.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "tests/support/env_guard.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::stringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

OutgoingMail Sample() {
  OutgoingMail mail;
  mail.to = {"bau@ulm.de", "vergabe@ulm.de"};
  mail.cc = {"kopie@x.de"};
  mail.subject =
      "Preisabgabe 01 Stra\xC3\x9F"
      "enbau";
  mail.body =
      "Sehr geehrte Damen und Herren,\r\n\r\nmit freundlichen Gr\xC3\xBC\xC3\x9F"
      "en";
  mail.attachments.push_back({"/tmp/x", "LV_Los01.D84", std::string("\0\1\2D84", 6)});
  return mail;
}

}  // namespace

TEST(MimeMessage, Base64) {
  const struct {
    std::string bytes, encoded;
  } cases[] = {
      {"", ""},          {"f", "Zg==\n"},          {"fo", "Zm8=\n"},
      {"foo", "Zm9v\n"}, {"foobar", "Zm9vYmFy\n"}, {std::string("\xFF\xFE\0", 3), "//4A\n"}};
  for (const auto& c : cases) EXPECT_EQ(Base64Lines(c.bytes), c.encoded);
  const std::string lines = Base64Lines(std::string(100, 'x'));
  EXPECT_EQ(Lines(lines)[0].size(), 76u);
  EXPECT_EQ(Lines(lines).size(), 2u);
}

TEST(MimeMessage, QuotedPrintable) {
  const struct {
    std::string text, encoded;
  } cases[] = {
      {"a=b", "a=3Db"},
      {"Gr\xC3\xBC\xC3\x9F"
       "e",
       "Gr=C3=BC=C3=9Fe"},
      {"eins\r\nzwei\rdrei\nvier", "eins\nzwei\ndrei\nvier"},
      {"Ende \r\nTab\t", "Ende=20\nTab=09"},
      {"a b", "a b"},
      {std::string("\x7F", 1), "=7F"},
  };
  for (const auto& c : cases) EXPECT_EQ(QuotedPrintable(c.text), c.encoded) << c.text;
  for (const std::string& line : Lines(QuotedPrintable(std::string(500, '\xE4') + "x y")))
    EXPECT_LE(line.size(), 76u);
}

TEST(MimeMessage, HeaderTexts) {
  EXPECT_EQ(EncodedHeaderText("Anfrage Tarvo_Redurir", 7), "Anfrage Tarvo_Redurir");
  EXPECT_EQ(EncodedHeaderText("Gr\xC3\xBC\xC3\x9F"
                              "e",
                              7),
            "=?UTF-8?B?R3LDvMOfZQ==?=");
  EXPECT_EQ(EncodedHeaderText("=?x?=", 7).substr(0, 10), "=?UTF-8?B?");
  // Long or non-ASCII texts become encoded words on lines of their own,
  // never splitting a character.
  for (const std::string& text : {std::string(200, 'a'), std::string(90, '\xC3') /* stray */, [] {
                                    std::string s;
                                    for (int i = 0; i < 80; ++i) s += "\xC3\xA4";
                                    return s;
                                  }()}) {
    const std::vector<std::string> lines = Lines(EncodedHeaderText(text, 7));
    EXPECT_GT(lines.size(), 1u);
    for (size_t i = 0; i < lines.size(); ++i) {
      std::string word = i ? lines[i].substr(1) : lines[i];
      EXPECT_EQ(i ? lines[i][0] : ' ', ' ');
      EXPECT_LE(word.size(), 75u);
      EXPECT_EQ(word.substr(0, 10), "=?UTF-8?B?");
      EXPECT_EQ(word.substr(word.size() - 2), "?=");
    }
  }
}

TEST(MimeMessage, DateInRfcForm) {
  EnvGuard env;
  env.Set("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  tzset();
  EXPECT_EQ(RfcDate(0), "Thu, 01 Jan 1970 01:00:00 +0100");
  EXPECT_EQ(RfcDate(1719835200), "Mon, 01 Jul 2024 14:00:00 +0200");
  env.Set("TZ", "UTC0");
  tzset();
  EXPECT_EQ(RfcDate(951782400), "Tue, 29 Feb 2000 00:00:00 +0000");
  env.Set("TZ", "EST5");
  tzset();
  EXPECT_EQ(RfcDate(0), "Wed, 31 Dec 1969 19:00:00 -0500");
}

TEST(MimeMessage, Structure) {
  OutgoingMail mail = Sample();
  mail.from = "bieter@bau.example";
  mail.bcc = {"geheim@x.de"};
  mail.receiptRequested = true;
  const std::vector<std::string> lines = Lines(BuildMimeMessage(mail, 0, "host", "u1"));
  const std::vector<std::string> head(lines.begin(), lines.begin() + 14);
  const std::vector<std::string> expected = {
      head[0],  // the date
      "From: bieter@bau.example",
      "To: bau@ulm.de,",
      " vergabe@ulm.de",
      "Cc: kopie@x.de",
      "Bcc: geheim@x.de",
      "Subject: =?UTF-8?B?UHJlaXNhYmdhYmUgMDEgU3RyYcOfZW5iYXU=?=",
      "Message-ID: <u1@host>",
      "Disposition-Notification-To: bieter@bau.example",
      "MIME-Version: 1.0",
      "Content-Type: multipart/mixed; boundary=\"=_Tarvo_u1\"",
      "",
      "--=_Tarvo_u1",
      "Content-Type: text/plain; charset=UTF-8",
  };
  EXPECT_EQ(head, expected);
  EXPECT_EQ(head[0].substr(0, 6), "Date: ");
  EXPECT_EQ(lines.back(), "--=_Tarvo_u1--");
  const std::string text = BuildMimeMessage(mail, 0, "host", "u1");
  EXPECT_NE(text.find("Content-Disposition: attachment; filename=\"LV_Los01.D84\"\n"),
            std::string::npos);
  EXPECT_NE(text.find("\nAAECRDg0\n"), std::string::npos);

  mail.attachments[0].name = "B\xC3\xBCro \"1\".D84";
  EXPECT_NE(BuildMimeMessage(mail, 0, "h", "u").find("filename*=UTF-8''B%C3%BCro%20%221%22.D84\n"),
            std::string::npos);
}

TEST(MimeMessage, WithoutAttachmentsAPlainTextMessage) {
  OutgoingMail mail = Sample();
  mail.attachments.clear();
  mail.subject.clear();
  const std::string text = BuildMimeMessage(mail, 0, "h", "u");
  EXPECT_EQ(text.find("multipart"), std::string::npos);
  EXPECT_EQ(text.find("Subject:"), std::string::npos);
  EXPECT_EQ(text.find("From:"), std::string::npos);
  EXPECT_NE(text.find("MIME-Version: 1.0\nContent-Type: text/plain; charset=UTF-8\n"),
            std::string::npos);
}

// Random texts, addresses are checked before they get here: whatever the
// subject, body and file names hold, the head keeps its shape and no line
// breaks the length limit.
TEST(MimeMessage, RandomTextsKeepTheHeadIntact) {
  std::mt19937 random(20240611);
  const std::string alphabet("a \r\n\t:=?_\"\\;\xC3\xA4\xFF\x01\x7F");
  auto text = [&](size_t max) {
    std::string s(random() % max, ' ');
    for (char& c : s) c = alphabet[random() % alphabet.size()];
    return s;
  };
  const std::vector<std::string> known = {"Date",       "To",           "Subject",
                                          "Message-ID", "MIME-Version", "Content-Type"};
  for (int round = 0; round < 300; ++round) {
    OutgoingMail mail;
    mail.to = {"a@b.de"};
    mail.subject = text(400);
    for (char& c : mail.subject)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';  // as the reader leaves it
    mail.body = text(3000);
    mail.attachments.push_back({"/x", text(60) + "x", text(200)});
    const std::string message = BuildMimeMessage(mail, 0, "h", "u");
    const std::vector<std::string> lines = Lines(message);
    size_t i = 0;
    for (; i < lines.size() && !lines[i].empty(); ++i) {
      const std::string& line = lines[i];
      if (line[0] == ' ') continue;
      const std::string name = line.substr(0, line.find(':'));
      EXPECT_NE(std::find(known.begin(), known.end(), name), known.end()) << line;
    }
    for (const std::string& line : lines) {
      EXPECT_LE(line.size(), 998u);
      EXPECT_EQ(line.find('\r'), std::string::npos);
    }
  }
}
