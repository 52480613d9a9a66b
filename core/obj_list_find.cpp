#include "core/obj_list.h"
#include "util/variant_compare.h"

KsCustomObj* KsObjList::FindByPK(const std::vector<Variant>& values, int& index) {
  index = -1;
  try {
    int lo = 0;
    int hi = Count() - 1;
    while (lo <= hi) {
      const int mid = (lo + hi) / 2;
      KsCustomObj* item = ItemsList[mid];
      int c = 0;
      for (size_t k = 0; k < values.size() && c == 0; ++k)
        c = VarCompare(item->GetPKMember(static_cast<uint8_t>(k)).Value, values[k]);
      if (Flags & ofDescendingKeys) c = -c;
      if (c < 0) {
        lo = mid + 1;
      } else {
        hi = mid - 1;
        if (c == 0) {
          index = mid;
          return item;
        }
      }
    }
    index = lo;
    return nullptr;
  } catch (const std::exception&) {
    index = -1;
    return nullptr;
  }
}
