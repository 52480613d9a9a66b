#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/member.h"
#include "core/obj_class.h"

class Arena;
class KsCustomObj;
class KsQuery;

// Something that wants to hear about an object's events.
class Observer {
 public:
  virtual ~Observer() = default;
  bool Active = true;
  uint16_t Events = 0;  // bit e set: event e wanted; 0: every event
  virtual void Update(KsCustomObj* sender, int event, const KsParams& params) = 0;
};

// Bits of KsCustomObj::Flags.
enum : uint16_t {
  ofOnDemand = 0x0001,
  ofSkipValidate = 0x0004,
  ofLoadOnDemand = 0x0008,
  ofLoadBlob = 0x0010,
  ofLoadMemo = 0x0020,
  ofLoadEmptyOnly = 0x0040,
  ofUpdateSkipNull = 0x0080,
  ofNoDescend = 0x0100,
  ofKeepRemoved = 0x0200,
  ofStoreKnownFirst = 0x0400,
  ofDeleteKeepsChildren = 0x0800,
  ofDeleteKeepsRemoved = 0x1000,
  ofAppended = 0x2000,
  ofDescendingKeys = 0x4000,
};

// Bits of KsCustomObj::State.
enum : uint8_t { osClearing = 0x01, osInDatabase = 0x02, osLoadTried = 0x04 };

// Root of the persistent objects. Objects are made in two steps: a class's
// factory allocates the instance, then the virtual Create initialises it
// (ObjClass::CreateObj does both). Freeing an object unlinks it from its owner
// and frees what it owns.
class KsCustomObj {
 public:
  static constexpr int kMaxPK = 5;

  KsCustomObj() = default;
  KsCustomObj(const KsCustomObj&) = delete;
  KsCustomObj& operator=(const KsCustomObj&) = delete;
  virtual ~KsCustomObj();

  // The arena its members and texts come from (ObjClass::CreateObj gives
  // its owner's, or the current one); null for an object made otherwise.
  Arena* HomeArena() const { return arena_; }

  static const ObjClass& StaticClass();
  virtual const ObjClass& Class() const = 0;
  const char* ClassName() const { return Class().Name(); }

  uint16_t Flags = 0;
  uint8_t State = 0;
  int32_t PKCount = 0;
  DbConnection* Database = nullptr;
  KsMemberList Members{this};
  std::unique_ptr<std::vector<Observer*>> Observers;  // observers are not owned

  KsCustomObj* Owner() const { return owner_; }
  // The owner's members whose values the key takes, comma-separated (the
  // parameter FKNames); "" for none.
  const std::string& FKNames() const;

  // Virtual operations in their dispatch order.
  virtual void SetDatabase(DbConnection* db);
  virtual void ApplyOwnerKeys();
  virtual const std::string& GetTableName() const;
  const std::string& TableName() const { return GetTableName(); }
  virtual KsMember& GetMember(const std::string& name);
  virtual void SetParam(const std::string& name, const Variant& value);
  virtual Variant ReadValue(const std::string& name) const;
  virtual Variant GetValue(const std::string& name) const { return ReadValue(name); }
  virtual void WriteValue(const std::string& name, const Variant& value);
  virtual void SetValue(const std::string& name, const Variant& value) { WriteValue(name, value); }
  virtual bool IsModified() const = 0;
  virtual void Create(KsCustomObj* owner, const KsParams& params, DbConnection* db);
  virtual void CreateLists() = 0;
  virtual void CreateMembers(const std::string& members) = 0;
  virtual void Assign(const KsCustomObj& source);
  virtual KsCustomObj* Clone(KsCustomObj* newOwner) const;
  // XML object format (core/obj_xml.cpp).
  virtual void SaveToXML(std::ostream& stream, int indent) = 0;
  virtual void LoadFromXML(std::istream& stream) = 0;
  // Writes the object and everything below it for a copy that must be whole:
  // unlike SaveToXML nothing is left out (objects without a key, that fail
  // validation or hold no value, children that cannot be written), texts are
  // kept as they are and every failure raises EObj.
  virtual void SaveWholeToXML(std::ostream& stream, int indent) = 0;
  virtual void ChangePKValues(const std::vector<Variant>& values);
  virtual bool Validate(bool recursive) = 0;
  // Database persistence (core/obj_sql.cpp, core/obj_list_sql.cpp).
  virtual void LoadFromDB(const std::vector<Variant>& keyValues) = 0;
  virtual void LoadFromDataSet(KsQuery& dataset) = 0;
  virtual void StoreToDB() = 0;
  virtual void DeleteFromDB() = 0;

  void SetOwner(KsCustomObj* newOwner);
  void SetPKNames(const std::string& names);
  KsMember& GetPKMember(uint8_t i) const;
  // The value key member i had when the object was last loaded from or
  // stored to a database: Empty until then, Null once its row is deleted.
  const Variant& StoredKey(int i) const;
  // The stored value of `member` when it is a key member, else Empty.
  const Variant& StoredValueOf(const KsMember& member) const;
  // Whether the object's row is known in the database (its first key stored).
  bool KeyStored() const { return PKCount > 0 && !StoredKey(0).IsEmptyOrNull(); }
  // The key values as they stand now are the stored ones.
  void StoreKeyValues();
  void SetStoredKey(int i, Variant value);
  // The row is gone: every stored key is Null.
  void ClearStoredKeys();
  void Notify(bool propagate, KsCustomObj* sender, const KsParams& params, int event);

 protected:
  // Parameters passed on by Clone; lists add their variant count.
  virtual KsParams CloneParams() const;
  // Builds members from the descriptor of TableName: every field ("#ALL#"),
  // the named ones (comma-separated), or the shared leading key fields
  // ("#PK_ONLY#", leaving out the last variantCount key fields).
  void BuildMembers(const std::string& members, int variantCount);
  // Unlinks a child that is being freed or moved to another owner.
  virtual void DetachChild(KsCustomObj* child) = 0;
  // Links a child that chose this object as its owner.
  virtual void AttachChild(KsCustomObj* child) = 0;
  // A member is handed out for the first time (KsMemberList makes members
  // when they are first asked for); the object may set it up as it would
  // have at creation.
  virtual void InitMember(KsMember&) {}

 private:
  // The key: its members in key order (not owned) and their stored values;
  // allocated by SetPKNames, since most objects have no key.
  struct Key {
    std::array<KsMember*, kMaxPK> members{};
    std::array<Variant, kMaxPK> stored;
  };
  std::unique_ptr<Key> key_;
  std::unique_ptr<std::string> fkNames_;  // null for none, as on most objects
  KsCustomObj* owner_ = nullptr;
  Arena* arena_ = nullptr;
  friend class KsObj;
  friend class KsObjList;
  friend class KsMemberList;
  friend class ObjClass;
};

// Creation-parameter helpers for the pairs of KsParams.
std::string ParamAsString(const Variant& v);
bool ParamIsSet(const Variant& v);
