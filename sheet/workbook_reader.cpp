#include "sheet/workbook_reader.h"

#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "sheet/sheet_table.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

constexpr std::string_view kZipMagic = "PK\x03\x04";
constexpr std::string_view kOleMagic = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The stream an OLE container of a password-protected workbook holds, as
// its directory names it (UTF-16).
constexpr std::string_view kEncryptionStream{"E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28};

std::string Quoted(const std::string& fileName) { return "\"" + Utf8ToCp1252(fileName) + "\""; }

std::string ReadAll(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in)
    throw SheetError("Die Arbeitsmappe " + Quoted(fileName) +
                     " kann nicht ge\xF6"
                     "ffnet werden.");
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad())
    throw SheetError("Die Arbeitsmappe " + Quoted(fileName) + " kann nicht gelesen werden.");
  return content;
}

std::string Head(const std::string& fileName, size_t bytes) {
  std::ifstream in(fileName, std::ios::binary);
  std::string head(bytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(bytes));
  head.resize(static_cast<size_t>(in.gcount()));
  return head;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The fields of the CSV's lines; a quoted field may hold the separator,
// doubled quotes and line breaks.
std::vector<std::vector<std::string>> CsvLines(std::string_view text, char separator) {
  std::vector<std::vector<std::string>> lines(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    std::string& field = lines.back().back();
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      lines.back().emplace_back();
    } else if (c == '\n') {
      lines.emplace_back(1);
    } else if (c != '\r') {
      field += c;
    }
  }
  return lines;
}

// The separator the spreadsheet program saved with: the sign after the key
// of the first column, the one the program writes.
char CsvSeparator(std::string_view text) {
  const size_t key = text.find(kIdentityKey);
  if (key == std::string_view::npos) return ';';
  const size_t after = key + std::string_view(kIdentityKey).size();
  if (after < text.size() && (text[after] == ',' || text[after] == '\t')) return text[after];
  return ';';
}

}  // namespace

const ReadCell* ReadSheet::At(int row, int column) const {
  const auto r = Rows.find(row);
  if (r == Rows.end()) return nullptr;
  const auto c = r->second.find(column);
  return c == r->second.end() ? nullptr : &c->second;
}

WorkbookKind DetectWorkbook(const std::string& fileName) {
  const std::string head = Head(fileName, 64);
  if (StartsWith(head, kZipMagic)) return WorkbookKind::Xlsx;
  if (StartsWith(head, kOleMagic)) return WorkbookKind::Ole;
  std::string_view text = head;
  if (StartsWith(text, kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (StartsWith(text, "\"")) text.remove_prefix(1);
  if (StartsWith(text, kLvKeyCaption)) return WorkbookKind::SheetCsv;
  return WorkbookKind::Other;
}

ReadSheet ReadSheetCsv(const std::string& content) {
  std::string_view text = content;
  if (StartsWith(text, kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  ReadSheet sheet;
  const auto lines = CsvLines(text, CsvSeparator(text));
  for (size_t row = 0; row < lines.size(); ++row)
    for (size_t column = 0; column < lines[row].size(); ++column) {
      const std::string field = Trim(lines[row][column]);
      if (!field.empty())
        sheet.Rows[static_cast<int>(row)][static_cast<int>(column)].Text = Utf8ToCp1252(field);
    }
  return sheet;
}

ReadSheet ReadWorkbook(const std::string& fileName) {
  switch (DetectWorkbook(fileName)) {
    case WorkbookKind::Xlsx:
      return ReadXlsx(fileName);
    case WorkbookKind::Ole:
      if (ReadAll(fileName).find(kEncryptionStream) != std::string::npos)
        throw SheetError("Die Arbeitsmappe " + Quoted(fileName) +
                         " ist mit einem Kennwort gesch\xFCtzt. Bitte ohne Kennwort als .xlsx "
                         "speichern und erneut \xFC"
                         "bernehmen.");
      throw SheetError("Die Datei " + Quoted(fileName) +
                       " ist eine Arbeitsmappe im alten Excel-Format (.xls). Bitte als .xlsx "
                       "speichern und erneut \xFC"
                       "bernehmen.");
    case WorkbookKind::SheetCsv:
      return ReadSheetCsv(ReadAll(fileName));
    case WorkbookKind::Other:
      break;
  }
  throw SheetError("Die Datei " + Quoted(fileName) +
                   " ist weder eine Excel-Arbeitsmappe (.xlsx) noch eine vom Programm "
                   "exportierte CSV-Tabelle.");
}
