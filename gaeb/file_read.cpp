#include "gaeb/file_read.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "util/codec.h"

namespace {

std::string ReasonText(int err) {
  switch (err) {
    case ENOENT:
      return "Die Datei existiert nicht.";
    case EACCES:
    case EPERM:
      return "Zugriff verweigert.";
    case EISDIR:
      return "Der Name bezeichnet ein Verzeichnis.";
    case ENOTDIR:
      return "Ein Teil des Pfades ist kein Verzeichnis.";
    case ENAMETOOLONG:
      return "Der Dateiname ist zu lang.";
    case EMFILE:
    case ENFILE:
      return "Zu viele ge\xF6"
             "ffnete Dateien.";
    default:
      return std::strerror(err);
  }
}

[[noreturn]] void ThrowOpenError(const std::string& name, int err) {
  throw std::runtime_error("Die Datei " + name +
                           " kann nicht ge\xF6"
                           "ffnet werden. " +
                           ReasonText(err));
}

[[noreturn]] void ThrowReadError(const std::string& name, int err) {
  throw std::runtime_error("Die Datei " + name + " kann nicht gelesen werden. " + ReasonText(err));
}

[[noreturn]] void ThrowLineTooLong(const std::string& name, int64_t lineNumber) {
  throw std::runtime_error("Zeile " + std::to_string(lineNumber) + " der Datei " + name +
                           " ist l\xE4nger als " + std::to_string(TFileRead::kMaxLineLength >> 20) +
                           " MB.");
}

// OEM to Windows-1252 in place. The conversion works on zero-terminated
// text: it ends at the first NUL.
void ConvertLine(char* text, size_t length) {
  const void* nul = std::memchr(text, '\0', length);
  Oem850ToCp1252(text, nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : length);
}

}  // namespace

TFileRead::TFileRead(const std::string& fileName, int blockSize, HeadCheck check)
    : buffer_(std::make_unique<char[]>(kBufferSize)), fileName_(fileName) {
  blockSize_ = (blockSize <= 0 || blockSize > kMaxBlockSize) ? kMaxBlockSize : blockSize;
  if (fileName == kStandardInput) {
    ReadIntoMemory(stdin, check);
    return;
  }
  streamBuffer_ = std::make_unique<char[]>(kStreamBufferSize);
  std::FILE* file = std::fopen(fileName.c_str(), "rb");
  if (!file) ThrowOpenError(DisplayName(), errno);
  struct stat info;
  int err = 0;
  if (fstat(fileno(file), &info) != 0)
    err = errno;
  else if (S_ISDIR(info.st_mode))
    err = EISDIR;
  if (err != 0) {
    std::fclose(file);
    ThrowOpenError(DisplayName(), err);
  }
  if (!S_ISREG(info.st_mode)) {
    try {
      ReadIntoMemory(file, check);
    } catch (...) {
      std::fclose(file);
      throw;
    }
    std::fclose(file);
    return;
  }
  if (check && static_cast<uint64_t>(info.st_size) >= kHeadSize) {
    std::string head(kHeadSize, '\0');
    const ssize_t n = pread(fileno(file), head.data(), kHeadSize, 0);
    if (n < 0) {
      err = errno;
      std::fclose(file);
      ThrowReadError(DisplayName(), err);
    }
    head.resize(static_cast<size_t>(n));
    try {
      check(head, DisplayName());
    } catch (...) {
      std::fclose(file);
      throw;
    }
  }
  file_ = file;
  fileSize_ = info.st_size;
  // Small blocks are served from the stream's own buffer, so a block size of
  // 1,024 costs a copy, not a system call. The buffer is given: without one
  // the C library keeps one of a disk block (4 KB) and asks the system
  // for every four blocks.
  std::setvbuf(file_, streamBuffer_.get(), _IOFBF, kStreamBufferSize);
}

TFileRead::TFileRead() : buffer_(std::make_unique<char[]>(kBufferSize)) {}

void TFileRead::SwapSource(TFileRead& other) noexcept {
  std::swap(buffer_, other.buffer_);
  std::swap(bufferedCount_, other.bufferedCount_);
  std::swap(bufferPosition_, other.bufferPosition_);
  std::swap(file_, other.file_);
  std::swap(streamBuffer_, other.streamBuffer_);
  std::swap(longLine_, other.longLine_);
  std::swap(memory_, other.memory_);
  std::swap(memoryPosition_, other.memoryPosition_);
}

void TFileRead::SetPlace(int64_t filePosition, int64_t lineNumber, int64_t replaced) {
  filePosition_ = filePosition;
  lineNumber_ = lineNumber;
  replaced_ = replaced;
}

