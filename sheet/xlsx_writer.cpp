#include <unistd.h>
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <stdexcept>

#include "document/atomic_file.h"
#include "sheet/sheet_table.h"
#include "sheet/sheet_writer.h"
#include "util/codec.h"

namespace {

// Fill of the cells the bidder fills in.
constexpr lxw_color_t kInputFill = 0xFFF2CC;

std::string ColumnName(int column) {
  std::string name;
  for (int c = column + 1; c > 0; c = (c - 1) / 26)
    name.insert(name.begin(), static_cast<char>('A' + (c - 1) % 26));
  return name;
}

std::string Cell(int row, int column) { return ColumnName(column) + std::to_string(row + 1); }

std::string Range(int column, int firstRow, int lastRow) {
  return Cell(firstRow, column) + ":" + Cell(lastRow, column);
}

// A number in a formula, as formulas write it.
std::string FormulaNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", value);
  return text;
}

std::string NumberFormatOf(int decimals) {
  if (decimals <= 0) return "0";
  return "#,##0." + std::string(static_cast<size_t>(decimals), '0');
}

class XlsxSheet {
 public:
  XlsxSheet(const SheetTable& table, const std::string& path)
      : table_(table), workbook_(workbook_new(path.c_str())) {
    if (!workbook_) throw std::runtime_error("Die Arbeitsmappe kann nicht angelegt werden.");
    sheet_ = workbook_add_worksheet(workbook_, "LV");
  }
  ~XlsxSheet() {
    if (workbook_) workbook_close(workbook_);
  }

  void Write() {
    WriteHead();
    WriteColumns();
    for (size_t i = 0; i < table_.Rows.size(); ++i) WriteRow(i);
    WriteTotals();
    Finish();
  }

 private:
  int Row(size_t index) const { return kFirstDataRow + static_cast<int>(index); }
  int Col(const char* key) const { return table_.ColumnOf(key); }
  int Col(const std::string& key) const { return table_.ColumnOf(key); }
  int LastDataRow() const { return Row(table_.Rows.size()) - 1; }

  lxw_format* Format(int decimals, bool input, bool bold) {
    const int key = (decimals + 1) * 4 + (input ? 2 : 0) + (bold ? 1 : 0);
    auto [it, added] = formats_.try_emplace(key, nullptr);
    if (!added) return it->second;
    lxw_format* format = workbook_add_format(workbook_);
    if (decimals >= 0) format_set_num_format(format, NumberFormatOf(decimals).c_str());
    if (input) {
      format_set_unlocked(format);
      format_set_bg_color(format, kInputFill);
      format_set_border(format, LXW_BORDER_HAIR);
    }
    if (bold) format_set_bold(format);
    format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
    it->second = format;
    return format;
  }

  void WriteHead() {
    lxw_format* bold = Format(-1, false, true);
    const int label = Col("OZ"), value = label + 1;
    worksheet_write_string(sheet_, 0, Col(kIdentityKey), kLvKeyCaption, nullptr);
    worksheet_write_string(sheet_, 1, Col(kIdentityKey), table_.LvKey.c_str(), nullptr);
    const std::pair<const char*, const std::string*> head[] = {
        {"Projekt:", &table_.Project}, {"LV:", &table_.LvName}, {"Auftraggeber:", &table_.Client}};
    for (int i = 0; i < 3; ++i) {
      worksheet_write_string(sheet_, i, label, head[i].first, bold);
      worksheet_write_string(sheet_, i, value, head[i].second->c_str(), bold);
    }
  }

  void WriteColumns() {
    lxw_format* caption = workbook_add_format(workbook_);
    format_set_bold(caption);
    format_set_text_wrap(caption);
    format_set_bottom(caption, LXW_BORDER_THIN);
    lxw_row_col_options hidden = {};
    hidden.hidden = 1;
    worksheet_set_row_opt(sheet_, kKeyRow, LXW_DEF_ROW_HEIGHT, nullptr, &hidden);
    for (size_t c = 0; c < table_.Columns.size(); ++c) {
      const SheetColumn& column = table_.Columns[c];
      const auto col = static_cast<lxw_col_t>(c);
      lxw_format* wrap = nullptr;
      if (column.Key == kShortTextKey || column.Key == kLongTextKey) {
        wrap = workbook_add_format(workbook_);
        format_set_text_wrap(wrap);
      }
      worksheet_set_column_opt(sheet_, col, col, column.Width, wrap,
                               column.Hidden ? &hidden : nullptr);
      worksheet_write_string(sheet_, kKeyRow, col, column.Key.c_str(), nullptr);
      worksheet_write_string(sheet_, kKeyRow + 1, col, column.Caption.c_str(), caption);
    }
  }

  void WriteRow(size_t index) {
    const SheetRow& row = table_.Rows[index];
    const int r = Row(index);
    for (size_t c = 0; c < table_.Columns.size(); ++c) {
      const std::string& key = table_.Columns[c].Key;
      const auto col = static_cast<lxw_col_t>(c);
      const int decimals = ColumnDecimals(key);
      lxw_format* format = Format(decimals, IsInputCell(row, key), row.Area);
      const std::optional<double> number = CellNumber(row, key);
      const std::string formula = Formula(index, key);
      if (!formula.empty() && number) {
        worksheet_write_formula_num(sheet_, r, col, formula.c_str(), format, *number);
      } else if (!formula.empty()) {
        worksheet_write_formula_str(sheet_, r, col, formula.c_str(), format, "");
      } else if (number) {
        worksheet_write_number(sheet_, r, col, *number, format);
      } else if (decimals < 0 && !CellText(row, key).empty()) {
        worksheet_write_string(sheet_, r, col, CellText(row, key).c_str(), format);
      } else if (IsInputCell(row, key)) {
        worksheet_write_blank(sheet_, r, col, format);
      }
    }
  }

