#include "archive/archive_suggestion.h"

#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_ex.h"
#include "util/trim.h"

namespace {

std::string Money(double value) { return FormatEx("%.3n", {Variant(value)}); }

}  // namespace

const char* FitName(ArchiveFit fit) {
  switch (fit) {
    case ArchiveFit::SamePosition:
      return "dieselbe Position";
    case ArchiveFit::SameCatalog:
      return "gleiche Katalognummer";
    case ArchiveFit::SameText:
      break;
  }
  return "gleicher Kurztext";
}

std::string EntryCount(int count) {
  return count == 1 ? std::string("1 Eintrag") : std::to_string(count) + " Eintr\xE4ge";
}

ArchiveSuggestion SuggestArchivePrices(PriceArchive& archive, const KsLyxObj& tender,
                                       ArchiveSuggestion::Price price) {
  ArchiveSuggestion s;
  std::vector<KsGAEBObj*> unpriced;
  WalkLv(
      tender, [](const KsGAEBObj&, int) {},
      [&unpriced](const KsGAEBObj& position) {
        if (IsPositionRow(&position) && HasEmptyUnitPrice(position))
          unpriced.push_back(const_cast<KsGAEBObj*>(&position));
      });
  s.Unpriced = static_cast<int>(unpriced.size());
  for (KsGAEBObj* position : unpriced) {
    const EarlierPrices found = FindEarlierPrices(archive, tender, *position, 200, true);
    if (found.Empty()) continue;
    const ArchiveEntry& last = *found.Latest();
    OfferedValues values;
    if (price == ArchiveSuggestion::Price::Last) {
      values.Ep = last.Position.Ep;
      values.Components = last.Position.Components;
    } else {
      values.Ep = found.Statistics.Median;
    }
    const size_t before = s.Plan.Entries.size();
    const size_t refusedBefore = s.Plan.Refusals.size();
    const size_t askedBefore = s.Plan.Questions.size();
    PlanPositionValues(values, *position, s.Plan);
    // A price that does not fit the position (only an EP where the tender
    // asks for components) leaves that position open, not the others.
    if (s.Plan.Refusals.size() > refusedBefore) {
      s.Skipped.insert(s.Skipped.end(), s.Plan.Refusals.begin() + static_cast<long>(refusedBefore),
                       s.Plan.Refusals.end());
      s.Plan.Refusals.resize(refusedBefore);
      s.Plan.Questions.resize(askedBefore);
      s.Plan.Entries.resize(before);
      continue;
    }
    if (s.Plan.Entries.size() == before) continue;
    ++s.Plan.Positions;
    ArchiveSuggestion::Line line;
    line.Position = position;
    line.Oz = Trim(position->Text("OZ"));
    line.ShortText = Trim(ShortText(*position, 60));
    line.Unit = Trim(position->Text("ME"));
    line.Price = *values.Ep;
    line.Fit = found.Matches.front().Fit;
    line.Found = found.Statistics.Count;
    line.From = last.Date + " " + last.Tender + " (" + last.OfferFile + ")";
    s.Lines.push_back(std::move(line));
  }
  return s;
}

std::vector<std::string> SuggestionLines(const ArchiveSuggestion& suggestion) {
  std::vector<std::string> lines;
  for (const ArchiveSuggestion::Line& l : suggestion.Lines)
    lines.push_back(l.Oz + "  " + l.ShortText + "  " + Money(l.Price) + " je " + l.Unit + "  (" +
                    FitName(l.Fit) + ", " + EntryCount(l.Found) + "; zuletzt " + l.From + ")");
  for (const std::string& skipped : suggestion.Skipped)
    lines.push_back("Nicht eingetragen: " + skipped);
  lines.push_back(std::to_string(suggestion.Lines.size()) + " von " +
                  std::to_string(suggestion.Unpriced) +
                  " Positionen ohne Einheitspreis erhalten einen Preis aus dem Archiv.");
  return lines;
}
