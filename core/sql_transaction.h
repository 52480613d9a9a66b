#pragma once

#include <cstdint>
#include <vector>

#include "util/variant.h"

class KsCustomObj;
class DbConnection;
class KsObjList;

// A transaction that a database operation of the object model opens for
// itself when the connection has none. Unless it is committed it is rolled
// back, and every object the operation changed in memory gets back its key
// bookkeeping (stored keys), Modified flags, State and removed objects: memory
// then matches the tables again, and a later store writes everything once
// more. Inside a transaction opened by someone else it does nothing; that
// transaction and its outcome stay with whoever opened it.
class SqlTransaction {
 public:
  explicit SqlTransaction(DbConnection& db);
  ~SqlTransaction();
  SqlTransaction(const SqlTransaction&) = delete;
  SqlTransaction& operator=(const SqlTransaction&) = delete;

  void Commit();

  // Called by the persistence before it changes an object's bookkeeping.
  static void Remember(KsCustomObj& obj);
  // Removed objects whose rows are gone and which the list no longer holds:
  // freed when the transaction commits (at once if the connection has no
  // transaction of the object model), put back into the list's Removed
  // when it is rolled back.
  static void Release(KsObjList& list, std::vector<KsCustomObj*> objects);

 private:
  struct Saved {
    KsCustomObj* obj;
    uint8_t state;
    size_t firstMember;  // of its Modified flags in modified_
    std::vector<Variant> storedKeys;
  };
  struct Released {
    KsObjList* list;
    std::vector<KsCustomObj*> objects;
  };
  static SqlTransaction* Active(const DbConnection* db);
  void Undo();
  static void Free(Released& r);

  DbConnection* db_ = nullptr;  // null unless the transaction is this one's own
  std::vector<Saved> saved_;
  std::vector<bool> modified_;
  std::vector<Released> released_;
};
