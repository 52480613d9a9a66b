#include "ui/area_rows.h"

#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"

namespace {

void AddRows(KsGAEBObj& area, int parentRow, std::vector<GridRow>& rows) {
  const int self = static_cast<int>(rows.size());
  rows.push_back({&area, parentRow});
  if (const KsGAEBObjList* areas = area.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) AddRows(*areas->Element(i), self, rows);
  if (const KsGAEBObjList* positions = area.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) rows.push_back({positions->Element(i), self});
}

}  // namespace

std::vector<GridRow> AreaRows(KsGAEBObj& area) {
  std::vector<GridRow> rows;
  AddRows(area, -1, rows);
  return rows;
}

std::vector<GridRow> AreaRows(const KsGAEBObjList* areas) {
  std::vector<GridRow> rows;
  for (int i = 0; areas && i < areas->Count(); ++i) AddRows(*areas->Element(i), -1, rows);
  return rows;
}

int AreaDepth(const KsGAEBObj& area) {
  int depth = 1;
  for (const KsGAEBObj* up = area.ParentElement(); IsAreaRow(up); up = up->ParentElement()) ++depth;
  return depth;
}
