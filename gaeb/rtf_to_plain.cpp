#include "gaeb/rtf_to_plain.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "util/codec.h"

namespace {

// Where rich text begins in a field.
constexpr std::string_view kRtfStart = "{\\rtf";

// Destinations that hold no visible text: fonts, colours, styles, document
// properties, pictures, embedded objects, page headers and footers, list and
// revision tables, field instructions and the bullets of list paragraphs.
constexpr std::array<std::string_view, 27> kSkippedDestinations = {
    "fonttbl",  "colortbl",   "stylesheet", "info",
    "pict",     "object",     "header",     "headerl",
    "headerr",  "headerf",    "footer",     "footerl",
    "footerr",  "footerf",    "listtable",  "listoverridetable",
    "rsidtbl",  "generator",  "xmlnstbl",   "filetbl",
    "revtbl",   "fldinst",    "pn",         "pntext",
    "listtext", "nonshppict", "themedata"};

struct CharWord {
  std::string_view word;
  char character;
};

// Control words that stand for one Windows-1252 character. Tabs, table cells
// and typographic spaces become a blank, which reads well in a grid cell and
// on monospaced print alike.
constexpr std::array<CharWord, 12> kCharWords = {{{"emdash", '\x97'},
                                                  {"endash", '\x96'},
                                                  {"bullet", '\x95'},
                                                  {"lquote", '\x91'},
                                                  {"rquote", '\x92'},
                                                  {"ldblquote", '\x93'},
                                                  {"rdblquote", '\x94'},
                                                  {"tab", ' '},
                                                  {"cell", ' '},
                                                  {"emspace", ' '},
                                                  {"enspace", ' '},
                                                  {"qmspace", ' '}}};

// Paragraph, line, page, section and table-row ends: each starts a new line,
// so the words on either side never run together.
constexpr std::array<std::string_view, 5> kBreakWords = {"par", "line", "page", "sect", "row"};

// Numeric parameters are clamped; nothing needs more and the sums cannot overflow.
constexpr long long kParamLimit = 1'000'000'000;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct GroupState {
  int unicode_fallback = 1;  // characters after \uN that substitute it (\ucN)
  bool skipped = false;
};

// Single pass over the input with an explicit group stack, so neither deep
// nesting nor long input can exhaust the call stack or take more than linear time.
class RtfParser {
 public:
  // rtf begins with the opening brace of the document group.
  explicit RtfParser(std::string_view rtf) : in_(rtf) {}

  std::string Run() {
    pos_ = 1;
    stack_.emplace_back();
    // Reading ends where the document group closes, or with the input.
    while (pos_ < in_.size() && !stack_.empty()) {
      const char c = in_[pos_++];
      switch (c) {
        case '{':
          OpenGroup();
          break;
        case '}':
          fallback_left_ = 0;
          stack_.pop_back();
          break;
        case '\\':
          ReadControl();
          break;
        case '\r':
        case '\n':
          break;  // line breaks of the source are not text
        case '\t':
          Text(' ');
          break;
        default:
          Text(c);
      }
    }
    // The last paragraph mark ends the text; it starts no empty line.
    while (out_.size() >= 2 && out_.compare(out_.size() - 2, 2, "\r\n") == 0)
      out_.resize(out_.size() - 2);
    return std::move(out_);
  }

 private:
  GroupState& Top() { return stack_.back(); }

  void OpenGroup() {
    fallback_left_ = 0;
    const GroupState inherited = Top();
    stack_.push_back(inherited);
  }

  // Consumes one character of the substitute that follows \uN, if one is due.
  bool InFallback() {
    if (fallback_left_ == 0) return false;
    --fallback_left_;
    return true;
  }

  void Text(char c) {
    if (!InFallback()) Put(c);
  }

  // NUL is dropped: it would cut the text short wherever it is shown.
  void Put(char c) {
    if (!Top().skipped && c != '\0') out_.push_back(c);
  }

