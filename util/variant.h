#pragma once

#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "util/short_text.h"

// Raised when a value cannot be converted to the kind asked for
// (for instance letters read as a number).
class VariantError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class KsVarKind : uint8_t {
  Empty,     // never assigned
  Null,      // explicitly no value
  String,    // 8-bit Windows-1252 text
  Integer,   // 32-bit signed
  Float,     // double
  Currency,  // double, kept apart from Float for formatting only
  DateTime,  // days as double, fraction = time of day
  Boolean,
  Pointer,     // non-owning reference to an object (child elements, documents)
  StringList,  // one entry per occurrence of a multi-value field
};

using KsStringList = std::vector<std::string>;

// Tagged value of a member, in 16 bytes. Conversions between kinds use the
// process-wide number and date format (util/format_settings.h).
class alignas(8) Variant {
 public:
  Variant() noexcept {}  // Empty
  Variant(const char* s) : Variant(std::string_view(s), nullptr) {}
  Variant(const std::string& s) : Variant(std::string_view(s), nullptr) {}
  // A text kept in the pool when it is too long to be kept inside.
  Variant(std::string_view s, TextPool* pool) {
    new (&text_) CompactText(s, pool);
    kind_ = KsVarKind::String;
  }
  Variant(int32_t i) { Set(KsVarKind::Integer, i); }
  Variant(double d) { Set(KsVarKind::Float, d); }
  Variant(bool b) { Set(KsVarKind::Boolean, b); }
  // A copy holds its own text and list; a moved-from variant is Empty.
  Variant(const Variant& o) { CopyFrom(o); }
  Variant(Variant&& o) noexcept { TakeFrom(o); }
  Variant& operator=(const Variant& o) {
    if (this != &o) {
      Variant copy(o);
      *this = std::move(copy);
    }
    return *this;
  }
  Variant& operator=(Variant&& o) noexcept {
    if (this != &o) {
      Release();
      TakeFrom(o);
    }
    return *this;
  }
  ~Variant() { Release(); }

  static Variant Null();
  static Variant FromCurrency(double d);
  static Variant FromDateTime(double days);
  static Variant FromPointer(void* p);
  static Variant FromStringList(KsStringList list);

  KsVarKind Kind() const { return kind_; }
  bool IsEmpty() const { return Kind() == KsVarKind::Empty; }
  bool IsNull() const { return Kind() == KsVarKind::Null; }
  bool IsEmptyOrNull() const { return IsEmpty() || IsNull(); }
  bool IsNumeric() const;  // Integer, Float, Currency, DateTime

  // Conversions; Empty converts to "", 0, 0.0, false. Null raises like an
  // impossible conversion. Strings are parsed by the number format.
  std::string ToString() const;
  int32_t ToInteger() const;
  double ToFloat() const;
  // As ToFloat, without raising: false (value untouched) when the value is
  // no number.
  bool TryToFloat(double& value) const;
  bool ToBoolean() const;
  // Days; a string may also hold a date (and time) in the short date format.
  double ToDateTime() const;

  // Direct access without conversion; raises VariantError for another kind.
  std::string_view Str() const {
    Expect(KsVarKind::String);
    return text_.View();
  }
  void* Ptr() const {
    Expect(KsVarKind::Pointer);
    return Get<void*>();
  }
  const KsStringList& List() const {
    Expect(KsVarKind::StringList);
    return *Get<KsStringList*>();
  }
  KsStringList& List() {
    Expect(KsVarKind::StringList);
    return *Get<KsStringList*>();
  }

  // Variant comparison: integers with integers, anything numeric against a
  // string or date as floating point, strings case-sensitively, booleans with
  // booleans. Raises VariantError when a conversion is impossible.
  friend bool VarEquals(const Variant& a, const Variant& b);

 private:
  void Expect(KsVarKind kind) const {
    if (kind_ != kind) ThrowWrongKind(kind);
  }
  [[noreturn]] void ThrowWrongKind(KsVarKind kind) const;
  // The value of a kind other than String, in the first bytes.
  template <class T>
  T Get() const {
    T value;
    std::memcpy(&value, bytes_, sizeof value);
    return value;
  }
  template <class T>
  void Set(KsVarKind kind, T value) {
    static_assert(sizeof value <= sizeof bytes_);
    std::memcpy(bytes_, &value, sizeof value);
    kind_ = kind;
  }
  void CopyFrom(const Variant& o);
  void TakeFrom(Variant& o) noexcept {
    if (o.kind_ == KsVarKind::String) {
      new (&text_) CompactText(std::move(o.text_));
      o.text_.~CompactText();
    } else {
      std::memcpy(bytes_, o.bytes_, sizeof bytes_);
    }
    kind_ = o.kind_;
    o.kind_ = KsVarKind::Empty;
  }
  void Release() noexcept {
    if (kind_ == KsVarKind::String)
      text_.~CompactText();
    else if (kind_ == KsVarKind::StringList)
      delete Get<KsStringList*>();  // a variant owns its list; copies are deep
    kind_ = KsVarKind::Empty;
  }

  union {
    CompactText text_;           // String
    unsigned char bytes_[15]{};  // any other kind
  };
  KsVarKind kind_ = KsVarKind::Empty;
};
