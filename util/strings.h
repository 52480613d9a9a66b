#pragma once

#include <cstdint>
#include <string>

// Text helpers on Windows-1252 strings; positions and token numbers are
// 1-based, widths count characters.

// `s` without leading and trailing blanks and control characters, preceded by
// as many `c` as it takes to reach `width`; a longer text stays as it is.
std::string PadLeft(const std::string& s, int width, char c = ' ');
// The same, changing the string itself.
void PadLeft(std::string* s, int width, char c = ' ');
// The first `width` characters of `s`, filled up with `c` to `width`.
std::string PadRight(const std::string& s, int width, char c = ' ');
// The last `width` characters of `s`, preceded by `c` up to `width`.
std::string AlignRight(const std::string& s, int width, char c = ' ');
// Removes characters from the end of `s` while the last one is in `chars`.
void StripTrailing(std::string& s, const std::string& chars);

// 0 for an empty text, else 1 + the number of delimiter characters in it.
int TokenCount(const std::string& s, const std::string& delimiters);
// The n-th token, tokens being separated by any single delimiter character;
// empty tokens count; empty when n is outside 1 to TokenCount.
std::string Token(const std::string& s, int n, const std::string& delimiters);

// Each character found in `from` at position p becomes the p-th character of
// `to`, or is deleted when `to` is shorter.
std::string TranslateChars(const std::string& s, const std::string& from, const std::string& to);
// Every occurrence of `find`, left to right without overlaps.
std::string ReplaceAll(const std::string& s, const std::string& find,
                       const std::string& replacement);

// The standard integer conversion, 0 when it fails.
int32_t StrToIntZero(const std::string& s);
// `s` without the thousands separators of the user's format, read with its
// decimal separator; 0 when empty or not a number.
double StrToFloatZero(const std::string& s);
