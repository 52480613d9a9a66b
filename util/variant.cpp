#include "util/variant.h"

#include <cctype>
#include <cmath>
#include <cstdint>

#include "util/date_time.h"
#include "util/format_error.h"
#include "util/number_text.h"

namespace {

const char* KindName(KsVarKind kind) {
  switch (kind) {
    case KsVarKind::Empty:
      return "Empty";
    case KsVarKind::Null:
      return "Null";
    case KsVarKind::String:
      return "String";
    case KsVarKind::Integer:
      return "Integer";
    case KsVarKind::Float:
      return "Double";
    case KsVarKind::Currency:
      return "Currency";
    case KsVarKind::DateTime:
      return "Date";
    case KsVarKind::Boolean:
      return "Boolean";
    case KsVarKind::Pointer:
      return "Pointer";
    case KsVarKind::StringList:
      return "StringList";
  }
  return "";
}

[[noreturn]] void ThrowConversion(KsVarKind from, KsVarKind to) {
  throw VariantError(std::string("Variante des Typs (") + KindName(from) +
                     ") konnte nicht in Typ (" + KindName(to) + ") konvertiert werden");
}

// Floating values become integers rounded half to even, as the platform's
// variant conversion does; values outside 32 bits cannot convert.
int32_t RoundToInteger(double value, KsVarKind from) {
  const double rounded = std::nearbyint(value);
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) ThrowConversion(from, KsVarKind::Integer);
  return static_cast<int32_t>(rounded);
}

// Currency holds four decimals and shows no trailing zeros.
std::string CurrencyToStr(double value) {
  std::string text = FloatToFixed(value, 4, false);
  while (text.back() == '0') text.pop_back();
  if (text.back() == FormatSettings().DecimalSeparator) text.pop_back();
  return text;
}

bool EqualsIgnoringCase(std::string_view a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
  }
  return i == a.size() && !b[i];
}

}  // namespace

Variant Variant::Null() {
  Variant v;
  v.kind_ = KsVarKind::Null;
  return v;
}

Variant Variant::FromCurrency(double d) {
  Variant v;
  v.Set(KsVarKind::Currency, d);
  return v;
}

Variant Variant::FromDateTime(double days) {
  Variant v;
  v.Set(KsVarKind::DateTime, days);
  return v;
}

Variant Variant::FromPointer(void* p) {
  Variant v;
  v.Set(KsVarKind::Pointer, p);
  return v;
}

Variant Variant::FromStringList(KsStringList list) {
  Variant v;
  v.Set(KsVarKind::StringList, new KsStringList(std::move(list)));
  return v;
}

void Variant::CopyFrom(const Variant& o) {
  if (o.kind_ == KsVarKind::String)
    new (&text_) CompactText(o.text_);
  else if (o.kind_ == KsVarKind::StringList)
    Set(KsVarKind::StringList, new KsStringList(*o.Get<KsStringList*>()));
  else
    std::memcpy(bytes_, o.bytes_, sizeof bytes_);
  kind_ = o.kind_;
}

void Variant::ThrowWrongKind(KsVarKind kind) const { ThrowConversion(kind_, kind); }

bool Variant::IsNumeric() const {
  const KsVarKind k = Kind();
  return k == KsVarKind::Integer || k == KsVarKind::Float || k == KsVarKind::Currency ||
         k == KsVarKind::DateTime;
}

// Floats in the general format with 15 digits, currency with up to four
// decimals, date-times by the short date format (plus the long time format
// unless it is midnight), booleans as "True" and "False" like the platform's
// variants, a string list as its entries joined by "|" (the form multi-value
// fields have in a file).
std::string Variant::ToString() const {
  switch (Kind()) {
    case KsVarKind::Empty:
      return {};
    case KsVarKind::String:
      return std::string(Str());
    case KsVarKind::Integer:
      return std::to_string(Get<int32_t>());
    case KsVarKind::Float:
      return FloatToStr(Get<double>());
    case KsVarKind::Currency:
      return CurrencyToStr(Get<double>());
    case KsVarKind::DateTime:
      try {
        return DateTimeToStr(Get<double>());
      } catch (const FormatError&) {
        ThrowConversion(Kind(), KsVarKind::String);
      }
    case KsVarKind::Boolean:
      return Get<bool>() ? "True" : "False";
    case KsVarKind::StringList: {
      const KsStringList& list = List();
      std::string joined;
      for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0) joined += '|';
        joined += list[i];
      }
      return joined;
    }
    case KsVarKind::Null:
    case KsVarKind::Pointer:
      break;
  }
  ThrowConversion(Kind(), KsVarKind::String);
}

