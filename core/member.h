#pragma once

#include <cstdint>
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
  // A member belongs to its list, which may have made it with room for a
  // child: it is never copied or moved.
  KsMember(const KsMember&) = delete;
  KsMember& operator=(const KsMember&) = delete;

  Variant Value;
  const KsFieldDesc* FieldDesc = nullptr;  // not owned; null only for NoMember
  bool Modified = false;

 private:
  bool holdsChild_ = false;  // made by its list with room for a child
  uint16_t index_ = 0;       // position of its field in its list

 public:
  // The object this member stands for, owned by the member's object: the
  // child element or child list of a member of a child field (type
  // ftUnknown or ftCursor, gaeb/gaeb_obj.h); null for none, and always for
  // a member a list did not make. Not a value: storing, loading and
  // clearing values leave it alone.
  KsCustomObj* Child() const;
  // Raises std::logic_error when a child is given to a member without room
  // for one.
  void SetChild(KsCustomObj* child);
  // Whether members of this field hold a child.
  static bool IsChildField(const KsFieldDesc* field);

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
  // The value for a whole copy (KsCustomObj::SaveWholeToXML) is written by
  // AppendWholeXmlText (core/member_whole_xml.h) and read back entry by
  // entry with AddWholeXmlText, which keeps the text as the value (as a
  // file's reader does). `cdata` tells a CDATA section from parsed text.
  // The kind of a value that is no text, "" for a text.
  std::string WholeXmlKind() const;
  // False when `kind` is unknown or the text is no value of that kind.
  bool AddWholeXmlText(const std::string& text, bool cdata, const std::string& kind,
                       TextPool* pool);

 private:
  void Guarded(Variant v);
  KsMember* next_ = nullptr;  // the next member its list holds, in field order
  friend class KsMemberList;
  friend class MemberLayout;
};

// The shared placeholder returned by lookups of unknown names.
KsMember& NoMember();

// Ordered members of an object, one per field of its layout. A member is
// made only when a caller asks for one to write to (GetOrMake, FindOrMake,
// MakeAll), so an element of dozens of fields pays only for those a file
// gives or a caller sets; from then on it keeps its address for the object's
// life. The owning object may set up a member as it is made (child members
// of the element layer). Reading (Get, Find, Held, All) makes nothing: a
// field without a member reads as a fresh member of that field (Empty, not
// modified; without what the owner would give a new member), not to be
// written to.
class KsMemberList {
  template <class M>
  class HeldIterator;
  class FieldIterator;
  template <class I>
  struct Range {
    I first, last;
    I begin() const { return first; }
    I end() const { return last; }
  };

 public:
  KsMemberList() = default;
  explicit KsMemberList(KsCustomObj* owner) : owner_(owner) {}
  KsMemberList(const KsMemberList&) = delete;
  KsMemberList& operator=(const KsMemberList&) = delete;
  ~KsMemberList() { Clear(); }

  // Number of fields.
  int Count() const;

  // Reading. Member i as it stands; raises std::out_of_range outside 0..Count-1.
  const KsMember& Get(int i) const;
  // The member of the first field named so (ignoring case); null when no
  // field has that name.
  const KsMember* Find(std::string_view name) const;
  // Whether member i has been made.
  bool Holds(int i) const { return Held(i) != nullptr; }
  // The members made so far, in field order.
  Range<HeldIterator<const KsMember>> HeldMembers() const;
  Range<HeldIterator<KsMember>> HeldMembers();
  // Every field's member as it stands, in field order, in one pass.
  Range<FieldIterator> All() const;

  // Writing: the member, made (and set up by the owner) when there is none yet.
  KsMember& GetOrMake(int i);
  // Null when no field has that name.
  KsMember* FindOrMake(std::string_view name);
  // Makes a member for every field.
  void MakeAll();

  void Clear();
  void AssignValues(const KsMemberList& source);

  // Appends members for the given fields, in order.
  void AddMembers(const std::vector<const KsFieldDesc*>& fields);
  // Takes a shared layout as the members of a list without members; the
  // layout must live as long as the list.
  void UseLayout(const MemberLayout& layout);

  // The fields of the members; null while there are none.
  const MemberLayout* Layout() const { return layout_; }
  // Position of the first field named so (ignoring case), -1 if none.
  int IndexOf(std::string_view name) const;

 private:
  template <class M>
  class HeldIterator {
   public:
    explicit HeldIterator(M* m) : m_(m) {}
    M& operator*() const { return *m_; }
    HeldIterator& operator++() {
      m_ = m_->next_;
      return *this;
    }
    bool operator!=(const HeldIterator& o) const { return m_ != o.m_; }

   private:
    M* m_;
  };
  class FieldIterator {
   public:
    FieldIterator(const KsMemberList& list, int i) : list_(&list), next_(list.head_), i_(i) {}
    const KsMember& operator*() const;
    FieldIterator& operator++() {
      ++i_;
      return *this;
    }
    bool operator!=(const FieldIterator& o) const { return i_ != o.i_; }

   private:
    const KsMemberList* list_;
    mutable const KsMember* next_;  // the first member made at or after i_
    int i_;
  };

  KsMember* Held(int i) const;
  KsMember& Make(int i);
  void Free(KsMember* m) const;

  // Whether member i may be made: certainly not when its bit is clear.
  bool MayHold(int i) const {
    const auto bit = static_cast<unsigned>(i);  // a position below 0 is outside the mask
    return bit >= kMaskedFields || (heldMask_ >> bit) & 1u;
  }
  static constexpr int kMaskedFields = 64;

  const MemberLayout* layout_ = nullptr;
  KsMember* head_ = nullptr;
  // Bit i set: member i is made (the first kMaskedFields fields), so that
  // asking for a field without a member needs no walk through the list.
  uint64_t heldMask_ = 0;
  KsCustomObj* owner_ = nullptr;  // sets up new members, gives the arena; null for a list alone
};

inline auto KsMemberList::HeldMembers() const -> Range<HeldIterator<const KsMember>> {
  return {HeldIterator<const KsMember>(head_), HeldIterator<const KsMember>(nullptr)};
}

inline auto KsMemberList::HeldMembers() -> Range<HeldIterator<KsMember>> {
  return {HeldIterator<KsMember>(head_), HeldIterator<KsMember>(nullptr)};
}

inline auto KsMemberList::All() const -> Range<FieldIterator> {
  return {FieldIterator(*this, 0), FieldIterator(*this, Count())};
}
