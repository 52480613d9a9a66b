#include "xml/dtd_defs.h"

#include "xml/scan.h"

TAttrDef* TElemDef::AddAttrDef(std::unique_ptr<TAttrDef> def) {
  if (TAttrDef* known = FindAttrDef(def->Name)) return known;
  auto* added = static_cast<TAttrDef*>(Add(std::move(def)));
  if (added->DefaultType == dtDefault || added->DefaultType == dtFixed) defaults_.push_back(added);
  return added;
}

void TElemDef::Clear() {
  defaults_.clear();
  TNvpList::Clear();
}

TElemDef* TElemList::Find(std::string_view name) const {
  auto it = index_.find(name);
  return it == index_.end() ? nullptr : it->second;
}

TElemDef* TElemList::FindOrAdd(std::string_view name) {
  if (TElemDef* def = Find(name)) return def;
  elements_.push_back(std::make_unique<TElemDef>(std::string(name)));
  TElemDef* def = elements_.back().get();
  index_.emplace(def->Name, def);
  return def;
}

void TElemList::Clear() {
  index_.clear();
  elements_.clear();
}

namespace {

bool StartsWord(const char* p, const char* word) {
  const size_t n = std::strlen(word);
  return std::strncmp(p, word, n) == 0 && (IsXmlSpace(p[n]) || p[n] == '"' || p[n] == '\'');
}

// Skips white space and reads one quoted literal; false when none starts there.
bool ReadLiteralAfterSpace(const char*& p, std::string& out) {
  const char* q = SkipXmlSpace(p);
  if (*q != '"' && *q != '\'') return false;
  p = ReadQuoted(q, out);
  return true;
}

}  // namespace

const char* TExternalID::Read(const char* p) {
  PublicId.clear();
  SystemId.clear();
  Present = false;
  const char* q = p;
  if (StartsWord(q, "SYSTEM")) {
    q += 6;
    ReadLiteralAfterSpace(q, SystemId);
  } else if (StartsWord(q, "PUBLIC")) {
    q += 6;
    if (ReadLiteralAfterSpace(q, PublicId)) ReadLiteralAfterSpace(q, SystemId);
  } else {
    return p;
  }
  Present = true;
  return q;
}
