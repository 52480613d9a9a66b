#include "gaeb90/records.h"

#include "util/codec.h"
#include "util/trim.h"

namespace {

bool IsBlank(std::string_view line) {
  for (char c : line)
    if (c != ' ' && c != '\t' && c != '\x1A') return false;
  return true;
}

}  // namespace

std::string Gaeb90Record::Field(size_t first, size_t last) const {
  return Trim(Columns(first, last));
}

bool CutBeforeItsCount(const Gaeb90Record& end) {
  return end.Raw.size() < 74 || IsBlank(end.Columns(70, 74));
}

std::string LinePrefix(const Gaeb90Record& record) {
  return "Zeile " + std::to_string(record.Line) + ": ";
}

std::vector<Gaeb90Record> SplitGaeb90(std::string_view bytes) {
  std::vector<Gaeb90Record> records;
  size_t line = 0, blankRun = 0;
  while (!bytes.empty()) {
    const size_t lf = bytes.find('\n');
    std::string_view raw = bytes.substr(0, lf);
    bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    ++line;
    if (IsBlank(raw)) {
      ++blankRun;
      continue;
    }
    if (blankRun > 0)
      throw Gaeb90Error("Zeile " + std::to_string(line - blankRun) +
                        ": erwartet wird ein Satz, gefunden eine leere Zeile.");
    if (raw.size() > kGaeb90Width)
      throw Gaeb90Error("Zeile " + std::to_string(line) + ": der Satz ist " +
                        std::to_string(raw.size()) + " Zeichen lang, erwartet werden h\xF6" +
                        "chstens 80.");
    Gaeb90Record record;
    record.Line = line;
    record.Raw.assign(raw);
    record.Text.assign(raw);
    Oem850ToCp1252(record.Text);
    record.Text.resize(kGaeb90Width, ' ');
    records.push_back(std::move(record));
  }
  return records;
}
