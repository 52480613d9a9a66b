#include "gaebxml/xml_plain_text.h"

#include <string_view>

#include "gaebxml/xml_names.h"
#include "util/trim.h"

namespace {

bool IsBlock(std::string_view name) {
  return name == "p" || name == "div" || name == "tr" || name == "table" || name == "li" ||
         name == "ul" || name == "ol" || name == "h1" || name == "h2" || name == "h3";
}

bool IsCell(std::string_view name) { return name == "td" || name == "th"; }

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

bool IsLayoutSpace(char c) { return c == '\n' || c == '\r' || c == '\t'; }

// Collects text with '\n' as line end; lines are finished by Lines().
class PlainWriter {
 public:
  // Room for a usual long text, so that it is not moved each time it grows.
  PlainWriter() { out_.reserve(1024); }
  void Text(std::string_view text) {
    // Non-breaking spaces hold empty paragraphs open in formatted text; in
    // plain text they are blanks like any other.
    std::string blanks;
    if (text.find(kNoBreakSpace) != std::string_view::npos) {
      blanks = text;
      for (size_t at; (at = blanks.find(kNoBreakSpace)) != std::string::npos;)
        blanks.replace(at, kNoBreakSpace.size(), " ");
      text = blanks;
    }
    // Blanks are kept as they stand, except a run of them that holds a line
    // break or tab: that is one blank, none at the start of a line.
    for (size_t i = 0; i < text.size();) {
      size_t layout = i;
      while (layout < text.size() && !IsLayoutSpace(text[layout])) ++layout;
      if (layout == text.size()) {
        out_.append(text.substr(i));
        break;
      }
      size_t runStart = layout;
      while (runStart > i && text[runStart - 1] == ' ') --runStart;
      out_.append(text.substr(i, runStart - i));
      size_t end = layout;
      while (end < text.size() && (text[end] == ' ' || IsLayoutSpace(text[end]))) ++end;
      if (!AtLineStart()) out_ += ' ';
      i = end;
    }
  }
  void LineBreak() { out_ += '\n'; }
  void StartBlock() {
    if (!AtLineStart()) LineBreak();
  }
  void CellSeparator() {
    if (!AtLineStart()) out_ += "  ";
  }

  std::string Lines() const {
    std::string result;
    result.reserve(out_.size());
    size_t pendingBreaks = 0;
    size_t start = 0;
    while (start <= out_.size()) {
      size_t end = out_.find('\n', start);
      if (end == std::string::npos) end = out_.size();
      size_t last = end;
      while (last > start && IsTrimChar(out_[last - 1])) --last;
      if (last == start) {
        if (!result.empty()) ++pendingBreaks;
      } else {
        for (size_t k = 0; k < pendingBreaks; ++k) result += "\r\n";
        if (!result.empty()) result += "\r\n";
        result.append(out_, start, last - start);
        pendingBreaks = 0;
      }
      start = end + 1;
    }
    return result;
  }

 private:
  bool AtLineStart() const { return out_.empty() || out_.back() == '\n'; }
  std::string out_;
};

// Walks the subtree without recursion: formatted texts may nest deeper than
// any stack should be trusted with.
std::string Collect(const pugi::xml_node& root) {
  PlainWriter writer;
  pugi::xml_node node = root.first_child();
  while (node) {
    bool descend = false;
    switch (node.type()) {
      case pugi::node_pcdata:
      case pugi::node_cdata:
        writer.Text(node.value());
        break;
      case pugi::node_element: {
        const std::string_view name = LocalName(node);
        if (name == "br") {
          writer.LineBreak();
        } else if (name != "image") {
          if (IsBlock(name)) writer.StartBlock();
          if (IsCell(name)) writer.CellSeparator();
          descend = !node.first_child().empty();
          if (!descend && IsBlock(name)) writer.LineBreak();
        }
        break;
      }
      default:
        break;
    }
    if (descend) {
      node = node.first_child();
      continue;
    }
    while (node != root && !node.next_sibling()) {
      node = node.parent();
      if (node != root && IsBlock(LocalName(node))) writer.LineBreak();
    }
    if (node == root) break;
    node = node.next_sibling();
  }
  return writer.Lines();
}

}  // namespace

std::string PlainTextLines(const pugi::xml_node& node) { return Collect(node); }

std::string PlainTextLine(const pugi::xml_node& node) {
  const std::string lines = Collect(node);
  std::string line;
  line.reserve(lines.size());
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == '\r') continue;
    if (lines[i] == '\n') {
      if (!line.empty() && line.back() != ' ') line += ' ';
      continue;
    }
    line += lines[i];
  }
  const std::string_view trimmed = TrimmedView(line);
  const auto begin = static_cast<size_t>(trimmed.data() - line.data());
  const size_t size = trimmed.size();
  line.erase(begin + size);
  line.erase(0, begin);
  return line;
}
