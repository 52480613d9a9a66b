#include "gaeb/file_read.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

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

[[noreturn]] void ThrowOpenError(const std::string& fileName, int err) {
  throw std::runtime_error("Die Datei " + Utf8ToCp1252(fileName) +
                           " kann nicht ge\xF6"
                           "ffnet werden. " +
                           ReasonText(err));
}

}  // namespace

TFileRead::TFileRead(const std::string& fileName, int blockSize)
    : buffer_(std::make_unique<char[]>(kBufferSize)), fileName_(fileName) {
  file_ = std::fopen(fileName.c_str(), "rb");
  if (!file_) ThrowOpenError(fileName, errno);
  struct stat info;
  int err = 0;
  if (fstat(fileno(file_), &info) != 0)
    err = errno;
  else if (S_ISDIR(info.st_mode))
    err = EISDIR;
  if (err != 0) {
    std::fclose(file_);
    ThrowOpenError(fileName, err);
  }
  fileSize_ = info.st_size;
  // Small blocks are served from the stream's own buffer, so a block size of
  // 1,024 costs a copy, not a system call.
  std::setvbuf(file_, nullptr, _IOFBF, kBufferSize + 1);
  blockSize_ = (blockSize <= 0 || blockSize > kMaxBlockSize) ? kMaxBlockSize : blockSize;
}

TFileRead::~TFileRead() { std::fclose(file_); }

bool TFileRead::FillBuffer() {
  const size_t n = std::fread(buffer_.get(), 1, static_cast<size_t>(blockSize_), file_);
  if (n == 0 && std::ferror(file_)) throw std::runtime_error(std::strerror(errno));
  bufferedCount_ = static_cast<int32_t>(n);
  bufferPosition_ = 0;
  return n > 0;
}

bool TFileRead::ReadLine(std::string& line) {
  line.clear();
  try {
    if (bufferPosition_ >= bufferedCount_ && !FillBuffer()) return false;
    for (;;) {
      const char* start = buffer_.get() + bufferPosition_;
      const size_t available = static_cast<size_t>(bufferedCount_ - bufferPosition_);
      const char* lf = static_cast<const char*>(std::memchr(start, '\n', available));
      const size_t taken = lf ? static_cast<size_t>(lf - start) + 1 : available;
      line.append(start, taken);
      bufferPosition_ += static_cast<int32_t>(taken);
      filePosition_ += static_cast<int64_t>(taken);
      if (lf || !FillBuffer()) break;
    }
  } catch (const std::exception&) {
    return false;
  }
  if (!line.empty() && line.back() == '\n') {
    line.pop_back();
    if (!line.empty() && line.back() == '\r') line.pop_back();
  }
  if (ConvertOem) {
    // The conversion works on zero-terminated text: it ends at the first NUL.
    const void* nul = std::memchr(line.data(), '\0', line.size());
    const size_t length =
        nul ? static_cast<size_t>(static_cast<const char*>(nul) - line.data()) : line.size();
    Oem850ToCp1252(line.data(), length);
  }
  return true;
}

bool TFileRead::Rewind(int64_t offset) {
  const off_t before = ftello(file_);
  if (offset >= 0 && fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0) {
    filePosition_ = offset;
    bufferedCount_ = 0;
    bufferPosition_ = 0;
    return true;
  }
  // Back to where the stream stood, so the bytes still buffered stay in
  // step with the file.
  if (before >= 0) fseeko(file_, before, SEEK_SET);
  return false;
}
