#include "cli/info_json.h"

#include "document/element_values.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "util/codec.h"

namespace {

std::string Utf8Text(const KsGAEBObj& element, const char* member) {
  return Cp1252ToUtf8(element.Text(member));
}

int OwnPositions(const KsGAEBObj& area) {
  const KsGAEBObjList* positions = area.ChildList("POSITION");
  return positions ? positions->Count() : 0;
}

}  // namespace

nlohmann::ordered_json InfoJson(const KsLyxObj& document, const std::string& fileName) {
  const KsGAEBObj& lvInfo = *document.LvInfo;
  nlohmann::ordered_json areas = nlohmann::ordered_json::array();
  nlohmann::ordered_json positions = nlohmann::ordered_json::array();
  WalkLv(
      document,
      [&areas](const KsGAEBObj& area, int depth) {
        areas.push_back({{"oz", Utf8Text(area, "OZ")},
                         {"bez", Utf8Text(area, "BEZ")},
                         {"depth", depth},
                         {"summe", NumberValue(area, "SUMME")},
                         {"nachlassproz", NumberValue(area, "NACHLASSPROZ")},
                         {"nachlassabs", NumberValue(area, "NACHLASSABS")},
                         {"summenachnl", NumberValue(area, "SUMMENACHNL")},
                         {"positions", OwnPositions(area)}});
      },
      [&positions](const KsGAEBObj& position) {
        positions.push_back({{"oz", Utf8Text(position, "OZ")},
                             {"type", Utf8Text(position, "_TARVO_POSTYP")},
                             {"menge", NumberValue(position, "MENGE")},
                             {"me", Utf8Text(position, "ME")},
                             {"ep", NumberValue(position, "EP")},
                             {"gb", NumberValue(position, "GB")},
                             {"kurztext", Utf8Text(position, "BEZ")}});
      });
  return {{"file", fileName},
          {"ep_breakdown", document.EpBreakdown},
          {"lv",
           {{"name", Utf8Text(lvInfo, "NAME")},
            {"bez", Utf8Text(lvInfo, "BEZ")},
            {"summe", NumberValue(lvInfo, "SUMME")},
            {"ust", NumberValue(lvInfo, "UST")},
            {"summebrutto", NumberValue(lvInfo, "SUMMEBRUTTO")}}},
          {"areas", std::move(areas)},
          {"positions", std::move(positions)}};
}
