#pragma once

#include <functional>

class KsGAEBObj;
class KsLyxObj;

// Visits the bill of quantities depth first in the order of the offer print:
// each LV area (depth 1 = top level) before its sub-areas, then its own
// positions; the positions standing directly under the LV come last.
void WalkLv(const KsLyxObj& document, const std::function<void(const KsGAEBObj&, int)>& onArea,
            const std::function<void(const KsGAEBObj&)>& onPosition);
