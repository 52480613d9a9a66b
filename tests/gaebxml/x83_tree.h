#pragma once

#include <string>
#include <vector>

#include "gaeb/gaeb_obj.h"

// Sample files and walks over read trees for the tests of the XML layer.

inline const std::string kOfficialX83 =
    std::string(TARVO_TEST_DATA_DIR) + "/xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83";
inline const std::string kOfficialX84 =
    std::string(TARVO_TEST_DATA_DIR) +
    "/xml/BVBS_Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2021.X84";

inline KsGAEBObj* LvOf(const KsGAEBObj& root) {
  const KsGAEBObj* vergabe = root.Child("VERGABE");
  return vergabe ? vergabe->Child("LV") : nullptr;
}

// Areas and positions in the order of the file (an area before what it holds).
struct FlatLv {
  std::vector<KsGAEBObj*> Areas;
  std::vector<KsGAEBObj*> Positions;
};

inline void Flatten(const KsGAEBObj& holder, FlatLv& flat) {
  if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) {
      flat.Areas.push_back(areas->Element(i));
      Flatten(*areas->Element(i), flat);
    }
  if (const KsGAEBObjList* positions = holder.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) flat.Positions.push_back(positions->Element(i));
}

inline FlatLv Flatten(const KsGAEBObj& lv) {
  FlatLv flat;
  Flatten(lv, flat);
  return flat;
}

inline int ListCount(const KsGAEBObj& element, const char* list) {
  const KsGAEBObjList* l = element.ChildList(list);
  return l ? l->Count() : 0;
}

inline std::string DescriptionText(const KsGAEBObj& element, const char* member) {
  const KsGAEBObj* b = element.Child("BESCHREIBUNG");
  return b ? b->Text(member) : std::string();
}
