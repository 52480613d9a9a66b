#include <cstdint>
#include <ostream>
#include <streambuf>
#include <string_view>

#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/x83_reader.h"
#include "gaebxml/x84_writer.h"
#include "util/entry_error.h"

namespace {

class FuzzDocument : public GaebDocument {
 public:
  KsFileReadGaeb00* Reader() override { return nullptr; }
  void NotifyObservers(int) override {}
  bool RecalcAll() const override { return true; }
};

class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return c; }
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

}  // namespace

// Reads the bytes as an X83 tender and, when it is taken, recalculates it as
// the document would after an import and writes its answer.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool catalogue = [] {
    AddPositionDisplayFields();
    return true;
  }();
  (void)catalogue;
  FuzzDocument doc;
  const X83Result result =
      ReadX83(std::string_view(reinterpret_cast<const char*>(data), size), doc);
  if (!result.Root) return 0;
  try {
    if (KsGAEBObj* vergabe = result.Root->Child("VERGABE"))
      if (KsGAEBObj* lv = vergabe->Child("LV")) CalcAll(*lv);
  } catch (const EntryError&) {
    // An amount beyond the limit ends the import, as it should.
    return 0;
  }
  NullBuffer nothing;
  std::ostream out(&nothing);
  WriteX84(out, *result.Root, result.Origin, {"2025-06-02", "14:05:00"});
  return 0;
}
