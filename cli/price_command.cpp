#include <algorithm>
#include <cctype>
#include <exception>
#include <map>
#include <vector>

#include "cli/commands.h"
#include "cli/lv_walk.h"
#include "cli/price_list.h"
#include "core/member.h"
#include "document/cell_text.h"
#include "document/entry_questions.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "document/tender_overwrite.h"
#include "gaeb/file_read.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "util/codec.h"
#include "util/entry_error.h"
#include "util/trim.h"

namespace {

const char* const kFields[] = {"EP",        "EPANTEIL1", "EPANTEIL2",    "EPANTEIL3",   "EPANTEIL4",
                               "EPANTEIL5", "EPANTEIL6", "NACHLASSPROZ", "NACHLASSABS", "UST"};
const char kVatField[] = "UST";
const char kLv[] = "LV";

// Positions and LV areas by trimmed OZ; an OZ given twice in a file is
// priced in every one of them.
using OzIndex = std::map<std::string, std::vector<KsGAEBObj*>>;

OzIndex IndexByOz(const KsLyxObj& document) {
  OzIndex index;
  const auto add = [&index](const KsGAEBObj& element) {
    index[Trim(element.Text("OZ"))].push_back(const_cast<KsGAEBObj*>(&element));
  };
  WalkLv(
      document, [&add](const KsGAEBObj& area, int) { add(area); }, add);
  return index;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

struct Entry {
  std::string oz;
  std::string field;
  std::string value;
};

// "OZ;Wert" (the unit price) or "OZ;FELD;Wert"; cells after these must be
// empty (spreadsheets add empty ones).
bool ParseLine(const PriceLine& line, Entry& entry) {
  const std::vector<std::string>& fields = line.Fields;
  const std::string field = fields.size() >= 3 ? Upper(fields[1]) : std::string();
  const bool named = std::find(std::begin(kFields), std::end(kFields), field) != std::end(kFields);
  const size_t used = named ? 3 : 2;
  if (fields.size() < used ||
      !std::all_of(fields.begin() + used, fields.end(), [](const auto& f) { return f.empty(); }))
    return false;
  entry = {fields[0], named ? field : "EP", fields[used - 1]};
  return true;
}

void Report(const PriceLine& line, const std::string& text) {
  PrintError("Zeile " + std::to_string(line.Number) + ": " + text);
}

std::string NotFound(const std::string& field, const std::string& oz) {
  const char* what = field == "NACHLASSPROZ"  ? "Position oder LV-Bereich "
                     : field == "NACHLASSABS" ? "LV-Bereich "
                                              : "Position ";
  return what + oz + " nicht gefunden";
}

// Why the grid would not take the field of the element.
std::string NotEnterable(const KsGAEBObj& element, const Entry& entry) {
  std::string text = entry.field + " kann bei " + entry.oz + " nicht eingegeben werden";
  if (IsPositionRow(&element) && entry.field == "EP" && HasPriceBreakdown(element))
    text += " (EP ist die Summe von EPANTEIL1 bis EPANTEIL6)";
  else if (IsPositionRow(&element) && IsPriceComponent(entry.field))
    text += " (keine EP-Aufgliederung)";
  return text;
}

// Applies the lines of a price list to the document, each as if typed.
class PriceEntries {
 public:
  PriceEntries(KsLyxObj& document, bool confirmed)
      : document_(document), index_(IndexByOz(document)), confirmed_(confirmed) {}

  // False after reporting why the line was not taken.
  bool Apply(const PriceLine& line);

 private:
  template <class Ask, class Take>
  bool Enter(const PriceLine& line, KsGAEBObj& element, const std::string& field,
             const std::string& value, Ask ask, Take take);

  KsLyxObj& document_;
  const OzIndex index_;
  const bool confirmed_;
};

// The value is read as the tender reader reads a number ("12.5" and "12,5"
// alike) and then entered as if typed: `ask` gives the grid's question for
// the text in the user's format ("" for none), which --yes answers; `take`
// applies it.
template <class Ask, class Take>
bool PriceEntries::Enter(const PriceLine& line, KsGAEBObj& element, const std::string& field,
                         const std::string& value, Ask ask, Take take) {
  try {
    const std::string text = element.ConvertFieldValue(value, element.GetMember(field));
    if (const std::string question = ask(text); !question.empty() && !confirmed_) {
      Report(line, question +
                       " Ohne --yes nicht \xFC"
                       "bernommen.");
      return false;
    }
    take(text);
  } catch (const EntryError& e) {
    Report(line, e.what());
    return false;
  } catch (const std::exception&) {
    Report(line, value + " ist keine Zahl");
    return false;
  }
  return true;
}

bool PriceEntries::Apply(const PriceLine& line) {
  Entry entry;
  if (!ParseLine(line, entry)) {
    Report(line, "\"OZ;Preis\" oder \"OZ;Feld;Wert\" erwartet, gelesen: " + line.Text);
    return false;
  }
  if (entry.field == kVatField) {
    if (Upper(entry.oz) != kLv) {
      Report(line, "Der Mehrwertsteuersatz gilt f\xFCr das LV: \"LV;UST;Satz\" erwartet");
      return false;
    }
    return Enter(line, *document_.LvInfo, kVatField, entry.value, VatRateQuestion,
                 [this](const std::string& text) {
                   SetVatRate(*document_.Lv, text);
                   document_.ConfirmVatRate();
                 });
  }
  const auto found = index_.find(entry.oz);
  if (found == index_.end()) {
    Report(line, NotFound(entry.field, entry.oz));
    return false;
  }
  std::vector<KsGAEBObj*> targets;
  for (KsGAEBObj* element : found->second)
    if (IsEnterable(*element, entry.field)) targets.push_back(element);
  if (targets.empty()) {
    Report(line, NotEnterable(*found->second[0], entry));
    return false;
  }
  for (KsGAEBObj* element : targets) {
    KsMember& member = element->GetMember(entry.field);
    const auto ask = [&](const std::string& text) {
      return EntryQuestion(*element, entry.field, text);
    };
    const auto take = [&](const std::string& text) { ApplyCellText(*element, member, text); };
    if (!Enter(line, *element, entry.field, entry.value, ask, take)) return false;
  }
  return true;
}

}  // namespace

int RunPrice(const KsArgs& args) {
  KsArgs files = args;
  const auto yes = std::find(files.begin(), files.end(), "--yes");
  const bool confirmed = yes != files.end();
  if (confirmed) files.erase(yes);
  if (files.size() != 3) return UsageError();
  const std::string& tender = files[0];
  const std::string& priceFile = files[1];
  const std::string& target = files[2];
  KsLyxObj document;
  if (!ImportOffer(document, tender)) return kExitFailure;
  std::vector<PriceLine> lines;
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
  PriceEntries entries(document, confirmed);
  bool allApplied = true;
  for (const PriceLine& line : lines) allApplied = entries.Apply(line) && allApplied;
  if (!ExportOrReport(document, target)) return kExitFailure;
  WarnOfFindings(document);
  return allApplied ? kExitOk : kExitNotAllApplied;
}
