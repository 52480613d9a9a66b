#pragma once

#include <string>
#include <vector>

#include "util/variant.h"

class KsCustomObj;
class DbConnection;  // connection of the database persistence; null throughout this program

// Creation parameters: a flat list taken in pairs (name, value). Objects are
// passed as Pointer values.
using KsParams = std::vector<Variant>;

// A class as a value: what the registry maps table names to, what a list
// creates its items from, and the class-level operations.
class ObjClass {
 public:
  using Factory = KsCustomObj* (*)();
  ObjClass(const char* name, const ObjClass* parent, Factory factory)
      : name_(name), parent_(parent), factory_(factory) {}
  virtual ~ObjClass() = default;
  ObjClass(const ObjClass&) = delete;
  ObjClass& operator=(const ObjClass&) = delete;

  const char* Name() const { return name_; }
  const ObjClass* Parent() const { return parent_; }
  bool InheritsFrom(const ObjClass& other) const;

  // Class-level table name; "" for the plain object classes. Asked for with
  // every object made: the class keeps it.
  virtual const std::string& ClassTablename() const;
  // Class of the items of a list class; the plain object class by default.
  virtual const ObjClass* ClassItemClass() const;

  // The virtual constructor: a new instance initialised with Create.
  KsCustomObj* CreateObj(KsCustomObj* owner, const KsParams& params, DbConnection* db) const;

 private:
  const char* name_;
  const ObjClass* parent_;
  Factory factory_;
};

// Class object for T: T::StaticClass() returns one of these.
template <class T, class Base = ObjClass>
class ObjClassOf : public Base {
 public:
  ObjClassOf(const char* name, const ObjClass* parent)
      : Base(name, parent, [] { return static_cast<KsCustomObj*>(new T()); }) {}
};
