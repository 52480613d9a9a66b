#include "core/obj_class.h"

#include "core/arena.h"
#include "core/custom_obj.h"
#include "core/eobj.h"
#include "core/obj.h"

bool ObjClass::InheritsFrom(const ObjClass& other) const {
  for (const ObjClass* c = this; c; c = c->Parent())
    if (c == &other) return true;
  return false;
}

const std::string& ObjClass::ClassTablename() const {
  static const std::string none;
  return none;
}

const ObjClass* ObjClass::ClassItemClass() const { return &KsObj::StaticClass(); }

KsCustomObj* ObjClass::CreateObj(KsCustomObj* owner, const KsParams& params,
                                 DbConnection* db) const {
  if (!factory_) throw EObj(name_, "Abstrakte Klasse kann nicht erzeugt werden", "Create");
  KsCustomObj* obj = factory_();
  // A child keeps its members where its owner keeps them.
  if (Arena* arena = owner ? owner->HomeArena() : CurrentArena()) {
    arena->Hold();
    obj->arena_ = arena;
  }
  try {
    obj->Create(owner, params, db);
  } catch (...) {
    delete obj;
    throw;
  }
  return obj;
}
