#include "gaeb/file_read_gaeb00.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>
#include <system_error>

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

}  // namespace

KsFileReadGaeb00::KsFileReadGaeb00(const std::string& fileName, int blockSize)
    : TFileRead(fileName, blockSize) {}

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
    kind = tkEof;
    return {};
  }
  kind = token->kind;
  name.assign(token->name);
  lastLine_ = token->lastLine;
  tokenLine_ = token->tokenLine;
  lineCount_ = token->lineCount;
  SetPlace(token->filePosition, token->lineNumber);
  return token->value;
}

void KsFileReadGaeb00::ReadAhead() {
  if (ahead_) return;
  BufferMoves();  // the last line is copied out of the buffer handed over
  std::unique_ptr<KsFileReadGaeb00> worker(new KsFileReadGaeb00());
  worker->TakeSettings(*this);
  worker->SetPlace(FilePosition(), LineNumber());
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
  const int64_t position = FilePosition(), line = LineNumber();
  if (Rewind(position)) SetPlace(position, line);
}

void KsFileReadGaeb00::CutToken(std::string& name, TTokenKind& kind, std::string& value) {
  name.clear();
  value.clear();
  std::string_view line;
  // Most lines are fields without any "#"; one search spares them the
  // searches for the markers that start with it.
  size_t hash, q;
  for (;;) {
    if (!ReadLine(line)) {
      kind = tkEof;
      return;
    }
    ++lineCount_;
    hash = line.find('#');
    if ((hash == npos || line.find(kCommentMark, hash) == npos) && (q = line.find(']')) != npos)
      break;
  }
  tokenLine_ = LineNumber();

  if (const size_t b = hash == npos ? npos : line.find(kBeginMark, hash); b != npos) {
    kind = tkBegin;
    AssignTrimmed(name, line, b + kBeginMark.size(), q);
  } else if (const size_t e = hash == npos ? npos : line.find(kEndElementMark, hash); e != npos) {
    kind = tkEnd;
    AssignTrimmed(name, line, e + kEndElementMark.size(), q);
  } else {
    kind = tkField;
    const size_t bracket = line.find('[');
    AssignTrimmed(name, line, bracket == npos ? 0 : bracket + 1, q);
    if (const size_t end = line.find(kEndValueMark); end != npos) {
      if (end > q + 1) value.assign(line.substr(q + 1, end - q - 1));
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
          kind = tkEof;
          return;
        }
        ++lineCount_;
        std::string_view part = line;
        const size_t cut = std::min(indent, part.size());
        if (std::all_of(part.begin(), part.begin() + static_cast<std::ptrdiff_t>(cut), IsTrimChar))
          part.remove_prefix(cut);
        value += "\r\n";
        if (const size_t end = part.find(kEndValueMark); end != npos) {
          value.append(part.substr(0, end));
          break;
        }
        value.append(part.substr(0, TrimmedRightLength(part)));
      }
    }
  }
  lastLine_ = line;
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
