#include <cmath>
#include <stdexcept>

#include "gaeb/gaeb_obj.h"
#include "gaeb90/d84_offer.h"
#include "gaeb90/fixed_number.h"
#include "util/trim.h"

namespace {

class RecordWriter {
 public:
  explicit RecordWriter(std::ostream& out) : out_(out) {}
  void Write(std::string record) {
    record.resize(74, ' ');
    const std::string number = std::to_string(++count_);
    out_ << record << std::string(6 - number.size(), '0') << number << "\r\n";
  }

 private:
  std::ostream& out_;
  size_t count_ = 0;
};

double Number(const KsGAEBObj& element, const char* name) {
  const KsMember* m = element.Members.Find(name);
  return m ? m->GetAsFloat() : 0.0;
}

std::string Field(const KsGAEBObj& position, double value, int decimals, size_t width,
                  const char* what) {
  const auto units = static_cast<int64_t>(std::llround(value * std::pow(10.0, decimals)));
  std::string field;
  if (!WriteFixedNumber(units, width, field))
    throw std::runtime_error(std::string(what) + " der Position " + Trim(position.Text("OZ")) +
                             " passt nicht in die " + std::to_string(width) +
                             " Stellen des GAEB 90 Angebots.");
  return field;
}

// Positions in the order of the LV: an area's own positions after its sub-areas
// as the tender lists them.
void WritePrices(const KsGAEBObj& holder, RecordWriter& writer, size_t& count) {
  if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) WritePrices(*areas->Element(i), writer, count);
  const KsGAEBObjList* positions = holder.ChildList("POSITION");
  for (int i = 0; positions && i < positions->Count(); ++i) {
    const KsGAEBObj& position = *positions->Element(i);
    const double ep = Number(position, "EP");
    if (std::llround(ep * 1000) == 0) continue;
    std::string record = "23" + position.Text("OZ");
    record.resize(13, ' ');
    record += Field(position, ep, 3, 11, "Der Einheitspreis") + " " +
              Field(position, Number(position, "GB"), 2, 12, "Der Gesamtbetrag");
    writer.Write(record);
    ++count;
  }
}

}  // namespace

void WriteGaeb90D84(std::ostream& out, const KsGAEBObj& lv, const Gaeb90Origin& origin) {
  RecordWriter writer(out);
  for (std::string record : origin.HeadRecords) {
    if (record.compare(0, 2, "00") == 0) {
      if (record.size() < 12) record.resize(12, ' ');
      record.replace(10, 2, "84");
    }
    writer.Write(record);
  }
  size_t count = 0;
  WritePrices(lv, writer, count);
  std::string end = "99";
  end.resize(69, ' ');
  const std::string number = std::to_string(count);
  end += std::string(5 - std::min<size_t>(5, number.size()), '0') + number;
  writer.Write(end);
}
