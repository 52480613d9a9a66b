#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "gaeb/file_read.h"

enum TTokenKind : int { tkBegin = 0, tkEnd = 1, tkEof = 2, tkField = 3 };

class TokenReadAhead;

// Cuts the lines of a GAEB 2000 file into tokens, by what a line begins with
// (after blanks):
//   "#begin[NAME]"          begin of an element,
//   "#end[NAME]..."         end of an element (counters after "]" ignored),
//   "[KEY]value[end]"       a field, the value possibly running over several
//                           lines up to the first "[end]"; markers inside the
//                           value are text,
// skipping comment lines (beginning with "##"), blank lines and lines without
// "]". A line that cannot be what it seems raises std::runtime_error naming
// it, so that nothing on it is lost without a word: a NUL byte, a second field
// or marker behind the first, a marker inside a line that is no field. (A
// value that lacks its "[end]" takes the lines up to the next "[end]" for
// text; the blocks it swallows leave the element tree unbalanced, which
// the elements refuse.)
class KsFileReadGaeb00 : public TFileRead {
 public:
  // Raises as TFileRead does, and when the first megabyte shows neither a
  // "#begin[" nor the start of an XML document.
  KsFileReadGaeb00(const std::string& fileName, int blockSize);
  ~KsFileReadGaeb00() override;

  // Begin and end: name is the trimmed element name, value empty. Field: name
  // is the trimmed key, value the raw text between "]" and "[end]", with inner
  // line breaks as CR LF, trailing blanks of each line and the writer's
  // indentation of continuation lines removed. End of file (also inside a
  // field value): tkEof with empty name and value. A value longer than
  // kMaxLineLength raises std::runtime_error naming its key and line.
  void ReadToken(std::string& name, TTokenKind& kind, std::string& value);
  // The same, the value handed out where it lies, valid until the next read:
  // a value that is kept is copied once, into its element.
  std::string_view ReadTokenView(std::string& name, TTokenKind& kind);

  // Lines consumed by ReadToken so far (kept over Rewind).
  int64_t LineCount() const { return lineCount_; }
  // The line of the file the last token began on (the key line of a field
  // running over several lines), as TFileRead::LineNumber counts; for messages.
  int64_t TokenLine() const { return tokenLine_; }
  // The last line consumed for a begin, end or field token.
  std::string_view LastLine() const { return lastLine_; }
  // The kind of the last token, and for an end its name: what ended the
  // block that was read.
  TTokenKind LastKind() const { return lastKind_; }
  const std::string& LastEndName() const { return lastEndName_; }

  // Raises the message of a file that ends inside the block `name`.
  [[noreturn]] void RefuseEndOfFile(const std::string& name) const;

  // A buffer for the name of a token, one for the whole file, so that the
  // elements need no buffer of their own (they use it in turn, never at once).
  std::string& NameBuffer() { return nameBuffer_; }

  // From here on the file is cut into tokens on a thread of its own, ahead
  // of ReadToken, with the OEM conversion as it is set now; ReadToken and
  // the counters answer as before. Any other read (ReadLine, Peek, ReadRest,
  // Rewind) first ends reading ahead. Without a thread, ReadToken cuts the
  // tokens itself as before.
  void ReadAhead();
  // Ends reading ahead: the reader goes on by itself from the place
  // ReadToken has reached.
  void StopReadingAhead();

 protected:
  void BufferMoves() override;

 private:
  // A reader to be given the source of another (see ReadAhead).
  KsFileReadGaeb00() = default;
  // ReadToken without reading ahead.
  void CutToken(std::string& name, TTokenKind& kind, std::string& value);
  // Refuses a line holding a NUL byte.
  void CheckLine(std::string_view line) const;
  // Refuses what follows a token on its line when it holds a field or marker.
  void CheckRest(std::string_view rest, std::string_view token) const;
  [[noreturn]] void Refuse(int64_t line, const std::string& reason) const;

  std::unique_ptr<TokenReadAhead> ahead_;
  std::string nameBuffer_;
  std::string valueBuffer_;  // the value ReadTokenView hands out when no thread reads ahead
  // In the read buffer until that moves, then in lastLineCopy_.
  std::string_view lastLine_;
  std::string lastLineCopy_;
  int64_t lineCount_ = 0;
  int64_t tokenLine_ = 0;
  TTokenKind lastKind_ = tkEof;
  std::string lastEndName_;
};
