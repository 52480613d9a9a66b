#include "archive/archive_records.h"

#include <memory>

#include "core/fb_desc.h"

namespace {

std::unique_ptr<KsFBDesc> Offer() {
  auto d = std::make_unique<KsFBDesc>("ARCHOFFER", "ARCHOFFER");
  d->AddField(true, "OFFERID", "", "", ftInteger);
  d->AddField(true, "OFFERFILE", "", "", ftString);
  d->AddField(false, "TENDER", "", "", ftString);
  d->AddField(false, "LVKEY", "", "", ftString);
  d->AddField(false, "PROJECT", "", "", ftString);
  d->AddField(false, "CLIENT", "", "", ftString);
  d->AddField(false, "OFFERDATE", "", "", ftString, 10);
  d->AddField(false, "POSITIONS", "", "", ftInteger);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "OFFERID", true}));
  return d;
}

std::unique_ptr<KsFBDesc> Position() {
  auto d = std::make_unique<KsFBDesc>("ARCHPOS", "ARCHPOS");
  d->AddField(true, "OFFERID", "", "", ftInteger);
  d->AddField(true, "NR", "", "", ftInteger);
  d->AddField(false, "OZ", "", "", ftString);
  d->AddField(false, "SHORTTEXT", "", "", ftMemo);
  d->AddField(false, "LONGTEXT", "", "", ftMemo);
  d->AddField(false, "UNIT", "", "", ftString);
  d->AddField(false, "QUANTITY", "", "", ftFloat);
  d->AddField(false, "EP", "", "", ftFloat);
  for (const char* c :
       {"EPANTEIL1", "EPANTEIL2", "EPANTEIL3", "EPANTEIL4", "EPANTEIL5", "EPANTEIL6"})
    d->AddField(false, c, "", "", ftFloat);
  d->AddField(false, "CATALOG", "", "", ftString);
  d->AddField(false, "TEXTKEY", "", "", ftString);
  d->AddField(false, "UNITKEY", "", "", ftString);
  d->AddField(false, "OFFERDATE", "", "", ftString, 10);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "OFFERID,NR", true}));
  return d;
}

template <class T>
struct TableClass : ObjClass {
  TableClass(const char* name, const char* table)
      : ObjClass(name, &KsObj::StaticClass(), [] { return static_cast<KsCustomObj*>(new T); }),
        table_(table) {}
  const std::string& ClassTablename() const override { return table_; }
  const std::string table_;
};

struct PositionListClass : ObjListClass {
  PositionListClass()
      : ObjListClass("KsArchPositionList", &KsObjList::StaticClass(),
                     [] { return static_cast<KsCustomObj*>(new KsArchPositionList); }) {}
  const ObjClass* ClassItemClass() const override { return &KsArchPosition::StaticClass(); }
};

}  // namespace

void RegisterArchiveRecords() {
  static const bool done = [] {
    RegisterDescriptor("ARCHOFFER", Offer);
    RegisterDescriptor("ARCHPOS", Position);
    return true;
  }();
  (void)done;
}

const ObjClass& KsArchPosition::StaticClass() {
  static const TableClass<KsArchPosition> cls("KsArchPosition", "ARCHPOS");
  return cls;
}

const ObjClass& KsArchPositionList::StaticClass() {
  static const PositionListClass cls;
  return cls;
}

const ObjClass& KsArchOffer::StaticClass() {
  static const TableClass<KsArchOffer> cls("KsArchOffer", "ARCHOFFER");
  return cls;
}

void KsArchOffer::Create(KsCustomObj* owner, const KsParams& params, DbConnection* db) {
  KsObj::Create(owner, params, db);
  KsArchPositionList::StaticClass().CreateObj(this, {Variant("FKNames"), Variant("OFFERID")}, db);
}

KsArchPositionList& KsArchOffer::PositionList() const {
  return *static_cast<KsArchPositionList*>(Children.Find("ARCHPOS"));
}
