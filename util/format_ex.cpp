#include "util/format_ex.h"

#include "util/date_time.h"
#include "util/format.h"
#include "util/format_error.h"
#include "util/number_text.h"
#include "util/rounding.h"
#include "util/startup.h"
#include "util/strings.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Index of the conversion character of the conversion starting at q: the
// first letter outside double quotes, else the last character of the text.
size_t ConversionEnd(const std::string& text, size_t q) {
  bool quoted = false;
  for (size_t i = q + 1; i + 1 < text.size(); ++i) {
    if (text[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && IsLetter(text[i])) {
      return i;
    }
  }
  return text.size() - 1;
}

// Inserted text must reach the final format as literal text.
std::string EscapePercent(const std::string& text) { return ReplaceAll(text, "%", "%%"); }

const Variant& Argument(const std::vector<Variant>& args, size_t k, const std::string& fmt) {
  if (k >= args.size()) throw FormatError("Kein Argument f\xFCr Format '" + fmt + "'");
  return args[k];
}

std::string DateText(char conversion, const std::string& inner, const Variant& arg) {
  const std::string pattern = !inner.empty() ? inner : conversion == 'a' ? "c" : "t";
  const double value = arg.IsEmptyOrNull() ? 0.0 : arg.ToDateTime();
  if (conversion == 't' || RoundDec(5, value) != 0) return FormatDateTime(pattern, value);
  // The hours are blanked as well, so a date-time pattern keeps its shape.
  return TranslateChars(pattern, "cdmynsth", "________");
}

// A "#number" key as an integer; false when it is none.
bool EntryNumber(const std::string& key, int32_t& number) {
  const size_t begin = key.find_first_not_of(' ', 1);
  const size_t end = key.find_last_not_of(' ');
  if (begin == std::string::npos || end < begin) return false;
  return TryTextToInt(key.substr(begin, end - begin + 1), number);
}

std::string Lookup(const std::string& list, const Variant& arg) {
  const int count = TokenCount(list, ";");
  for (int i = 1; i <= count; ++i) {
    const std::string entry = Token(list, i, ";");
    const size_t eq = entry.find('=');
    if (eq == std::string::npos) continue;
    bool match;
    if (entry[0] == '#') {
      int32_t number;
      match = arg.Kind() == KsVarKind::Integer && EntryNumber(entry.substr(0, eq), number) &&
              number == arg.ToInteger();
    } else {
      match = arg.Kind() == KsVarKind::String && entry.starts_with(std::string(arg.Str()) + "=");
    }
    if (match) return Token(entry.substr(eq + 1), 1, "=");
  }
  return arg.ToString();
}

std::string Rewrite(const std::string& fmt, const std::vector<Variant>& args) {
  std::string text = fmt;
  size_t k = 0;
  bool taken = false;
  size_t searchFrom = 0;
  size_t q;
  while ((q = text.find('%', searchFrom)) != std::string::npos) {
    if (q + 1 < text.size() && text[q + 1] == '%') {
      searchFrom = q + 2;
      continue;
    }
    const size_t c = ConversionEnd(text, q);
    const char conversion = text[c];
    searchFrom = q + 1;
    if (conversion == 'a' || conversion == 't' || conversion == 'z') {
      const std::string inner = TranslateChars(text.substr(q + 1, c - q - 1), "\"", "");
      const Variant& arg = Argument(args, k, fmt);
      std::string inserted;
      if (conversion == 'z') {
        inserted = Lookup(inner, arg);
      } else {
        inserted = DateText(conversion, inner, arg);
      }
      inserted = EscapePercent(inserted);
      text.replace(q, c - q + 1, inserted);
      searchFrom = q + inserted.size();
      taken = true;
    } else {
      if (conversion == 'n' && text.find('.', q) >= c) {
        text.insert(c, "." + std::to_string(NumberDigits()));
      }
      if (taken) text.insert(q + 1, std::to_string(k) + ":");
    }
    ++k;
  }
  return text;
}

}  // namespace

std::string FormatEx(const std::string& fmt, const std::vector<Variant>& args) {
  try {
    return Format(Rewrite(fmt, args), args);
  } catch (const VariantError&) {
    throw FormatError("Format '" + fmt + "' ung\xFCltig oder nicht kompatibel mit Argument");
  }
}
