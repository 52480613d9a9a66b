#pragma once

#include <cstring>
#include <string>

// Character tests and scans over zero-terminated text. Every scan stops at
// the terminating zero, so a truncated document is never read past its end.

inline bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

inline const char* SkipXmlSpace(const char* p) {
  while (IsXmlSpace(*p)) ++p;
  return p;
}

// Start of the first occurrence of seq at or after p, or the terminating zero.
inline const char* FindOrEnd(const char* p, const char* seq) {
  const char* hit = std::strstr(p, seq);
  return hit ? hit : p + std::strlen(p);
}

// Past the first occurrence of c at or after p, or the terminating zero.
inline const char* PastCharOrEnd(const char* p, char c) {
  const char* hit = std::strchr(p, c);
  return hit ? hit + 1 : p + std::strlen(p);
}

// First character of an attribute name: ':', '_', A-Z, a-z, or a letter of
// the upper half (0xC0-0xFF without the multiplication and division signs).
inline bool IsAttrNameStart(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return c == ':' || c == '_' || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
         (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

// p at a quote: the text up to the matching quote goes to out; returns the
// position after the closing quote, or the terminating zero.
inline const char* ReadQuoted(const char* p, std::string& out) {
  const char quote = *p++;
  const char* end = p;
  while (*end && *end != quote) ++end;
  out.assign(p, end);
  return *end ? end + 1 : end;
}
