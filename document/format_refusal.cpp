#include "document/format_refusal.h"

#include "util/codec.h"
#include "util/trim.h"

namespace {

constexpr char kFormatsRead[] =
    "gelesen werden GAEB 2000 (D83, P83, D84), GAEB DA XML (X83, X84) und GAEB 90 (D81, D83, "
    "D84).";

// The start of a line as it can be quoted: at most 40 characters, UTF-8
// converted, control characters as "?".
std::string Quoted(std::string_view line) {
  constexpr size_t kShown = 40;
  std::string text = Utf8ToCp1252(std::string(TrimmedView(line.substr(0, 4 * kShown))));
  const bool longer = text.size() > kShown || TrimmedView(line).size() > 4 * kShown;
  text = TrimRight(std::string_view(text).substr(0, kShown));
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F') c = '?';
  return "\"" + text + (longer ? "...\"" : "\"");
}

}  // namespace

std::string DamagedGaeb90Text(std::string_view head, const std::string& displayName) {
  return "Zeile 1 der Datei " + displayName +
         ": erwartet wird der Kopfsatz 00 einer GAEB 90 Datei, gefunden " +
         Quoted(head.substr(0, head.find('\n'))) +
         ". Die Zeilen danach sind S\xE4tze einer GAEB 90 Datei; die Datei ist besch\xE4" + "digt.";
}

std::string UnknownFormatText(int64_t line, std::string_view text, const std::string& displayName) {
  if (line == 0)
    return "Die Datei " + displayName + " ist leer oder enth\xE4lt nur leere Zeilen; " +
           kFormatsRead;
  return "Die Datei " + displayName + " hat kein Format, das das Programm liest; " + kFormatsRead +
         " Zeile " + std::to_string(line) + " beginnt mit " + Quoted(text) +
         ", erwartet wird dort der Beginn eines GAEB 2000 Blocks (\"#begin[GAEB]\"), eines "
         "XML-Dokuments (\"<?xml\" oder \"<GAEB\") oder der Kopfsatz 00 einer GAEB 90 Datei.";
}
