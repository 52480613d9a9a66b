#include "mail/provider/mapi_message_reader.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "mail/provider/mail_address.h"
#include "util/codec.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxFileName = 200;  // bytes, well below the file systems' 255

std::string Text(const char* cp1252) { return cp1252 ? Cp1252ToUtf8(cp1252) : std::string(); }

std::string OneLine(std::string text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return text;
}

// The address of a recipient: its address field, else its name.
bool AddressOf(const MapiRecipDesc& recipient, std::string& address) {
  const char* text =
      recipient.lpszAddress && *recipient.lpszAddress ? recipient.lpszAddress : recipient.lpszName;
  if (!text) return false;
  AddressCheck check = CheckAddress(text);
  if (check.verdict != TAddressVerdict::Valid) return false;
  address = std::move(check.address);
  return true;
}

// A name that is a single file name: no folders, no control characters, not
// "." or "..", cut between whole UTF-8 characters.
std::string SafeFileName(std::string name) {
  for (char& c : name)
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  if (name.size() > kMaxFileName) {
    size_t cut = kMaxFileName;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
    name.resize(cut);
  }
  if (name.empty() || name == "." || name == "..") return "Anhang";
  return name;
}

ULONG ReadAttachment(const MapiFileDesc& file, OutgoingMail::Attachment& attachment) {
  if (!file.lpszPathName || !*file.lpszPathName) return MAPI_E_ATTACHMENT_NOT_FOUND;
  attachment.path = file.lpszPathName;
  std::error_code error;
  if (!fs::exists(attachment.path, error)) return MAPI_E_ATTACHMENT_NOT_FOUND;
  if (!fs::is_regular_file(attachment.path, error)) return MAPI_E_ATTACHMENT_OPEN_FAILURE;
  std::ifstream in(attachment.path, std::ios::binary);
  if (!in) return MAPI_E_ATTACHMENT_OPEN_FAILURE;
  attachment.content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) return MAPI_E_ATTACHMENT_OPEN_FAILURE;
  const std::string shown =
      file.lpszFileName && *file.lpszFileName
          ? Text(file.lpszFileName)
          : Cp1252ToUtf8(Utf8ToCp1252(fs::path(attachment.path).filename().string()));
  attachment.name = SafeFileName(shown);
  return SUCCESS_SUCCESS;
}

ULONG ReadRecipients(const MapiMessage& message, OutgoingMail& mail) {
  if (message.nRecipCount > 0 && !message.lpRecips) return MAPI_E_INVALID_RECIPS;
  for (ULONG i = 0; i < message.nRecipCount; ++i) {
    const MapiRecipDesc& recipient = message.lpRecips[i];
    std::vector<std::string>* list = nullptr;
    switch (recipient.ulRecipClass) {
      case MAPI_ORIG:
        continue;
      case MAPI_TO:
        list = &mail.to;
        break;
      case MAPI_CC:
        list = &mail.cc;
        break;
      case MAPI_BCC:
        list = &mail.bcc;
        break;
      default:
        return MAPI_E_BAD_RECIPTYPE;
    }
    std::string address;
    if (!AddressOf(recipient, address)) return MAPI_E_UNKNOWN_RECIPIENT;
    list->push_back(std::move(address));
  }
  return SUCCESS_SUCCESS;
}

// The sender: the message's originator, else the address in $EMAIL, else
// none (the mail system knows its user).
std::string Sender(const MapiMessage& message) {
  std::string address;
  if (message.lpOriginator && AddressOf(*message.lpOriginator, address)) return address;
  if (const char* email = std::getenv("EMAIL")) {
    AddressCheck check = CheckAddress(email);
    if (check.verdict == TAddressVerdict::Valid) return check.address;
  }
  return {};
}

}  // namespace

ULONG ReadMapiMessage(const MapiMessage& message, bool withDialog, OutgoingMail& mail) {
  if (ULONG code = ReadRecipients(message, mail); code != SUCCESS_SUCCESS) return code;
  if (!withDialog && mail.to.empty() && mail.cc.empty() && mail.bcc.empty())
    return MAPI_E_INVALID_RECIPS;
  if (message.nFileCount > 0 && !message.lpFiles) return MAPI_E_ATTACHMENT_NOT_FOUND;
  for (ULONG i = 0; i < message.nFileCount; ++i) {
    OutgoingMail::Attachment& attachment = mail.attachments.emplace_back();
    if (ULONG code = ReadAttachment(message.lpFiles[i], attachment); code != SUCCESS_SUCCESS)
      return code;
  }
  mail.from = Sender(message);
  mail.subject = OneLine(Text(message.lpszSubject));
  mail.body = Text(message.lpszNoteText);
  mail.receiptRequested = (message.flFlags & MAPI_RECEIPT_REQUESTED) != 0;
  return SUCCESS_SUCCESS;
}
