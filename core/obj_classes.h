#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/obj_class.h"

// Registry from table names to classes, sorted and searched ignoring case.
class KsObjClasses {
 public:
  void AddClassType(const std::string& tableName, const ObjClass* cls);
  const ObjClass* FindClass(const std::string& tableName) const;
  // Unknown names create a KsObjGeneric with the same arguments.
  KsCustomObj* CreateObj(const std::string& tableName, KsCustomObj* owner, const KsParams& params,
                         DbConnection* db) const;
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  std::vector<std::pair<std::string, const ObjClass*>> entries_;
};
