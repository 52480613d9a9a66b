#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "document/lyx_obj.h"
#include "fuzz/cut_check.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_import.h"
#include "tests/support/time_of_writing.h"

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
  std::string input, offer, again, cut;
  ~TempFiles() {
    for (const std::string* path : {&input, &offer, &again, &cut}) std::remove(path->c_str());
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
// reader is run than an import runs. The line of the root's end line, 0 when
// the reader ends the read.
int64_t ReadsAsTree(const std::string& path) {
  try {
    KsFileReadGaeb00 reader(path, 1024);
    FuzzDocument doc(&reader);
    ScanGaebHeader(reader);
    return ReadGaebRoot(doc) != nullptr ? reader.TokenLine() : 0;
  } catch (const std::runtime_error&) {
    // A number field that is not a number, a line beyond the length limit,
    // nesting beyond the depth limit or a file cut short ends the import, as
    // it should.
    return 0;
  }
}

// Byte offset of the start of line `line` (1-based), lines ended as the
// reader ends them: by CR LF, LF or CR.
size_t LineStart(const uint8_t* data, size_t size, int64_t line) {
  size_t at = 0;
  for (int64_t n = 1; n < line && at < size; ++n) {
    while (at < size && data[at] != '\r' && data[at] != '\n') ++at;
    if (at < size && data[at] == '\r' && at + 1 < size && data[at + 1] == '\n') ++at;
    ++at;
  }
  return at;
}

// Opened as a tender and saved as an offer; false when the import or the
// save refuses (each with its message).
bool OpenAndSave(const std::string& path, const std::string& offer) {
  KsLyxObj document;
  return document.Import(path) && document.ExportD84(offer);
}

// The root's end line is the last token of a file that opens (nothing may
// follow it); its cuts are checked before that line and before its "]".
void CheckCutsOfTheRootEnd(const uint8_t* data, size_t size, int64_t rootEndLine,
                           const TempFiles& temp) {
  const size_t lineStart = LineStart(data, size, rootEndLine);
  const uint8_t* bracket =
      static_cast<const uint8_t*>(std::memchr(data + lineStart, ']', size - lineStart));
  if (!bracket) {
    std::fprintf(stderr, "The root's end line %lld holds no \"]\".\n",
                 static_cast<long long>(rootEndLine));
    std::abort();
  }
  CheckCutsAreRefused(data, size, lineStart, static_cast<size_t>(bracket - data), [&](size_t cut) {
    return WriteFile(temp.cut, data, cut) && OpenAndSave(temp.cut, temp.again);
  });
}

}  // namespace

// What is saved reads back as the same offer: saving that again gives the
// same bytes; and no cut of it opens.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string base = "/tmp/tarvo_fuzz_gaeb_" + std::to_string(getpid());
  static const TempFiles temp{base + ".d83", base + ".d84", base + "_2.d84", base + "_cut.d83"};
  static const bool catalogue = [] {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    return true;
  }();
  (void)catalogue;
  if (!WriteFile(temp.input, data, size)) return 0;
  const int64_t rootEndLine = ReadsAsTree(temp.input);
  if (rootEndLine == 0 || !OpenAndSave(temp.input, temp.offer)) return 0;
  if (!OpenAndSave(temp.offer, temp.again)) {
    std::fprintf(stderr, "The saved offer does not open or save again.\n");
    std::abort();
  }
  if (WithoutTimeOfWriting(ReadFile(temp.again)) != WithoutTimeOfWriting(ReadFile(temp.offer))) {
    std::fprintf(stderr, "The saved offer reads back as a different offer.\n");
    std::abort();
  }
  CheckCutsOfTheRootEnd(data, size, rootEndLine, temp);
  return 0;
}
