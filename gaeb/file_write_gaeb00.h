#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// A value the keyword format cannot carry, so that it would read back
// differently. The message names the field and, once the element writing it
// has added itself, the element: "Das Feld NAME1 im Element ADRESSE ...".
class UnwritableValue : public std::runtime_error {
 public:
  UnwritableValue(std::string key, std::string reason, std::string element = std::string());
  // The same error with the element named, unless one is named already.
  UnwritableValue InElement(const std::string& element) const;
  const std::string& Element() const { return element_; }

 private:
  std::string key_, reason_, element_;
};

// The file being written is a price submission: it says so (VERGABE DP 84)
// and when it was made (GAEBINFO DATUM and UHRZEIT), whatever the tree read
// from the tender holds there; the tree itself keeps the tender's values.
struct SubmissionStamp {
  std::string Date;  // "02.06.2025"
  std::string Time;  // "14:05"
};

// Output of the GAEB 2000 keyword format. Lines end with CR LF; element lines
// are indented by the nesting level, fields by one more. Writes to a stream
// owned by the caller, which opens and closes the file (so a save can go to a
// temporary file first). Lines are collected in a buffer and handed to the
// stream in chunks of 1 MB; a stream that fails raises EObj with the reason
// when it is handed a chunk or flushed. The stream is not to be touched
// until Flush or the end of the writer.
class KsFileWriteGaeb00 {
 public:
  explicit KsFileWriteGaeb00(std::ostream& out);
  KsFileWriteGaeb00(const KsFileWriteGaeb00&) = delete;
  KsFileWriteGaeb00& operator=(const KsFileWriteGaeb00&) = delete;
  // Hands what is still buffered to the stream without raising: the part
  // written before an error stays in the file.
  ~KsFileWriteGaeb00();

  // blanks(level) "#begin[" name "]"; then one level deeper.
  void WriteBegin(std::string_view name);
  // One level up; blanks(level) "#end[" name "]" elements "|" fields, where
  // elements counts this line too and fields the field lines since the last
  // "#end[" line. Closing the outermost element flushes the stream.
  void WriteEnd(std::string_view name);
  // blanks(level) "[" key "]" value "[end]"; every CR LF inside the value is
  // followed by blanks(level). An empty value writes nothing. A value whose
  // first line holds "##", "#begin[" or "#end[" starts on the next line, where
  // the reader takes any text, so the key line is not read as a comment or
  // block line. A value holding "[end]" raises UnwritableValue before
  // anything of it is written.
  void WriteField(std::string_view key, std::string_view value);
  // Hands the buffer to the stream and flushes it.
  void Flush();

  // What follows is written as a price submission; before it, and without
  // it, the tree is written as it stands.
  void MarkAsSubmission(SubmissionStamp stamp) { submission_ = std::move(stamp); }
  const std::optional<SubmissionStamp>& Submission() const { return submission_; }

  int32_t Level() const { return level_; }
  int32_t ElementCount() const { return elementCount_; }
  int32_t FieldCount() const { return fieldCount_; }
  // Bytes handed to the stream or waiting in the buffer.
  uint64_t BytesWritten() const { return written_ + buffer_.size(); }

 private:
  void Indent();
  void AppendValue(std::string_view value);
  void AppendNumber(int32_t n);
  void EndLine();
  // Hands the buffer to the stream; raises when the stream does not take it.
  void Drain();

  std::ostream& out_;
  std::string buffer_;
  uint64_t written_ = 0;
  int32_t level_ = 0;
  int32_t elementCount_ = 0;
  int32_t fieldCount_ = 0;
  std::optional<SubmissionStamp> submission_;
};
