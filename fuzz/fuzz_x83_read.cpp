#include <cstdint>
#include <string_view>

#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/x83_reader.h"

namespace {

class FuzzDocument : public KsGaebDocument {
 public:
  KsFileReadGaeb00* Reader() override { return nullptr; }
  void NotifyObservers(int) override {}
  bool RecalcAll() const override { return true; }
};

}  // namespace

// Reads the bytes as an X83 tender and, when it is taken, recalculates it as
// the document would after an import.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool catalogue = [] {
    AddPositionDisplayFields();
    return true;
  }();
  (void)catalogue;
  FuzzDocument doc;
  const KsX83Result result =
      ReadX83(std::string_view(reinterpret_cast<const char*>(data), size), doc);
  if (!result.Root) return 0;
  if (KsGAEBObj* vergabe = result.Root->Child("VERGABE"))
    if (KsGAEBObj* lv = vergabe->Child("LV")) CalcAll(*lv);
  return 0;
}
