// The search of the window on a synthetic tender of 100,000 positions: the
// first search (which lists the elements; by OZ, the OZ index too), a search by OZ,
// by words found late in the LV, and by words found nowhere (every text
// read). Each must answer within 100 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/tender_generator.h"
#include "document/lyx_obj.h"
#include "document/offer_search.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "util/format_settings.h"

namespace {

namespace fs = std::filesystem;

KsLyxObj& Tender() {
  static std::unique_ptr<KsLyxObj> doc = [] {
    SetFormatSettings(GermanFormatSettings());
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    const fs::path file =
        fs::temp_directory_path() / ("tarvo_bench_find_" + std::to_string(getpid()) + ".d83");
    WriteSyntheticTenderFile(file.string(), NestedTender(100000));
    auto d = std::make_unique<KsLyxObj>();
    if (!d->Import(file.string()))
      std::fprintf(stderr, "import failed: %s\n", d->LastError.c_str());
    fs::remove(file);
    return d;
  }();
  return *doc;
}

// The OZ of the last position, as the tender stores it.
std::string LastOz(const KsLyxObj& doc) {
  const KsGAEBObj* area = doc.LvAreas->Element(doc.LvAreas->Count() - 1);
  for (const KsGAEBObjList* areas = area->ChildList("LVBEREICH"); areas && areas->Count() > 0;
       areas = area->ChildList("LVBEREICH"))
    area = areas->Element(areas->Count() - 1);
  const KsGAEBObjList* positions = area->ChildList("POSITION");
  return positions->Element(positions->Count() - 1)->Text("OZ");
}

void BM_FirstSearch(benchmark::State& state) {
  KsLyxObj& doc = Tender();
  for (auto _ : state) {
    OfferSearch search(doc);
    benchmark::DoNotOptimize(search.Find("Bauzaun herstellen", nullptr, true));
  }
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond);

// The first search by OZ also makes the OZ index.
void BM_FirstSearchByOz(benchmark::State& state) {
  KsLyxObj& doc = Tender();
  const std::string oz = LastOz(doc);
  for (auto _ : state) {
    OfferSearch search(doc);
    benchmark::DoNotOptimize(search.Find(oz, nullptr, true));
  }
}
BENCHMARK(BM_FirstSearchByOz)->Unit(benchmark::kMillisecond);

void BM_SearchByOz(benchmark::State& state) {
  KsLyxObj& doc = Tender();
  OfferSearch search(doc);
  const std::string oz = LastOz(doc);
  search.Find(oz, nullptr, true);
  for (auto _ : state) benchmark::DoNotOptimize(search.Find(oz, nullptr, true));
}
BENCHMARK(BM_SearchByOz)->Unit(benchmark::kMillisecond);

void BM_SearchByWordsNowhere(benchmark::State& state) {
  KsLyxObj& doc = Tender();
  OfferSearch search(doc);
  search.Find("x", nullptr, true);
  for (auto _ : state)
    benchmark::DoNotOptimize(search.Find("Schlagregendicht Zwischenbauteil", nullptr, true));
}
BENCHMARK(BM_SearchByWordsNowhere)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
