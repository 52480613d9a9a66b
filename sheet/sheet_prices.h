#pragma once

#include <string>
#include <vector>

class KsLyxObj;
struct ReadSheet;

// Takes the prices of a returned workbook into the offer, each value as if
// typed into the grid (the same rounding, checks, questions and
// recalculation), and all or nothing: when one value is refused, every value
// taken before is taken back.

// A value of the workbook that is not taken; `Row` is the row (the line of
// a CSV) as the spreadsheet program numbers it, texts are Windows-1252.
struct SheetRefusal {
  int Row = 0;
  std::string Oz;
  std::string Field;  // the column's caption
  std::string Value;
  std::string Reason;
  bool Question = false;  // the grid would ask; `confirmed` takes it
};

struct SheetTakeOver {
  bool Applied = false;  // every value was taken (false: none was)
  int Values = 0;        // values entered (or that would have been)
  std::vector<SheetRefusal> Refused;
  std::vector<std::string> Unpriced;  // OZ of the positions without a unit price afterwards
};

// Enters the workbook's EP, components and discounts. Cells left empty leave
// the value as it is (an empty cell is more often a price not yet given than
// one taken back). `confirmed` answers Yes to the grid's questions. Raises
// SheetError when the workbook is none of this program's LV tables, or one
// of another LV; `fileName` names it in the message.
SheetTakeOver TakeSheetPrices(KsLyxObj& document, const ReadSheet& sheet, bool confirmed,
                              const std::string& fileName);

// The report of a take-over as lines (Windows-1252): what was taken, each
// refusal with row, OZ, value and reason, the positions left without a price.
std::vector<std::string> TakeOverReport(const SheetTakeOver& result);
