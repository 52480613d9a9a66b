#include "xml/utf8_decode.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct DecodeCase {
  std::string utf8;
  std::string cp1252;
};

TEST(Utf8Decode, SequencesBecomeWindows1252) {
  // clang-format off
  const DecodeCase cases[] = {
      {"plain ASCII text, long enough for the word-wise path", "plain ASCII text, long enough for the word-wise path"},
      {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F", "\xE4\xF6\xFC\xC4\xD6\xDC\xDF"},
      {"\xE2\x82\xAC \xE2\x80\x93 \xE2\x80\x9E\xE2\x80\x9C", "\x80 \x96 \x84\x93"},  // euro, en dash, quotes
      {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "\x81\x8D\x8F\x90\x9D"},  // the five unassigned
      {"\xC2\x80", "\xBF"},                   // U+0080 has no Windows-1252 byte
      {"\xE4\xB8\xAD", "\xBF"},               // a CJK character
      {"\xF0\x9F\x98\x80x", "\xBFx"},         // four bytes
      {"\xF8\x88\x80\x80\x80y", "\xBFy"},     // five bytes
      {"\xC3", "\xBF"},                       // truncated at the end
      {"\xE2\x82x", "\xBFx"},                 // truncated before a letter
      {"\x80\xBFz", "\xBF\xBFz"},             // stray continuation bytes
      {"\xC0\xAF\xE0\x80\xAF", "\xBF\xBF"},   // overlong forms
      {"\xFE\xFF", "\xBF\xBF"},
      {"a\xC3\xA4" "b\xC3\xA4" "c", "a\xE4" "b\xE4" "c"},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::string out = ">";
    AppendUtf8AsCp1252(c.utf8, out);
    EXPECT_EQ(out, ">" + c.cp1252) << c.utf8;
  }
}

}  // namespace
