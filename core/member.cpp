#include "core/member.h"

#include <stdexcept>

#include "core/arena.h"
#include "core/custom_obj.h"
#include "core/member_layout.h"
#include "util/same_text.h"

namespace {

const std::string kNoName;

// A member of a child field, as its list makes it: with the child beside it.
class ChildMember final : public KsMember {
 public:
  using KsMember::KsMember;
  KsCustomObj* child = nullptr;
};

}  // namespace

KsMember& NoMember() {
  static KsMember placeholder;
  return placeholder;
}

KsCustomObj* KsMember::Child() const {
  return holdsChild_ ? static_cast<const ChildMember*>(this)->child : nullptr;
}

void KsMember::SetChild(KsCustomObj* child) {
  if (holdsChild_)
    static_cast<ChildMember*>(this)->child = child;
  else if (child)
    throw std::logic_error("KsMember::SetChild: " + Name() + " is no child field");
}

bool KsMember::IsChildField(const KsFieldDesc* field) {
  return field && (field->FieldType == ftUnknown || field->FieldType == ftCursor);
}

const std::string& KsMember::Name() const { return FieldDesc ? FieldDesc->Name : kNoName; }

std::string KsMember::GetAsString() const {
  return Value.IsEmptyOrNull() ? std::string() : Value.ToString();
}

int32_t KsMember::GetAsInteger() const { return Value.IsEmptyOrNull() ? 0 : Value.ToInteger(); }

double KsMember::GetAsFloat() const { return Value.IsEmptyOrNull() ? 0.0 : Value.ToFloat(); }

bool KsMember::TryAsFloat(double& value) const {
  if (!Value.IsEmptyOrNull()) return Value.TryToFloat(value);
  value = 0.0;
  return true;
}

double KsMember::AsFloatOr(double fallback) const {
  double value;
  return TryAsFloat(value) ? value : fallback;
}

bool KsMember::GetAsBoolean() const {
  if (Value.IsEmptyOrNull()) return false;
  switch (GetFieldType()) {
    case ftString: {
      const std::string s = Value.ToString();
      if (s.empty()) return false;
      switch (s[0]) {
        case '1':
        case 'J':
        case 'T':
        case 'W':
        case 'Y':
        case 'j':
        case 't':
        case 'w':
        case 'y':
          return true;
        default:
          return false;
      }
    }
    case ftSmallint:
    case ftInteger:
    case ftWord:
      return GetAsInteger() != 0;
    case ftBoolean:
      return Value.ToBoolean();
    default:
      return false;
  }
}

void KsMember::Guarded(Variant v) {
  if (!Value.IsEmptyOrNull() && VarEquals(Value, v)) return;
  Value = std::move(v);
  Modified = true;
}

void KsMember::SetAsString(const std::string& s, TextPool* pool) {
  if (GetFieldType() == ftString) {
    std::string_view t = s;
    std::string padded;
    if (FieldDesc->FillChar != 0) t = padded = PadValue(s);
    if (FieldDesc->Size >= 1 && t.size() > static_cast<size_t>(FieldDesc->Size))
      t = t.substr(0, static_cast<size_t>(FieldDesc->Size));
    Guarded(Variant(t, pool));
    return;
  }
  Guarded(Variant(s, pool));
}

void KsMember::SetAsInteger(int32_t i) { Guarded(Variant(i)); }

void KsMember::SetAsFloat(double d) { Guarded(Variant(d)); }

void KsMember::SetAsDateTime(double t) {
  Variant v = Variant::FromDateTime(t);
  if (!Value.IsEmptyOrNull() && VarEquals(Value, v)) return;
  Value = t == 0 ? Variant::Null() : std::move(v);
  Modified = true;
}

void KsMember::SetAsBoolean(bool b) {
  switch (GetFieldType()) {
    case ftString:
      Guarded(Variant(b ? "1" : "0"));
      break;
    case ftSmallint:
    case ftInteger:
    case ftWord:
      Guarded(Variant(static_cast<int32_t>(b ? 1 : 0)));
      break;
    case ftBoolean:
      Guarded(Variant(b));
      break;
    default:
      break;
  }
}

void KsMember::SetValue(const Variant& v) {
  if (GetFieldType() == ftString && FieldDesc->FillChar != 0 && !v.IsEmptyOrNull()) {
    SetAsString(v.ToString());
  } else {
    Value = v;
  }
  Modified = true;
}

void KsMember::SetValue(Variant&& v) {
  if (GetFieldType() == ftString && FieldDesc->FillChar != 0 && !v.IsEmptyOrNull()) {
    SetAsString(v.ToString());
  } else {
    Value = std::move(v);
  }
  Modified = true;
}

