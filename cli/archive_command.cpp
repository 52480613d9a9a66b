#include <algorithm>
#include <iostream>
#include <memory>

#include "archive/archive_suggestion.h"
#include "archive/earlier_prices.h"
#include "archive/price_archive.h"
#include "cli/commands.h"
#include "document/lyx_obj.h"
#include "document/oz_index.h"
#include "document/row_kind.h"
#include "document/value_entries.h"
#include "gaeb/gaeb_obj.h"
#include "util/codec.h"
#include "util/entry_error.h"
#include "util/format_ex.h"
#include "util/trim.h"

namespace {

std::string Money(double value) { return FormatEx("%.3n", {Variant(value)}); }

void PrintLine(const std::string& cp1252) { std::cout << TerminalText(cp1252) << '\n'; }

void PrintFound(const EarlierPrices& found) {
  if (found.Empty()) {
    PrintLine("Keine fr\xFCheren Preise im Archiv.");
    return;
  }
  const PriceStatistics& s = found.Statistics;
  PrintLine("Zuletzt " + Money(s.Last) + ", niedrigster " + Money(s.Lowest) + ", Median " +
            Money(s.Median) +
            ", h\xF6"
            "chster " +
            Money(s.Highest) + " (" + EntryCount(s.Count) + ", " +
            FitName(found.Matches.front().Fit) + ")");
  for (const ArchiveMatch& m : found.Matches) {
    const ArchivedPosition& p = m.Entry.Position;
    PrintLine(m.Entry.Date + "  " + Money(p.Ep) + " je " + p.Unit + "  " + p.ShortText + "  (" +
              FitName(m.Fit) + "; " + m.Entry.Tender + "; " + m.Entry.Client + "; " +
              m.Entry.OfferFile + " OZ " + p.Oz + ")");
  }
}

std::unique_ptr<PriceArchive> OpenOrReport() {
  try {
    return std::make_unique<PriceArchive>(ArchiveLocationOfOptions());
  } catch (const std::exception& e) {
    PrintError(e.what());
    return nullptr;
  }
}

// "archive find TEXT" or "archive find TENDER OZ".
int Find(const KsArgs& args) {
  if (args.size() != 1 && args.size() != 2) return UsageError();
  auto archive = OpenOrReport();
  if (!archive) return kExitFailure;
  try {
    if (args.size() == 1) {
      PrintFound(FindEarlierPrices(*archive, Utf8ToCp1252(args[0])));
      return kExitOk;
    }
    KsLyxObj tender;
    if (!ImportOrReport(tender, args[0])) return kExitFailure;
    std::vector<KsGAEBObj*> found = OzIndex(tender).Find(Utf8ToCp1252(args[1]));
    std::erase_if(found, [](const KsGAEBObj* e) { return !IsPositionRow(e); });
    if (found.size() != 1) {
      PrintError(found.empty() ? "Die OZ " + Utf8ToCp1252(args[1]) + " gibt es im LV nicht."
                               : "OZ " + OzIndex::Ambiguous(Utf8ToCp1252(args[1]), found));
      return kExitFailure;
    }
    PrintFound(FindEarlierPrices(*archive, tender, *found.front()));
  } catch (const std::exception& e) {
    PrintError(e.what());
    return kExitFailure;
  }
  return kExitOk;
}

// "archive suggest [--median] [--yes] TENDER [OUT]".
int Suggest(KsArgs args) {
  const auto option = [&args](const char* name) {
    const auto found = std::find(args.begin(), args.end(), name);
    if (found == args.end()) return false;
    args.erase(found);
    return true;
  };
  const bool median = option("--median");
  const bool confirmed = option("--yes");
  if (args.size() != 1 && args.size() != 2) return UsageError();
  KsLyxObj tender;
  if (!ImportOffer(tender, args[0])) return kExitFailure;
  if (args.size() == 2 && OutputIsTender(tender, args[0], args[1], false)) return kExitFailure;
  auto archive = OpenOrReport();
  if (!archive) return kExitFailure;
  ArchiveSuggestion suggestion;
  try {
    suggestion = SuggestArchivePrices(
        *archive, tender,
        median ? ArchiveSuggestion::Price::Median : ArchiveSuggestion::Price::Last);
  } catch (const std::exception& e) {
    PrintError(e.what());
    return kExitFailure;
  }
  for (const std::string& line : SuggestionLines(suggestion)) PrintLine(line);
  if (args.size() == 1) return kExitOk;
  const PriceTakeOver& plan = suggestion.Plan;
  if (!plan.Refusals.empty() || (!plan.Questions.empty() && !confirmed)) {
    PrintError(plan.Refusals.empty()
                   ? "Die Preise aus dem Archiv enthalten Werte, die nur mit --yes \xFC"
                     "bernommen werden:"
                   : "Die Preise aus dem Archiv k\xF6nnen nicht \xFC"
                     "bernommen werden:");
    for (const std::string& line : plan.Refusals.empty() ? plan.Questions : plan.Refusals)
      PrintError("  " + line);
    return kExitFailure;
  }
  try {
    ApplyEntries(tender, plan.Entries);
  } catch (const EntryError& e) {
    PrintError(e.what());
    return kExitFailure;
  }
  if (!ExportOrReport(tender, args[1])) return kExitFailure;
  WarnOfFindings(tender);
  return kExitOk;
}

// "archive add OFFER...": old offers into the archive.
int Add(const KsArgs& offers) {
  if (offers.empty()) return UsageError();
  auto archive = OpenOrReport();
  if (!archive) return kExitFailure;
  int result = kExitOk;
  for (const std::string& file : offers) {
    KsLyxObj offer;
    if (!ImportOrReport(offer, file)) {
      result = kExitFailure;
      continue;
    }
    try {
      const ArchivedOffer entries = CollectArchivedOffer(offer, file, ArchiveDateOfFile(file));
      archive->Store(entries);
      PrintError(std::to_string(entries.Positions.size()) + " Positionen aus " +
                 Utf8ToCp1252(file) + " im Preisarchiv.");
    } catch (const std::exception& e) {
      PrintError(e.what());
      result = kExitFailure;
    }
  }
  return result;
}

}  // namespace

int RunArchive(const KsArgs& args) {
  if (args.empty()) return UsageError();
  const KsArgs rest(args.begin() + 1, args.end());
  if (args[0] == "find") return Find(rest);
  if (args[0] == "suggest") return Suggest(rest);
  if (args[0] == "add") return Add(rest);
  return UsageError();
}
