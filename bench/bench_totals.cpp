#include <benchmark/benchmark.h>

#include "bench/tree_builder.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_settings.h"

namespace {

// The recalculation after an import: every amount stored, with RecalcAll set.
// 10 lots x 10 titles x 1,000 positions.
void BM_CalcAllRecalc100k(benchmark::State& state) {
  SetFormatSettings(GermanFormatSettings());
  BenchDocument doc;
  std::unique_ptr<KsGAEBObj> lv = BuildLV(&doc, 10, 10, 1000);
  doc.recalcAll = true;
  for (auto _ : state) CalcAll(*lv);
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_CalcAllRecalc100k)->Unit(benchmark::kMillisecond);

// One unit-price edit in a title of 10,000 positions, carried through the
// title and its lot up to the LV sum (the other lots hold 1,000 positions
// each).
void BM_EditUnitPriceIn10kArea(benchmark::State& state) {
  SetFormatSettings(GermanFormatSettings());
  BenchDocument doc;
  std::unique_ptr<KsGAEBObj> lv = BuildLV(&doc, 4, 1, 1000);
  const TreeBuilder builder(&doc);
  KsGAEBObj& lot = builder.AddArea(*lv);
  KsGAEBObj& title = builder.AddArea(lot);
  for (int p = 0; p < 10000; ++p) builder.AddPosition(title, 2 + p % 13, 5 + p % 101 * 0.25);
  doc.recalcAll = true;
  CalcAll(*lv);
  doc.recalcAll = false;

  KsGAEBObj& position = *title.ChildList("POSITION")->Element(5000);
  const char* prices[] = {"12,345", "12,346"};
  int i = 0;
  for (auto _ : state) SetPositionValue(position, prices[i++ & 1], "EP");
  if (doc.notifications < static_cast<long>(state.iterations()))
    state.SkipWithError("an edit did not reach the LV sum");
}
BENCHMARK(BM_EditUnitPriceIn10kArea)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
