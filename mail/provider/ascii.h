#pragma once

// Not std::isalnum: bytes above 0x7F must never count, whatever the locale.
inline bool IsAsciiAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
