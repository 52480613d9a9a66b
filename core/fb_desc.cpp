#include "core/fb_desc.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "core/member_layout.h"
#include "util/same_text.h"

namespace {

// Upper case of the Windows ANSI code page: a-z and the accented small
// letters 0xE0-0xFE, except the division sign 0xF7.
std::string AnsiUpper(std::string s) {
  for (char& c : s) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 0xE0 && b <= 0xFE && b != 0xF7)) {
      c = static_cast<char>(b - 0x20);
    }
  }
  return s;
}

struct RegistryEntry {
  std::string Name;
  KsFBDescBuilder Builder;
  std::unique_ptr<KsFBDesc> Desc;
};

// Created on first use, freed with every built descriptor at program end.
// Sorted ascending by name; std::string compares bytes as unsigned, which is
// the ordinal, case-sensitive order.
std::vector<RegistryEntry>& Registry() {
  static std::vector<RegistryEntry> entries;
  return entries;
}

// Counts the registrations: a name found before may stand for another
// descriptor after one.
std::atomic<uint64_t> registrations{0};

}  // namespace

KsFBDesc::KsFBDesc(std::string tableName, std::string elementName)
    : TableName(std::move(tableName)), ElementName(std::move(elementName)) {}

KsFBDesc::~KsFBDesc() = default;

const MemberLayout& KsFBDesc::Layout() const {
  const void* first = Fields.empty() ? nullptr : Fields.front().get();
  if (layouts_.empty() || layoutCount_ != Fields.size() || layoutVersion_ != version_ ||
      layoutFirst_ != first) {
    std::vector<const KsFieldDesc*> fields;
    for (const auto& f : Fields)
      if (!(f->Flags & fbfCalculated)) fields.push_back(f.get());
    layouts_.push_back(std::make_unique<MemberLayout>(std::move(fields), false));
    layoutCount_ = Fields.size();
    layoutVersion_ = version_;
    layoutFirst_ = first;
  }
  return *layouts_.back();
}

KsFieldDesc* KsFBDesc::AddField(bool required, const std::string& name, const std::string& hint,
                                const std::string& label, uint8_t fieldType, int16_t size,
                                uint8_t alignment, char fillChar, uint16_t flags) {
  auto field = std::make_unique<KsFieldDesc>();
  field->Owner = this;
  field->Required = required;
  field->Name = name;
  field->Hint = hint;
  field->DisplayLabel = label;
  field->FieldType = fieldType;
  field->Size = size;
  field->Alignment = alignment;
  field->FillChar = fillChar;
  field->Flags = flags;
  Fields.push_back(std::move(field));
  return Fields.back().get();
}

KsFieldDesc* KsFBDesc::FindField(const std::string& name) const {
  const std::string upper = AnsiUpper(name);
  for (const auto& field : Fields) {
    if (field->Name == upper) return field.get();
  }
  return nullptr;
}

void KsFBDesc::MoveField(int from, int to) {
  const int count = static_cast<int>(Fields.size());
  if (from < 0 || from >= count || to < 0 || to >= count) {
    throw std::out_of_range("KsFBDesc::MoveField: index out of range");
  }
  ++version_;
  auto field = std::move(Fields[from]);
  Fields.erase(Fields.begin() + from);
  Fields.insert(Fields.begin() + to, std::move(field));
}

const IndexDesc* KsFBDesc::FirstUniqueIndex() const {
  for (const auto& index : IndexDescs) {
    if (index->Unique) return index.get();
  }
  return nullptr;
}

void RegisterDescriptor(const std::string& name, KsFBDescBuilder builder) {
  auto& entries = Registry();
  const auto pos = std::find_if(entries.begin(), entries.end(),
                                [&](const RegistryEntry& e) { return !(e.Name < name); });
  entries.insert(pos, RegistryEntry{name, builder, nullptr});
  ++registrations;
}

KsFBDesc* FindDescriptor(const std::string& name) {
  // Objects are made by the thousand from a handful of tables: the tables
  // this thread found last are checked first.
  struct Found {
    std::string name;
    KsFBDesc* desc = nullptr;
    uint64_t registrations = 0;
  };
  constexpr size_t kRecent = 4;
  thread_local std::array<Found, kRecent> recent;
  thread_local size_t replace = 0;
  const uint64_t now = registrations;
  for (const Found& f : recent)
    if (f.desc && f.registrations == now && f.name == name) return f.desc;
  auto& entries = Registry();
  const auto pos =
      std::lower_bound(entries.begin(), entries.end(), name,
                       [](const RegistryEntry& e, const std::string& key) { return e.Name < key; });
  if (pos == entries.end() || pos->Name != name) return nullptr;
  if (!pos->Desc && pos->Builder) pos->Desc = pos->Builder();
  if (pos->Desc) {
    recent[replace] = {name, pos->Desc.get(), now};
    replace = (replace + 1) % kRecent;
  }
  return pos->Desc.get();
}

std::vector<std::string> RegisteredDescriptorNames() {
  std::vector<std::string> names;
  for (const auto& entry : Registry()) names.push_back(entry.Name);
  return names;
}

int KsFBDesc::FieldIndex(std::string_view name) const {
  const void* first = Fields.empty() ? nullptr : Fields.front().get();
  if (indexedCount_ != Fields.size() || indexedVersion_ != version_ || indexedFirst_ != first) {
    nameIndex_.clear();
    for (size_t i = 0; i < Fields.size(); ++i) {
      std::string key = Fields[i]->Name;
      for (char& c : key) c = AsciiUpper(c);
      nameIndex_.emplace(std::move(key), static_cast<int>(i));
    }
    indexedCount_ = Fields.size();
    indexedVersion_ = version_;
    indexedFirst_ = first;
  }
  std::string key(name);
  for (char& c : key) c = AsciiUpper(c);
  const auto it = nameIndex_.find(key);
  return it == nameIndex_.end() ? -1 : it->second;
}
