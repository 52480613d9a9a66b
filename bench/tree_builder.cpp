#include "bench/tree_builder.h"

#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_classes.h"
#include "util/number_text.h"

namespace {

void SetText(KsGAEBObj& element, const char* member, const std::string& text) {
  if (KsMember* m = element.Members.FindOrMake(member)) m->SetValue(Variant(text));
}

}  // namespace

TreeBuilder::TreeBuilder(GaebDocument* doc) : doc_(doc) { AddPositionDisplayFields(); }

std::unique_ptr<KsGAEBObj> TreeBuilder::NewLV() const {
  const KsParams params = ImportParams(doc_);
  std::unique_ptr<KsGAEBObj> lv(
      static_cast<KsGAEBObj*>(GaebClasses().CreateObj("GAEBLV", nullptr, params, nullptr)));
  auto* info =
      static_cast<KsGAEBObj*>(GaebClasses().CreateObj("GAEBLVINFO", lv.get(), params, nullptr));
  lv->Members.FindOrMake("LVINFO")->SetChild(info);
  SetText(*info, "UST", "19");
  return lv;
}

KsGAEBObj& TreeBuilder::Add(KsGAEBObj& parent, const std::string& listName,
                            const std::string& key) const {
  return *static_cast<KsGAEBObj*>(
      GaebClasses().CreateObj(key, parent.ChildListOrNew(listName), ImportParams(doc_), nullptr));
}

KsGAEBObj& TreeBuilder::AddArea(KsGAEBObj& parent) const {
  return Add(parent, "LVBEREICH", "GAEBLVBEREICH");
}

KsGAEBObj& TreeBuilder::AddPosition(KsGAEBObj& parent, double quantity, double unitPrice) const {
  KsGAEBObj& position = Add(parent, "POSITION", "GAEBPOSITION");
  SetText(position, "_TARVO_POSTYP", "N");
  SetText(position, "MENGE", FloatToStr(quantity));
  SetText(position, "EP", FloatToStr(unitPrice));
  return position;
}

std::unique_ptr<KsGAEBObj> BuildLV(GaebDocument* doc, int lots, int titles, int positions) {
  const TreeBuilder builder(doc);
  std::unique_ptr<KsGAEBObj> lv = builder.NewLV();
  int n = 0;
  for (int l = 0; l < lots; ++l) {
    KsGAEBObj& lot = builder.AddArea(*lv);
    for (int t = 0; t < titles; ++t) {
      KsGAEBObj& title = builder.AddArea(lot);
      for (int p = 0; p < positions; ++p, ++n)
        builder.AddPosition(title, 1 + n % 97 * 0.5, 10 + n % 1013 * 0.125);
    }
  }
  return lv;
}
