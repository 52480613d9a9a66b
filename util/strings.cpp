#include "util/strings.h"

#include <algorithm>

#include "util/format_settings.h"
#include "util/number_text.h"
#include "util/trim.h"

std::string PadLeft(const std::string& s, int width, char c) {
  std::string trimmed = Trim(s);
  if (static_cast<int>(trimmed.size()) < width) trimmed.insert(0, width - trimmed.size(), c);
  return trimmed;
}

void PadLeft(std::string* s, int width, char c) { *s = PadLeft(*s, width, c); }

std::string PadRight(const std::string& s, int width, char c) {
  if (width <= 0) return {};
  std::string out = s.substr(0, width);
  out.append(width - out.size(), c);
  return out;
}

std::string AlignRight(const std::string& s, int width, char c) {
  if (width <= 0) return {};
  const size_t w = static_cast<size_t>(width);
  if (s.size() >= w) return s.substr(s.size() - w);
  return std::string(w - s.size(), c) + s;
}

void StripTrailing(std::string& s, const std::string& chars) {
  while (!s.empty() && chars.find(s.back()) != std::string::npos) s.pop_back();
}

int TokenCount(const std::string& s, const std::string& delimiters) {
  if (s.empty()) return 0;
  return 1 + static_cast<int>(std::count_if(s.begin(), s.end(), [&](char c) {
           return delimiters.find(c) != std::string::npos;
         }));
}

std::string Token(const std::string& s, int n, const std::string& delimiters) {
  if (n < 1 || s.empty()) return {};
  size_t start = 0;
  for (int i = 1; i < n; ++i) {
    start = s.find_first_of(delimiters, start);
    if (start == std::string::npos) return {};
    ++start;
  }
  const size_t end = s.find_first_of(delimiters, start);
  return s.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

std::string TranslateChars(const std::string& s, const std::string& from, const std::string& to) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) {
    const size_t p = from.find(c);
    if (p == std::string::npos) {
      out += c;
    } else if (p < to.size()) {
      out += to[p];
    }
  }
  return out;
}

std::string ReplaceAll(const std::string& s, const std::string& find,
                       const std::string& replacement) {
  if (find.empty()) return s;
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(find, pos)) != std::string::npos; pos = hit + find.size()) {
    out.append(s, pos, hit - pos);
    out += replacement;
  }
  out.append(s, pos);
  return out;
}

int32_t StrToIntZero(const std::string& s) {
  int32_t value;
  return TryTextToInt(s, value) ? value : 0;
}

double StrToFloatZero(const std::string& s) {
  if (s.empty()) return 0;
  const NumberFormat& format = FormatSettings();
  const std::string plain = format.ThousandSeparator == '\0'
                                ? s
                                : TranslateChars(s, std::string(1, format.ThousandSeparator), "");
  double value;
  return TryTextToFloat(plain, value, format) ? value : 0;
}
