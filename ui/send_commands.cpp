#include "ui/send_commands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "mail/mail.h"
#include "mail/mapi.h"
#include "ui/maker.h"
#include "ui/qstring_codec.h"
#include "ui/window_dialogs.h"
#include "util/message_boxes.h"
#include "util/strings.h"
#include "util/trim.h"

namespace fs = std::filesystem;

namespace {

std::string TemporaryFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder = runtime && *runtime == '/' ? runtime : fs::temp_directory_path().string();
  StripTrailing(folder, "/");
  return folder + "/";
}

// A folder another user made (or a link to one) could let them read or
// swap the offer before it is sent.
void EnsurePrivateFolder(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  struct stat info;
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
    throw std::runtime_error("Das Verzeichnis " + folder + " konnte nicht angelegt werden.");
  if (info.st_uid != geteuid())
    throw std::runtime_error("Das Verzeichnis " + folder + " geh\xF6rt einem anderen Benutzer.");
  if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0)
    throw std::runtime_error("Das Verzeichnis " + folder + " ist nicht gesch\xFCtzt.");
}

std::string WithExtension(const std::string& name, const std::string& extension) {
  const size_t dot = name.rfind('.');
  return (dot == std::string::npos ? name : name.substr(0, dot)) + extension;
}

// The mail component takes attachment paths of at most 255 bytes. A longer
// tender name keeps its start, which names the tender, and its extension;
// the stem loses its end, never a part of a UTF-8 character.
std::string FittingPath(const std::string& folder, std::string name) {
  constexpr size_t kMaxPath = 255;
  constexpr size_t kShortName = 12;
  const size_t room = folder.size() + 1 + kShortName <= kMaxPath ? kMaxPath - folder.size() - 1 : 0;
  if (room > 0 && name.size() > room) {
    const size_t dot = name.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : name.substr(dot);
    size_t keep = room - extension.size();
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    name = name.substr(0, keep) + extension;
  }
  return folder + "/" + name;
}

// The mail system said no, and not because the user cancelled.
void WarnOfFailure(const KsMail& mail) {
  const std::string reason =
      mail.ErrorText.empty() ? "Fehler " + std::to_string(mail.ErrorCode) : mail.ErrorText;
  MessageBoxes().ShowWarning("Die E-Mail wurde nicht versendet: " + reason);
}

bool Send(KsMail& mail) {
  bool sent = false;
  try {
    sent = mail.Send();
  } catch (const std::exception& e) {
    MessageBoxes().ShowError(std::string("Fehler beim Senden der E-Mail : ") + e.what());
    return false;
  }
  if (!sent && mail.ErrorCode != MAPI_USER_ABORT) WarnOfFailure(mail);
  return sent;
}

class RemovedAtEnd {
 public:
  explicit RemovedAtEnd(std::string path) : path_(std::move(path)) {}
  ~RemovedAtEnd() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  RemovedAtEnd(const RemovedAtEnd&) = delete;
  RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;

 private:
  std::string path_;
};

}  // namespace

std::string OfferMailFile(const std::string& fileName, const std::string& extension) {
  const std::string folder = TemporaryFolder() + "Tarvo";
  EnsurePrivateFolder(folder);
  return FittingPath(folder, WithExtension(fileName, extension));
}

std::optional<std::string> OfferRecipient(const KsLyxObj& document, bool showMapiClient,
                                          WindowDialogs& dialogs, QWidget* parent) {
  std::string recipient;
  if (const KsGAEBObj* address = document.Ag->Child("ADRESSE")) recipient = address->Text("EMAIL");
  if (!Trim(recipient).empty()) return recipient;
  const std::optional<QString> typed =
      dialogs.InputBox(parent, QStringLiteral("Die Auftraggeber EMail-Adresse fehlt"),
                       QStringLiteral("AG E-Mail Adresse"), QString());
  if (!typed) return std::nullopt;
  recipient = Trim(ToCp1252(*typed));
  if (recipient.empty() && !showMapiClient) return std::nullopt;
  return recipient;
}

bool SendOfferCommand(KsLyxObj& document, bool showMapiClient, const std::string& recipient) {
  std::string file;
  try {
    file = OfferMailFile(document.FileName(), document.OfferExtension());
  } catch (const std::exception& e) {
    MessageBoxes().ShowMessage(std::string("Beim Erstellen der D84 Datei trat ein Fehler auf : ") +
                               e.what());
    return false;
  }
  const RemovedAtEnd removed(file);
  if (!document.ExportD84(file)) {
    MessageBoxes().ShowMessage("Beim Erstellen der D84 Datei trat ein Fehler auf : " +
                               document.LastError);
    return false;
  }

  KsMail mail;
  mail.MailClient = mcMapi;
  mail.Options = showMapiClient ? moShowBeforeSend : 0;
  mail.To = recipient;
  mail.Subject =
      "Preisabgabe " + document.LvInfo->Text("NAME") + " " + document.LvInfo->Text("BEZ");
  mail.SetBody("");
  mail.Attachments = {file};
  return Send(mail);
}

void SendSupportRequest(const std::string& name1, const std::string& town) {
  KsMail mail;
  mail.MailClient = mcMapi;
  mail.Options = moShowBeforeSend;
  mail.To = ToCp1252(kMakerSupportMail.toString());
  mail.Subject = "Anfrage Tarvo_Redurir";
  mail.SetBody(
      "Sehr geehrte Damen und Herren,\r\n\r\n\r\nmit freundlichen Gr\xFC\xDF"
      "en\r\n" +
      name1 + "\r\n" + town);
  Send(mail);
}
