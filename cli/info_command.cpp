#include <iostream>

#include "cli/commands.h"
#include "cli/info_json.h"
#include "document/element_values.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "util/codec.h"
#include "util/format_ex.h"

namespace {

std::string Money(double value) { return FormatEx("%.2n", {value}); }

std::string NameAndBez(const KsGAEBObj* element) {
  return element ? element->Text("NAME") + " " + element->Text("BEZ") : std::string();
}

void PrintSummary(const KsLyxObj& document) {
  int areas = 0;
  int positions = 0;
  WalkLv(
      document, [&areas](const KsGAEBObj&, int) { ++areas; },
      [&positions](const KsGAEBObj&) { ++positions; });
  const KsGAEBObj& lvInfo = *document.LvInfo;
  const double sum = NumberValue(lvInfo, "SUMME");
  const double vat = NumberValue(lvInfo, "UST");
  const std::pair<const char*, std::string> lines[] = {
      {"Datei:        ", Utf8ToCp1252(document.FileName())},
      {"Projekt:      ", NameAndBez(document.PrjInfo)},
      {"LV:           ", NameAndBez(document.LvInfo)},
      {"LV-Bereiche:  ", std::to_string(areas)},
      {"Positionen:   ", std::to_string(positions)},
      {"Summe:        ", Money(sum)},
      {"MwSt ", FormatEx("%.2n", {vat}) + " %: " + Money(VatAmount(lvInfo))},
      {"Bruttosumme:  ", Money(NumberValue(lvInfo, "SUMMEBRUTTO"))},
  };
  for (const auto& [label, value] : lines) std::cout << label << TerminalText(value) << "\n";
}

}  // namespace

int RunInfo(const KsArgs& given) {
  KsArgs args = given;
  std::string tender;
  if (!TakeTenderOption(args, tender)) return UsageError();
  const bool json = !args.empty() && args[0] == "--json";
  if (args.size() != (json ? 2u : 1u)) return UsageError();
  const std::string& fileName = args.back();
  KsLyxObj document;
  if (!ImportOrReport(document, fileName, tender)) return kExitFailure;
  if (json)
    std::cout << InfoJson(document, fileName)
                     .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
              << "\n";
  else
    PrintSummary(document);
  return kExitOk;
}
