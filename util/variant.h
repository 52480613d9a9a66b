#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
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

// Tagged value of a member. Conversions between kinds use the process-wide
// number and date format (util/format_settings.h).
class Variant {
 public:
  Variant() = default;  // Empty
  Variant(const char* s) : v_(CompactText(s)) {}
  Variant(const std::string& s) : v_(CompactText(s)) {}
  // A text kept in the pool when it is too long to be kept inside.
  Variant(std::string_view s, TextPool* pool) : v_(CompactText(s, pool)) {}
  Variant(int32_t i) : v_(i) {}
  Variant(double d) : v_(d) {}
  Variant(bool b) : v_(b) {}

  static Variant Null();
  static Variant FromCurrency(double d);
  static Variant FromDateTime(double days);
  static Variant FromPointer(void* p);
  static Variant FromStringList(KsStringList list);

  KsVarKind Kind() const { return static_cast<KsVarKind>(v_.index()); }
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

  // Direct access without conversion; only valid for the matching kind.
  std::string_view Str() const { return std::get<CompactText>(v_).View(); }
  void* Ptr() const { return std::get<PointerBox>(v_).p; }
  const KsStringList& List() const { return *std::get<ListBox>(v_).list; }
  KsStringList& List() { return *std::get<ListBox>(v_).list; }

  // Variant comparison: integers with integers, anything numeric against a
  // string or date as floating point, strings case-sensitively, booleans with
  // booleans. Raises VariantError when a conversion is impossible.
  friend bool VarEquals(const Variant& a, const Variant& b);

 private:
  struct NullBox {
    bool operator==(const NullBox&) const = default;
  };
  struct CurrencyBox {
    double d;
  };
  struct DateTimeBox {
    double d;
  };
  struct PointerBox {
    void* p;
  };
  // Owns its list; copies are deep so two members never share one list.
  struct ListBox {
    std::unique_ptr<KsStringList> list;
    ListBox() = default;
    explicit ListBox(KsStringList l) : list(std::make_unique<KsStringList>(std::move(l))) {}
    ListBox(const ListBox& o) : list(std::make_unique<KsStringList>(*o.list)) {}
    ListBox(ListBox&&) noexcept = default;
    ListBox& operator=(const ListBox& o) {
      list = std::make_unique<KsStringList>(*o.list);
      return *this;
    }
    ListBox& operator=(ListBox&&) noexcept = default;
  };
  // Index order matches KsVarKind.
  std::variant<std::monostate, NullBox, CompactText, int32_t, double, CurrencyBox, DateTimeBox,
               bool, PointerBox, ListBox>
      v_;

  friend class KsVariantAccess;
};
