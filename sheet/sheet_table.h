#pragma once

#include <optional>
#include <string>
#include <vector>

class KsGAEBObj;
class KsLyxObj;

// The LV as a table of a workbook: one row per LV area and position in the
// order of the offer print, the columns the bidder reads and fills in. The
// XLSX and the CSV writer lay out the same table; the reader of a returned
// workbook finds the columns by their keys and the rows by their identity.

// A column: `Key` names the member it shows (or one of the keys below) and
// is written into a hidden row above the captions, so that the reader finds
// the column even after columns were added or moved.
struct SheetColumn {
  std::string Key;
  std::string Caption;  // UTF-8
  double Width = 10;    // in characters
  bool Hidden = false;
};

// Keys of the columns that are no member of the element.
inline constexpr char kIdentityKey[] = "KENNUNG";  // the row's identity, hidden
inline constexpr char kDepthKey[] = "EBENE";       // 1 = top level, hidden
inline constexpr char kShareKey[] = "BEITRAG";     // what the row adds to its area's sum, hidden
inline constexpr char kTypeKey[] = "TYP";          // N, B, A, AB
inline constexpr char kShortTextKey[] = "KURZTEXT";
inline constexpr char kLongTextKey[] = "LANGTEXT";
inline constexpr char kAmountKey[] = "GB";  // a position's GB, an area's SUMME
// The caption of the hidden cell above the LV key in the head.
inline constexpr char kLvKeyCaption[] = "Tarvo-LV";

struct SheetRow {
  const KsGAEBObj* Element = nullptr;
  bool Area = false;
  int Depth = 1;
  // Index of the last row below an area (its own index when it has none).
  size_t LastDescendant = 0;
  bool CountsInSum = false;  // a position of type N or B, or an area
  std::string Identity;      // Windows-1252 like the element's texts
};

struct SheetTable {
  std::vector<SheetColumn> Columns;
  std::vector<SheetRow> Rows;
  // Head lines (UTF-8): project, LV, client.
  std::string Project, LvName, Client;
  // Stands for the LV's rows: a workbook is taken back only into the LV
  // whose key it carries.
  std::string LvKey;
  double VatRate = 0;
  double NetTotal = 0, VatTotal = 0, GrossTotal = 0;

  int ColumnOf(const std::string& key) const;  // -1 when the table has no such column
};

// The table of the loaded tender; long texts as a column of their own when asked.
SheetTable BuildSheetTable(const KsLyxObj& document, bool longTexts);

// The identity of a row: its OZ and, for a GAEB DA XML tender, its ID.
std::string RowIdentity(const KsLyxObj& document, const KsGAEBObj& element);
// The key of an LV: a hash of the identities of its rows in their order.
std::string LvKeyOf(const std::vector<std::string>& identities);

// Decimals a number of the column is shown with; -1 for a column of text.
int ColumnDecimals(const std::string& key);

// The value of a number cell; none for a text column, an empty member, or
// the amount of a position without a unit price.
std::optional<double> CellNumber(const SheetRow& row, const std::string& key);
// The text of a text cell, UTF-8.
std::string CellText(const SheetRow& row, const std::string& key);
// Whether the bidder fills in the cell (as the grid lets him).
bool IsInputCell(const SheetRow& row, const std::string& key);
