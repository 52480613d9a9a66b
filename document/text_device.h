#pragma once

#include <string>

// A printer seen as a device for lines of monospaced text. The device breaks
// pages by itself when a page is full; a line may carry CR LF, which starts
// new lines on paper.
class TextDevice {
 public:
  virtual ~TextDevice() = default;
  // Font "COURIER NEW" (or the closest monospaced font) at this size, regular.
  virtual void SetFontSize(int points) = 0;
  // Printable page width in characters of the current font (width of "A").
  virtual int PageChars() const = 0;
  // Number (from 1) of the page on which the next line will be printed.
  virtual int PageNumber() const = 0;
  // Writes one line of Windows-1252 text.
  virtual void WriteLine(const std::string& text) = 0;
  // Ends the job.
  virtual void Close() = 0;
};
