#include "gaeb/file_read_gaeb00.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <system_error>

#include "gaeb/gaeb90_head.h"
#include "gaeb/token_read_ahead.h"
#include "util/trim.h"

namespace {

constexpr std::string_view kBeginMark = "#begin[";
constexpr std::string_view kEndElementMark = "#end[";
constexpr std::string_view kEndValueMark = "[end]";
constexpr std::string_view kCommentMark = "##";
constexpr size_t npos = std::string_view::npos;

size_t TrimmedRightLength(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsTrimChar(s[e - 1])) --e;
  return e;
}

size_t FirstNonBlank(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsTrimChar(s[b])) ++b;
  return b;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool StartsWithMarker(std::string_view s) {
  return StartsWith(s, kBeginMark) || StartsWith(s, kEndElementMark);
}

bool HoldsMarker(std::string_view s) {
  return s.find(kBeginMark) != npos || s.find(kEndElementMark) != npos;
}

// out := s[from, to) trimmed; empty when the range is empty.
void AssignTrimmed(std::string& out, std::string_view s, size_t from, size_t to) {
  if (from >= to) {
    out.clear();
    return;
  }
  while (from < to && IsTrimChar(s[from])) ++from;
  while (to > from && IsTrimChar(s[to - 1])) --to;
  out.assign(s.data() + from, to - from);
}