void TFileRead::TakeSettings(const TFileRead& other) {
  fileName_ = other.fileName_;
  fileSize_ = other.fileSize_;
  blockSize_ = other.blockSize_;
  ConvertOem = other.ConvertOem;
  ConvertUtf8 = other.ConvertUtf8;
}

TFileRead::~TFileRead() {
  if (file_) std::fclose(file_);
}

std::string TFileRead::DisplayName() const {
  return fileName_ == kStandardInput ? std::string("- (Standardeingabe)") : Utf8ToCp1252(fileName_);
}

// Checks the line lengths while reading, so that an endless line (/dev/zero)
// fails after kMaxLineLength bytes, not after kMaxMemoryInput. A CR before
// the LF is not counted; ReadLine checks exactly.
void TFileRead::ReadIntoMemory(std::FILE* source, HeadCheck check) {
  size_t sinceLineEnd = 0;
  int64_t lineNumber = 1;
  for (;;) {
    const size_t n = std::fread(buffer_.get(), 1, kBufferSize, source);
    if (n == 0) {
      if (std::ferror(source)) ThrowReadError(DisplayName(), errno);
      break;
    }
    if (memory_.size() + n > kMaxMemoryInput)
      throw std::runtime_error("Die Datei " + DisplayName() +
                               " ist gr\xF6\xDF"
                               "er als " +
                               std::to_string(kMaxMemoryInput >> 20) + " MB.");
    const char* p = buffer_.get();
    const char* const end = p + n;
    while (const char* lf = static_cast<const char*>(std::memchr(p, '\n', end - p))) {
      if (sinceLineEnd + static_cast<size_t>(lf - p) > kMaxLineLength + 1)
        ThrowLineTooLong(DisplayName(), lineNumber);
      sinceLineEnd = 0;
      ++lineNumber;
      p = lf + 1;
    }
    sinceLineEnd += static_cast<size_t>(end - p);
    if (sinceLineEnd > kMaxLineLength + 1) ThrowLineTooLong(DisplayName(), lineNumber);
    const bool headComplete = memory_.size() < kHeadSize && memory_.size() + n >= kHeadSize;
    memory_.append(buffer_.get(), n);
    if (check && headComplete) check(std::string_view(memory_).substr(0, kHeadSize), DisplayName());
  }
  fileSize_ = static_cast<int64_t>(memory_.size());
}

bool TFileRead::Refill() {
  BufferMoves();
  const size_t kept = static_cast<size_t>(bufferedCount_ - bufferPosition_);
  if (kept > 0 && bufferPosition_ > 0)
    std::memmove(buffer_.get(), buffer_.get() + bufferPosition_, kept);
  bufferPosition_ = 0;
  bufferedCount_ = static_cast<int32_t>(kept);
  const size_t block = static_cast<size_t>(blockSize_);
  const size_t room = (kBufferSize - kept) / block * block;
  if (room == 0) return false;
  size_t n;
  if (file_) {
    n = std::fread(buffer_.get() + kept, 1, room, file_);
    if (n < room && std::ferror(file_)) ThrowReadError(DisplayName(), errno);
  } else {
    n = std::min(room, memory_.size() - memoryPosition_);
    std::memcpy(buffer_.get() + kept, memory_.data() + memoryPosition_, n);
    memoryPosition_ += n;
  }
  bufferedCount_ += static_cast<int32_t>(n);
  return n > 0;
}

bool TFileRead::ReadLine(std::string& line) {
  std::string_view view;
  if (!ReadLine(view)) {
    line.clear();
    return false;
  }
  line.assign(view);
  return true;
}

namespace {

// The first CR or LF in [start, start + n), null when there is none.
const char* FindLineEnd(const char* start, size_t n) {
  const char* lf = static_cast<const char*>(std::memchr(start, '\n', n));
  const char* cr = static_cast<const char*>(std::memchr(start, '\r', lf ? lf - start : n));
  return cr ? cr : lf;
}

}  // namespace

