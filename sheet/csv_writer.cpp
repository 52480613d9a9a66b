#include <ostream>

#include "document/atomic_file.h"
#include "sheet/sheet_table.h"
#include "sheet/sheet_writer.h"
#include "util/format_settings.h"
#include "util/number_text.h"

namespace {

// The hidden helper columns of the workbook's formulas have no place in a CSV.
bool InCsv(const SheetColumn& column) { return column.Key != kDepthKey && column.Key != kShareKey; }

std::string Field(const std::string& text) {
  if (text.find_first_of(";\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

// German numbers whatever the program's settings: decimal comma, no grouping,
// so that a spreadsheet program reads them back as the same numbers.
std::string Number(double value, int decimals) {
  NumberFormat german;
  return FloatToFixed(value, decimals, false, german);
}

class CsvSheet {
 public:
  CsvSheet(const SheetTable& table, std::ostream& out) : table_(table), out_(out) {
    for (size_t c = 0; c < table.Columns.size(); ++c)
      if (InCsv(table.Columns[c])) columns_.push_back(c);
  }

  void Write() {
    out_ << "\xEF\xBB\xBF";
    Line({kLvKeyCaption, "Projekt:", table_.Project});
    Line({table_.LvKey, "LV:", table_.LvName});
    Line({"", "Auftraggeber:", table_.Client});
    Line({});
    std::vector<std::string> keys, captions;
    for (const size_t c : columns_) {
      keys.push_back(table_.Columns[c].Key);
      captions.push_back(table_.Columns[c].Caption);
    }
    Line(keys);
    Line(captions);
    for (const SheetRow& row : table_.Rows) WriteRow(row);
    Line({});
    Total("Summe netto", table_.NetTotal);
    Total("Umsatzsteuer " + Number(table_.VatRate, 2) + " %", table_.VatTotal);
    Total("Summe brutto", table_.GrossTotal);
  }

 private:
  void Line(const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) out_ << (i ? ";" : "") << Field(fields[i]);
    out_ << "\r\n";
  }

  void WriteRow(const SheetRow& row) {
    std::vector<std::string> fields;
    for (const size_t c : columns_) {
      const std::string& key = table_.Columns[c].Key;
      const int decimals = ColumnDecimals(key);
      if (decimals < 0) {
        fields.push_back(CellText(row, key));
      } else {
        const std::optional<double> number = CellNumber(row, key);
        fields.push_back(number ? Number(*number, decimals) : std::string());
      }
    }
    Line(fields);
  }

  void Total(const std::string& label, double amount) {
    std::vector<std::string> fields(columns_.size());
    for (size_t i = 0; i < columns_.size(); ++i) {
      const std::string& key = table_.Columns[columns_[i]].Key;
      if (key == kShortTextKey) fields[i] = label;
      if (key == kAmountKey) fields[i] = Number(amount, 2);
    }
    Line(fields);
  }

  const SheetTable& table_;
  std::ostream& out_;
  std::vector<size_t> columns_;
};

}  // namespace

void WriteSheetCsv(const SheetTable& table, const std::string& fileName) {
  WriteFileAtomically(fileName, [&table](std::ostream& out) { CsvSheet(table, out).Write(); });
}
