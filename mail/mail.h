#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "mail/automation.h"
#include "mail/short_string.h"

enum TMailClient : uint8_t { mcNone = 0, mcOutlook = 1, mcMapi = 2 };
enum TMailBodyFormat : uint8_t { bfText = 0, bfHtml = 1, bfRtf = 2 };
enum TMailSensitivity : uint8_t { msNormal = 0, msPersonal = 1, msPrivate = 2, msConfidential = 3 };
enum TMailImportance : uint8_t { miLow = 0, miNormal = 1, miHigh = 2 };

// German display names, by value.
inline constexpr std::array<const char*, 3> kMailClientNames = {
    "", "Microsoft-Outlook", "Microsoft Mail API (MAPI; z.B. Notes ...)"};
inline constexpr std::array<const char*, 3> kMailBodyFormatNames = {
    "nur Text (ANSI)", "HyperText (HTML)", "RichTextFormat (RTF)"};
inline constexpr std::array<const char*, 4> kMailSensitivityNames = {"Normal", "Pers\xF6nlich",
                                                                     "Privat", "Geheim"};
inline constexpr std::array<const char*, 3> kMailImportanceNames = {"Niedrig", "Normal", "Hoch"};

using TMailOptions = uint8_t;
inline constexpr TMailOptions moShowBeforeSend = 1 << 0;

inline constexpr const char* kOutlookFailureText =
    "Die eMail konnte nicht versendet werden !\\nBitte \xFC"
    "berpr\xFC"
    "fen Sie, ob Sie alle Empf\xE4nger korrekt angegeben haben.";

// One outgoing e-mail, handed to the mail system by the back-end MailClient
// names. It shows nothing itself: failure is its result with ErrorCode and
// ErrorText, and exceptions of the back-end (no Simple MAPI, no Outlook)
// reach the caller.
class KsMail {
 public:
  explicit KsMail(KsAutomationFactory automation = SystemAutomation());

  std::string To;  // main recipients, separated by ";" or ","
  TMailSensitivity Sensitivity = msNormal;
  TMailImportance Importance = miNormal;
  TMailClient MailClient = mcMapi;
  TMailBodyFormat BodyFormat = bfText;
  std::string Body;  // raw bytes
  std::string CC;
  ShortString Subject;
  int32_t ErrorCode = 0;  // 0, a Simple MAPI code, or -1
  std::string ErrorText;
  TMailOptions Options = 0;
  std::vector<std::string> Attachments;  // full paths, in order

  // The body becomes exactly the bytes of `text`.
  void SetBody(const std::string& text);
  std::string GetBody() const;

  // Sends with the back-end of MailClient; false when it reported a failure
  // or MailClient names none (then nothing changes).
  bool Send();

 private:
  bool SendByMapi();
  bool SendByOutlook();

  KsAutomationFactory automation_;
};
