#pragma once

#include <string>
#include <vector>

#include "util/variant.h"

class KsCustomObj;
class KsDatabase;  // connection of the database persistence; null throughout this program

// Creation parameters: a flat list taken in pairs (name, value). Objects are
// passed as Pointer values.
using KsParams = std::vector<KsVariant>;

// A class as a value: what the registry maps table names to, what a list
// creates its items from, and the class-level operations.
class KsClass {
 public:
  using Factory = KsCustomObj* (*)();
  KsClass(const char* name, const KsClass* parent, Factory factory)
      : name_(name), parent_(parent), factory_(factory) {}
  virtual ~KsClass() = default;
  KsClass(const KsClass&) = delete;
  KsClass& operator=(const KsClass&) = delete;

  const char* Name() const { return name_; }
  const KsClass* Parent() const { return parent_; }
  bool InheritsFrom(const KsClass& other) const;

  // Class-level table name; "" for the plain object classes.
  virtual std::string ClassTablename() const;
  // Class of the items of a list class; the plain object class by default.
  virtual const KsClass* ClassItemClass() const;

  // The virtual constructor: a new instance initialised with Create.
  KsCustomObj* CreateObj(KsCustomObj* owner, const KsParams& params, KsDatabase* db) const;

 private:
  const char* name_;
  const KsClass* parent_;
  Factory factory_;
};

// Class object for T: T::StaticClass() returns one of these.
template <class T, class Base = KsClass>
class KsClassOf : public Base {
 public:
  KsClassOf(const char* name, const KsClass* parent)
      : Base(name, parent, [] { return static_cast<KsCustomObj*>(new T()); }) {}
};
