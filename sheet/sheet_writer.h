#pragma once

#include <string>

struct SheetTable;

// Writes the table of the LV (sheet_table.h) for a spreadsheet program. Both
// replace the target only when the whole file was written (the file that was
// there survives a failure) and raise std::runtime_error with a German
// message.

// An XLSX workbook: the head (project, LV, client), captions frozen above
// the rows, German number formats, the cells the bidder fills in unlocked
// and highlighted, everything else locked (sheet protection without a
// password), GB and the sums as formulas carrying the program's values as
// their results, the identity of each row and the LV key in hidden cells.
void WriteSheetXlsx(const SheetTable& table, const std::string& fileName);

// A CSV as German spreadsheet programs open it by double click: UTF-8 with
// a byte-order mark, ";" between the fields, decimal commas, the same head
// and rows (values instead of formulas).
void WriteSheetCsv(const SheetTable& table, const std::string& fileName);

// The row of the sheet the column keys are in (0-based); the captions
// follow, then the rows of the LV.
inline constexpr int kKeyRow = 4;
inline constexpr int kFirstDataRow = kKeyRow + 2;
