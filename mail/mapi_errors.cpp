#include "mail/mapi_errors.h"

#include <array>

namespace {

// Index = code - 1; code 7 has no constant and no text.
constexpr std::array<const char*, 26> kTexts = {
    "Abbruch durch den Anwender",
    "Allgemeiner Fehler",
    "Fehler beim Anmelden am eMail Server",
    "Disk/Festplatte voll",
    "Ungen\xFCgender Speicher",
    "Zugriff verweigert",
    "",
    "Zu viele eMail Verbindungen",
    "Zu viele Dateien",
    "Zu viele Empf\xE4nger",
    "Anhang nicht gefunden",
    "Anhang konnte nicht ge\xF6"
    "ffnet werden",
    "Anhang konnte nicht geschrieben werden",
    "Unbekannter Empf\xE4nger",
    "Unbekannter Empf\xE4ngertyp",
    "Nachricht ist leer",
    "Ung\xFCltige Nachricht",
    "Nachrichtentext zu lang",
    "Ung\xFCltige eMail Verbindung",
    "eMail Typ wird nicht unterst\xFCtzt",
    "Mehrdeutiger Empf\xE4nger",
    "Nachricht in Benutzung",
    "Netzwerkfehler",
    "Ung\xFCltige Eingabefelder",
    "Ung\xFCltige Empf\xE4nger",
    "eMail Versand wird nicht unterst\xFCtzt",
};

}  // namespace

std::string MapiErrorText(int32_t code) {
  if (code < 1 || code > static_cast<int32_t>(kTexts.size())) return {};
  return kTexts[code - 1];
}
