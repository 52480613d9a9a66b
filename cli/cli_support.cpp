#include "cli/cli_support.h"

#include <sys/stat.h>

#include <cstdio>
#include <iostream>

#include "document/lyx_obj.h"
#include "gaeb/file_read.h"
#include "gaeb/gaeb_obj.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

const char kUsage[] =
    "Aufruf:\n"
    "  tarvo-cli info [--json] DATEI\n"
    "      Projekt, LV, Anzahl der LV-Bereiche und Positionen, Summen\n"
    "  tarvo-cli export DATEI ZIEL\n"
    "      speichert die Ausschreibung als D84-Datei (GAEB DA XML: als X84-Datei)\n"
    "  tarvo-cli price [--yes] DATEI PREISE ZIEL\n"
    "      tr\xE4gt Preise ein wie im Raster getippt und speichert als D84; je Zeile\n"
    "      \"OZ;Einheitspreis\" oder \"OZ;FELD;Wert\": FELD EP, EPANTEIL1 bis EPANTEIL6\n"
    "      oder NACHLASSPROZ einer Position, NACHLASSPROZ oder NACHLASSABS eines\n"
    "      LV-Bereichs; \"LV;UST;Satz\" f\xFCr die Mehrwertsteuer. Trenner \";\" oder\n"
    "      Tabulator, Dezimalzeichen \",\" oder \".\". Wo das Raster nachfragt (negativer\n"
    "      Preis, Mehrwertsteuer \xFC"
    "ber 25 %), \xFC"
    "bernimmt nur --yes den Wert.\n"
    "  tarvo-cli print DATEI ZIEL [--long-texts] [--width N]\n"
    "      schreibt den Angebotsdruck als Text (N Zeichen breit, Standard 100)\n"
    "\n"
    "DATEI oder PREISE \"-\" liest die Standardeingabe, ZIEL \"-\" bei print schreibt\n"
    "auf die Standardausgabe. Ein ZIEL, das die gelesene Ausschreibung ist, wird nicht\n"
    "\xFC"
    "berschrieben (au\xDF"
    "er bei export und price, wenn sie schon ein Angebot ist).\n"
    "\n"
    "R\xFC"
    "ckgabewert: 0 erledigt, 1 Fehler (keine Datei geschrieben), 2 falscher Aufruf,\n"
    "3 bei price: gespeichert, aber nicht jede Zeile der Preise \xFC"
    "bernommen.\n";

bool IsControl(unsigned char c) {
  const char32_t unicode = Cp1252ToUnicode(c);
  return unicode < 0x20 || (unicode >= 0x7F && unicode <= 0x9F);
}

// An offer saved by this program (which keeps the phase of the tender it
// read; a file of phase 84 is no tender and is not opened).
// An XML tender is never an offer: the X84 written over it could not be read again.
bool IsOffer(const KsLyxObj& document) {
  if (document.IsXml()) return false;
  return document.GaebInfo && Trim(document.GaebInfo->Text("PROGNAME")) == "Quorva";
}

}  // namespace

std::string TerminalText(const std::string& text) {
  std::string shown;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsControl(byte)) {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
      shown += escaped;
    } else {
      shown += c;
    }
  }
  return Cp1252ToUtf8(shown);
}

void PrintError(const std::string& text) { std::cerr << TerminalText(text) << std::endl; }

int UsageError() {
  std::cerr << Cp1252ToUtf8(kUsage);
  return kExitUsage;
}

void PrintUsage() { std::cout << Cp1252ToUtf8(kUsage); }

bool ImportOrReport(KsLyxObj& document, const std::string& fileName) {
  if (document.Import(fileName)) {
    if (!document.ImportWarning.empty()) PrintError("Warnung: " + document.ImportWarning);
    return true;
  }
  PrintError(document.LastError);
  return false;
}

bool ExportOrReport(KsLyxObj& document, const std::string& fileName) {
  if (document.ExportD84(fileName)) return true;
  PrintError(document.LastError);
  return false;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool OutputIsTender(const KsLyxObj& document, const std::string& tender, const std::string& output,
                    bool always) {
  if (tender == TFileRead::kStandardInput || !SameFile(tender, output)) return false;
  if (!always && IsOffer(document)) return false;
  PrintError("Das Ziel " + Utf8ToCp1252(output) +
             " ist die gelesene Ausschreibung; sie wird nicht \xFC"
             "berschrieben.");
  return true;
}