bool TFileRead::ReadLine(std::string_view& line) {
  if (bufferPosition_ >= bufferedCount_ && !Refill()) return false;
  const char* start;
  const char* end;
  size_t available;
  for (;;) {
    start = buffer_.get() + bufferPosition_;
    available = static_cast<size_t>(bufferedCount_ - bufferPosition_);
    end = FindLineEnd(start, available);
    // A CR as the last byte buffered may be the first half of a CR LF.
    if (end && (*end == '\n' || end + 1 < start + available)) break;
    if (available > kBufferSize - static_cast<size_t>(blockSize_)) {
      ReadLongLine(line);
      return true;
    }
    if (!Refill()) {
      start = buffer_.get();
      available = static_cast<size_t>(bufferedCount_);
      end = FindLineEnd(start, available);
      break;
    }
  }
  // Without a line end, the rest of the file is the last line.
  const size_t length = end ? static_cast<size_t>(end - start) : available;
  size_t taken = end ? length + 1 : available;
  if (end && *end == '\r' && taken < available && start[taken] == '\n') ++taken;
  bufferPosition_ += static_cast<int32_t>(taken);
  filePosition_ += static_cast<int64_t>(taken);
  ++lineNumber_;
  char* const text = buffer_.get() + (start - buffer_.get());
  line = std::string_view(text, ConvertText(text, length));
  return true;
}

void TFileRead::ReadLongLine(std::string_view& line) {
  BufferMoves();
  longLine_.clear();
  bool ended = false;  // by a CR that may still be followed by its LF
  for (;;) {
    const char* start = buffer_.get() + bufferPosition_;
    const size_t available = static_cast<size_t>(bufferedCount_ - bufferPosition_);
    if (ended) {
      if (available > 0 && *start == '\n') {
        ++bufferPosition_;
        ++filePosition_;
      }
      break;
    }
    const char* end = FindLineEnd(start, available);
    const size_t length = end ? static_cast<size_t>(end - start) : available;
    longLine_.append(start, length);
    size_t taken = end ? length + 1 : available;
    if (end && *end == '\r' && taken < available && start[taken] == '\n') ++taken;
    bufferPosition_ += static_cast<int32_t>(taken);
    filePosition_ += static_cast<int64_t>(taken);
    if (longLine_.size() > kMaxLineLength) ThrowLineTooLong(DisplayName(), lineNumber_ + 1);
    if (end) {
      ended = *end == '\r' && taken == length + 1 && taken == available;
      if (!ended) break;
    }
    if (!Refill()) break;
  }
  ++lineNumber_;
  longLine_.resize(ConvertText(longLine_.data(), longLine_.size()));
  line = longLine_;
}

size_t TFileRead::ConvertText(char* text, size_t length) {
  if (ConvertUtf8) {
    size_t replaced = 0;
    const std::string converted = Utf8ToCp1252(std::string_view(text, length), replaced);
    replaced_ += static_cast<int64_t>(replaced);
    // Never longer: every character takes at least one byte in UTF-8.
    std::memcpy(text, converted.data(), converted.size());
    return converted.size();
  }
  if (ConvertOem) ConvertLine(text, length);
  return length;
}

bool TFileRead::Rewind(int64_t offset) {
  BufferMoves();
  if (!file_) {
    if (offset < 0 || static_cast<uint64_t>(offset) > memory_.size()) return false;
    memoryPosition_ = static_cast<size_t>(offset);
  } else {
    const off_t before = ftello(file_);
    if (offset < 0 || fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) {
      // Back to where the stream stood, so the bytes still buffered stay in
      // step with the file.
      if (before >= 0) fseeko(file_, before, SEEK_SET);
      return false;
    }
  }
  filePosition_ = offset;
  lineNumber_ = 0;
  replaced_ = 0;
  bufferedCount_ = 0;
  bufferPosition_ = 0;
  return true;
}

std::string_view TFileRead::Peek() {
  if (bufferPosition_ >= bufferedCount_) Refill();
  return {buffer_.get() + bufferPosition_, static_cast<size_t>(bufferedCount_ - bufferPosition_)};
}

std::string_view TFileRead::ReadBlock() {
  if (bufferPosition_ >= bufferedCount_ && !Refill()) return {};
  const std::string_view block(buffer_.get() + bufferPosition_,
                               static_cast<size_t>(bufferedCount_ - bufferPosition_));
  bufferPosition_ = bufferedCount_;
  filePosition_ += static_cast<int64_t>(block.size());
  return block;
}

void TFileRead::ReadRest(std::string& bytes) {
  BufferMoves();
  bytes.assign(buffer_.get() + bufferPosition_,
               static_cast<size_t>(bufferedCount_ - bufferPosition_));
  bufferedCount_ = bufferPosition_ = 0;
  if (file_) {
    if (fileSize_ > filePosition_) bytes.reserve(static_cast<size_t>(fileSize_ - filePosition_));
    while (const size_t n = std::fread(buffer_.get(), 1, kBufferSize, file_))
      bytes.append(buffer_.get(), n);
    if (std::ferror(file_)) ThrowReadError(DisplayName(), errno);
  } else {
    bytes.append(memory_, memoryPosition_);
    memoryPosition_ = memory_.size();
  }
  filePosition_ += static_cast<int64_t>(bytes.size());
}
