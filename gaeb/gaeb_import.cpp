#include "gaeb/gaeb_import.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_classes.h"
#include "util/same_text.h"
#include "util/trim.h"

namespace {

bool IsOneOf(std::string_view value, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (SameText(value, name)) return true;
  return false;
}

// The character set a file declares decides how its lines are converted; one
// that is not converted would garble every umlaut, so it ends the import.
void SetCharacterSet(KsFileReadGaeb00& reader, std::string_view declared) {
  const std::string_view value = TrimmedView(declared);
  if (value.empty() || IsOneOf(value, {"ANSI", "Windows-1252", "CP1252", "ISO-8859-1"})) {
    reader.ConvertOem = reader.ConvertUtf8 = false;
  } else if (IsOneOf(value, {"OEM", "CP850", "IBM850"})) {
    reader.ConvertOem = true;
    reader.ConvertUtf8 = false;
  } else if (IsOneOf(value, {"UTF-8", "UTF8"})) {
    reader.ConvertOem = false;
    reader.ConvertUtf8 = true;
  } else {
    throw std::runtime_error("Zeile " + std::to_string(reader.TokenLine()) + " der Datei " +
                             reader.DisplayName() + ": Den Zeichensatz \"" + std::string(value) +
                             "\" kann das Programm nicht lesen; gelesen werden ANSI "
                             "(Windows-1252), OEM (Codepage 850) und UTF-8.");
  }
}

}  // namespace

bool ScanGaebHeader(KsFileReadGaeb00& reader, bool* blockSeen) {
  if (blockSeen) *blockSeen = false;
  std::string name, value;
  TTokenKind kind;
  // Blocks begun and not ended: a file that ends before its award block may
  // be a tender cut short, and is called so.
  std::vector<std::string> open;
  for (;;) {
    reader.ReadToken(name, kind, value);
    if (kind == tkEof) {
      if (!open.empty()) reader.RefuseEndOfFile(open.back());
      return false;
    }
    if (kind == tkBegin) {
      if (blockSeen) *blockSeen = true;
      open.push_back(name);
      for (char& c : open.back()) c = AsciiUpper(c);
    }
    if (kind == tkEnd && !open.empty() && SameText(open.back(), name)) open.pop_back();
    if (kind == tkBegin && SameText(name, "VERGABE")) return true;
    if (kind == tkEnd && SameText(name, "GAEB")) return false;
    if (kind == tkField && SameText(name, "ZEICHENSATZ")) SetCharacterSet(reader, value);
  }
}

std::unique_ptr<KsGGAEB> ReadGaebRoot(GaebDocument& doc) {
  KsFileReadGaeb00* reader = doc.Reader();
  if (!reader || !reader->Rewind(0)) return nullptr;
  reader->ReadAhead();
  // Ends reading ahead however reading ends, so the thread is not kept.
  struct AheadScope {
    KsFileReadGaeb00& reader;
    ~AheadScope() { reader.StopReadingAhead(); }
  } scope{*reader};
  std::string name, value;
  TTokenKind kind;
  do {
    reader->ReadToken(name, kind, value);
    if (kind == tkEof) return nullptr;
  } while (!(kind == tkBegin && SameText(name, "GAEB")));
  const int64_t beginLine = reader->TokenLine();
  std::unique_ptr<KsGGAEB> root = NewGaebRoot(&doc);
  if (!root) return nullptr;
  root->ReadBlock("GAEB", beginLine);
  // Whatever follows the root belongs to no block: a second tender or the
  // rest of a garbled one would be left out without a word.
  const int64_t endLine = reader->TokenLine();
  reader->ReadToken(name, kind, value);
  if (kind != tkEof)
    throw std::runtime_error("Zeile " + std::to_string(reader->TokenLine()) + " der Datei " +
                             reader->DisplayName() + ": Nach dem Ende des Blocks GAEB in Zeile " +
                             std::to_string(endLine) + " folgt noch \"" +
                             std::string(TrimmedView(reader->LastLine()).substr(0, 40)) + "\".");
  return root;
}
