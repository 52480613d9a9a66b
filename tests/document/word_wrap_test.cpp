#include "document/word_wrap.h"

#include <gtest/gtest.h>

namespace {

TEST(WordWrap, BreaksAtBlanksAndIndentsContinuations) {
  struct Case {
    const char* line;
    int width;
    int indent;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", 10, 0, {""}},
      {"passt genau", 11, 0, {"passt genau"}},
      {"eins zwei drei", 9, 0, {"eins zwei", "drei"}},
      {"eins  zwei   drei", 10, 0, {"eins  zwei", "drei"}},
      {"0010 N  Aushub Boden", 16, 8, {"0010 N  Aushub", "        Boden"}},
      // The prefix is never a place to break; a long word is split.
      {"0010 N  Bodenaushubarbeiten",
       16,
       8,
       {"0010 N  Bodenaus", "        hubarbei", "        ten"}},
      {"abcdefghij", 4, 0, {"abcd", "efgh", "ij"}},
      // Blanks at a break or at the end are dropped, not carried over.
      {"eins      ", 6, 2, {"eins"}},
      {"eins zwei ", 5, 1, {"eins", " zwei"}},
      // An indentation of more than half the line is reduced to half.
      {"aa bb cc dd ee", 8, 6, {"aa bb cc", "    dd", "    ee"}},
  };
  for (const Case& c : cases) EXPECT_EQ(WrapLine(c.line, c.width, c.indent), c.lines) << c.line;
}

TEST(WordWrap, NoLineIsLongerThanTheWidth) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(static_cast<size_t>(i % 17), 'w') + ' ';
  for (const int width : {5, 13, 40, 81})
    for (const std::string& line : WrapLine(text, width, 4))
      EXPECT_LE(line.size(), static_cast<size_t>(width)) << width;
}

// A text of megabytes on one line, as one pasted without its line breaks:
// every word comes out once, in order, and every line fits.
TEST(WordWrap, LongLineLosesNothing) {
  std::string text = "0010 N  ";
  for (size_t i = 0; text.size() < (2u << 20); ++i)
    text += std::string(1 + i * 7 % 23, static_cast<char>('a' + i % 26)) + ' ';
  text.pop_back();
  const std::vector<std::string> lines = WrapLine(text, 100, 8);
  std::string joined = lines.front();
  for (size_t i = 1; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i].compare(0, 8, "        "), 0) << i;
    joined += ' ' + lines[i].substr(8);
  }
  EXPECT_EQ(joined, text);
  for (const std::string& line : lines) EXPECT_LE(line.size(), 100u);
  EXPECT_GT(lines.size(), (2u << 20) / 100);
}

}  // namespace
