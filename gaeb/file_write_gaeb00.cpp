#include "gaeb/file_write_gaeb00.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ostream>

#include "core/eobj.h"

namespace {

// Lines collect up to this size before the stream sees them: few, large
// writes keep the stream's own per-call cost out of the way.
constexpr size_t kChunkSize = size_t{1} << 20;

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kEndValueMark = "[end]";

// A line holding one of these is no field line to the reader.
bool HoldsLineMarker(std::string_view line) {
  const size_t hash = line.find('#');
  if (hash == std::string_view::npos) return false;
  const std::string_view rest = line.substr(hash);
  return rest.find("##") != std::string_view::npos ||
         rest.find("#begin[") != std::string_view::npos ||
         rest.find("#end[") != std::string_view::npos;
}

// errno is read right after the failed call; streams without a system error
// (string streams) leave it at 0.
[[noreturn]] void RaiseWriteError(uint64_t bytesAccepted, int error) {
  std::string text =
      "Nach " + std::to_string(bytesAccepted) + " Bytes nahm die Datei keine Daten mehr an";
  if (error != 0) text += " (" + std::string(std::strerror(error)) + ")";
  throw EObj("KsFileWriteGaeb00", text, "Flush");
}

}  // namespace

UnwritableValue::UnwritableValue(std::string key, std::string reason, std::string element)
    : std::runtime_error("Das Feld " + key + (element.empty() ? "" : " im Element " + element) +
                         " " + reason),
      key_(std::move(key)),
      reason_(std::move(reason)),
      element_(std::move(element)) {}

UnwritableValue UnwritableValue::InElement(const std::string& element) const {
  return element_.empty() ? UnwritableValue(key_, reason_, element) : *this;
}

KsFileWriteGaeb00::KsFileWriteGaeb00(std::ostream& out) : out_(out) {
  buffer_.reserve(kChunkSize + kChunkSize / 4);
}

KsFileWriteGaeb00::~KsFileWriteGaeb00() {
  if (buffer_.empty() || !out_) return;
  try {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  } catch (const std::exception&) {
    // A stream set to raise must not end the program while another error unwinds.
  }
}

void KsFileWriteGaeb00::WriteBegin(std::string_view name) {
  Indent();
  buffer_ += "#begin[";
  buffer_ += name;
  buffer_ += ']';
  EndLine();
  ++level_;
}

void KsFileWriteGaeb00::WriteEnd(std::string_view name) {
  --level_;
  ++elementCount_;
  Indent();
  buffer_ += "#end[";
  buffer_ += name;
  buffer_ += ']';
  AppendNumber(elementCount_);
  buffer_ += '|';
  AppendNumber(fieldCount_);
  fieldCount_ = 0;
  EndLine();
  if (level_ == 0) Flush();
}

void KsFileWriteGaeb00::WriteField(std::string_view key, std::string_view value) {
  if (value.empty()) return;
  if (value.find(kEndValueMark) != std::string_view::npos)
    throw UnwritableValue(std::string(key),
                          "enth\xE4lt \"[end]\", womit ein Wert in der Datei endet; so "
                          "gespeichert, k\xE4me er gek\xFCrzt zur\xFC"
                          "ck. Bitte entfernen Sie \"[end]\".");
  ++fieldCount_;
  Indent();
  buffer_ += '[';
  buffer_ += key;
  buffer_ += ']';
  if (HoldsLineMarker(value.substr(0, value.find('\n')))) {
    buffer_ += kLineEnd;
    Indent();
  }
  AppendValue(value);
  buffer_ += "[end]";
  EndLine();
}

void KsFileWriteGaeb00::Flush() {
  Drain();
  bool failed = false;
  errno = 0;
  try {
    failed = !out_.flush();
  } catch (const std::exception&) {
    failed = true;
  }
  if (failed) RaiseWriteError(written_, errno);
}

void KsFileWriteGaeb00::Indent() {
  if (level_ > 0) buffer_.append(static_cast<size_t>(level_), ' ');
}

// Continuation lines carry the indentation of their key line, which the
// reader removes again. The reader ends a line at every LF and every lone
// CR, so such a character in a value is written as the line break it will
// read as, indented alike.
void KsFileWriteGaeb00::AppendValue(std::string_view value) {
  size_t start = 0;
  for (size_t end = value.find_first_of("\r\n"); end != std::string_view::npos;
       end = value.find_first_of("\r\n", start)) {
    buffer_.append(value.data() + start, end - start);
    buffer_ += kLineEnd;
    Indent();
    start = end + (value.substr(end, 2) == kLineEnd ? 2 : 1);
  }
  buffer_.append(value.data() + start, value.size() - start);
}

void KsFileWriteGaeb00::AppendNumber(int32_t n) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, n);
  buffer_.append(digits, result.ptr);
}

void KsFileWriteGaeb00::EndLine() {
  buffer_ += kLineEnd;
  if (buffer_.size() >= kChunkSize) Drain();
}

void KsFileWriteGaeb00::Drain() {
  if (buffer_.empty()) return;
  errno = 0;
  bool failed = !out_;
  try {
    if (!failed) failed = !out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  } catch (const std::exception&) {
    failed = true;  // a stream set to raise fails alike
  }
  if (failed) RaiseWriteError(written_, errno);
  written_ += buffer_.size();
  buffer_.clear();
}
