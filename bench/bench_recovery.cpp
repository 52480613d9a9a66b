// Securing a priced 10,000-position tender while the estimator types: the
// text of the recovery file is made on the window's thread (budget 50 ms,
// the text written before lending its room as in the autosave),
// the file is written and flushed on the autosave's own thread. And reading
// it back at start.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
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

// What the window's thread does.
void BM_RecoveryTextOnWindowThread(benchmark::State& state) {
  Opened& t = Tender();
  size_t bytes = 0;
  PiecedText text;  // as the autosave keeps the room of the text written before
  for (auto _ : state) {
    MakeRecoveryText(t.doc, t.head, text);
    bytes = text.Size();
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_RecoveryTextOnWindowThread)->Unit(benchmark::kMillisecond);

// The first autosave of an opened tender, which also makes the members the
// reader left out (a child member sets up its empty list).
void BM_FirstRecoveryTextOnWindowThread(benchmark::State& state) {
  Opened& t = Tender();
  size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto fresh = std::make_unique<KsLyxObj>();
    if (!fresh->Import(t.head.TenderPath)) state.SkipWithError(fresh->LastError.c_str());
    PiecedText text;
    state.ResumeTiming();
    MakeRecoveryText(*fresh, t.head, text);
    bytes = text.Size();
    state.PauseTiming();
    fresh.reset();
    state.ResumeTiming();
  }
  state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_FirstRecoveryTextOnWindowThread)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the autosave's thread does meanwhile.
void BM_WriteRecoveryTextOffThread(benchmark::State& state) {
  Opened& t = Tender();
  const std::string path = (t.dir / "lv.wiederherstellung.xml").string();
  const PiecedText text = RecoveryText(t.doc, t.head);
  for (auto _ : state) WriteRecoveryText(path, text);
}
BENCHMARK(BM_WriteRecoveryTextOffThread)->Unit(benchmark::kMillisecond);

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
