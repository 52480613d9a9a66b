// Writing the recovery file of a priced 10,000-position tender, which the
// window does on its own thread while the estimator types, and reading it
// back at start. The budget for writing is 50 ms.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "bench/tender_generator.h"
#include "document/lyx_obj.h"
#include "document/recovery_file.h"
#include "gaeb/gaeb_catalogue.h"
#include "util/format_settings.h"

namespace {

namespace fs = std::filesystem;

struct Opened {
  Opened() {
    SetFormatSettings(GermanFormatSettings());
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    dir = fs::temp_directory_path() / ("tarvo_bench_recovery_" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string tender = (dir / "tender.d83").string();
    WriteSyntheticTenderFile(tender, NestedTender(10000));
    if (!doc.Import(tender)) std::abort();
    head.TenderPath = tender;
  }
  ~Opened() { fs::remove_all(dir); }
  fs::path dir;
  KsLyxObj doc;
  RecoveryHead head;
};

Opened& Tender() {
  static Opened opened;
  return opened;
}

void BM_WriteRecoveryFile(benchmark::State& state) {
  Opened& t = Tender();
  const std::string path = (t.dir / "lv.wiederherstellung.xml").string();
  for (auto _ : state) WriteRecoveryFile(path, t.doc, t.head);
  state.counters["MB"] = static_cast<double>(fs::file_size(path)) / 1e6;
}
BENCHMARK(BM_WriteRecoveryFile)->Unit(benchmark::kMillisecond);

void BM_RestoreRecoveryFile(benchmark::State& state) {
  Opened& t = Tender();
  const std::string path = (t.dir / "lv.wiederherstellung.xml").string();
  WriteRecoveryFile(path, t.doc, t.head);
  for (auto _ : state) {
    KsLyxObj restored;
    RecoveryHead head;
    if (!restored.Restore(path, head)) state.SkipWithError(restored.LastError.c_str());
  }
}
BENCHMARK(BM_RestoreRecoveryFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
