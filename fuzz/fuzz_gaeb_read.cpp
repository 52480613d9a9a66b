#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_import.h"

namespace {

class FuzzDocument : public GaebDocument {
 public:
  explicit FuzzDocument(KsFileReadGaeb00* reader) : reader_(reader) {}
  KsFileReadGaeb00* Reader() override { return reader_; }
  void NotifyObservers(int) override {}
  bool RecalcAll() const override { return false; }

 private:
  KsFileReadGaeb00* reader_;
};

// Removed at normal exit; a crashing run leaves them for inspection.
struct TempFiles {
  std::string input, offer, again;
  ~TempFiles() {
    for (const std::string* path : {&input, &offer, &again}) std::remove(path->c_str());
  }
};

bool WriteFile(const std::string& path, const uint8_t* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The tree below the root block, even without an award block: more of the
// reader is run than an import runs. False when the reader ends the read.
bool ReadsAsTree(const std::string& path) {
  try {
    KsFileReadGaeb00 reader(path, 1024);
    FuzzDocument doc(&reader);
    ScanGaebHeader(reader);
    return ReadGaebRoot(doc) != nullptr;
  } catch (const std::runtime_error&) {
    // A number field that is not a number, a line beyond the length limit or
    // nesting beyond the depth limit ends the import, as it should.
    return false;
  }
}

// Opened as a tender and saved as an offer; false when the import or the
// save refuses (each with its message).
bool OpenAndSave(const std::string& path, const std::string& offer) {
  KsLyxObj document;
  return document.Import(path) && document.ExportD84(offer);
}

}  // namespace

// What is saved reads back as the same offer: saving that again gives the
// same bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string base = "/tmp/tarvo_fuzz_gaeb_" + std::to_string(getpid());
  static const TempFiles temp{base + ".d83", base + ".d84", base + "_2.d84"};
  static const bool catalogue = [] {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    return true;
  }();
  (void)catalogue;
  if (!WriteFile(temp.input, data, size) || !ReadsAsTree(temp.input) ||
      !OpenAndSave(temp.input, temp.offer))
    return 0;
  if (!OpenAndSave(temp.offer, temp.again)) {
    std::fprintf(stderr, "The saved offer does not open or save again.\n");
    std::abort();
  }
  if (ReadFile(temp.again) != ReadFile(temp.offer)) {
    std::fprintf(stderr, "The saved offer reads back as a different offer.\n");
    std::abort();
  }
  return 0;
}
