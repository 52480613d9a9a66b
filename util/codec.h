#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Text inside the program is Windows-1252, one byte per character.

// Windows-1252 -> UTF-8 for all 256 byte values (the five unassigned bytes map
// to the C1 control characters of the same number).
std::string Cp1252ToUtf8(const std::string& text);
// The same, appended to `out`.
void AppendCp1252AsUtf8(std::string& out, std::string_view text);
// UTF-8 -> Windows-1252; characters without a Windows-1252 byte become '?',
// invalid UTF-8 bytes are taken as Windows-1252 bytes.
std::string Utf8ToCp1252(const std::string& text);
// The same, adding to `replaced` the number of characters that became '?'.
std::string Utf8ToCp1252(std::string_view text, size_t& replaced);
// One Unicode code point -> Windows-1252 byte, or fallback when there is none.
char UnicodeToCp1252(char32_t cp, char fallback = '?');
// Windows-1252 byte -> Unicode code point.
char32_t Cp1252ToUnicode(unsigned char c);
// Appends the UTF-8 bytes of one code point.
void AppendUtf8(std::string& out, char32_t cp);
// Decodes the well-formed UTF-8 sequence at text[pos] into `cp`; returns its
// length, or 0 when the bytes there are no valid UTF-8 (a stray or truncated
// byte, an overlong form, a surrogate).
size_t DecodeUtf8(std::string_view text, size_t pos, char32_t& cp);
// OEM code page 850 -> Windows-1252, in place; bytes without an equivalent become '?'.
void Oem850ToCp1252(std::string& text);
void Oem850ToCp1252(char* data, size_t length);
