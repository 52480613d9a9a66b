#include "core/xml_escape.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

struct Escape {
  char plain;
  const char* written;
};

// The escaping table, in its order. No replacement holds a character that a
// later row replaces, so one pass gives the same text as one pass per row.
constexpr std::array<Escape, 12> kEscapes = {{
    {'&', "&amp;"},
    {'"', "&quot;"},
    {'\'', "&apos;"},
    {'<', "&lt;"},
    {'>', "&gt;"},
    {'\xE4', "\xC3\xA4"},
    {'\xC4', "\xC3\x84"},
    {'\xF6', "\xC3\xB6"},
    {'\xD6', "\xC3\x96"},
    {'\xFC', "\xC3\xBC"},
    {'\xDC', "\xC3\x9C"},
    {'\xDF', "\xC3\x9F"},
}};
constexpr size_t kFirstUtf8 = 5;

// The replacement of each byte, null for a byte that stays.
constexpr std::array<const char*, 256> EscapeTable() {
  std::array<const char*, 256> table{};
  for (const Escape& e : kEscapes) table[static_cast<unsigned char>(e.plain)] = e.written;
  return table;
}
constexpr std::array<const char*, 256> kEscapeOf = EscapeTable();

// Whether one of eight bytes may need escaping: a markup character or a
// byte above 127 (most of those stay, and are looked at one by one).
bool MayNeedEscape(uint64_t bytes) {
  constexpr uint64_t kOnes = 0x0101010101010101u;
  constexpr uint64_t kHigh = 0x8080808080808080u;
  const auto anyZero = [](uint64_t v) { return (v - kOnes) & ~v & kHigh; };
  return (bytes & kHigh) || anyZero(bytes ^ (kOnes * '&')) || anyZero(bytes ^ (kOnes * '"')) ||
         anyZero(bytes ^ (kOnes * '\'')) || anyZero(bytes ^ (kOnes * '<')) ||
         anyZero(bytes ^ (kOnes * '>'));
}

}  // namespace

void AppendXmlEscaped(std::string& out, std::string_view text) {
  // Runs of bytes that stay are copied at once; eight bytes at a time are
  // passed over while none of them may need escaping.
  size_t start = 0;
  for (size_t i = 0; i < text.size();) {
    if (i + 8 <= text.size()) {
      uint64_t bytes;
      std::memcpy(&bytes, text.data() + i, 8);
      if (!MayNeedEscape(bytes)) {
        i += 8;
        continue;
      }
    }
    if (const char* written = kEscapeOf[static_cast<unsigned char>(text[i])]) {
      out.append(text, start, i - start);
      out += written;
      start = i + 1;
    }
    ++i;
  }
  out.append(text, start);
}

std::string XmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendXmlEscaped(out, text);
  return out;
}

std::string XmlUnescape(std::string_view text, bool entities) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const Escape* hit = nullptr;
    if (text[i] == '&' || text[i] == '\xC3') {
      for (size_t k = entities ? 0 : kFirstUtf8; k < kEscapes.size() && !hit; ++k)
        if (text.substr(i).starts_with(kEscapes[k].written)) hit = &kEscapes[k];
    }
    if (hit) {
      out += hit->plain;
      i += std::strlen(hit->written);
    } else {
      out += text[i++];
    }
  }
  return out;
}
