#include "xml/utf8_decode.h"

#include <cstdint>
#include <cstring>

#include "util/codec.h"

namespace {

// Length of the run of bytes below 0x80 at the start of s.
size_t AsciiRun(const unsigned char* s, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t word;
    std::memcpy(&word, s + i, 8);
    if (word & 0x8080808080808080ull) break;
  }
  while (i < n && s[i] < 0x80) ++i;
  return i;
}

// Number of continuation bytes that a lead byte announces; -1 for a byte that
// cannot start a sequence.
int ContinuationCount(unsigned char lead) {
  if (lead >= 0xC0 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF7) return 3;
  if (lead >= 0xF8 && lead <= 0xFB) return 4;
  if (lead >= 0xFC && lead <= 0xFD) return 5;
  return -1;
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

char Cp1252OfCodePoint(char32_t cp) { return UnicodeToCp1252(cp, kNoCp1252Char); }

void AppendUtf8AsCp1252(std::string_view in, std::string& out) {
  const auto* s = reinterpret_cast<const unsigned char*>(in.data());
  const size_t n = in.size();
  size_t i = 0;
  while (i < n) {
    const size_t run = AsciiRun(s + i, n - i);
    out.append(in.data() + i, run);
    i += run;
    if (i >= n) break;
    const unsigned char lead = s[i++];
    const int need = ContinuationCount(lead);
    if (need < 0) {
      out += kNoCp1252Char;
      continue;
    }
    char32_t cp = lead & (0x3F >> need);
    int got = 0;
    while (got < need && i < n && IsContinuation(s[i])) {
      cp = (cp << 6) | (s[i++] & 0x3F);
      ++got;
    }
    const bool overlong = (need == 1 && cp < 0x80) || (need == 2 && cp < 0x800);
    out += got == need && need <= 2 && !overlong ? Cp1252OfCodePoint(cp) : kNoCp1252Char;
  }
}
