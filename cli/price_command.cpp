#include <exception>
#include <map>
#include <vector>

#include "cli/commands.h"
#include "cli/lv_walk.h"
#include "cli/price_list.h"
#include "document/lyx_obj.h"
#include "gaeb/file_read.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

using PositionIndex = std::map<std::string, std::vector<KsGAEBObj*>>;

// Positions by trimmed OZ; an OZ given twice in a file prices every one of them.
PositionIndex IndexPositions(const KsLyxObj& document) {
  PositionIndex index;
  WalkLv(
      document, [](const KsGAEBObj&, int) {},
      [&index](const KsGAEBObj& position) {
        index[Trim(position.Text("OZ"))].push_back(const_cast<KsGAEBObj*>(&position));
      });
  return index;
}

void Report(const KsPriceLine& line, const std::string& text) {
  PrintError("Zeile " + std::to_string(line.Number) + ": " + text);
}

// The value as the tender reader reads a number ("12.5" and "12,5" alike),
// then entered like a price typed in the grid. False after reporting why
// the line was not applied.
bool ApplyLine(const PositionIndex& index, const KsPriceLine& line) {
  if (line.Fields.size() != 2) {
    Report(line, "\"OZ;Preis\" erwartet, gelesen: " + line.Text);
    return false;
  }
  const std::string& oz = line.Fields[0];
  const std::string& value = line.Fields[1];
  const auto found = index.find(oz);
  if (found == index.end()) {
    Report(line, "Position " + oz + " nicht gefunden");
    return false;
  }
  try {
    for (KsGAEBObj* position : found->second)
      SetPositionValue(*position, position->ConvertFieldValue(value, position->GetMember("EP")),
                       "EP");
  } catch (const std::exception&) {
    Report(line, value + " ist keine Zahl");
    return false;
  }
  return true;
}

}  // namespace

int RunPrice(const KsArgs& args) {
  if (args.size() != 3) return UsageError();
  const std::string& tender = args[0];
  const std::string& priceFile = args[1];
  const std::string& target = args[2];
  KsLyxObj document;
  if (!ImportOrReport(document, tender)) return kExitFailure;
  std::vector<KsPriceLine> lines;
  try {
    lines = ReadPriceList(priceFile);
  } catch (const std::exception& e) {
    PrintError(std::string("Die Preisdatei kann nicht gelesen werden: ") + e.what());
    return kExitFailure;
  }
  if (priceFile != TFileRead::kStandardInput && SameFile(priceFile, target)) {
    PrintError("Das Ziel " + Utf8ToCp1252(target) +
               " ist die Preisdatei; sie wird nicht \xFC"
               "berschrieben.");
    return kExitFailure;
  }
  if (OutputIsTender(document, tender, target, false)) return kExitFailure;
  const PositionIndex index = IndexPositions(document);
  bool allApplied = true;
  for (const KsPriceLine& line : lines) allApplied = ApplyLine(index, line) && allApplied;
  if (!ExportOrReport(document, target)) return kExitFailure;
  return allApplied ? kExitOk : kExitNotAllApplied;
}
