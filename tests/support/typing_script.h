#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "document/cell_text.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"

// What a scripted estimator types into a tender, one entry per step: step s
// prices position (s - 1) mod n of the n positions that take a price, in tree
// order, with "s,cc" (cc = s mod 100) as unit price or, where the client
// asks for a breakdown, as first price component. The highest price typed is
// the last step's, so an offer tells how far the script had come.
namespace typing_script {

inline void CollectPositions(KsGAEBObj& holder, std::vector<KsGAEBObj*>& positions) {
  if (KsGAEBObjList* list = holder.ChildList("POSITION"))
    for (int i = 0; i < list->Count(); ++i) {
      KsGAEBObj* position = list->Element(i);
      if (IsEnterable(*position, "EP") || IsEnterable(*position, "EPANTEIL1"))
        positions.push_back(position);
    }
  if (KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) CollectPositions(*areas->Element(i), positions);
}

inline std::vector<KsGAEBObj*> Positions(KsLyxObj& doc) {
  std::vector<KsGAEBObj*> positions;
  if (doc.Lv) CollectPositions(*doc.Lv, positions);
  return positions;
}

inline const char* PriceMember(const KsGAEBObj& position) {
  return IsEnterable(position, "EP") ? "EP" : "EPANTEIL1";
}

inline std::string PriceText(long long step) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld,%02lld", step, step % 100);
  return text;
}

inline void TypeStep(KsLyxObj& doc, const std::vector<KsGAEBObj*>& positions, long long step) {
  KsGAEBObj& position = *positions[static_cast<size_t>((step - 1) % positions.size())];
  doc.NoteEdit(position);
  ApplyCellText(position, position.GetMember(PriceMember(position)), PriceText(step));
}

}  // namespace typing_script
