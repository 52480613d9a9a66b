#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/fb_desc.h"
#include "util/variant.h"

// One named, typed value of an object.
class KsMember {
 public:
  KsMember() = default;
  explicit KsMember(const KsFieldDesc* desc) : FieldDesc(desc) {}

  Variant Value;
  const KsFieldDesc* FieldDesc = nullptr;  // not owned; null only for NoMember
  bool Modified = false;

  // Second value slot. Most members never use it, so it is kept out of line.
  const Variant& OldValue() const;
  void SetOldValue(Variant v);

  uint8_t GetFieldType() const {
    return FieldDesc ? FieldDesc->FieldType : static_cast<uint8_t>(ftUnknown);
  }
  const std::string& Name() const;

  std::string GetAsString() const;
  int32_t GetAsInteger() const;
  double GetAsFloat() const;
  // The value as a number without raising: Empty and Null are 0; false when
  // the value is text that is no number (value untouched then).
  bool TryAsFloat(double& value) const;
  // The number, or `fallback` when the value is no number.
  double AsFloatOr(double fallback) const;
  bool GetAsBoolean() const;

  // Typed setters with the change guard: a value equal to the current one
  // (neither Empty nor Null) leaves Value and Modified untouched.
  void SetAsString(const std::string& s);
  void SetAsInteger(int32_t i);
  void SetAsFloat(double d);
  void SetAsDateTime(double t);  // 0 stores Null
  void SetAsBoolean(bool b);
  // Stores as given (padding for padded string fields) and always marks modified.
  void SetValue(const Variant& v);

  std::string PadValue(const std::string& s) const;

  // Text forms of the XML object format (core/member_xml.cpp).
  std::string GetXmlText() const;
  void SetXmlText(const std::string& text);

 private:
  void Guarded(Variant v);
  std::unique_ptr<Variant> oldValue_;
};

// The shared placeholder returned by lookups of unknown names.
KsMember& NoMember();

// Ordered members of an object. Members are allocated in blocks (one per
// AddMembers call) so their addresses stay fixed for the object's life. Most
// objects have a single block, which then serves as the list itself.
class KsMemberList {
 public:
  KsMemberList() = default;
  KsMemberList(const KsMemberList&) = delete;
  KsMemberList& operator=(const KsMemberList&) = delete;
  ~KsMemberList() { Clear(); }

  int Count() const { return count_; }
  KsMember& Items(int i) const;
  KsMember* Find(const std::string& name) const;
  void Clear();
  void ClearOldValues();
  void AssignValues(const KsMemberList& source);

  // Appends members for the given fields, in order, in one block.
  void AddMembers(const std::vector<const KsFieldDesc*>& fields);

  // Iterates the members in order, yielding KsMember*.
  class Iterator {
   public:
    Iterator(KsMember* inBlock, KsMember* const* inList) : block_(inBlock), list_(inList) {}
    KsMember* operator*() const { return list_ ? *list_ : block_; }
    Iterator& operator++() {
      if (list_)
        ++list_;
      else
        ++block_;
      return *this;
    }
    bool operator==(const Iterator& o) const { return block_ == o.block_ && list_ == o.list_; }
    bool operator!=(const Iterator& o) const { return !(*this == o); }

   private:
    KsMember* block_;
    KsMember* const* list_;
  };
  Iterator begin() const;
  Iterator end() const;

 private:
  // Later blocks are rare; they and the list of all members live apart so an
  // object with one block pays for a single pointer.
  struct Blocks {
    std::vector<std::unique_ptr<KsMember[]>> further;
    std::vector<KsMember*> all;
  };
  std::unique_ptr<KsMember[]> first_;
  std::unique_ptr<Blocks> blocks_;
  int count_ = 0;
  // Set while the members are exactly the fields of one descriptor in order,
  // so a lookup by name can use the descriptor's index.
  const KsFBDesc* fullDesc_ = nullptr;
};
