#include "mail/mail.h"

#include <utility>

#include "mail/mapi_email.h"

namespace {

// An automation call that answers no object where one is needed fails like
// any other automation error.
std::unique_ptr<AutomationObject> Required(std::unique_ptr<AutomationObject> object,
                                           const char* what) {
  if (!object) throw EAutomationError(std::string(what) + " fehlt");
  return object;
}

}  // namespace

KsMail::KsMail(KsAutomationFactory automation) : automation_(std::move(automation)) {}

void KsMail::SetBody(const std::string& text) { Body = text; }

std::string KsMail::GetBody() const { return Body; }

bool KsMail::Send() {
  switch (MailClient) {
    case mcOutlook:
      return SendByOutlook();
    case mcMapi:
      return SendByMapi();
    default:
      return false;
  }
}

bool KsMail::SendByMapi() {
  const std::string body = GetBody();
  KsMapiEmail mapi;
  mapi.SetRecipient(To);
  mapi.SetCC(CC);
  mapi.SetBcc("");
  mapi.Subject = Subject.str();
  mapi.Text = "";
  mapi.Attachment = Attachments;
  // The recipient sees the file's whole name: an 8.3 display name would turn
  // "1561-02_ROHBAUARBEITEN.D84" into "ARBEITEN.D84".
  mapi.TruncAttFN = false;
  mapi.SetLongText(body.c_str());
  mapi.Acknowledge = false;
  mapi.ShowDialog = (Options & moShowBeforeSend) != 0;
  mapi.SendMail();
  ErrorCode = mapi.LastResult();
  if (ErrorCode == 0) return true;
  ErrorText = mapi.ErrorText();
  return false;
}

// Creating Outlook's application object fails towards the caller; anything
// that fails after it is reported in ErrorCode -1.
bool KsMail::SendByOutlook() {
  const std::string body = GetBody();
  const std::unique_ptr<AutomationObject> outlook =
      Required(automation_("Outlook.Application"), "Outlook.Application");
  bool result = true;
  try {
    const std::unique_ptr<AutomationObject> item =
        Required(outlook->Call("CreateItem", {0}), "CreateItem");
    item->Set("To", To);
    item->Set("Subject", Subject.str());
    item->Set(BodyFormat == bfHtml ? "HTMLBody" : "Body", body);
    item->Set("CC", CC);
    item->Set("Importance", static_cast<int32_t>(Importance));
    item->Set("Sensitivity", static_cast<int32_t>(Sensitivity));
    for (const std::string& path : Attachments) {
      try {
        Required(item->Call("Attachments", {}), "Attachments")->Call("Add", {path});
      } catch (const std::exception&) {
        ErrorCode = -1;
        ErrorText = "Der eMail-Anhang " + path + " konnte nicht gefunden werden.";
        result = false;
      }
    }
    if (Options & moShowBeforeSend)
      item->Call("Display", {false});
    else
      item->Call("Send", {});
  } catch (const std::exception&) {
    ErrorCode = -1;
    ErrorText = kOutlookFailureText;
    result = false;
  }
  return result;
}
