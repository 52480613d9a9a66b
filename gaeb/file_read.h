#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

// Buffered line reader of a GAEB file with optional OEM (code page 850) to
// Windows-1252 conversion. The file is read in blocks of BlockSize bytes into
// a fixed buffer, as many as fit behind the bytes not yet handed out; a line
// ends at CR LF, at LF or at a CR alone, so files with CR LF and with LF line
// ends read alike and a stray CR ends its line instead of hiding the rest of
// it inside. A last line without line end is still a line.
//
// Input is bounded: a line longer than kMaxLineLength ends the read with an
// error instead of growing without end (a device such as /dev/zero has no
// line ends). Standard input ("-"), pipes and devices cannot be rewound, so
// they are read into memory once, up to kMaxMemoryInput bytes.
class TFileRead {
 public:
  static constexpr int kBufferSize = 65535;
  static constexpr int kMaxBlockSize = 65000;
  // The stream's buffer: the file is read from the system in pieces of this size.
  static constexpr size_t kStreamBufferSize = size_t{256} << 10;
  static constexpr size_t kMaxLineLength = size_t{16} << 20;
  static constexpr size_t kMaxMemoryInput = size_t{1} << 30;
  static constexpr const char* kStandardInput = "-";
  // What the first kHeadSize bytes of a file must show to be read on: raises
  // std::runtime_error when they show that the file is not of the kind
  // expected. A shorter file is left to the reading itself.
  using HeadCheck = void (*)(std::string_view head, const std::string& displayName);
  static constexpr size_t kHeadSize = size_t{1} << 20;

  // Opens the file read-only; raises std::runtime_error with a German message
  // naming the file and the reason when it cannot be opened, is a directory
  // or is too large to be held in memory. A block size of 0, below 0 or above
  // kMaxBlockSize means kMaxBlockSize. A head check runs as soon as the head
  // is read: a device or pipe is not read further when it fails.
  TFileRead(const std::string& fileName, int blockSize, HeadCheck check = nullptr);
  virtual ~TFileRead();
  TFileRead(const TFileRead&) = delete;
  TFileRead& operator=(const TFileRead&) = delete;

  // The next line without its line end; false when no byte is left. A read
  // error or a line longer than kMaxLineLength raises std::runtime_error, so
  // that a damaged file never passes for a shorter one.
  bool ReadLine(std::string& line);
  // The same without a copy: the line stays in the reader's buffer and is
  // valid until the next read, Rewind or ReadRest.
  bool ReadLine(std::string_view& line);
  // Moves the read position to a byte offset; on failure the reader keeps
  // its position and buffer and answers false.
  bool Rewind(int64_t offset);
  // The bytes the next read would hand out, as far as they are buffered (at
  // least one block, unless the file is shorter), without taking them:
  // enough to tell the file's format before reading it.
  std::string_view Peek();
  // The next bytes from the read position on, raw, as many as are buffered
  // (a buffer's worth is read when none are); empty at the end. They stay
  // valid until the next read, Rewind or ReadRest.
  std::string_view ReadBlock();
  // Every byte from the read position to the end, raw (no OEM conversion, no
  // line limit), for formats that are not read line by line.
  void ReadRest(std::string& bytes);

  // Convert every line from OEM to Windows-1252; on until the caller learns
  // the file's character set.
  bool ConvertOem = true;
  // Convert every line from UTF-8 to Windows-1252 instead (ConvertOem is then
  // not looked at); characters Windows-1252 lacks become '?' and are counted.
  bool ConvertUtf8 = false;
  // Characters that became '?' since opening or the last Rewind.
  int64_t ReplacedCharacters() const { return replaced_; }

  const std::string& FileName() const { return fileName_; }
  int64_t FileSize() const { return fileSize_; }
  // Bytes handed out since opening or the last Rewind (progress display).
  int64_t FilePosition() const { return filePosition_; }
  int BlockSize() const { return blockSize_; }
  // Number of the line ReadLine handed out last, counted from the start of
  // the file (from the offset of the last Rewind), for messages.
  int64_t LineNumber() const { return lineNumber_; }
  // The file name as Windows-1252 text for messages; "-" is standard input.
  std::string DisplayName() const;

 protected:
  // A reader without a source of its own, to be given one with SwapSource.
  TFileRead();
  // Exchanges what is read (the open file or the bytes held in memory, with
  // what is buffered of it) with another reader. Name, size, block size,
  // position and line number stay with each reader.
  void SwapSource(TFileRead& other) noexcept;
  // Takes the place of a reader that reads on from the same source: the
  // position after the bytes it handed out and the number of its last line.
  void SetPlace(int64_t filePosition, int64_t lineNumber, int64_t replaced);
  // Name, size, block size and conversions as another reader has them.
  void TakeSettings(const TFileRead& other);

  // The buffer is about to be refilled, moved or dropped: a reader that
  // still points into the lines handed out copies them now (and one that
  // reads ahead of them gives the source back first).
  virtual void BufferMoves() {}

 private:
  // Moves the bytes not yet handed out to the front of the buffer and reads
  // whole blocks behind them, as many as fit; false when none could be read.
  bool Refill();
  // A line longer than the buffer, gathered in longLine_.
  void ReadLongLine(std::string_view& line);
  // Reads what cannot be rewound into memory_; file_ is closed afterwards.
  void ReadIntoMemory(std::FILE* source, HeadCheck check);
  // The line's text in Windows-1252, in place; its new length.
  size_t ConvertText(char* text, size_t length);

  std::unique_ptr<char[]> buffer_;
  int32_t bufferedCount_ = 0;
  int32_t bufferPosition_ = 0;  // 0-based index of the next byte to hand out
  int64_t fileSize_ = 0;
  int64_t filePosition_ = 0;
  int64_t lineNumber_ = 0;
  int64_t replaced_ = 0;
  std::FILE* file_ = nullptr;             // null when the input is held in memory_
  std::unique_ptr<char[]> streamBuffer_;  // file_'s own buffer, freed after it is closed
  std::string longLine_;
  std::string memory_;
  size_t memoryPosition_ = 0;
  std::string fileName_;
  int blockSize_ = kMaxBlockSize;
};