  // The spreadsheet's own calculation of the computed cells (empty for a
  // cell of a value); each follows the program's rule for the amount.
  std::string Formula(size_t index, const std::string& key) const {
    const SheetRow& row = table_.Rows[index];
    const int r = Row(index);
    const auto at = [&](const char* k) { return Cell(r, Col(k)); };
    if (!row.Area) {
      if (key == "EP" && !IsInputCell(row, "EP") && Col("EPANTEIL1") >= 0 &&
          IsInputCell(row, "EPANTEIL1")) {
        const std::string parts = Cell(r, Col("EPANTEIL1")) + ":" +
                                  Cell(r, Col("EPANTEIL" + std::to_string(CountComponents())));
        return "IF(COUNT(" + parts + ")=0,\"\",SUM(" + parts + "))";
      }
      if (key == kAmountKey)
        return "IF(" + at("EP") + "=\"\",\"\",ROUND(" + at("EP") + "*N(" + at("MENGE") + ")*(1-N(" +
               at("NACHLASSPROZ") + ")/100),2))";
      if (key == kShareKey) return row.CountsInSum ? "N(" + at(kAmountKey) + ")" : std::string();
      return std::string();
    }
    if (key == kAmountKey && row.LastDescendant > index)
      return "SUMIF(" + Range(Col(kDepthKey), r + 1, Row(row.LastDescendant)) + "," +
             std::to_string(row.Depth + 1) + "," +
             Range(Col(kShareKey), r + 1, Row(row.LastDescendant)) + ")";
    if (key == "SUMMENACHNL")
      return "IF(N(" + at("NACHLASSABS") + ")<>0," + at(kAmountKey) + "-" + at("NACHLASSABS") +
             "," + at(kAmountKey) + "-ROUND(" + at(kAmountKey) + "*N(" + at("NACHLASSPROZ") +
             ")/100,2))";
    if (key == kShareKey) return at("SUMMENACHNL");
    return std::string();
  }

  int CountComponents() const {
    int count = 0;
    while (Col("EPANTEIL" + std::to_string(count + 1)) >= 0) ++count;
    return count;
  }

  void WriteTotals() {
    const int first = LastDataRow() + 2;
    const int label = Col(kShortTextKey), amount = Col(kAmountKey);
    lxw_format* bold = Format(-1, false, true);
    lxw_format* money = Format(2, false, true);
    const std::string net = "SUMIF(" + Range(Col(kDepthKey), kFirstDataRow, LastDataRow()) + ",1," +
                            Range(Col(kShareKey), kFirstDataRow, LastDataRow()) + ")";
    const std::string rate = FormulaNumber(table_.VatRate);
    std::string rateText = FormulaNumber(table_.VatRate);
    rateText[rateText.find('.')] = ',';
    worksheet_write_string(sheet_, first, label, "Summe netto", bold);
    worksheet_write_formula_num(sheet_, first, amount, table_.Rows.empty() ? "0" : net.c_str(),
                                money, table_.NetTotal);
    worksheet_write_string(sheet_, first + 1, label, ("Umsatzsteuer " + rateText + " %").c_str(),
                           bold);
    worksheet_write_formula_num(sheet_, first + 1, amount,
                                ("ROUND(" + Cell(first, amount) + "*" + rate + "/100,2)").c_str(),
                                money, table_.VatTotal);
    worksheet_write_string(sheet_, first + 2, label, "Summe brutto", bold);
    worksheet_write_formula_num(sheet_, first + 2, amount,
                                (Cell(first, amount) + "+" + Cell(first + 1, amount)).c_str(),
                                money, table_.GrossTotal);
  }

  void Finish() {
    worksheet_freeze_panes(sheet_, kFirstDataRow, static_cast<lxw_col_t>(Col(kShortTextKey)));
    worksheet_autofilter(sheet_, kKeyRow + 1, 0, std::max(kKeyRow + 1, LastDataRow()),
                         static_cast<lxw_col_t>(table_.Columns.size() - 1));
    lxw_protection protection = {};
    protection.format_columns = 1;
    protection.format_rows = 1;
    protection.autofilter = 1;
    protection.sort = 1;
    worksheet_protect(sheet_, nullptr, &protection);
    lxw_workbook* workbook = workbook_;
    workbook_ = nullptr;
    if (const lxw_error error = workbook_close(workbook); error != LXW_NO_ERROR)
      throw std::runtime_error(std::string("Die Arbeitsmappe kann nicht geschrieben werden (") +
                               lxw_strerror(error) + ").");
  }

  const SheetTable& table_;
  lxw_workbook* workbook_;
  lxw_worksheet* sheet_ = nullptr;
  std::map<int, lxw_format*> formats_;
};

// The library writes to a file name; the workbook is made in a temporary
// file and then copied into the atomic replacement of the target.
class ScratchFile {
 public:
  ScratchFile() {
    const char* dir = std::getenv("TMPDIR");
    path_ = std::string(dir && *dir ? dir : "/tmp") + "/tarvo-sheet-XXXXXX";
    const int fd = mkstemp(path_.data());
    if (fd < 0) throw std::runtime_error("Keine tempor\xE4re Datei f\xFCr die Arbeitsmappe.");
    close(fd);
  }
  ~ScratchFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

void WriteSheetXlsx(const SheetTable& table, const std::string& fileName) {
  ScratchFile scratch;
  XlsxSheet(table, scratch.Path()).Write();
  WriteFileAtomically(fileName, [&scratch](std::ostream& out) {
    std::ifstream in(scratch.Path(), std::ios::binary);
    out << in.rdbuf();
  });
}
