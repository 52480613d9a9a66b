#include "document/word_wrap.h"

#include <algorithm>

namespace {

// The position of the last blank in (indent, width] that ends a word, or
// width when there is none and the word has to be split.
size_t BreakAt(const std::string& line, size_t width, size_t indent) {
  for (size_t pos = width; pos > indent; --pos)
    if (line[pos] == ' ' && line[pos - 1] != ' ') return pos;
  return width;
}

}  // namespace

std::vector<std::string> WrapLine(const std::string& line, int width, int indent) {
  std::vector<std::string> lines;
  if (width <= 0) return {line};
  // A continuation indented by more than half the page would leave too
  // little room for its text.
  const size_t size = static_cast<size_t>(width);
  const size_t margin = static_cast<size_t>(std::clamp(indent, 0, width / 2));
  std::string rest = line;
  while (rest.size() > size) {
    const size_t cut = BreakAt(rest, size, margin);
    const size_t next = rest.find_first_not_of(' ', cut);
    lines.push_back(rest.substr(0, cut));
    if (next == std::string::npos) return lines;
    rest = std::string(margin, ' ') + rest.substr(next);
  }
  lines.push_back(rest);
  return lines;
}