// A piece of a line quoted in a message: short enough to read.
std::string Quoted(std::string_view text) {
  constexpr size_t kShown = 40;
  text = TrimmedView(text);
  return "\"" + std::string(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

// A GAEB 2000 file shows a block's begin, a GAEB 90 file begins with its
// head or free text record, a GAEB DA XML file begins with "<" (after a byte
// order mark and blanks) and names its root GAEB, in UTF-8 or UTF-16.
void RefuseWithoutGaebStructure(std::string_view head, const std::string& displayName) {
  if (head.find(kBeginMark) != npos || LooksLikeGaeb90(head)) return;
  for (std::string_view bom : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
    if (StartsWith(head, bom)) {
      head.remove_prefix(bom.size());
      break;
    }
  const size_t first = head.find_first_not_of(std::string_view(" \t\r\n\0", 5));
  if (first != npos && head[first] == '<')
    for (std::string_view root : {std::string_view("GAEB"), std::string_view("G\0A\0E\0B", 7)})
      if (head.find(root) != npos) return;
  throw std::runtime_error("Die Datei " + displayName +
                           " ist keine GAEB-Datei: ihr erstes Megabyte enth\xE4lt weder "
                           "\"#begin[\" (GAEB 2000) noch XML (GAEB DA XML) noch einen "
                           "Kopfsatz 00 (GAEB 90).");
}

}  // namespace

KsFileReadGaeb00::KsFileReadGaeb00(const std::string& fileName, int blockSize)
    : TFileRead(fileName, blockSize, RefuseWithoutGaebStructure) {}

KsFileReadGaeb00::~KsFileReadGaeb00() = default;

void KsFileReadGaeb00::ReadToken(std::string& name, TTokenKind& kind, std::string& value) {
  if (!ahead_) {
    CutToken(name, kind, value);
    return;
  }
  value.assign(ReadTokenView(name, kind));
}

std::string_view KsFileReadGaeb00::ReadTokenView(std::string& name, TTokenKind& kind) {
  if (!ahead_) {
    CutToken(name, kind, valueBuffer_);
    return valueBuffer_;
  }
  const TokenReadAhead::Token* token = ahead_->Next();
  if (!token) {
    name.clear();
    kind = lastKind_ = tkEof;
    return {};
  }
  kind = lastKind_ = token->kind;
  name.assign(token->name);
  if (kind == tkEnd) lastEndName_.assign(token->name);
  lastLine_ = token->lastLine;
  tokenLine_ = token->tokenLine;
  lineCount_ = token->lineCount;
  SetPlace(token->filePosition, token->lineNumber, token->replaced);
  return token->value;
}

void KsFileReadGaeb00::ReadAhead() {
  if (ahead_) return;
  BufferMoves();  // the last line is copied out of the buffer handed over
  std::unique_ptr<KsFileReadGaeb00> worker(new KsFileReadGaeb00());
  worker->TakeSettings(*this);
  worker->SetPlace(FilePosition(), LineNumber(), ReplacedCharacters());
  worker->lineCount_ = lineCount_;
  worker->tokenLine_ = tokenLine_;
  worker->lastLineCopy_ = lastLineCopy_;
  worker->lastLine_ = worker->lastLineCopy_;
  worker->SwapSource(*this);
  auto ahead = std::make_unique<TokenReadAhead>(std::move(worker));
  try {
    ahead->Start();
  } catch (const std::system_error&) {
    SwapSource(*ahead->Finish());  // no thread to be had: the tokens are cut here
    return;
  }
  ahead_ = std::move(ahead);
}

void KsFileReadGaeb00::StopReadingAhead() {
  if (!ahead_) return;
  lastLineCopy_.assign(lastLine_);  // out of the batch that goes
  lastLine_ = lastLineCopy_;
  const std::unique_ptr<TokenReadAhead> ahead = std::move(ahead_);
  SwapSource(*ahead->Finish());
  // The thread read further than the tokens handed out.
  const int64_t position = FilePosition(), line = LineNumber(), replaced = ReplacedCharacters();
  if (Rewind(position)) SetPlace(position, line, replaced);
}

void KsFileReadGaeb00::CutToken(std::string& name, TTokenKind& kind, std::string& value) {
  name.clear();
  value.clear();
  std::string_view line;
  size_t first, q;
  for (;;) {
    if (!ReadLine(line)) {
      kind = lastKind_ = tkEof;
      return;
    }
    ++lineCount_;
    CheckLine(line);
    first = FirstNonBlank(line);
    if (first == line.size() || StartsWith(line.substr(first), kCommentMark)) continue;
    if ((q = line.find(']', first)) != npos) break;
  }
  tokenLine_ = LineNumber();
  const std::string_view text = line.substr(first);

  if (StartsWithMarker(text)) {
    const bool begin = StartsWith(text, kBeginMark);
    kind = begin ? tkBegin : tkEnd;
    AssignTrimmed(name, line, first + (begin ? kBeginMark : kEndElementMark).size(), q);
    if (kind == tkEnd) lastEndName_ = name;
    // Counters may follow an end line; a field or marker there would be lost.
    CheckRest(line.substr(q + 1), line.substr(first, q + 1 - first));
  } else {
    if (text.front() != '[' && HoldsMarker(text))
      Refuse(tokenLine_, Quoted(text) + " ist weder eine Blockzeile noch ein Feld.");
    kind = tkField;
    const size_t bracket = line.find('[');
    AssignTrimmed(name, line, bracket == npos ? 0 : bracket + 1, q);
    if (const size_t end = line.find(kEndValueMark); end != npos) {
      if (end > q + 1) value.assign(line.substr(q + 1, end - q - 1));
      const size_t key = bracket < q ? bracket : first;
      CheckRest(line.substr(end + kEndValueMark.size()), line.substr(key, q + 1 - key));
    } else {
      // The value runs on up to the first line with "[end]". Continuation
      // lines lose the indentation up to the key's "[" column, but only
      // when that part is blank: text starting further left is kept whole.
      const size_t indent = bracket == npos ? 0 : bracket;
      value.assign(line.substr(q + 1, TrimmedRightLength(line) - (q + 1)));
      for (;;) {
        if (value.size() > kMaxLineLength)
          throw std::runtime_error("Der Wert von [" + name + "] ab Zeile " +
                                   std::to_string(tokenLine_) + " der Datei " + DisplayName() +
                                   " ist l\xE4nger als " + std::to_string(kMaxLineLength >> 20) +
                                   " MB.");
        if (!ReadLine(line)) {
          name.clear();
          value.clear();
          kind = lastKind_ = tkEof;
          return;
        }
        ++lineCount_;
        CheckLine(line);
        std::string_view part = line;
        const size_t cut = std::min(indent, part.size());
        if (std::all_of(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(cut), IsTrimChar))
          part.remove_prefix(cut);
        value += "\r\n";
        if (const size_t end = part.find(kEndValueMark); end != npos) {
          value.append(part.substr(0, end));
          if (part.find('[', end + kEndValueMark.size()) != npos)
            CheckRest(part.substr(end + kEndValueMark.size()), "[" + name + "]");
          break;
        }
        value.append(part.substr(0, TrimmedRightLength(part)));
      }
    }
  }
  lastKind_ = kind;
  lastLine_ = line;
}

void KsFileReadGaeb00::CheckLine(std::string_view line) const {
  if (std::memchr(line.data(), '\0', line.size()))
    Refuse(LineNumber(),
           "Die Zeile enth\xE4lt ein Nullzeichen (Byte 0); eine GAEB 2000 Datei "
           "enth\xE4lt keines.");
}

void KsFileReadGaeb00::CheckRest(std::string_view rest, std::string_view token) const {
  if (rest.find('[') != npos)
    Refuse(LineNumber(), "Nach " + std::string(token) + " folgt auf derselben Zeile noch " +
                             Quoted(rest) +
                             "; eine Zeile tr\xE4gt nur ein Feld oder eine "
                             "Blockzeile.");
}

void KsFileReadGaeb00::RefuseEndOfFile(const std::string& name) const {
  throw std::runtime_error("Die Datei endet in Zeile " + std::to_string(LineNumber()) +
                           " mitten im Block " + name + "; sie ist unvollst\xE4ndig.");
}

void KsFileReadGaeb00::Refuse(int64_t line, const std::string& reason) const {
  throw std::runtime_error("Zeile " + std::to_string(line) + " der Datei " + DisplayName() + ": " +
                           reason);
}

void KsFileReadGaeb00::BufferMoves() {
  if (ahead_) {
    StopReadingAhead();
    return;
  }
  if (lastLine_.data() == lastLineCopy_.data()) return;
  lastLineCopy_.assign(lastLine_);
  lastLine_ = lastLineCopy_;
}
