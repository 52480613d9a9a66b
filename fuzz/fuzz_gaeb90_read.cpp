#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string_view>

#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_totals.h"
#include "gaeb90/d83_reader.h"
#include "gaeb90/d84_offer.h"
#include "gaeb90/records.h"
#include "util/entry_error.h"

namespace {

class FuzzDocument : public GaebDocument {
 public:
  KsFileReadGaeb00* Reader() override { return nullptr; }
  void NotifyObservers(int) override {}
  bool RecalcAll() const override { return true; }
};

}  // namespace

// Reads the bytes as a GAEB 90 file: a tender is recalculated, answered with a
// D84, and that D84's prices entered into it again must change no amount; an
// offer is read for its prices.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool catalogue = [] {
    AddPositionDisplayFields();
    return true;
  }();
  (void)catalogue;
  FuzzDocument doc;
  try {
    const std::vector<Gaeb90Record> records =
        SplitGaeb90(std::string_view(reinterpret_cast<const char*>(data), size));
    if (Gaeb90Phase(records) == "84") {
      ReadGaeb90Offer(records);
      return 0;
    }
    const Gaeb90Tender tender = ReadGaeb90Tender(records, doc);
    KsGAEBObj& lv = *tender.Root->Child("VERGABE")->Child("LV");
    CalcAll(lv);
    std::ostringstream out;
    WriteGaeb90D84(out, lv, tender.Origin);
    if (ApplyGaeb90Offer(ReadGaeb90Offer(SplitGaeb90(out.str())), lv) != 0) std::abort();
  } catch (const Gaeb90Error&) {
    // Refused, as it should be.
  } catch (const EntryError&) {
    // An amount beyond the limit ends the import.
  } catch (const std::runtime_error&) {
    // A value too wide for the offer's field ends the save.
  }
  return 0;
}
