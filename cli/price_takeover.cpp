#include "cli/price_takeover.h"

#include <fstream>

#include "cli/cli_support.h"
#include "document/lyx_obj.h"
#include "document/price_takeover.h"
#include "gaeb/file_read.h"
#include "gaeb/gaeb90_head.h"
#include "gaebxml/x83_reader.h"
#include "util/codec.h"
#include "util/entry_error.h"
#include "util/trim.h"

namespace {

constexpr size_t kHeadBytes = 4096;

// A GAEB 2000 file begins with "#begin[" (a price list line never with "#").
bool LooksLikeGaeb2000(std::string_view head) {
  if (head.substr(0, 3) == "\xEF\xBB\xBF") head.remove_prefix(3);
  return TrimmedView(head).substr(0, 1) == "#";
}

void Refuse(const std::string& heading, const std::vector<std::string>& lines) {
  PrintError(heading);
  for (const std::string& line : lines) PrintError("  " + line);
  PrintError(
      "Es wurde nichts \xFC"
      "bernommen.");
}

// A GAEB 90 record fills its line (the running number stands in columns
// 75-80); a price list line "0010;5" may begin like a record 00 but is short
// and has separators.
bool LooksLikeGaeb90Offer(std::string_view head) {
  const std::string_view line = head.substr(0, head.find_first_of("\r\n"));
  return LooksLikeGaeb90(head) && line.size() >= 74 &&
         line.find_first_of(";\t") == std::string_view::npos;
}

}  // namespace

bool IsGaebFile(const std::string& fileName) {
  if (fileName == TFileRead::kStandardInput) return false;
  std::ifstream in(fileName, std::ios::binary);
  std::string head(kHeadBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  return LooksLikeXml(head) || LooksLikeGaeb90Offer(head) || LooksLikeGaeb2000(head);
}

int TakeOverPrices(KsLyxObj& document, const std::string& sourceFile, const std::string& target,
                   bool confirmed, bool replace) {
  const std::string name = Utf8ToCp1252(sourceFile);
  KsLyxObj source;
  if (!source.ImportPriceSource(sourceFile, document)) {
    PrintError("Das Angebot " + name + " kann nicht gelesen werden: " + source.LastError);
    return kExitFailure;
  }
  const PriceTakeOver plan =
      PlanPriceTakeOver(source, name, document,
                        replace ? PriceTakeOver::Prices::Replace : PriceTakeOver::Prices::Keep);
  if (!plan.Refusals.empty()) {
    Refuse("Die Preise aus " + name +
               " k\xF6nnen nicht \xFC"
               "bernommen werden:",
           plan.Refusals);
    return kExitFailure;
  }
  if (!plan.Questions.empty() && !confirmed) {
    Refuse("Die Preise aus " + name +
               " enthalten Werte, die nur mit --yes \xFC"
               "bernommen werden:",
           plan.Questions);
    return kExitFailure;
  }
  try {
    ApplyEntries(document, plan.Entries);
  } catch (const EntryError& e) {
    Refuse("Die Preise aus " + name +
               " k\xF6nnen nicht \xFC"
               "bernommen werden:",
           {e.what()});
    return kExitFailure;
  }
  if (!ExportOrReport(document, target)) return kExitFailure;
  for (const std::string& line : TakeOverReport(plan, document)) PrintError(line);
  WarnOfFindings(document);
  return plan.Unmatched.empty() ? kExitOk : kExitNotAllApplied;
}
