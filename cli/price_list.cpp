#include "cli/price_list.h"

#include <string_view>

#include "gaeb/file_read.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::vector<std::string> SplitFields(std::string_view line) {
  std::vector<std::string> fields;
  for (;;) {
    const size_t separator = line.find_first_of(";\t");
    fields.push_back(Trim(line.substr(0, separator)));
    if (separator == std::string_view::npos) break;
    line.remove_prefix(separator + 1);
  }
  return fields;
}

bool AllEmpty(const std::vector<std::string>& fields) {
  for (const std::string& field : fields)
    if (!field.empty()) return false;
  return true;
}

}  // namespace

std::string RestOfLine(const PriceLine& line, size_t first) {
  std::string_view rest = line.Text;
  for (size_t i = 0; i < first && !rest.empty(); ++i) {
    const size_t separator = rest.find_first_of(";\t");
    rest = separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
  }
  const size_t end = rest.find_last_not_of("; \t");
  return Trim(end == std::string_view::npos ? std::string_view() : rest.substr(0, end + 1));
}

std::vector<PriceLine> ReadPriceList(const std::string& fileName) {
  TFileRead reader(fileName, 0);
  reader.ConvertOem = false;
  std::vector<PriceLine> lines;
  std::string line;
  while (reader.ReadLine(line)) {
    std::string_view text = line;
    if (reader.LineNumber() == 1 && text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
      text.remove_prefix(kByteOrderMark.size());
    std::string converted = Utf8ToCp1252(std::string(text));
    std::vector<std::string> fields = SplitFields(converted);
    if (!AllEmpty(fields))
      lines.push_back(
          {static_cast<int>(reader.LineNumber()), std::move(converted), std::move(fields)});
  }
  return lines;
}
