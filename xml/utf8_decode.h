#pragma once

#include <string>
#include <string_view>

// The replacement for characters that Windows-1252 cannot hold.
constexpr char kNoCp1252Char = '\xBF';  // inverted question mark

// Appends UTF-8 text as Windows-1252: sequences of two and three bytes become
// the byte of the same Unicode character; characters without such a byte,
// four-byte and longer sequences, truncated sequences and stray bytes become
// kNoCp1252Char. Bytes below 0x80 pass unchanged.
void AppendUtf8AsCp1252(std::string_view in, std::string& out);

// The Windows-1252 byte of a Unicode character, kNoCp1252Char if it has none.
char Cp1252OfCodePoint(char32_t cp);
