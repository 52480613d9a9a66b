#include "util/format.h"

#include <cctype>
#include <cstdint>
#include <cstdio>

#include "util/format_error.h"
#include "util/number_text.h"

namespace {

class Formatter {
 public:
  Formatter(const std::string& format, const std::vector<Variant>& args)
      : format_(format), args_(args) {}

  std::string Run() {
    std::string out;
    while (pos_ < format_.size()) {
      const char c = format_[pos_++];
      if (c != '%') {
        out += c;
      } else if (pos_ < format_.size() && format_[pos_] == '%') {
        out += '%';
        ++pos_;
      } else {
        out += Conversion();
      }
    }
    return out;
  }

 private:
  std::string Conversion() {
    bool left = false;
    int width = 0;
    int precision = -1;
    int number;
    bool hasNumber = ReadNumber(number);
    if (hasNumber && Peek() == ':') {
      ++pos_;
      argIndex_ = static_cast<size_t>(number);
      hasNumber = false;
    }
    if (!hasNumber) {
      if (Peek() == '-') {
        left = true;
        ++pos_;
      }
      hasNumber = ReadNumber(number);
    }
    if (hasNumber) width = number;
    if (Peek() == '.') {
      ++pos_;
      precision = ReadNumber(number) ? number : 0;
    }
    if (pos_ >= format_.size()) Invalid();
    const char type = static_cast<char>(std::tolower(static_cast<unsigned char>(format_[pos_++])));
    std::string text = Convert(type, NextArgument(), precision);
    if (static_cast<int>(text.size()) < width) {
      const std::string fill(width - text.size(), ' ');
      text = left ? text + fill : fill + text;
    }
    return text;
  }

  std::string Convert(char type, const Variant& arg, int precision) {
    try {
      switch (type) {
        case 's': {
          std::string text = arg.ToString();
          if (precision >= 0 && static_cast<size_t>(precision) < text.size())
            text.resize(precision);
          return text;
        }
        case 'd': {
          const int64_t value = arg.ToInteger();
          std::string digits = std::to_string(value < 0 ? -value : value);
          return (value < 0 ? "-" : "") + ZeroPadded(digits, precision);
        }
        case 'u':
          return std::to_string(static_cast<uint32_t>(arg.ToInteger()));
        case 'x': {
          char buffer[16];
          std::snprintf(buffer, sizeof buffer, "%X", static_cast<uint32_t>(arg.ToInteger()));
          return ZeroPadded(buffer, precision);
        }
        case 'f':
          return FloatToFixed(arg.ToFloat(), precision < 0 ? 2 : precision, false);
        case 'n':
          return FloatToFixed(arg.ToFloat(), precision < 0 ? 2 : precision, true);
      }
    } catch (const VariantError&) {
      Invalid();
    }
    Invalid();
  }

  static std::string ZeroPadded(const std::string& digits, int precision) {
    if (precision <= static_cast<int>(digits.size())) return digits;
    return std::string(precision - digits.size(), '0') + digits;
  }

  char Peek() const { return pos_ < format_.size() ? format_[pos_] : '\0'; }

  // Digits or "*" (the next argument as an integer).
  bool ReadNumber(int& number) {
    if (Peek() == '*') {
      ++pos_;
      try {
        number = NextArgument().ToInteger();
      } catch (const VariantError&) {
        Invalid();
      }
      return true;
    }
    if (Peek() < '0' || Peek() > '9') return false;
    number = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      if (number > 99999) Invalid();
      number = number * 10 + (format_[pos_++] - '0');
    }
    return true;
  }

  const Variant& NextArgument() {
    if (argIndex_ >= args_.size()) {
      throw FormatError("Kein Argument f\xFCr Format '" + format_ + "'");
    }
    return args_[argIndex_++];
  }

  [[noreturn]] void Invalid() const {
    throw FormatError("Format '" + format_ + "' ung\xFCltig oder nicht kompatibel mit Argument");
  }

  const std::string& format_;
  const std::vector<Variant>& args_;
  size_t pos_ = 0;
  size_t argIndex_ = 0;
};

}  // namespace

std::string Format(const std::string& format, const std::vector<Variant>& args) {
  return Formatter(format, args).Run();
}
