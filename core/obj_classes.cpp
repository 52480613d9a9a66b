#include "core/obj_classes.h"

#include <algorithm>

#include "core/eobj.h"
#include "core/obj.h"
#include "util/same_text.h"

namespace {
using Entry = std::pair<std::string, const ObjClass*>;
bool NameLess(const Entry& e, const std::string& name) { return CompareText(e.first, name) < 0; }
}  // namespace

void KsObjClasses::AddClassType(const std::string& tableName, const ObjClass* cls) {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), tableName, NameLess);
  if (it != entries_.end() && CompareText(it->first, tableName) == 0)
    throw EObj("ObjClasses_AddClassType",
               "F\xFCr die Tabelle " + tableName + " wurde bereits eine Objektklasse angemeldet.",
               "");
  entries_.insert(it, Entry(tableName, cls));
}

const ObjClass* KsObjClasses::FindClass(const std::string& tableName) const {
  auto it = std::lower_bound(entries_.begin(), entries_.end(), tableName, NameLess);
  if (it != entries_.end() && CompareText(it->first, tableName) == 0) return it->second;
  return nullptr;
}

KsCustomObj* KsObjClasses::CreateObj(const std::string& tableName, KsCustomObj* owner,
                                     const KsParams& params, DbConnection* db) const {
  const ObjClass* cls = FindClass(tableName);
  if (!cls) cls = &KsObjGeneric::StaticClass();
  return cls->CreateObj(owner, params, db);
}
