#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// Buffered line reader of a GAEB file with optional OEM (code page 850) to
// Windows-1252 conversion. The file is read in blocks of BlockSize bytes into
// a fixed buffer; a line ends at LF, a CR right before the LF is dropped, so
// files with CR LF and with LF line ends read alike. A last line without line
// end is still a line; no line length limit applies.
class TFileRead {
 public:
  static constexpr int kBufferSize = 65535;
  static constexpr int kMaxBlockSize = 65000;

  // Opens the file read-only; raises std::runtime_error with the system's
  // reason when it cannot be opened. A block size of 0, below 0 or above
  // kMaxBlockSize means kMaxBlockSize.
  TFileRead(const std::string& fileName, int blockSize);
  virtual ~TFileRead();
  TFileRead(const TFileRead&) = delete;
  TFileRead& operator=(const TFileRead&) = delete;

  // The next line without its line end; false when no byte is left or the
  // file cannot be read.
  bool ReadLine(std::string& line);
  // Moves the read position to a byte offset; on failure the reader keeps
  // its position and buffer and answers false.
  bool Rewind(int64_t offset);

  // Convert every line from OEM to Windows-1252; on until the caller learns
  // the file's character set.
  bool ConvertOem = true;

  const std::string& FileName() const { return fileName_; }
  int64_t FileSize() const { return fileSize_; }
  // Bytes handed out since opening or the last Rewind (progress display).
  int64_t FilePosition() const { return filePosition_; }
  int BlockSize() const { return blockSize_; }

 private:
  bool FillBuffer();

  std::unique_ptr<char[]> buffer_;
  int32_t bufferedCount_ = 0;
  int32_t bufferPosition_ = 0;  // 0-based index of the next byte to hand out
  int64_t fileSize_ = 0;
  int64_t filePosition_ = 0;
  std::FILE* file_ = nullptr;
  std::string fileName_;
  int blockSize_ = kMaxBlockSize;
};
