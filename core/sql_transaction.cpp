#include "core/sql_transaction.h"

#include <algorithm>

#include "core/custom_obj.h"
#include "core/obj_list.h"
#include "db/database.h"

namespace {

// The open transactions of the object model, innermost last (one per
// connection at most, since only a connection without one starts one).
std::vector<SqlTransaction*>& Open() {
  static std::vector<SqlTransaction*> open;
  return open;
}

}  // namespace

SqlTransaction::SqlTransaction(DbConnection& db) {
  if (db.InTransaction()) return;
  db.StartTransaction();
  db_ = &db;
  Open().push_back(this);
}

SqlTransaction::~SqlTransaction() {
  if (!db_) return;
  try {
    db_->Rollback();
  } catch (...) {
    // The error that ended the operation is the one to report; a connection
    // that cannot roll back has lost the transaction anyway.
  }
  Undo();
  std::erase(Open(), this);
}

void SqlTransaction::Commit() {
  if (!db_) return;
  db_->Commit();
  std::erase(Open(), this);
  db_ = nullptr;
  for (Released& r : released_) Free(r);
}

SqlTransaction* SqlTransaction::Active(const DbConnection* db) {
  if (!db) return nullptr;
  for (SqlTransaction* t : Open())
    if (t->db_ == db) return t;
  return nullptr;
}

void SqlTransaction::Remember(KsCustomObj& obj) {
  SqlTransaction* t = Active(obj.Database);
  if (!t) return;
  std::vector<Variant> keys;
  for (int i = 0; i < obj.PKCount; ++i) keys.push_back(obj.StoredKey(i));
  t->saved_.push_back({&obj, obj.State, t->modified_.size(), std::move(keys)});
  obj.Members.MakeAll();
  for (const KsMember& m : obj.Members.HeldMembers()) t->modified_.push_back(m.Modified);
}

void SqlTransaction::Release(KsObjList& list, std::vector<KsCustomObj*> objects) {
  Released r{&list, std::move(objects)};
  if (SqlTransaction* t = Active(list.Database))
    t->released_.push_back(std::move(r));
  else
    Free(r);
}

void SqlTransaction::Undo() {
  for (auto r = released_.rbegin(); r != released_.rend(); ++r)
    r->list->Removed.insert(r->list->Removed.begin(), r->objects.begin(), r->objects.end());
  for (auto s = saved_.rbegin(); s != saved_.rend(); ++s) {
    s->obj->State = s->state;
    for (size_t k = 0; k < s->storedKeys.size(); ++k)
      s->obj->SetStoredKey(static_cast<int>(k), s->storedKeys[k]);
    size_t i = s->firstMember;
    for (KsMember& m : s->obj->Members.HeldMembers()) m.Modified = modified_[i++];
  }
}

void SqlTransaction::Free(Released& r) {
  const uint8_t clearing = r.list->State & osClearing;
  r.list->State |= osClearing;
  for (KsCustomObj* obj : r.objects) delete obj;
  r.list->State = static_cast<uint8_t>((r.list->State & ~osClearing) | clearing);
  r.objects.clear();
}
