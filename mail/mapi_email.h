#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mail/mapi.h"
#include "mail/short_string.h"

// One message handed to Simple MAPI: recipients, subject, text and
// attachments. SendMail logs on when needed, resolves every recipient, sends
// with or without the mail program's compose dialog and logs off again; MAPI
// result codes are returned, kept in LastResult and reported to OnMapiError,
// never raised. Logon, Logoff and SendMail raise EMapiUnavailable when the
// program runs without Simple MAPI.
class KsMapiEmail {
 public:
  using TNotifyEvent = std::function<void(KsMapiEmail& sender)>;
  using TMapiErrorEvent = std::function<void(KsMapiEmail& sender, int32_t errorCode)>;

  // A recipient table of more descriptors than this would not fit a signed
  // 32-bit size.
  static constexpr size_t kMaxEntries = 89478485;

  KsMapiEmail();
  virtual ~KsMapiEmail();
  KsMapiEmail(const KsMapiEmail&) = delete;
  KsMapiEmail& operator=(const KsMapiEmail&) = delete;

  bool ShowDialog = false;
  bool Acknowledge = false;
  std::vector<std::string> Attachment;  // full paths
  std::vector<std::string> RecipientAsStrings;
  std::vector<std::string> CCAsStrings;
  std::vector<std::string> BccAsStrings;
  ShortString Password;
  ShortString Profile;
  ShortString Subject;
  ShortString Text;  // the note text when no long text is set
  bool TruncAttFN = true;
  bool UnreadOnly = false;
  bool UseDefProfile = false;
  bool UseLongMessageID = true;

  TNotifyEvent OnBeforeLogon, OnAfterLogon, OnBeforeLogoff, OnAfterLogoff;
  TNotifyEvent OnBeforeSaveMail, OnAfterSaveMail, OnBeforeSendMail, OnAfterSendMail;
  TMapiErrorEvent OnMapiError;

  // Reading gives every entry followed by ";"; writing splits at ";" and ","
  // and keeps empty entries (they are skipped when sending).
  std::string Recipient() const;
  void SetRecipient(const std::string& value);
  std::string CC() const;
  void SetCC(const std::string& value);
  std::string Bcc() const;
  void SetBcc(const std::string& value);

  bool DownLoadFirst() const { return downLoadFirst_; }
  void SetDownLoadFirst(bool value);
  bool NewSession() const { return newSession_; }
  void SetNewSession(bool value);
  FLAGS LogonFlags() const { return logonFlags_; }
  LHANDLE Session() const { return session_; }
  bool MapiAvail() const;
  int32_t LastResult() const { return lastResult_; }

  // Keeps a copy of `text` up to its first zero byte as the note text (none
  // for nullptr) and empties Text; returns the length of the copy.
  size_t SetLongText(const char* text);
  const std::optional<std::string>& LongText() const { return longText_; }

  int32_t Logon();
  int32_t Logoff();
  int32_t SendMail();
  // The German text of LastResult; empty for success and unknown codes.
  std::string ErrorText() const;

  virtual void CheckMapi() const;
  // The display name of an attachment in at most 12 characters, as an 8.3
  // mail system shows it: a long stem keeps its last 8 characters before the
  // first dot, a long result its last 12, without leading dots.
  virtual std::string TruncateFileName(const std::string& name) const;
  virtual void DoBeforeLogon();
  virtual void DoAfterLogon();
  virtual void DoBeforeLogoff();
  virtual void DoAfterLogoff();
  virtual void DoBeforeSaveMail();
  virtual void DoAfterSaveMail();
  virtual void DoBeforeSendMail();
  virtual void DoAfterSendMail();
  virtual void DoMapiError(int32_t code);

 private:
  class Message;

  void ReadDefaultProfile();
  int32_t Send();
  int32_t SendInSession();
  bool ResolveList(Message& message, std::vector<std::string>& list, ULONG recipClass);

  bool downLoadFirst_ = false;
  bool newSession_ = false;
  FLAGS logonFlags_ = 0;
  LHANDLE session_ = 0;
  int32_t lastResult_ = 0;
  std::optional<std::string> longText_;
};
