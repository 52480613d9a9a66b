#include <exception>
#include <fstream>
#include <map>
#include <vector>

#include "cli/commands.h"
#include "cli/lv_walk.h"
#include "document/lyx_obj.h"
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

void Report(int lineNumber, const std::string& text) {
  PrintError("Zeile " + std::to_string(lineNumber) + ": " + text);
}

// One line "OZ;value"; the value is entered like a price typed in the grid.
void ApplyLine(const PositionIndex& index, int lineNumber, const std::string& line) {
  const size_t separator = line.find(';');
  if (separator == std::string::npos) {
    Report(lineNumber, "\"OZ;Preis\" erwartet, gelesen: " + line);
    return;
  }
  const std::string oz = Trim(std::string_view(line).substr(0, separator));
  const std::string value = Trim(std::string_view(line).substr(separator + 1));
  const auto found = index.find(oz);
  if (found == index.end()) {
    Report(lineNumber, "Position " + oz + " nicht gefunden");
    return;
  }
  try {
    for (KsGAEBObj* position : found->second) SetPositionValue(*position, value, "EP");
  } catch (const std::exception&) {
    Report(lineNumber, value + " ist keine Zahl");
  }
}

}  // namespace

int RunPrice(const KsArgs& args) {
  if (args.size() != 3) return UsageError();
  KsLyxObj document;
  if (!ImportOrReport(document, args[0])) return kExitFailure;
  std::ifstream prices(args[1], std::ios::binary);
  if (!prices) {
    PrintError("Die Preisdatei " + args[1] + " kann nicht gelesen werden.");
    return kExitFailure;
  }
  const PositionIndex index = IndexPositions(document);
  std::string line;
  for (int lineNumber = 1; std::getline(prices, line); ++lineNumber) {
    const std::string text = Utf8ToCp1252(line);
    if (!Trim(text).empty()) ApplyLine(index, lineNumber, text);
  }
  return ExportOrReport(document, args[2]) ? kExitOk : kExitFailure;
}
