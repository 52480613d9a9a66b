#include <iostream>

#include "cli/commands.h"
#include "cli/info_json.h"
#include "cli/lv_walk.h"
#include "document/element_values.h"
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
  const std::string text = "Datei:        " + document.FileName() + "\n" +
                           "Projekt:      " + NameAndBez(document.PrjInfo) + "\n" +
                           "LV:           " + NameAndBez(document.LvInfo) + "\n" +
                           "LV-Bereiche:  " + std::to_string(areas) + "\n" +
                           "Positionen:   " + std::to_string(positions) + "\n" +
                           "Summe:        " + Money(sum) + "\n" + "MwSt " +
                           FormatEx("%.2n", {vat}) + " %: " + Money(VatAmount(lvInfo)) + "\n" +
                           "Bruttosumme:  " + Money(NumberValue(lvInfo, "SUMMEBRUTTO")) + "\n";
  std::cout << Cp1252ToUtf8(text);
}

}  // namespace

int RunInfo(const KsArgs& args) {
  const bool json = !args.empty() && args[0] == "--json";
  if (args.size() != (json ? 2u : 1u)) return UsageError();
  const std::string& fileName = args.back();
  KsLyxObj document;
  if (!ImportOrReport(document, fileName)) return kExitFailure;
  if (json)
    std::cout << InfoJson(document, fileName)
                     .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
              << "\n";
  else
    PrintSummary(document);
  return kExitOk;
}