// A string converts when it is an integer or a number (then rounded like a
// float); true is 1.
int32_t Variant::ToInteger() const {
  switch (Kind()) {
    case KsVarKind::Empty:
      return 0;
    case KsVarKind::String: {
      int32_t i;
      if (TryTextToInt(std::string(Str()), i)) return i;
      double d;
      if (TryTextToFloat(std::string(Str()), d)) return RoundToInteger(d, Kind());
      break;
    }
    case KsVarKind::Integer:
      return Get<int32_t>();
    case KsVarKind::Float:
      return RoundToInteger(Get<double>(), Kind());
    case KsVarKind::Currency:
      return RoundToInteger(Get<double>(), Kind());
    case KsVarKind::DateTime:
      return RoundToInteger(Get<double>(), Kind());
    case KsVarKind::Boolean:
      return Get<bool>() ? 1 : 0;
    case KsVarKind::Null:
    case KsVarKind::Pointer:
    case KsVarKind::StringList:
      break;
  }
  ThrowConversion(Kind(), KsVarKind::Integer);
}

bool Variant::TryToFloat(double& value) const {
  switch (Kind()) {
    case KsVarKind::Empty:
      value = 0.0;
      return true;
    case KsVarKind::String:
      return TryTextToFloat(std::string(Str()), value);
    case KsVarKind::Integer:
      value = Get<int32_t>();
      return true;
    case KsVarKind::Float:
      value = Get<double>();
      return true;
    case KsVarKind::Currency:
      value = Get<double>();
      return true;
    case KsVarKind::DateTime:
      value = Get<double>();
      return true;
    case KsVarKind::Boolean:
      value = Get<bool>() ? 1.0 : 0.0;
      return true;
    case KsVarKind::Null:
    case KsVarKind::Pointer:
    case KsVarKind::StringList:
      break;
  }
  return false;
}

double Variant::ToFloat() const {
  double d;
  if (!TryToFloat(d)) ThrowConversion(Kind(), KsVarKind::Float);
  return d;
}

double Variant::ToDateTime() const {
  if (Kind() == KsVarKind::String) {
    double d;
    if (TryTextToFloat(std::string(Str()), d) || TryStrToDateTime(std::string(Str()), d)) return d;
    ThrowConversion(Kind(), KsVarKind::DateTime);
  }
  return ToFloat();
}

// A string is "True" or "False" in any case, or a number (true unless 0).
bool Variant::ToBoolean() const {
  switch (Kind()) {
    case KsVarKind::Empty:
      return false;
    case KsVarKind::String: {
      if (EqualsIgnoringCase(Str(), "true")) return true;
      if (EqualsIgnoringCase(Str(), "false")) return false;
      double d;
      if (TryTextToFloat(std::string(Str()), d)) return d != 0;
      break;
    }
    case KsVarKind::Integer:
      return Get<int32_t>() != 0;
    case KsVarKind::Float:
      return Get<double>() != 0;
    case KsVarKind::Currency:
      return Get<double>() != 0;
    case KsVarKind::DateTime:
      return Get<double>() != 0;
    case KsVarKind::Boolean:
      return Get<bool>();
    case KsVarKind::Null:
    case KsVarKind::Pointer:
    case KsVarKind::StringList:
      break;
  }
  ThrowConversion(Kind(), KsVarKind::Boolean);
}

// Empty equals only Empty and Null only Null, without raising. Pointers and
// string lists compare only with their own kind. Two strings compare
// case-sensitively; a boolean against anything converts the other side to a
// boolean; two integers compare as integers; any other pair of numbers and
// strings compares as floating point (as days when one side is a date-time,
// so a date text matches its date).
bool VarEquals(const Variant& a, const Variant& b) {
  const KsVarKind ka = a.Kind();
  const KsVarKind kb = b.Kind();
  if (ka == KsVarKind::Empty || kb == KsVarKind::Empty) return ka == kb;
  if (ka == KsVarKind::Null || kb == KsVarKind::Null) return ka == kb;
  for (KsVarKind own : {KsVarKind::Pointer, KsVarKind::StringList}) {
    if ((ka == own) != (kb == own)) ThrowConversion(ka == own ? kb : ka, own);
  }
  if (ka == KsVarKind::Pointer) return a.Ptr() == b.Ptr();
  if (ka == KsVarKind::StringList) return a.List() == b.List();
  if (ka == KsVarKind::String && kb == KsVarKind::String) return a.Str() == b.Str();
  if (ka == KsVarKind::Boolean || kb == KsVarKind::Boolean) return a.ToBoolean() == b.ToBoolean();
  if (ka == KsVarKind::Integer && kb == KsVarKind::Integer) return a.ToInteger() == b.ToInteger();
  if (ka == KsVarKind::DateTime || kb == KsVarKind::DateTime) {
    return a.ToDateTime() == b.ToDateTime();
  }
  return a.ToFloat() == b.ToFloat();
}
