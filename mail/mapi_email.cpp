#include "mail/mapi_email.h"

#include <exception>

#include "mail/mapi_binding.h"
#include "mail/mapi_errors.h"
#include "mail/mapi_settings.h"

namespace {

// Linear in the length of the value, however many separators a tender's
// address field holds.
std::vector<std::string> SplitAddresses(const std::string& value) {
  std::vector<std::string> entries;
  if (value.empty()) return entries;
  size_t start = 0;
  for (size_t i = 0; i <= value.size(); ++i) {
    if (i < value.size() && value[i] != ';' && value[i] != ',') continue;
    entries.push_back(value.substr(start, i - start));
    start = i + 1;
  }
  return entries;
}

std::string JoinAddresses(const std::vector<std::string>& entries) {
  std::string value;
  for (const std::string& entry : entries) value += entry + ";";
  return value;
}

}  // namespace

KsMapiEmail::KsMapiEmail() = default;

// A session still open is closed; the object goes whatever MAPI answers.
KsMapiEmail::~KsMapiEmail() {
  if (session_ == 0) return;
  try {
    Logoff();
  } catch (const std::exception&) {
  }
}

std::string KsMapiEmail::Recipient() const { return JoinAddresses(RecipientAsStrings); }
void KsMapiEmail::SetRecipient(const std::string& value) {
  RecipientAsStrings = SplitAddresses(value);
}
std::string KsMapiEmail::CC() const { return JoinAddresses(CCAsStrings); }
void KsMapiEmail::SetCC(const std::string& value) { CCAsStrings = SplitAddresses(value); }
std::string KsMapiEmail::Bcc() const { return JoinAddresses(BccAsStrings); }
void KsMapiEmail::SetBcc(const std::string& value) { BccAsStrings = SplitAddresses(value); }

void KsMapiEmail::SetDownLoadFirst(bool value) {
  downLoadFirst_ = value;
  logonFlags_ = value ? (logonFlags_ | MAPI_FORCE_DOWNLOAD) : (logonFlags_ & ~MAPI_FORCE_DOWNLOAD);
}

void KsMapiEmail::SetNewSession(bool value) {
  newSession_ = value;
  logonFlags_ = value ? (logonFlags_ | MAPI_NEW_SESSION) : (logonFlags_ & ~MAPI_NEW_SESSION);
}

bool KsMapiEmail::MapiAvail() const { return Mapi().MapiAvailable; }

size_t KsMapiEmail::SetLongText(const char* text) {
  longText_.reset();
  if (text) longText_ = std::string(text);
  Text = "";
  return longText_ ? longText_->size() : 0;
}

void KsMapiEmail::CheckMapi() const {
  if (!Mapi().MapiAvailable) throw EMapiUnavailable(kMapiUnavailableText);
}

void KsMapiEmail::ReadDefaultProfile() {
  const MapiSettings* settings = Mapi().Settings.get();
  if (!settings) return;
  try {
    if (std::optional<std::string> profile = settings->DefaultProfile()) Profile = *profile;
  } catch (const std::exception&) {
    Profile = "";
  }
}

int32_t KsMapiEmail::Logon() {
  CheckMapi();
  if (session_ != 0) return SUCCESS_SUCCESS;
  if (UseDefProfile) ReadDefaultProfile();
  std::string profile = Profile;
  std::string password = Password;
  DoBeforeLogon();
  const MapiEntryPoints& mapi = Mapi().Entry;
  LHANDLE session = 0;
  ULONG code =
      mapi.MAPILogon(0, profile.empty() ? nullptr : profile.data(),
                     password.empty() ? nullptr : password.data(), logonFlags_, 0, &session);
  if (code != SUCCESS_SUCCESS) {
    session = 0;
    code = mapi.MAPILogon(0, nullptr, nullptr, logonFlags_ | MAPI_LOGON_UI, 0, &session);
  }
  const int32_t result = static_cast<int32_t>(code);
  if (result != SUCCESS_SUCCESS) {
    DoMapiError(result);
  } else {
    session_ = session;
    DoAfterLogon();
  }
  return result;
}

int32_t KsMapiEmail::Logoff() {
  CheckMapi();
  if (session_ == 0) return SUCCESS_SUCCESS;
  DoBeforeLogoff();
  const ULONG code = Mapi().Entry.MAPILogoff(session_, 0, 0, 0);
  session_ = 0;
  DoAfterLogoff();
  return static_cast<int32_t>(code);
}

int32_t KsMapiEmail::SendMail() {
  lastResult_ = Send();
  return lastResult_;
}

std::string KsMapiEmail::ErrorText() const { return MapiErrorText(lastResult_); }

std::string KsMapiEmail::TruncateFileName(const std::string& name) const {
  if (name.size() <= 12) return name;
  std::string result = name;
  const size_t dot = result.find('.');
  if (dot != std::string::npos && dot >= 9) result.erase(0, dot - 8);
  if (result.size() > 12) result.erase(0, result.size() - 12);
  const size_t first = result.find_first_not_of('.');
  result.erase(0, first == std::string::npos ? result.size() : first);
  return result;
}

void KsMapiEmail::DoBeforeLogon() {
  if (OnBeforeLogon) OnBeforeLogon(*this);
}
void KsMapiEmail::DoAfterLogon() {
  if (OnAfterLogon) OnAfterLogon(*this);
}
void KsMapiEmail::DoBeforeLogoff() {
  if (OnBeforeLogoff) OnBeforeLogoff(*this);
}
void KsMapiEmail::DoAfterLogoff() {
  if (OnAfterLogoff) OnAfterLogoff(*this);
}
void KsMapiEmail::DoBeforeSaveMail() {
  if (OnBeforeSaveMail) OnBeforeSaveMail(*this);
}
void KsMapiEmail::DoAfterSaveMail() {
  if (OnAfterSaveMail) OnAfterSaveMail(*this);
}
void KsMapiEmail::DoBeforeSendMail() {
  if (OnBeforeSendMail) OnBeforeSendMail(*this);
}
void KsMapiEmail::DoAfterSendMail() {
  if (OnAfterSendMail) OnAfterSendMail(*this);
}
void KsMapiEmail::DoMapiError(int32_t code) {
  if (OnMapiError) OnMapiError(*this, code);
}
