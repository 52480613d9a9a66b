#pragma once

#include <string>
#include <string_view>

#include "core/custom_obj.h"
#include "core/ref_list.h"

// Object with named child objects, one per table name.
class KsObj : public KsCustomObj {
 public:
  ~KsObj() override;
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }

  KsRefList Children{this};
  KsCustomObj* ChildAt(int i) const { return Children.Objects(i); }

  void SetDatabase(DbConnection* db) override;
  void ApplyOwnerKeys() override;
  bool IsModified() const override;
  void Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) override;
  void CreateLists() override {}
  void CreateMembers(const std::string& members) override;
  void Assign(const KsCustomObj& source) override;
  void ChangePKValues(const std::vector<Variant>& values) override;
  bool Validate(bool recursive) override;
  virtual bool ValidateSelf() { return true; }
  // Writes the element unless a key is missing or validation fails.
  void SaveToXML(std::ostream& stream, int indent) override;
  // Writes the element with the members that have a value, then the children.
  virtual void WriteXML(std::ostream& stream, int indent);
  void SaveWholeToXML(std::ostream& stream, int indent) override;
  // Reads the object's own members from the first element of its table.
  void LoadFromXML(std::istream& stream) override;

  void LoadFromDB(const std::vector<Variant>& keyValues) override;
  void LoadFromDataSet(KsQuery& dataset) override;
  void StoreToDB() override;
  void DeleteFromDB() override;
  virtual bool ExecuteLoadQuery(KsQuery& dataset);
  virtual void ExecuteStoreQuery(KsQuery& query);
  bool BuildLoadQuery(KsQuery& query, const std::vector<Variant>& keyValues);
  bool BuildStoreQuery(KsQuery& query, bool forceInsert);
  void DeleteSelfFromDB();
  void LoadChildren(uint16_t flags);
  void SetQueryParams(KsQuery& query);

 protected:
  void DetachChild(KsCustomObj* child) override;
  void AttachChild(KsCustomObj* child) override;
  // Children the object put off making (see KsRefList::SetPending): make
  // them all; whether one of them would be listed under this table name.
  virtual void CreateDeferredChildren() {}
  virtual bool DefersChild(std::string_view) const { return false; }

 private:
  friend class KsRefList;
};

// Object of a table without a class of its own; its table name comes from
// the TABLENAME parameter.
class KsObjGeneric : public KsObj {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
  std::string TableNameValue;
  const std::string& GetTableName() const override { return TableNameValue; }
  void SetParam(const std::string& name, const Variant& value) override;
};
