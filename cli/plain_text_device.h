#pragma once

#include <iosfwd>
#include <string>

#include "document/text_device.h"

// The offer print as a plain text file: UTF-8 lines of a fixed width in
// characters, a form feed before every page after the first. Control
// characters in the texts are written as \xNN, as info shows them (each
// such one makes its line three characters longer). A page holds a
// fixed number of lines; a line with embedded line breaks takes one line per
// part.
class PlainTextDevice final : public TextDevice {
 public:
  static constexpr int kDefaultLinesPerPage = 66;

  PlainTextDevice(std::ostream& out, int pageChars, int linesPerPage = kDefaultLinesPerPage);

  // Plain text has one font; the size changes nothing.
  void SetFontSize(int) override {}
  int PageChars() const override { return pageChars_; }
  int PageNumber() const override;
  void WriteLine(const std::string& text) override;
  void Close() override;

 private:
  void WritePhysicalLine(const std::string& text);

  std::ostream& out_;
  const int pageChars_;
  const int linesPerPage_;
  int page_ = 1;
  int linesOnPage_ = 0;
};
