#pragma once

#include <vector>

class KsGAEBObj;
class KsGAEBObjList;

// One row of the price grid: an LV area or a position, and the row of the
// area that holds it (-1 for the first row).
struct GridRow {
  KsGAEBObj* Element = nullptr;
  int ParentRow = -1;
};

// The rows of an LV area, depth first: the area itself, then each of its
// sub-areas with their rows, then its own positions.
std::vector<GridRow> AreaRows(KsGAEBObj& area);
// The rows of every area of the list, one area after the other.
std::vector<GridRow> AreaRows(const KsGAEBObjList* areas);

// Depth of an LV area in the tree: 1 for an area directly under the LV.
int AreaDepth(const KsGAEBObj& area);
