#include "core/member.h"

#include <stdexcept>

#include "util/same_text.h"

namespace {
const std::string kNoName;
const Variant kEmpty;
}  // namespace

KsMember& NoMember() {
  static KsMember placeholder;
  return placeholder;
}

const Variant& KsMember::OldValue() const { return oldValue_ ? *oldValue_ : kEmpty; }

void KsMember::SetOldValue(Variant v) {
  if (oldValue_)
    *oldValue_ = std::move(v);
  else if (!v.IsEmpty())
    oldValue_ = std::make_unique<Variant>(std::move(v));
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

void KsMember::SetAsString(const std::string& s) {
  if (GetFieldType() == ftString) {
    std::string t = FieldDesc->FillChar != 0 ? PadValue(s) : s;
    if (FieldDesc->Size >= 1 && t.size() > static_cast<size_t>(FieldDesc->Size))
      t.resize(FieldDesc->Size);
    Guarded(Variant(std::move(t)));
    return;
  }
  Guarded(Variant(s));
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

KsMember& KsMemberList::Items(int i) const {
  if (i < 0 || i >= count_) throw std::out_of_range("KsMemberList::Items");
  return blocks_ ? *blocks_->all[i] : first_[i];
}

KsMemberList::Iterator KsMemberList::begin() const {
  return blocks_ ? Iterator(nullptr, blocks_->all.data()) : Iterator(first_.get(), nullptr);
}

KsMemberList::Iterator KsMemberList::end() const {
  return blocks_ ? Iterator(nullptr, blocks_->all.data() + blocks_->all.size())
                 : Iterator(first_.get() + count_, nullptr);
}

KsMember* KsMemberList::Find(const std::string& name) const {
  if (fullDesc_) {
    const int i = fullDesc_->FieldIndex(name);
    if (i < 0) return nullptr;
    if (i < count_ && first_[i].FieldDesc == fullDesc_->Fields[i].get()) return &first_[i];
  }
  for (KsMember* m : *this)
    if (m->FieldDesc && SameText(m->FieldDesc->Name, name)) return m;
  return nullptr;
}

void KsMemberList::Clear() {
  fullDesc_ = nullptr;
  count_ = 0;
  if (blocks_)
    while (!blocks_->further.empty()) blocks_->further.pop_back();
  blocks_.reset();
  first_.reset();
}

void KsMemberList::ClearOldValues() {
  for (KsMember* m : *this) m->SetOldValue(Variant::Null());
}

void KsMemberList::AssignValues(const KsMemberList& source) {
  try {
    for (KsMember* m : *this)
      if (const KsMember* src = source.Find(m->Name())) m->SetValue(src->Value);
  } catch (const VariantError&) {
    // Copying stops at the first value that cannot be taken; earlier ones stay.
  }
}

void KsMemberList::AddMembers(const std::vector<const KsFieldDesc*>& fields) {
  if (fields.empty()) return;
  auto block = std::make_unique<KsMember[]>(fields.size());
  for (size_t i = 0; i < fields.size(); ++i) block[i].FieldDesc = fields[i];
  if (count_ == 0) {
    const KsFBDesc* desc = fields[0] ? fields[0]->Owner : nullptr;
    bool whole = desc && desc->Fields.size() == fields.size();
    for (size_t i = 0; whole && i < fields.size(); ++i) whole = fields[i] == desc->Fields[i].get();
    fullDesc_ = whole ? desc : nullptr;
    first_ = std::move(block);
    count_ = static_cast<int>(fields.size());
    return;
  }
  fullDesc_ = nullptr;
  if (!blocks_) {
    blocks_ = std::make_unique<Blocks>();
    for (int i = 0; i < count_; ++i) blocks_->all.push_back(&first_[i]);
  }
  for (size_t i = 0; i < fields.size(); ++i) blocks_->all.push_back(&block[i]);
  count_ += static_cast<int>(fields.size());
  blocks_->further.push_back(std::move(block));
}

// Elements carry dozens of members, most of them empty; keep them small.
static_assert(sizeof(KsMember) <= 48, "a member grew");
