#pragma once

#include <map>
#include <stdexcept>
#include <string>

// Reads back the table of a workbook (an XLSX, or a CSV) as the spreadsheet
// program saved it, for the prices it holds.

// A workbook that cannot be taken: the German message names the file and why.
class SheetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A cell as the spreadsheet holds it: a number (a formula's cached result
// counts as its value) or a text, Windows-1252 like the program's texts.
struct ReadCell {
  std::string Text;
  bool IsNumber = false;
  double Number = 0;
  // A formula the program that wrote the file never computed (Text: "=" and
  // the formula): its value is not known.
  bool Uncomputed = false;
};

// The cells of a sheet by row and column (both 0-based), and the number
// under which the spreadsheet program shows each row to the user.
struct ReadSheet {
  std::map<int, std::map<int, ReadCell>> Rows;
  const ReadCell* At(int row, int column) const;
};

// What a file is, told by its content, not by its name.
enum class WorkbookKind {
  Xlsx,      // a ZIP archive (whether it holds a workbook is found when read)
  Ole,       // an OLE container: an old .xls, or a password-protected workbook
  SheetCsv,  // a CSV with the head this program writes
  Other,     // anything else (a plain price list)
};
WorkbookKind DetectWorkbook(const std::string& fileName);

// Reads the first worksheet of an XLSX (the one named "LV" when there is one)
// or a CSV; raises SheetError for a damaged ZIP, a ZIP that holds no
// workbook, a password-protected workbook, an old .xls or a file that cannot
// be read.
ReadSheet ReadWorkbook(const std::string& fileName);

// The two readers ReadWorkbook chooses from: an XLSX by its file name, a CSV
// by its content.
ReadSheet ReadXlsx(const std::string& fileName);
ReadSheet ReadSheetCsv(const std::string& content);
