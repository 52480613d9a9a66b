#pragma once

#include <string>
#include <vector>

#include "core/custom_obj.h"

// Owning sequence of objects of one item class.
class KsObjList : public KsCustomObj {
 public:
  // Passed to Remove in place of an object: removes every item.
  static KsCustomObj* const kRemoveAll;

  ~KsObjList() override;
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }

  std::vector<KsCustomObj*> ItemsList;  // owned, in list order
  std::vector<KsCustomObj*> Removed;    // taken out, waiting for deletion
  int16_t PKMemberVariantCount = 0;

  int Count() const { return static_cast<int>(ItemsList.size()); }
  KsCustomObj* Items(int i) const { return ItemsList.at(i); }
  KsCustomObj* RemovedItems(int i) const { return Removed.at(i); }
  int IndexOf(const KsCustomObj* obj) const;
  void Clear();
  virtual KsCustomObj* CreateObj();
  KsCustomObj* Add() { return CreateObj(); }
  KsCustomObj* Insert(int index);
  void AddObj(KsCustomObj* obj, int index);
  void Delete(int index);
  void Remove(KsCustomObj* obj);

  // Class of the items; raises when the list class names none.
  const ObjClass* ItemClass() const;

  const std::string& GetTableName() const override;
  void SetParam(const std::string& name, const Variant& value) override;
  void SetDatabase(DbConnection* db) override;
  void ApplyOwnerKeys() override;
  bool IsModified() const override;
  void Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) override;
  void CreateLists() override;
  void CreateMembers(const std::string& members) override;
  void Assign(const KsCustomObj& source) override;
  void ChangePKValues(const std::vector<Variant>& values) override;
  bool Validate(bool recursive) override;
  void SaveToXML(std::ostream& stream, int indent) override;
  void SaveWholeToXML(std::ostream& stream, int indent) override;
  // Lists are not read from XML: raises.
  void LoadFromXML(std::istream& stream) override;

  void LoadFromDB(const std::vector<Variant>& keyValues) override;
  void LoadFromDataSet(KsQuery& dataset) override;
  void StoreToDB() override;
  void DeleteFromDB() override;
  virtual bool ExecuteLoadQuery(KsQuery& dataset);
  // Binary search of the items, which are in ascending key order (descending
  // with ofDescendingKeys). Not found: null, index the insertion position;
  // a comparison that fails: null, index -1.
  virtual KsCustomObj* FindByPK(const std::vector<Variant>& values, int& index);
  // Deletes the rows of the removed objects and frees them.
  void DeleteRemoved();

 protected:
  KsParams CloneParams() const override;
  void DetachChild(KsCustomObj* child) override;
  void AttachChild(KsCustomObj* child) override;

 private:
  void MoveLastTo(int index);
};

// Class object of list classes: ClassTablename is not allowed on them.
class ObjListClass : public ObjClass {
 public:
  using ObjClass::ObjClass;
  const std::string& ClassTablename() const override;
};
