// Reading and writing speed of the GAEB 2000 exchange, and the memory a read
// tree holds per position, on synthetic tenders of 10,000 and 100,000
// positions. Every size runs in a child process of its own so that its peak
// memory is not hidden by an earlier run.
//
//   bench_read_write [positions ...] [--single-area]

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/tender_generator.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/file_write_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_import.h"
#include "gaeb/gaeb_texts.h"
#include "util/format_settings.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRepeats = 3;
// The block size the offer document reads with.
constexpr int kImportBlockSize = 1024;

// The least a document must do for the reader: lend it and hear the progress.
class ReadingDocument : public GaebDocument {
 public:
  KsFileReadGaeb00* Reader() override { return reader; }
  void NotifyObservers(int) override { ++notifications; }
  bool RecalcAll() const override { return false; }

  KsFileReadGaeb00* reader = nullptr;
  long notifications = 0;
};

class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// Kilobytes of a line of /proc/self/status ("VmRSS", "VmHWM").
long StatusKb(const char* key) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t length = std::strlen(key);
  while (std::getline(status, line))
    if (line.compare(0, length, key) == 0 && line[length] == ':')
      return std::stol(line.substr(length + 1));
  return -1;
}

// Lets VmHWM start again from the current resident size.
bool ResetPeak() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
}

// Wall time and the process's CPU time; on a busy machine the CPU time is
// the steadier figure.
struct Timing {
  double wall = 1e9;
  double cpu = 1e9;
  void KeepBest(const Timing& t) {
    wall = std::min(wall, t.wall);
    cpu = std::min(cpu, t.cpu);
  }
};

double CpuSeconds() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

class Stopwatch {
 public:
  Timing Elapsed() const {
    return {std::chrono::duration<double>(Clock::now() - wall_).count(), CpuSeconds() - cpu_};
  }

 private:
  Clock::time_point wall_ = Clock::now();
  double cpu_ = CpuSeconds();
};

struct ReadResult {
  std::unique_ptr<KsGGAEB> root;
  Timing time;
};

ReadResult Import(const fs::path& file, ReadingDocument& doc) {
  const Stopwatch watch;
  KsFileReadGaeb00 reader(file.string(), kImportBlockSize);
  ScanGaebHeader(reader);
  doc.reader = &reader;
  ReadResult result{ReadGaebRoot(doc), {}};
  doc.reader = nullptr;
  result.time = watch.Elapsed();
  return result;
}

Timing WriteTime(KsGGAEB& root, std::ostream& out) {
  const Stopwatch watch;
  KsFileWriteGaeb00 w(out);
  root.WriteElement(w);
  return watch.Elapsed();
}

std::string Speed(uintmax_t bytes, const Timing& t) {
  char text[64];
  std::snprintf(text, sizeof text, "%6.1f MB/s (CPU time %6.1f MB/s)",
                static_cast<double>(bytes) / 1e6 / t.wall,
                static_cast<double>(bytes) / 1e6 / t.cpu);
  return text;
}

void Measure(const fs::path& file, int positions) {
  SetFormatSettings(GermanFormatSettings());
  AddPositionDisplayFields();
  const uintmax_t fileBytes = fs::file_size(file);
  ReadingDocument doc;

  const long baselineKb = StatusKb("VmRSS");
  const bool peakReset = ResetPeak();
  ReadResult tree = Import(file, doc);
  const long peakKb = peakReset ? StatusKb("VmHWM") : -1;
  const long heldKb = StatusKb("VmRSS");
  KsGAEBObj* vergabe = tree.root ? tree.root->Child("VERGABE") : nullptr;
  KsGAEBObj* lv = vergabe ? vergabe->Child("LV") : nullptr;
  if (!lv) throw std::runtime_error(file.string() + ": no LV read");
  Timing read = tree.time;
  for (int i = 1; i < kRepeats; ++i) {
    ReadingDocument again;
    read.KeepBest(Import(file, again).time);
  }

  NullBuffer nullBuffer;
  std::ostream nullStream(&nullBuffer);
  Timing toNull, toFile;
  uintmax_t writtenBytes = 0;
  const fs::path copy = fs::path(file).replace_extension(".D84");
  for (int i = 0; i < kRepeats; ++i) {
    toNull.KeepBest(WriteTime(*tree.root, nullStream));
    std::ofstream out(copy, std::ios::binary | std::ios::trunc);
    toFile.KeepBest(WriteTime(*tree.root, out));
    out.close();
    writtenBytes = fs::file_size(copy);
  }
  fs::remove(copy);

  const double textBytes = static_cast<double>(fileBytes) / positions;
  std::printf("%8d positions  file %7.1f MB (%4.0f bytes/position), %d areas and positions read\n",
              positions, static_cast<double>(fileBytes) / 1e6, textBytes, CountItems(*lv));
  std::printf("  read            %s  block size %d\n", Speed(fileBytes, read).c_str(),
              kImportBlockSize);
  std::printf("  write to null   %s  %.1f MB written\n", Speed(writtenBytes, toNull).c_str(),
              static_cast<double>(writtenBytes) / 1e6);
  std::printf("  write to a file %s\n", Speed(writtenBytes, toFile).c_str());
  if (peakKb >= 0)
    std::printf("  memory per position: peak %6.0f bytes, held %6.0f bytes (text %4.0f bytes)\n",
                (peakKb - baselineKb) * 1024.0 / positions,
                (heldKb - baselineKb) * 1024.0 / positions, textBytes);
  else
    std::printf("  memory per position: held %6.0f bytes (text %4.0f bytes; peak not resettable)\n",
                (heldKb - baselineKb) * 1024.0 / positions, textBytes);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> sizes;
  bool singleArea = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--single-area") == 0)
      singleArea = true;
    else
      sizes.push_back(std::atoi(argv[i]));
  }
  if (sizes.empty()) sizes = {10000, 100000};

  const fs::path dir = fs::temp_directory_path();
  for (const int positions : sizes) {
    const fs::path file = dir / ("tarvo_bench_" + std::to_string(getpid()) + "_" +
                                 std::to_string(positions) + ".P83");
    try {
      WriteSyntheticTenderFile(file.string(),
                               singleArea ? SingleAreaTender(positions) : NestedTender(positions));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
      try {
        Measure(file, positions);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        _exit(1);
      }
      _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    fs::remove(file);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
  }
  return 0;
}
