#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/fb_desc.h"
#include "util/variant.h"

class KsCustomObj;
class MemberLayout;

// One named, typed value of an object.
class KsMember {
 public:
  KsMember() = default;
  explicit KsMember(const KsFieldDesc* desc) : FieldDesc(desc) {}

  Variant Value;
  const KsFieldDesc* FieldDesc = nullptr;  // not owned; null only for NoMember
  bool Modified = false;

 private:
  uint16_t index_ = 0;  // position of its field in its list

 public:
  // Second value slot. Most members never use it, so it is kept out of line.
  const Variant& OldValue() const;
  void SetOldValue(Variant v);

  // Position of its field in its list.
  int FieldIndex() const { return index_; }

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
  // A long text is kept in `pool` when one is given (the element tree's).
  void SetAsString(const std::string& s, TextPool* pool = nullptr);
  void SetAsInteger(int32_t i);
  void SetAsFloat(double d);
  void SetAsDateTime(double t);  // 0 stores Null
  void SetAsBoolean(bool b);
  // Stores as given (padding for padded string fields) and always marks modified.
  void SetValue(const Variant& v);
  void SetValue(Variant&& v);

  std::string PadValue(const std::string& s) const;

  // Text forms of the XML object format (core/member_xml.cpp).
  std::string GetXmlText() const;
  void SetXmlText(const std::string& text);
  // The value for a whole copy (KsCustomObj::SaveWholeToXML): one text per
  // entry of a multi-line value, texts untrimmed; read back entry by entry
  // with AddWholeXmlText, which keeps the text as the value (as a file's
  // reader does). `cdata` tells a CDATA section from parsed text.
  // A value that is no text is written exactly (shortest round-trip form)
  // and marked with its kind, "" for a text.
  std::vector<std::string> WholeXmlTexts() const;
  std::string WholeXmlKind() const;
  // False when `kind` is unknown or the text is no value of that kind.
  bool AddWholeXmlText(const std::string& text, bool cdata, const std::string& kind,
                       TextPool* pool);

 private:
  void Guarded(Variant v);
  std::unique_ptr<Variant> oldValue_;
  KsMember* next_ = nullptr;  // the next member its list holds, in field order
  friend class KsMemberList;
  friend class MemberLayout;
};

// The shared placeholder returned by lookups of unknown names.
KsMember& NoMember();

// Ordered members of an object, one per field of its layout. A member is
// made when it is first handed out (by Items, Find or the iteration), so an
// element of dozens of fields pays only for those a file gives or a caller
// asks for; from then on it keeps its address for the object's life. The
// owning object may set up a member as it is made (child members of the
// element layer). Peek and PeekFind read without making anything: a field
// without a member reads as a fresh member.
class KsMemberList {
 public:
  KsMemberList() = default;
  explicit KsMemberList(KsCustomObj* owner) : owner_(owner) {}
  KsMemberList(const KsMemberList&) = delete;
  KsMemberList& operator=(const KsMemberList&) = delete;
  ~KsMemberList() { Clear(); }

  int Count() const;
  KsMember& Items(int i) const;
  KsMember* Find(const std::string& name) const;
  void Clear();
  void ClearOldValues();
  void AssignValues(const KsMemberList& source);

  // Appends members for the given fields, in order.
  void AddMembers(const std::vector<const KsFieldDesc*>& fields);
  // Takes a shared layout as the members of a list without members; the
  // layout must live as long as the list.
  void UseLayout(const MemberLayout& layout);

  // The fields of the members; null while there are none.
  const MemberLayout* Layout() const { return layout_; }
  // Position of the first member named so (ignoring case), -1 if none.
  int IndexOf(std::string_view name) const;
  // Member i as it stands, without making one: a field without a member
  // reads as a fresh member of that field (Empty, not modified; without the
  // value the owner would give a new member). Not to be written to.
  const KsMember& Peek(int i) const;
  // The same by name; null when no field has that name.
  const KsMember* PeekFind(std::string_view name) const;
  // Whether member i has been made.
  bool Holds(int i) const { return Held(i) != nullptr; }
  // Reads the members in field order as Peek does, in one pass over those
  // made: At(i) for rising i.
  class PeekWalk {
   public:
    explicit PeekWalk(const KsMemberList& list) : list_(list), next_(list.head_) {}
    const KsMember& At(int i);

   private:
    const KsMemberList& list_;
    const KsMember* next_;
  };

  // Calls f(member) for every member made so far, in field order, making none.
  template <class F>
  void ForEachHeld(F&& f) const {
    for (const KsMember* m = head_; m; m = m->next_) f(*m);
  }

  // Iterates the members in order, yielding KsMember* (making each).
  class Iterator {
   public:
    Iterator(const KsMemberList* list, int i) : list_(list), i_(i) {}
    KsMember* operator*() const { return &list_->Items(i_); }
    Iterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator==(const Iterator& o) const { return i_ == o.i_; }
    bool operator!=(const Iterator& o) const { return i_ != o.i_; }

   private:
    const KsMemberList* list_;
    int i_;
  };
  Iterator begin() const { return Iterator(this, 0); }
  Iterator end() const { return Iterator(this, Count()); }

 private:
  KsMember* Held(int i) const;
  KsMember& Make(int i) const;
  void Free(KsMember* m) const;

  // Whether member i may be made: certainly not when its bit is clear.
  bool MayHold(int i) const {
    const auto bit = static_cast<unsigned>(i);  // a position below 0 is outside the mask
    return bit >= kMaskedFields || (heldMask_ >> bit) & 1u;
  }
  static constexpr int kMaskedFields = 64;

  const MemberLayout* layout_ = nullptr;
  mutable KsMember* head_ = nullptr;
  // Bit i set: member i is made (the first kMaskedFields fields), so that
  // asking for a field without a member needs no walk through the list.
  mutable uint64_t heldMask_ = 0;
  KsCustomObj* owner_ = nullptr;  // sets up new members, gives the arena; null for a list alone
};
