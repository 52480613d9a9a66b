#include <deque>
#include <filesystem>
#include <system_error>

#include "mail/mapi_binding.h"
#include "mail/mapi_email.h"
#include "util/codec.h"

// The message while it is built: MAPI gets pointers into copies that live
// until the call has returned, on every way out.
class KsMapiEmail::Message {
 public:
  char* Copy(std::string_view text) { return strings_.emplace_back(text).data(); }

  void AddRecipient(ULONG recipClass, std::string_view name, std::string_view address,
                    ULONG entryIdSize, const void* entryId) {
    MapiRecipDesc& recipient = recipients_.emplace_back();
    recipient.ulRecipClass = recipClass;
    recipient.lpszName = Copy(name);
    recipient.lpszAddress = Copy(address);
    if (entryId && entryIdSize > 0) {
      const auto* bytes = static_cast<const uint8_t*>(entryId);
      recipient.ulEIDSize = entryIdSize;
      recipient.lpEntryID = entryIds_.emplace_back(bytes, bytes + entryIdSize).data();
    }
  }

  void AddFile(std::string_view path, std::string_view fileName) {
    MapiFileDesc& file = files_.emplace_back();
    file.nPosition = static_cast<ULONG>(-1);
    file.lpszPathName = Copy(path);
    file.lpszFileName = Copy(fileName);
  }

  // The message with its tables, once everything has been added.
  MapiMessage& Finish() {
    message.nRecipCount = static_cast<ULONG>(recipients_.size());
    message.lpRecips = recipients_.empty() ? nullptr : recipients_.data();
    message.nFileCount = static_cast<ULONG>(files_.size());
    message.lpFiles = files_.empty() ? nullptr : files_.data();
    return message;
  }

  MapiMessage message{};

 private:
  std::deque<std::string> strings_;
  std::deque<std::vector<uint8_t>> entryIds_;
  std::vector<MapiRecipDesc> recipients_;
  std::vector<MapiFileDesc> files_;
};

namespace {

constexpr size_t kMaxPath = 255;

bool ContainsBrackets(const std::string& text) {
  return text.find('[') != std::string::npos && text.find(']') != std::string::npos;
}

bool ContainsABracket(const std::string& text) {
  return text.find_first_of("[]") != std::string::npos;
}

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// Paths are the file system's bytes; the name the recipient sees is text.
std::string FileNamePart(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return Utf8ToCp1252(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

// Each entry is resolved on its own; one that MAPI cannot resolve, even with
// its dialog, is reported and left out.
bool KsMapiEmail::ResolveList(Message& message, std::vector<std::string>& list, ULONG recipClass) {
  const MapiEntryPoints& mapi = Mapi().Entry;
  bool resolved = false;
  for (std::string& entry : list) {
    if (entry.empty()) continue;
    std::string asked = entry.substr(0, ShortString::kMaxLength);
    lpMapiRecipDesc found = nullptr;
    ULONG code = mapi.MAPIResolveName(session_, 0, asked.data(), 0, 0, &found);
    if (code == MAPI_E_AMBIGUOUS_RECIPIENT || code == MAPI_E_UNKNOWN_RECIPIENT) {
      found = nullptr;
      code = mapi.MAPIResolveName(session_, 0, asked.data(), MAPI_DIALOG, 0, &found);
    }
    if (code == SUCCESS_SUCCESS && !found) code = MAPI_E_FAILURE;
    if (code != SUCCESS_SUCCESS) {
      DoMapiError(static_cast<int32_t>(code));
      continue;
    }
    const std::string name = found->lpszName ? found->lpszName : "";
    if (ContainsBrackets(entry) && !ContainsABracket(name)) {
      mapi.MAPIFreeBuffer(found);
      std::string bare = entry.substr(0, ShortString::kMaxLength);
      bare.erase(bare.find('['), 1);
      bare.erase(bare.find(']'), 1);
      message.AddRecipient(recipClass, bare, bare, 0, nullptr);
    } else {
      entry = name;
      message.AddRecipient(recipClass, name, found->lpszAddress ? found->lpszAddress : name,
                           found->ulEIDSize, found->lpEntryID);
      mapi.MAPIFreeBuffer(found);
    }
    resolved = true;
  }
  return resolved;
}

int32_t KsMapiEmail::Send() {
  CheckMapi();
  const size_t recipients = RecipientAsStrings.size() + CCAsStrings.size() + BccAsStrings.size();
  if (recipients > kMaxEntries) {
    DoMapiError(MAPI_E_TOO_MANY_RECIPIENTS);
    return MAPI_E_TOO_MANY_RECIPIENTS;
  }
  if (Attachment.size() > kMaxEntries) {
    DoMapiError(MAPI_E_TOO_MANY_FILES);
    return MAPI_E_TOO_MANY_FILES;
  }
  const bool hadSession = session_ != 0;
  if (Logon() != SUCCESS_SUCCESS) {
    DoMapiError(MAPI_E_LOGIN_FAILURE);
    return MAPI_E_LOGIN_FAILURE;
  }
  int32_t code;
  try {
    code = SendInSession();
  } catch (...) {
    if (!hadSession) Logoff();
    throw;
  }
  if (!hadSession) Logoff();
  return code;
}

int32_t KsMapiEmail::SendInSession() {
  Message message;
  MapiMessage& m = message.message;
  m.lpszSubject = Subject.empty() ? nullptr : message.Copy(Subject.str());
  if (longText_)
    m.lpszNoteText = message.Copy(*longText_);
  else
    m.lpszNoteText = Text.empty() ? nullptr : message.Copy(Text.str());

  bool resolved = ResolveList(message, RecipientAsStrings, MAPI_TO);
  resolved |= ResolveList(message, CCAsStrings, MAPI_CC);
  resolved |= ResolveList(message, BccAsStrings, MAPI_BCC);
  // Without a single recipient only the compose dialog can complete the message.
  const FLAGS sendFlags = resolved && !ShowDialog ? 0 : MAPI_DIALOG;

  for (const std::string& attachment : Attachment) {
    const std::string path = attachment.substr(0, kMaxPath);
    if (!IsExistingFile(path)) {
      DoMapiError(MAPI_E_ATTACHMENT_NOT_FOUND);
      return MAPI_E_ATTACHMENT_NOT_FOUND;
    }
    const std::string name = FileNamePart(path);
    message.AddFile(path, TruncAttFN ? TruncateFileName(name) : name);
  }
  if (Acknowledge) m.flFlags |= MAPI_RECEIPT_REQUESTED;

  DoBeforeSendMail();
  const auto code =
      static_cast<int32_t>(Mapi().Entry.MAPISendMail(session_, 0, &message.Finish(), sendFlags, 0));
  if (code == SUCCESS_SUCCESS)
    DoAfterSendMail();
  else
    DoMapiError(code);
  return code;
}
