#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gaeb/gaeb90_head.h"

// A GAEB 90 file that cannot be taken over as it stands; the message is
// German and names the line.
class Gaeb90Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One record of a GAEB 90 file: one line of 80 columns. Shorter lines (trailing
// blanks cut) are filled with blanks; LF and CR LF both end a line.
struct Gaeb90Record {
  size_t Line = 0;   // counted from 1
  std::string Raw;   // the line's bytes as in the file, without its end
  std::string Text;  // Windows-1252, 80 columns

  std::string_view Type() const { return std::string_view(Text).substr(0, 2); }
  // Columns first..last (counted from 1, as the format's description does).
  std::string_view Columns(size_t first, size_t last) const {
    return std::string_view(Text).substr(first - 1, last - first + 1);
  }
  // The same, blanks at both ends removed.
  std::string Field(size_t first, size_t last) const;
};

// Cuts the file into records, converting from the DOS code page 850. Blank
// lines and a DOS end-of-file mark (0x1A) after the last record are ignored.
// A line longer than 80 columns raises Gaeb90Error.
std::vector<Gaeb90Record> SplitGaeb90(std::string_view bytes);

// Whether record 99 stops before the count it states in columns 70-74: the
// file broke off inside its last line (a blank count is no count either).
bool CutBeforeItsCount(const Gaeb90Record& end);

// "Zeile <n>: " for messages.
std::string LinePrefix(const Gaeb90Record& record);
