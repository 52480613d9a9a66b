#include "document/word_wrap.h"

#include <algorithm>
#include <string_view>

namespace {

// The line still to be placed: `lead` blanks (the margin of a continuation)
// before `text`, the line's rest. Kept apart so that no break copies the rest
// of the line, which would make wrapping a long text take quadratic time.
struct Rest {
  size_t lead = 0;
  std::string_view text;

  size_t Size() const { return lead + text.size(); }
  char At(size_t pos) const { return pos < lead ? ' ' : text[pos - lead]; }
  std::string Piece(size_t length) const {
    return std::string(lead, ' ').append(text.substr(0, length - lead));
  }
};

// The position of the last blank in (indent, width] that ends a word, or
// width when there is none and the word has to be split.
size_t BreakAt(const Rest& rest, size_t width, size_t indent) {
  for (size_t pos = width; pos > indent; --pos)
    if (rest.At(pos) == ' ' && rest.At(pos - 1) != ' ') return pos;
  return width;
}

}  // namespace

std::vector<std::string> WrapLine(const std::string& line, int width, int indent) {
  if (width <= 0) return {line};
  // A continuation indented by more than half the page would leave too
  // little room for its text.
  const size_t size = static_cast<size_t>(width);
  const size_t margin = static_cast<size_t>(std::clamp(indent, 0, width / 2));
  std::vector<std::string> lines;
  Rest rest{0, line};
  while (rest.Size() > size) {
    const size_t cut = BreakAt(rest, size, margin);
    lines.push_back(rest.Piece(cut));
    const size_t next = rest.text.find_first_not_of(' ', cut - rest.lead);
    if (next == std::string_view::npos) return lines;
    rest = {margin, rest.text.substr(next)};
  }
  lines.push_back(rest.Piece(rest.Size()));
  return lines;
}
