#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_import.h"

namespace {

class FuzzDocument : public KsGaebDocument {
 public:
  explicit FuzzDocument(KsFileReadGaeb00* reader) : reader_(reader) {}
  KsFileReadGaeb00* Reader() override { return reader_; }
  void NotifyObservers(int) override {}
  bool RecalcAll() const override { return false; }

 private:
  KsFileReadGaeb00* reader_;
};

// Removed at normal exit; a crashing run leaves it for inspection.
struct TempFile {
  std::string path;
  ~TempFile() { std::remove(path.c_str()); }
};

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

// The reader works on files, so every input goes through one temporary file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TempFile temp{"/tmp/tarvo_fuzz_gaeb_" + std::to_string(getpid()) + ".d83"};
  const std::string& path = temp.path;
  static const bool catalogue = [] {
    AddPositionDisplayFields();
    return true;
  }();
  (void)catalogue;
  if (!WriteFile(path, data, size)) return 0;
  try {
    KsFileReadGaeb00 reader(path, 1024);
    FuzzDocument doc(&reader);
    ScanGaebHeader(reader);
    // Read the tree even without an award block: more of the reader is run.
    ReadGaebRoot(doc);
  } catch (const std::runtime_error&) {
    // A number field that is not a number, a line beyond the length limit or
    // nesting beyond the depth limit ends the import, as it should.
  }
  return 0;
}
