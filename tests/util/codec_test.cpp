#include "util/codec.h"

#include <gtest/gtest.h>

#include <set>

TEST(Codec, EveryCp1252ByteSurvivesUtf8RoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_GT(utf8.size(), all.size());
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(Codec, Cp1252ToUtf8KnowsTheWindowsRange) {
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");  // euro sign
  EXPECT_EQ(Cp1252ToUtf8("\x84"), "\xE2\x80\x9E");  // low double quote
  EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");      // Y with diaeresis
  EXPECT_EQ(Cp1252ToUtf8("\x81"), "\xC2\x81");      // unassigned: C1 control
  EXPECT_EQ(Cp1252ToUtf8("Gr\xF6\xDF"
                         "e"),
            "Gr\xC3\xB6\xC3\x9F"
            "e");
}

TEST(Codec, Utf8ToCp1252FallsBackPerCharacter) {
  const struct {
    std::string utf8;
    std::string expected;
  } cases[] = {
      {"\xE2\x82\xAC 5", "\x80 5"},
      {"\xE4\xB8\xAD", "?"},             // no Windows-1252 byte
      {"\xF0\x9F\x98\x80!", "?!"},       // four-byte sequence
      {"M\xE4rz", "M\xE4rz"},            // Latin-1 bytes stay
      {"\xC0\x80", "\xC0\x80"},          // overlong form is not UTF-8
      {"\xED\xA0\x80", "\xED\xA0\x80"},  // surrogate
      {"\xE2\x82", "\xE2\x82"},          // cut sequence
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToCp1252(c.utf8), c.expected) << c.utf8;
}

TEST(Codec, Oem850ToCp1252) {
  const struct {
    unsigned char oem;
    unsigned char ansi;
  } cases[] = {
      {0x84, 0xE4}, {0x94, 0xF6}, {0x81, 0xFC}, {0x8E, 0xC4}, {0x99, 0xD6},
      {0x9A, 0xDC}, {0xE1, 0xDF}, {0x9F, 0x83}, {0xF5, 0xA7}, {0xFF, 0xA0},
      {0xB0, '?'},  {0xC4, '?'},  {0xD5, '?'},  {0x15, 0x15}, {'A', 'A'},
  };
  for (const auto& c : cases) {
    std::string text(1, static_cast<char>(c.oem));
    Oem850ToCp1252(text);
    EXPECT_EQ(static_cast<unsigned char>(text[0]), c.ansi) << std::hex << int{c.oem};
  }
}

TEST(Codec, Oem850UpperHalfMapsOneToOne) {
  std::string upper;
  for (int b = 0x80; b < 0x100; ++b) upper += static_cast<char>(b);
  Oem850ToCp1252(upper.data(), upper.size());
  std::set<char> distinct;
  int unknown = 0;
  for (char c : upper) {
    if (c == '?') {
      ++unknown;
    } else {
      distinct.insert(c);
    }
  }
  // Box drawing, dotless i and the double low line have no Windows-1252 byte.
  EXPECT_EQ(unknown, 31);
  EXPECT_EQ(distinct.size(), 97u);
}
