#pragma once

#include <string>
#include <string_view>

// Trimming removes the characters 0 to 32 (blanks and control characters).
inline bool IsTrimChar(char c) { return static_cast<unsigned char>(c) <= 32; }

inline std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsTrimChar(s[e - 1])) --e;
  return std::string(s.substr(0, e));
}

// The part of s without the trim characters at both ends.
inline std::string_view TrimmedView(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsTrimChar(s[b])) ++b;
  while (e > b && IsTrimChar(s[e - 1])) --e;
  return s.substr(b, e - b);
}

inline std::string Trim(std::string_view s) { return std::string(TrimmedView(s)); }
