#include "cli/cli_support.h"

#include <iostream>

#include "document/lyx_obj.h"
#include "util/codec.h"

namespace {

const char kUsage[] =
    "Aufruf:\n"
    "  tarvo-cli info [--json] DATEI\n"
    "      Projekt, LV, Anzahl der LV-Bereiche und Positionen, Summen\n"
    "  tarvo-cli export DATEI ZIEL\n"
    "      speichert die Ausschreibung als D84-Datei\n"
    "  tarvo-cli price DATEI PREISE ZIEL\n"
    "      tr\xE4gt Einheitspreise ein (je Zeile \"OZ;Preis\") und speichert als D84\n"
    "  tarvo-cli print DATEI ZIEL [--long-texts] [--width N]\n"
    "      schreibt den Angebotsdruck als Text (N Zeichen breit, Standard 100)\n";

// Length of the valid UTF-8 sequence of two to four bytes at i, 0 if there is none.
size_t Utf8SequenceAt(const std::string& s, size_t i) {
  const auto byte = [&s](size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = byte(i);
  const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                        : lead >= 0xE0 && lead <= 0xEF ? 3
                        : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                       : 0;
  if (length == 0 || i + length > s.size()) return 0;
  for (size_t k = i + 1; k < i + length; ++k)
    if ((byte(k) & 0xC0) != 0x80) return 0;
  return length;
}

// Messages are Windows-1252, but file names inside them come from the command
// line as the system's UTF-8 bytes: those are kept, everything else converted.
std::string MessageToUtf8(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const size_t length = static_cast<unsigned char>(text[i]) < 0x80 ? 1 : Utf8SequenceAt(text, i);
    out += length > 0 ? text.substr(i, length) : Cp1252ToUtf8(text.substr(i, 1));
    i += length > 0 ? length : 1;
  }
  return out;
}

}  // namespace

void PrintError(const std::string& text) { std::cerr << MessageToUtf8(text) << std::endl; }

int UsageError() {
  std::cerr << Cp1252ToUtf8(kUsage);
  return kExitUsage;
}

void PrintUsage() { std::cout << Cp1252ToUtf8(kUsage); }

bool ImportOrReport(KsLyxObj& document, const std::string& fileName) {
  if (document.Import(fileName)) return true;
  PrintError(document.LastError);
  return false;
}

bool ExportOrReport(KsLyxObj& document, const std::string& fileName) {
  if (document.ExportD84(fileName)) return true;
  PrintError(document.LastError);
  return false;
}
