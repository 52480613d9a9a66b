#include "cli/cli_support.h"

#include <cstddef>
#include <cstdio>
#include <iostream>
#include <set>

#include "archive/archive_location.h"
#include "archive/archive_on_save.h"
#include "document/lyx_obj.h"
#include "document/offer_check.h"
#include "document/tender_overwrite.h"
#include "gaeb/file_read.h"
#include "util/codec.h"

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
    "      LV-Bereichs; \"LV;UST;Satz\" f\xFCr die Mehrwertsteuer; \"OZ;TEXT;Marke;Text\"\n"
    "      f\xFCllt die Texterg\xE4nzung des Bieters mit dieser Marke (MarkLbl). Trenner \";\" "
    "oder\n"
    "      Tabulator, Dezimalzeichen \",\" oder \".\" (\"1.234\" ist mehrdeutig: 1234 oder\n"
    "      1,234 schreiben). Ein leerer Wert l\xF6scht nur mit genanntem Feld (\"OZ;EP;\").\n"
    "      Wo das Raster nachfragt (negativer Preis, Mehrwertsteuer \xFC"
    "ber 25 %, Nachlass\n"
    "      \xFC"
    "ber 50 % oder \xFC"
    "ber der Summe des LV-Bereichs), \xFC"
    "bernimmt nur --yes den Wert.\n"
    "      PREISE darf auch eine Arbeitsmappe von \"sheet export\" sein (.xlsx oder\n"
    "      .csv, am Inhalt erkannt): sie wird ganz oder gar nicht \xFC"
    "bernommen.\n"
    "      Die OZ darf geschrieben sein wie im gedruckten LV: mit oder ohne Punkte,\n"
    "      Leerzeichen und f\xFChrende Nullen (\"1.10\", \"01.0010\", \"1 10\", \"010010\").\n"
    "  tarvo-cli price [--yes] [--replace] DATEI ANGEBOT ZIEL\n"
    "      \xFC"
    "bernimmt Einheitspreise, EP-Anteile und Nachl\xE4sse der Positionen aus einem\n"
    "      Angebot (D84 oder X84; der Inhalt entscheidet, ob PREISE eine Preisliste oder\n"
    "      ein Angebot ist) nach OZ, alle oder keinen; schon eingetragene Preise bleiben,\n"
    "      mit --replace werden sie ersetzt. Der Bericht auf stderr nennt die \xFC"
    "bernommenen\n"
    "      Positionen, die OZ des Angebots ohne Gegenst\xFC"
    "ck und die Positionen ohne Preis.\n"
    "  tarvo-cli sheet export [--long-texts] DATEI ZIEL.xlsx|ZIEL.csv\n"
    "      schreibt das LV als Arbeitsmappe zum Kalkulieren in der Tabellenkalkulation\n"
    "  tarvo-cli print DATEI ZIEL [--long-texts] [--width N]\n"
    "      schreibt den Angebotsdruck als Text (N Zeichen breit, Standard 100)\n"
    "  tarvo-cli archive find TEXT | archive find DATEI OZ\n"
    "      fr\xFChere Preise aus dem Preisarchiv: gleiche Position desselben LV, gleiche\n"
    "      Katalognummer, gleicher Kurztext mit gleicher Einheit; zuletzt, niedrigster,\n"
    "      Median und h\xF6"
    "chster Preis\n"
    "  tarvo-cli archive suggest [--median] [--yes] DATEI [ZIEL]\n"
    "      jede Position ohne Einheitspreis mit passendem Eintrag erh\xE4lt den letzten\n"
    "      Preis (oder den Median); die Liste geht auf stdout, mit ZIEL wird das Angebot\n"
    "      gespeichert (alle Eintr\xE4ge oder keiner)\n"
    "  tarvo-cli archive add ANGEBOT...\n"
    "      tr\xE4gt alte Angebote (D84, X84) ins Preisarchiv ein\n"
    "  tarvo-cli --help | -h | --version\n"
    "      zeigt diesen Text oder die Version\n"
    "\n"
    "DATEI darf auch ein gespeichertes Angebot sein (D84 dieses Programms, X84). Ein\n"
    "X84 ohne Mengen und Texte wird in seine Ausschreibung eingetragen: die X83\n"
    "gleichen Namens neben ihm oder die mit --tender AUSSCHREIBUNG genannte (bei\n"
    "jedem Befehl). Positionen des Angebots, die es dort nicht gibt, werden gemeldet.\n"
    "\n"
    "Nennt die Ausschreibung keinen Mehrwertsteuersatz, gilt bei export, price und\n"
    "print der Standardsatz von 19 % (\"LV;UST;Satz\" in PREISE setzt einen anderen).\n"
    "Was dem Angebot noch fehlt (Preise, Bieter, best\xE4tigter Mehrwertsteuersatz),\n"
    "melden export und price als Warnung; der R\xFC"
    "ckgabewert bleibt.\n"
    "\n"
    "Jedes gespeicherte Angebot (export, price, archive suggest) kommt ins Preisarchiv,\n"
    "Standard: $XDG_DATA_HOME/Tarvo_Redurir/Preisarchiv.sqlite. --archive ORT nennt ein\n"
    "anderes (eine Datei oder \"postgresql:host=H port=P dbname=D user=U\"), --no-archive\n"
    "keines. Schl\xE4gt das Archiv fehl, ist das Angebot trotzdem gespeichert (Warnung).\n"
    "\n"
    "DATEI oder PREISE (nicht beide) \"-\" liest die Standardeingabe, ZIEL \"-\" bei\n"
    "print schreibt auf die Standardausgabe. Ein ZIEL, das die gelesene Ausschreibung\n"
    "ist, wird nicht \xFC"
    "berschrieben (au\xDF"
    "er bei export und price, wenn sie schon ein\n"
    "Angebot ist).\n"
    "\n"
    "R\xFC"
    "ckgabewert: 0 erledigt, 1 Fehler (keine Datei geschrieben), 2 falscher Aufruf,\n"
    "3 bei price: gespeichert, aber nicht jede Zeile der Preise (nicht jede Position des\n"
    "Angebots) \xFC"
    "bernommen.\n";

