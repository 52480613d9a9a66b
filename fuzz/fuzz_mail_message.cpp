#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "mail/provider/mapi_message_reader.h"
#include "mail/provider/mime_message.h"

// The mail provider takes its message from any program that calls it, and
// the texts in it come from tender files. Whatever the subject, the note
// text, the recipients and the attachment's name hold, the message handed to
// sendmail must keep its head: known headers, each once, continuation lines
// indented, no part but its own, and nothing but 7-bit text anywhere.
//
// Input: fields separated by zero bytes: subject, note text, attachment
// name, then one field per recipient whose first byte picks the class (and
// whether the text is the address or only the name) and whose rest is the text.

namespace {

// Removed at normal exit; a crashing run leaves it for inspection.
struct TempFile {
  std::string path;
  ~TempFile() { std::remove(path.c_str()); }
};

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "mail message: %s\n", what);
  std::abort();
}

std::vector<std::string> Fields(const uint8_t* data, size_t size) {
  std::vector<std::string> fields(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      fields.emplace_back();
    else
      fields.back() += static_cast<char>(data[i]);
  }
  while (fields.size() < 3) fields.emplace_back();
  return fields;
}

void CheckHead(std::string_view message) {
  static const std::set<std::string_view> kHeaders = {"Date",
                                                      "From",
                                                      "To",
                                                      "Cc",
                                                      "Bcc",
                                                      "Subject",
                                                      "Message-ID",
                                                      "Disposition-Notification-To",
                                                      "MIME-Version",
                                                      "Content-Type",
                                                      "Content-Transfer-Encoding"};
  const size_t end = message.find("\n\n");
  Require(end != std::string_view::npos, "no end of the head");
  std::set<std::string_view> seen;
  size_t start = 0;
  while (start <= end) {
    const std::string_view line = message.substr(start, message.find('\n', start) - start);
    start += line.size() + 1;
    Require(!line.empty(), "empty line in the head");
    if (line.front() == ' ') {
      Require(!seen.empty(), "head begins with a continuation");
      continue;
    }
    const std::string_view name = line.substr(0, line.find(':'));
    Require(name.size() < line.size(), "head line without a colon");
    Require(kHeaders.count(name) > 0, "unknown header");
    Require(seen.insert(name).second, "header twice");
  }
}

void CheckText(std::string_view message) {
  for (char c : message) {
    const auto u = static_cast<unsigned char>(c);
    Require(c == '\n' || c == '\t' || (u >= 0x20 && u <= 0x7E), "not 7-bit text");
  }
}

size_t LinesStartingWith(std::string_view message, std::string_view prefix) {
  size_t count = 0;
  for (size_t at = message.find(prefix); at != std::string_view::npos;
       at = message.find(prefix, at + 1))
    if (at == 0 || message[at - 1] == '\n') ++count;
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TempFile attachment = [] {
    TempFile file{"/tmp/tarvo_fuzz_mail_" + std::to_string(getpid()) + ".D84"};
    if (std::FILE* f = std::fopen(file.path.c_str(), "wb")) {
      std::fputs("\x80\r\n\xFF offer", f);
      std::fclose(f);
    }
    return file;
  }();

  std::vector<std::string> fields = Fields(data, size);
  std::vector<MapiRecipDesc> recipients;
  for (size_t i = 3; i < fields.size(); ++i) {
    MapiRecipDesc& recipient = recipients.emplace_back();
    const auto choice = static_cast<unsigned char>(fields[i].empty() ? 1 : fields[i][0]);
    if (!fields[i].empty()) fields[i].erase(0, 1);
    recipient.ulRecipClass = choice % 5;
    recipient.lpszName = fields[i].data();
    recipient.lpszAddress = choice & 0x10 ? nullptr : fields[i].data();
  }
  MapiFileDesc file{};
  file.nPosition = static_cast<ULONG>(-1);
  file.lpszPathName = const_cast<char*>(attachment.path.c_str());
  file.lpszFileName = fields[2].data();

  MapiMessage message{};
  message.lpszSubject = fields[0].data();
  message.lpszNoteText = fields[1].data();
  message.nRecipCount = static_cast<ULONG>(recipients.size());
  message.lpRecips = recipients.empty() ? nullptr : recipients.data();
  message.nFileCount = 1;
  message.lpFiles = &file;

  OutgoingMail mail;
  if (ReadMapiMessage(message, false, mail) != SUCCESS_SUCCESS) return 0;
  const std::string text = BuildMimeMessage(mail, 0, "fuzz.example", "1");
  CheckText(text);
  CheckHead(text);
  // The text part, the attachment and the end: no text can forge a boundary.
  Require(LinesStartingWith(text, "--=_Tarvo_1") == 3, "parts");
  return 0;
}
