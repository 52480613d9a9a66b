// Import (reading, checks, recalculation of every total) and D84 export of
// synthetic tenders through the offer document, and the peak memory of the
// process, for 10,000 and 100,000 positions. Each size runs in a child process
// so its peak memory is its own.
//
//   bench_document [positions ...]

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/tender_generator.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "util/format_settings.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const std::string prefix = std::string(key) + ":";
  while (std::getline(status, line))
    if (line.compare(0, prefix.size(), prefix) == 0) return std::atol(line.c_str() + prefix.size());
  return 0;
}

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

int Measure(int positions) {
  SetFormatSettings(GermanFormatSettings());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  const fs::path dir = fs::temp_directory_path() / ("tarvo_bench_doc_" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string in = (dir / "tender.d83").string();
  const std::string out = (dir / "tender.d84").string();
  const double mb = WriteSyntheticTenderFile(in, NestedTender(positions)) / 1e6;
  const long baseKb = StatusKb("VmRSS");

  KsLyxObj doc;
  auto start = Clock::now();
  if (!doc.Import(in)) {
    std::fprintf(stderr, "import failed: %s\n", doc.LastError.c_str());
    return 1;
  }
  const double importSeconds = Seconds(start);
  start = Clock::now();
  doc.RecalculateAll();
  const double recalcSeconds = Seconds(start);
  start = Clock::now();
  if (!doc.ExportD84(out)) {
    std::fprintf(stderr, "export failed: %s\n", doc.LastError.c_str());
    return 1;
  }
  const double exportSeconds = Seconds(start);
  const double outMb = fs::file_size(out) / 1e6;
  const long peakKb = StatusKb("VmHWM");

  std::printf("%7d positions  file %6.1f MB\n", positions, mb);
  std::printf("  import (read, checks, recalculation)  %6.1f MB/s  (%.3f s)\n", mb / importSeconds,
              importSeconds);
  std::printf("  recalculation alone                   %6.1f ms\n", recalcSeconds * 1000);
  std::printf("  export D84                            %6.1f MB/s  (%.3f s, %.1f MB)\n",
              outMb / exportSeconds, exportSeconds, outMb);
  std::printf("  peak memory %ld MB (%ld bytes per position above the start)\n", peakKb / 1024,
              (peakKb - baseKb) * 1024 / positions);
  fs::remove_all(dir);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
  if (sizes.empty()) sizes = {10000, 100000};
  int status = 0;
  for (int positions : sizes) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
      const int rc = Measure(positions);
      std::fflush(stdout);
      std::_Exit(rc);
    }
    int result = 0;
    waitpid(child, &result, 0);
    if (!WIFEXITED(result) || WEXITSTATUS(result) != 0) status = 1;
  }
  return status;
}
