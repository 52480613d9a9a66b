#include "document/lv_walk.h"

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"

namespace {

void WalkPositions(const KsGAEBObjList* positions,
                   const std::function<void(const KsGAEBObj&)>& onPosition) {
  if (!positions) return;
  for (int i = 0; i < positions->Count(); ++i) onPosition(*positions->Element(i));
}

void WalkAreas(const KsGAEBObjList* areas, int depth,
               const std::function<void(const KsGAEBObj&, int)>& onArea,
               const std::function<void(const KsGAEBObj&)>& onPosition) {
  if (!areas) return;
  for (int i = 0; i < areas->Count(); ++i) {
    const KsGAEBObj& area = *areas->Element(i);
    onArea(area, depth);
    WalkAreas(area.ChildList("LVBEREICH"), depth + 1, onArea, onPosition);
    WalkPositions(area.ChildList("POSITION"), onPosition);
  }
}

}  // namespace

void WalkLv(const KsLyxObj& document, const std::function<void(const KsGAEBObj&, int)>& onArea,
            const std::function<void(const KsGAEBObj&)>& onPosition) {
  WalkAreas(document.LvAreas, 1, onArea, onPosition);
  WalkPositions(document.Positions, onPosition);
}