  void ReadControl() {
    if (pos_ >= in_.size()) return;
    if (IsLetter(in_[pos_])) {
      ReadControlWord();
      return;
    }
    const char symbol = in_[pos_++];
    if (symbol == '\'') {
      const std::optional<char> byte = ReadHexByte();
      // The byte is in the document's ANSI code page, taken as Windows-1252.
      if (!InFallback() && byte) Put(*byte);
      return;
    }
    if (InFallback()) return;
    switch (symbol) {
      case '\\':
      case '{':
      case '}':
        Put(symbol);
        break;
      case '~':
        Put('\xA0');
        break;
      case '_':
        Put('-');
        break;
      case '*':
        Top().skipped = true;
        break;
      case '\r':
      case '\n':
        LineBreak();  // a backslash before a source line break is a paragraph mark
        break;
      default:
        break;  // \- optional hyphen, \| \: and the like
    }
  }

  // The two hex digits of \'hh; nothing when they are incomplete.
  std::optional<char> ReadHexByte() {
    int value = 0;
    for (int i = 0; i < 2; ++i) {
      const int digit = pos_ < in_.size() ? HexValue(in_[pos_]) : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + digit;
      ++pos_;
    }
    return static_cast<char>(value);
  }

  void ReadControlWord() {
    const std::size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;
    const std::string_view word = in_.substr(start, pos_ - start);

    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && IsDigit(in_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    std::optional<long long> param;
    while (pos_ < in_.size() && IsDigit(in_[pos_])) {
      param = std::min(param.value_or(0) * 10 + (in_[pos_] - '0'), kParamLimit);
      ++pos_;
    }
    if (param && negative) param = -*param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;

    if (word == "bin") {
      // Binary data may hold any byte, braces and backslashes included.
      const std::size_t length = static_cast<std::size_t>(std::max(param.value_or(0), 0LL));
      pos_ += std::min(length, in_.size() - pos_);
      return;
    }
    if (InFallback()) return;
    ControlWord(word, param);
  }

  void ControlWord(std::string_view word, std::optional<long long> param) {
    if (word == "u") {
      if (param) Unicode(*param);
      return;
    }
    if (word == "uc") {
      if (param) Top().unicode_fallback = static_cast<int>(std::max(*param, 0LL));
      return;
    }
    if (std::find(kSkippedDestinations.begin(), kSkippedDestinations.end(), word) !=
        kSkippedDestinations.end()) {
      Top().skipped = true;
      return;
    }
    for (const CharWord& entry : kCharWords) {
      if (word == entry.word) {
        Put(entry.character);
        return;
      }
    }
    if (std::find(kBreakWords.begin(), kBreakWords.end(), word) != kBreakWords.end()) LineBreak();
    // Every other word only formats the text.
  }

  void LineBreak() {
    Put('\r');
    Put('\n');
  }

  void Unicode(long long value) {
    fallback_left_ = Top().unicode_fallback;
    // A signed 16-bit number: characters above U+7FFF are written negative.
    const long long code = value < 0 ? value + 65536 : value;
    if (code < 0 || code > 0xFFFF) {
      Put('?');
      return;
    }
    // A character beyond U+FFFF comes as a surrogate pair; its second half
    // alone yields the replacement, so the pair counts as one character.
    if (code >= 0xD800 && code <= 0xDBFF) return;
    Put(UnicodeToCp1252(static_cast<char32_t>(code)));
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::vector<GroupState> stack_;
  int fallback_left_ = 0;
  std::string out_;
};

}  // namespace

bool IsRtf(std::string_view text) { return text.find(kRtfStart) != std::string_view::npos; }

std::string RtfToPlain(std::string_view text) {
  const std::size_t start = text.find(kRtfStart);
  if (start == std::string_view::npos) return std::string(text);
  // The rich text is the group that starts there; blanks or line breaks around
  // it in a field are not part of it.
  return RtfParser(text.substr(start)).Run();
}