std::string KsMember::PadValue(const std::string& s) const {
  const int size = FieldDesc ? FieldDesc->Size : 0;
  if (size <= 0) return std::string();
  std::string r = s.substr(0, static_cast<size_t>(size));
  const char fill = FieldDesc->FillChar;
  if (r.size() < static_cast<size_t>(size)) {
    const std::string pad(static_cast<size_t>(size) - r.size(), fill);
    r = FieldDesc->Alignment == taRightJustify ? pad + r : r + pad;
  }
  return r;
}

int KsMemberList::Count() const { return layout_ ? layout_->Count() : 0; }

KsMember* KsMemberList::Held(int i) const {
  if (!MayHold(i)) return nullptr;
  KsMember* m = head_;
  while (m && m->index_ < i) m = m->next_;
  return m && m->index_ == i ? m : nullptr;
}

const KsMember& KsMemberList::Get(int i) const {
  if (i < 0 || i >= Count()) throw std::out_of_range("KsMemberList::Get");
  const KsMember* m = Held(i);
  return m ? *m : layout_->Blank(i);
}

const KsMember* KsMemberList::Find(std::string_view name) const {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : &Get(i);
}

const KsMember& KsMemberList::FieldIterator::operator*() const {
  while (next_ && next_->index_ < i_) next_ = next_->next_;
  if (next_ && next_->index_ == i_) return *next_;
  return list_->layout_->Blank(i_);
}

KsMember& KsMemberList::GetOrMake(int i) {
  if (i < 0 || i >= Count()) throw std::out_of_range("KsMemberList::GetOrMake");
  if (KsMember* m = Held(i)) return *m;
  return Make(i);
}

KsMember* KsMemberList::FindOrMake(std::string_view name) {
  const int i = IndexOf(name);
  return i < 0 ? nullptr : &GetOrMake(i);
}

void KsMemberList::MakeAll() {
  for (int i = 0; i < Count(); ++i) GetOrMake(i);
}

namespace {

size_t SizeOf(bool holdsChild) { return holdsChild ? sizeof(ChildMember) : sizeof(KsMember); }

}  // namespace

KsMember& KsMemberList::Make(int i) {
  Arena* arena = owner_ ? owner_->HomeArena() : nullptr;
  const KsFieldDesc* field = layout_->Field(i);
  const bool holdsChild = KsMember::IsChildField(field);
  const size_t size = SizeOf(holdsChild);
  void* place = arena ? arena->allocate(size, alignof(ChildMember)) : ::operator new(size);
  KsMember* m = holdsChild ? new (place) ChildMember(field) : new (place) KsMember(field);
  m->holdsChild_ = holdsChild;
  m->index_ = static_cast<uint16_t>(i);
  if (i < kMaskedFields) heldMask_ |= uint64_t{1} << static_cast<unsigned>(i);
  KsMember** link = &head_;
  while (*link && (*link)->index_ < i) link = &(*link)->next_;
  m->next_ = *link;
  *link = m;
  if (owner_) owner_->InitMember(*m);
  return *m;
}

void KsMemberList::Free(KsMember* m) const {
  const size_t size = SizeOf(m->holdsChild_);
  if (m->holdsChild_)
    static_cast<ChildMember*>(m)->~ChildMember();
  else
    m->~KsMember();
  if (Arena* arena = owner_ ? owner_->HomeArena() : nullptr)
    arena->deallocate(m, size, alignof(ChildMember));
  else
    ::operator delete(m);
}

int KsMemberList::IndexOf(std::string_view name) const {
  return layout_ ? layout_->IndexOf(name) : -1;
}

void KsMemberList::Clear() {
  while (KsMember* m = head_) {
    head_ = m->next_;
    Free(m);
  }
  heldMask_ = 0;
  if (layout_ && layout_->OwnedByList()) delete layout_;
  layout_ = nullptr;
}

void KsMemberList::AssignValues(const KsMemberList& source) {
  for (int i = 0; i < Count(); ++i) {
    const KsFieldDesc* field = layout_->Field(i);
    const int from = field ? source.IndexOf(field->Name) : -1;
    // A field without a member in the source has nothing to give: the own
    // member keeps what its owner set it up with (the class key of a child).
    if (from < 0 || !source.Holds(from)) continue;
    const KsMember* src = &source.Get(from);
    KsMember& m = GetOrMake(i);
    try {
      m.SetValue(src->Value);
    } catch (const VariantError& e) {
      throw VariantError("Feld " + m.Name() + ": " + e.what());
    }
  }
}

void KsMemberList::UseLayout(const MemberLayout& layout) {
  if (Count() > 0) {
    AddMembers(layout.Fields());
    return;
  }
  Clear();
  layout_ = &layout;
}

void KsMemberList::AddMembers(const std::vector<const KsFieldDesc*>& fields) {
  if (fields.empty()) return;
  std::vector<const KsFieldDesc*> all;
  if (layout_) all = layout_->Fields();
  all.insert(all.end(), fields.begin(), fields.end());
  auto grown = std::make_unique<MemberLayout>(std::move(all), true);
  if (layout_ && layout_->OwnedByList()) delete layout_;
  layout_ = grown.release();
}
