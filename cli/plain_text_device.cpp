#include "cli/plain_text_device.h"

#include <ostream>

#include "cli/cli_support.h"

PlainTextDevice::PlainTextDevice(std::ostream& out, int pageChars, int linesPerPage)
    : out_(out), pageChars_(pageChars), linesPerPage_(linesPerPage > 0 ? linesPerPage : 1) {}

int PlainTextDevice::PageNumber() const {
  return linesOnPage_ >= linesPerPage_ ? page_ + 1 : page_;
}

void PlainTextDevice::WriteLine(const std::string& text) {
  // CR LF, a lone CR and a lone LF all start a new line on paper.
  size_t start = 0;
  for (;;) {
    const size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) break;
    WritePhysicalLine(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  WritePhysicalLine(text.substr(start));
}

void PlainTextDevice::WritePhysicalLine(const std::string& text) {
  if (linesOnPage_ >= linesPerPage_) {
    out_ << '\f';
    ++page_;
    linesOnPage_ = 0;
  }
  // Control characters of a hostile tender are shown, not obeyed, as by info.
  out_ << TerminalText(text) << '\n';
  ++linesOnPage_;
}

void PlainTextDevice::Close() { out_.flush(); }
