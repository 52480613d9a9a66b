#pragma once

#include <string>
#include <vector>

// One line of a price list: its number in the file and its fields, trimmed,
// as Windows-1252 text.
struct PriceLine {
  int Number = 0;
  std::string Text;  // the whole line
  std::vector<std::string> Fields;
};

// The line from its field `first` (0-based) to its end as written, the
// separators inside kept, empty cells at the end (spreadsheets add them) and
// blanks at both ends dropped: a text may hold a ";" of its own.
std::string RestOfLine(const PriceLine& line, size_t first);

// Reads a price list as people make them: UTF-8 (a byte-order mark, as
// "CSV UTF-8" exports write it, is skipped; bytes that are no UTF-8 count as
// Windows-1252), fields separated by ";" or tab, lines without any text
// skipped. "-" reads standard input. Raises std::runtime_error when the file
// cannot be read.
std::vector<PriceLine> ReadPriceList(const std::string& fileName);