bool IsControl(unsigned char c) {
  const char32_t unicode = Cp1252ToUnicode(c);
  return unicode < 0x20 || (unicode >= 0x7F && unicode <= 0x9F);
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

std::string UnknownOption(const KsArgs& args) {
  // Every option the usage text names.
  static const std::set<std::string> kOptions = {"--json",       "--yes",     "--replace",
                                                 "--long-texts", "--width",   "--tender",
                                                 "--median",     "--archive", "--no-archive"};
  for (const std::string& arg : args)
    if (arg.size() > 1 && arg[0] == '-' && !kOptions.count(arg)) return arg;
  return {};
}

bool TakeTenderOption(KsArgs& args, std::string& tender) {
  bool given = false;
  for (size_t i = 0; i < args.size();) {
    if (args[i] != "--tender") {
      ++i;
      continue;
    }
    if (given || i + 1 == args.size()) return false;
    given = true;
    tender = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
               args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
  }
  return true;
}

namespace {

bool g_archiveOn = true;
std::string g_archive;  // as given; "" for the user's own archive

}  // namespace

bool TakeArchiveOptions(KsArgs& args) {
  bool given = false;
  for (size_t i = 0; i < args.size();) {
    if (args[i] == "--no-archive") {
      g_archiveOn = false;
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i));
    } else if (args[i] == "--archive") {
      if (given || i + 1 == args.size()) return false;
      given = true;
      g_archive = Utf8ToCp1252(args[i + 1]);
      args.erase(args.begin() + static_cast<std::ptrdiff_t>(i),
                 args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    } else {
      ++i;
    }
  }
  if (given) {
    try {
      ArchiveLocation::Parse(g_archive);
    } catch (const std::exception& e) {
      PrintError(e.what());
      return false;
    }
  }
  return true;
}

bool ArchiveOn() { return g_archiveOn; }

ArchiveLocation ArchiveLocationOfOptions() {
  return g_archive.empty() ? ArchiveLocation::Default() : ArchiveLocation::Parse(g_archive);
}

bool ImportOrReport(KsLyxObj& document, const std::string& fileName, const std::string& tender) {
  if (document.Import(fileName, tender)) {
    if (!document.ImportWarning.empty()) PrintError("Warnung: " + document.ImportWarning);
    return true;
  }
  PrintError(document.LastError);
  return false;
}

bool ImportOffer(KsLyxObj& document, const std::string& fileName, const std::string& tender) {
  if (!ImportOrReport(document, fileName, tender)) return false;
  document.TakeDefaultVatRate(KsLyxObj::kDefaultVatRate);
  return true;
}

void WarnOfFindings(const KsLyxObj& document) {
  for (const OfferFinding& finding : CheckOffer(document)) PrintError("Warnung: " + finding.Text);
}

bool ExportOrReport(KsLyxObj& document, const std::string& fileName) {
  if (!document.ExportD84(fileName)) {
    PrintError(document.LastError);
    return false;
  }
  if (!ArchiveOn() || fileName == kStandardOutput) return true;
  std::string failure;
  try {
    failure = ArchiveOnSave().OfferSaved(ArchiveLocationOfOptions(), document, fileName);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  if (!failure.empty()) PrintError("Warnung: " + failure);
  return true;
}

bool OutputIsTender(const KsLyxObj& document, const std::string& tender, const std::string& output,
                    bool always) {
  const bool answered = !document.TenderFile().empty() && SameFile(document.TenderFile(), output);
  if (!answered && (tender == TFileRead::kStandardInput || !SameFile(tender, output))) return false;
  // The command line cannot ask, so what the window asks about is refused too.
  if (!always && CheckTenderOverwrite(document, tender, output) == TenderOverwrite::None)
    return false;
  PrintError("Das Ziel " + Utf8ToCp1252(output) +
             " ist die gelesene Ausschreibung; sie wird nicht \xFC"
             "berschrieben.");
  return true;
}
