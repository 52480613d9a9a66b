#pragma once

#include <string>
#include <vector>

#include "document/text_device.h"

// A text device for tests: records every line on paper with its page and
// font size. A page holds linesPerPage lines; a written line with embedded
// CR LF takes one line per part, as on a printer.
class RecordingTextDevice : public TextDevice {
 public:
  struct Line {
    int page;
    int fontSize;
    std::string text;
  };

  explicit RecordingTextDevice(int pageChars = 100, int linesPerPage = 1000)
      : pageChars_(pageChars), linesPerPage_(linesPerPage) {}

  void SetFontSize(int points) override {
    fontSize = points;
    fontSizes.push_back(points);
  }
  int PageChars() const override { return pageChars_; }
  int PageNumber() const override { return onPage_ >= linesPerPage_ ? page_ + 1 : page_; }
  void WriteLine(const std::string& text) override {
    ++writeCalls;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
      Put(text.substr(start, end - start));
    Put(text.substr(start));
  }
  void Close() override { ++closeCount; }

  // The lines of one page, in order.
  std::vector<std::string> Page(int page) const {
    std::vector<std::string> result;
    for (const Line& line : lines)
      if (line.page == page) result.push_back(line.text);
    return result;
  }
  // Every line followed by "\n"; a form feed before each page after the first.
  std::string Text() const {
    std::string text;
    int page = 1;
    for (const Line& line : lines) {
      if (line.page != page) {
        text += '\f';
        page = line.page;
      }
      text += line.text + "\n";
    }
    return text;
  }

  std::vector<Line> lines;
  std::vector<int> fontSizes;
  int fontSize = 0;
  int writeCalls = 0;
  int closeCount = 0;

 private:
  void Put(const std::string& text) {
    if (onPage_ >= linesPerPage_) {
      ++page_;
      onPage_ = 0;
    }
    lines.push_back({page_, fontSize, text});
    ++onPage_;
  }

  int pageChars_;
  int linesPerPage_;
  int page_ = 1;
  int onPage_ = 0;
};
