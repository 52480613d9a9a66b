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

struct OfferClass : ObjClass {
  OfferClass()
      : ObjClass("KsArchOffer", &KsObj::StaticClass(),
                 [] { return static_cast<KsCustomObj*>(new KsArchOffer); }) {}
  const std::string& ClassTablename() const override { return table_; }
  const std::string table_ = "ARCHOFFER";
};

}  // namespace

void RegisterArchiveRecords() {
  static const bool done = [] {
    RegisterDescriptor("ARCHOFFER", Offer);
    return true;
  }();
  (void)done;
}

const ObjClass& KsArchOffer::StaticClass() {
  static const OfferClass cls;
  return cls;
}
