#include "core/obj_class.h"

#include "core/custom_obj.h"
#include "core/eobj.h"
#include "core/obj.h"

bool KsClass::InheritsFrom(const KsClass& other) const {
  for (const KsClass* c = this; c; c = c->Parent())
    if (c == &other) return true;
  return false;
}

std::string KsClass::ClassTablename() const { return std::string(); }

const KsClass* KsClass::ClassItemClass() const { return &KsObj::StaticClass(); }

KsCustomObj* KsClass::CreateObj(KsCustomObj* owner, const KsParams& params, KsDatabase* db) const {
  if (!factory_) throw EObj(name_, "Abstrakte Klasse kann nicht erzeugt werden", "Create");
  KsCustomObj* obj = factory_();
  try {
    obj->Create(owner, params, db);
  } catch (...) {
    delete obj;
    throw;
  }
  return obj;
}
