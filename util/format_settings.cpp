#include "util/format_settings.h"

#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <cstdlib>

#include "util/codec.h"

namespace {

NumberFormat& Current() {
  static NumberFormat settings;
  return settings;
}

// The locale name the C library would use for a category.
std::string LocaleNameFor(const char* category) {
  for (const char* var : {"LC_ALL", category, "LANG"}) {
    const char* value = std::getenv(var);
    if (value && *value) return value;
  }
  return {};
}

// C and POSIX (also C.UTF-8) name no language: this is a German product, and
// such a locale has no thousands separator, so the German format applies.
bool NamesLanguage(const std::string& name) {
  return !(name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.") ||
           name.starts_with("POSIX."));
}

class Locale {
 public:
  Locale(int mask, const std::string& name) {
    if (NamesLanguage(name)) handle_ = newlocale(mask | LC_CTYPE_MASK, name.c_str(), locale_t{});
  }
  ~Locale() {
    if (handle_) freelocale(handle_);
  }
  Locale(const Locale&) = delete;
  Locale& operator=(const Locale&) = delete;

  bool Valid() const { return handle_ != locale_t{}; }
  const char* Raw(nl_item item) const { return nl_langinfo_l(item, handle_); }
  // An item as Windows-1252 text.
  std::string Text(nl_item item) const {
    const std::string codeset = Raw(CODESET);
    const std::string raw = Raw(item);
    return codeset == "UTF-8" ? Utf8ToCp1252(raw) : raw;
  }

 private:
  locale_t handle_ = locale_t{};
};

// A separator as one Windows-1252 character; separators without one (the
// narrow no-break space of some locales) become the no-break space.
char SeparatorChar(const Locale& locale, nl_item item) {
  const std::string text = locale.Text(item);
  if (text.empty()) return '\0';
  if (text == "?" && std::string(locale.Raw(item)) != "?") return '\xA0';
  return text[0];
}

void AppendLiteral(std::string& pattern, char c) {
  const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
  if (letter) {
    pattern += '"';
    pattern += c;
    pattern += '"';
  } else {
    pattern += c;
  }
}

// Translates a strftime date or time format into our pattern letters;
// empty when it uses something our patterns cannot express (12-hour clock).
std::string PatternFromStrftime(const std::string& format) {
  std::string pattern;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      AppendLiteral(pattern, format[i]);
      continue;
    }
    if (++i == format.size()) return {};
    switch (format[i]) {
      case 'd':
        pattern += "dd";
        break;
      case 'e':
        pattern += "d";
        break;
      case 'm':
        pattern += "mm";
        break;
      case 'Y':
        pattern += "yyyy";
        break;
      case 'y':
        pattern += "yy";
        break;
      case 'F':
        pattern += "yyyy-mm-dd";
        break;
      case 'D':
        pattern += "mm/dd/yy";
        break;
      case 'b':
      case 'h':
        pattern += "mmm";
        break;
      case 'B':
        pattern += "mmmm";
        break;
      case 'a':
        pattern += "ddd";
        break;
      case 'A':
        pattern += "dddd";
        break;
      case 'H':
        pattern += "hh";
        break;
      case 'k':
        pattern += "h";
        break;
      case 'M':
        pattern += "nn";
        break;
      case 'S':
        pattern += "ss";
        break;
      case 'T':
        pattern += "hh:nn:ss";
        break;
      case 'R':
        pattern += "hh:nn";
        break;
      case '%':
        pattern += '%';
        break;
      default:
        return {};
    }
  }
  return pattern;
}

// The first character of a pattern that is neither a letter nor a quote.
char FirstSeparator(const std::string& pattern, char fallback) {
  bool quoted = false;
  for (char c : pattern) {
    if (c == '"') {
      quoted = !quoted;
    } else if (!quoted && !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
      return c;
    }
  }
  return fallback;
}

void ReadNumberFormat(NumberFormat& settings) {
  const Locale locale(LC_NUMERIC_MASK, LocaleNameFor("LC_NUMERIC"));
  if (!locale.Valid()) return;
  const char decimal = SeparatorChar(locale, RADIXCHAR);
  if (decimal != '\0') settings.DecimalSeparator = decimal;
  settings.ThousandSeparator = SeparatorChar(locale, THOUSEP);
  if (settings.ThousandSeparator == settings.DecimalSeparator) settings.ThousandSeparator = '\0';
}

void ReadDateFormat(NumberFormat& settings) {
  const Locale locale(LC_TIME_MASK, LocaleNameFor("LC_TIME"));
  if (!locale.Valid()) return;
  const std::string date = PatternFromStrftime(locale.Raw(D_FMT));
  if (date.find('d') != std::string::npos && date.find('m') != std::string::npos &&
      date.find('y') != std::string::npos) {
    settings.ShortDateFormat = date;
    settings.DateSeparator = FirstSeparator(date, settings.DateSeparator);
  }
  const std::string time = PatternFromStrftime(locale.Raw(T_FMT));
  if (time.find('h') != std::string::npos && time.find("nn") != std::string::npos) {
    settings.LongTimeFormat = time;
    settings.TimeSeparator = FirstSeparator(time, settings.TimeSeparator);
    std::string shortTime = time;
    const size_t seconds = shortTime.rfind("ss");
    if (seconds != std::string::npos && seconds > 0) shortTime.erase(seconds - 1, 3);
    settings.ShortTimeFormat = shortTime;
  }
  for (int i = 0; i < 7; ++i) {
    settings.ShortDayNames[i] = locale.Text(static_cast<nl_item>(ABDAY_1 + i));
    settings.LongDayNames[i] = locale.Text(static_cast<nl_item>(DAY_1 + i));
  }
  for (int i = 0; i < 12; ++i) {
    settings.ShortMonthNames[i] = locale.Text(static_cast<nl_item>(ABMON_1 + i));
    settings.LongMonthNames[i] = locale.Text(static_cast<nl_item>(MON_1 + i));
  }
}

}  // namespace

const NumberFormat& FormatSettings() { return Current(); }

void SetFormatSettings(const NumberFormat& settings) { Current() = settings; }

NumberFormat GermanFormatSettings() { return NumberFormat{}; }

NumberFormat EnglishFormatSettings() {
  NumberFormat s;
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  s.DateSeparator = '/';
  s.TimeSeparator = ':';
  s.ShortDateFormat = "mm/dd/yyyy";
  s.LongTimeFormat = "hh:nn:ss";
  s.ShortTimeFormat = "hh:nn";
  s.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  s.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  s.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  s.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                      "July",    "August",   "September", "October", "November", "December"};
  return s;
}

// Each part that the locale cannot give (not installed, no language) keeps
// the German value.
NumberFormat FormatSettingsFromLocale() {
  NumberFormat settings = GermanFormatSettings();
  ReadNumberFormat(settings);
  ReadDateFormat(settings);
  return settings;
}

// Linux locales give fractional digits only for money (LC_MONETARY); that is
// the nearest to the number format's digits of other systems.
int NumberDigitsFromLocale() {
  const Locale locale(LC_MONETARY_MASK, LocaleNameFor("LC_MONETARY"));
  if (!locale.Valid()) return 2;
  const char digits = *locale.Raw(FRAC_DIGITS);
  return digits < 0 || digits == CHAR_MAX ? 2 : digits;
}
