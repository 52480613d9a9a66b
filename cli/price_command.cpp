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
#include "util/variant.h"

namespace {

const char* const kFields[] = {"EP",        "EPANTEIL1", "EPANTEIL2",    "EPANTEIL3",   "EPANTEIL4",
                               "EPANTEIL5", "EPANTEIL6", "NACHLASSPROZ", "NACHLASSABS", "UST"};
const char kVatField[] = "UST";
const char kLv[] = "LV";

// Positions and LV areas by trimmed OZ; a damaged tender may give one OZ twice.
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

// A text of the list is quoted at most this long, so that a line of 10 MB
// does not become a message of 10 MB.
constexpr size_t kQuotedChars = 40;
// No number anyone types is longer; a longer value is refused unread.
constexpr size_t kLongestNumber = 40;

std::string Quoted(const std::string& text) {
  if (text.size() <= kQuotedChars) return text;
  return text.substr(0, kQuotedChars) + "\x85 (" + std::to_string(text.size()) + " Zeichen)";
}

struct Entry {
  std::string oz;
  std::string field;
  std::string value;
};

// "OZ;Wert" (the unit price) or "OZ;FELD;Wert"; cells after these must be
// empty (spreadsheets add empty ones). An empty value clears the field only
// where the line names the field ("OZ;EP;"): an OZ without a value is far
// more often a price forgotten than one taken back. Gives why the line is
// refused, or "".
std::string ParseLine(const PriceLine& line, Entry& entry) {
  const std::vector<std::string>& fields = line.Fields;
  const std::string field = fields.size() >= 3 ? Upper(fields[1]) : std::string();
  const bool named = std::find(std::begin(kFields), std::end(kFields), field) != std::end(kFields);
  const size_t used = named ? 3 : 2;
  if (fields.size() < used ||
      !std::all_of(fields.begin() + used, fields.end(), [](const auto& f) { return f.empty(); }))
    return "\"OZ;Preis\" oder \"OZ;Feld;Wert\" erwartet, gelesen: " + Quoted(line.Text);
  entry = {fields[0], named ? field : "EP", fields[used - 1]};
  if (!named && entry.value.empty())
    return "Kein Preis f\xFCr " + Quoted(entry.oz) + " angegeben (zum L\xF6schen: \"" +
           Quoted(entry.oz) + ";EP;\")";
  return std::string();
}

void Report(const PriceLine& line, const std::string& text) {
  PrintError("Zeile " + std::to_string(line.Number) + ": " + text);
}

std::string NotFound(const std::string& field, const std::string& oz) {
  const char* what = field == "NACHLASSPROZ"  ? "Position oder LV-Bereich "
                     : field == "NACHLASSABS" ? "LV-Bereich "
                                              : "Position ";
  return what + Quoted(oz) + " nicht gefunden";
}

// Why the grid would not take the field of the element.
std::string NotEnterable(const KsGAEBObj& element, const Entry& entry) {
  std::string text = entry.field + " kann bei " + Quoted(entry.oz) + " nicht eingegeben werden";
  if (!IsPositionRow(&element)) return text;
  const bool breakdown = HasPriceBreakdown(element);
  if (entry.field == "EP" && breakdown) {
    text += " (EP ist die Summe von EPANTEIL1 bis EPANTEIL6)";
  } else if (IsPriceComponent(entry.field) && !breakdown) {
    text += " (keine EP-Aufgliederung)";
  } else if (IsPriceComponent(entry.field)) {
    const int asked = AskedPriceComponents(element);
    text += asked == 1
                ? std::string(" (das LV fragt nur EPANTEIL1 ab)")
                : " (das LV fragt nur EPANTEIL1 bis EPANTEIL" + std::to_string(asked) + " ab)";
  }
  return text;
}

// An element among several of the same OZ, as the user finds it in the tree.
std::string Described(const KsGAEBObj& element) {
  std::string text = IsPositionRow(&element) ? "Position \"" : "LV-Bereich \"";
  text += Quoted(Trim(element.Text("BEZ"))) + "\"";
  const KsGAEBObj* parent = element.ParentElement();
  if (IsAreaRow(parent)) text += " in LV-Bereich " + Quoted(Trim(parent->Text("OZ")));
  return text;
}

std::string SeveralTargets(const std::string& oz, const std::vector<KsGAEBObj*>& targets) {
  std::string text = Quoted(oz) + " steht im LV mehrfach: ";
  for (size_t i = 0; i < targets.size(); ++i) {
    if (i > 0) text += i + 1 == targets.size() ? " und " : ", ";
    text += Described(*targets[i]);
  }
  return text +
         "; nicht \xFC"
         "bernommen";
}

// Applies the lines of a price list to the document, each as if typed. A
// value given again for the same field is taken, with a warning naming both
// lines, since the earlier one may have been the one meant.
class PriceEntries {
 public:
  PriceEntries(KsLyxObj& document, bool confirmed)
      : document_(document), index_(IndexByOz(document)), confirmed_(confirmed) {}

  // False after reporting why the line was not taken.
  bool Apply(const PriceLine& line);

 private:
  bool ApplyEntry(const PriceLine& line, const Entry& entry);
  template <class Ask, class Take>
  bool Enter(const PriceLine& line, KsGAEBObj& element, const std::string& field,
             const std::string& value, Ask ask, Take take);

  KsLyxObj& document_;
  const OzIndex index_;
  const bool confirmed_;
  // The line that last set each OZ's field.
  std::map<std::pair<std::string, std::string>, int> taken_;
};

// The value is read as the tender reader reads a number ("12.5" and "12,5"
// alike) and then entered as if typed: `ask` gives the grid's question for
// the text in the user's format ("" for none), which --yes answers; `take`
// applies it.
template <class Ask, class Take>
bool PriceEntries::Enter(const PriceLine& line, KsGAEBObj& element, const std::string& field,
                         const std::string& value, Ask ask, Take take) {
  if (value.size() > kLongestNumber) {
    Report(line, "Der Wert " + Quoted(value) + " ist zu lang f\xFCr eine Zahl");
    return false;
  }
  try {
    RefuseAmbiguousNumber(value);
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
  } catch (const VariantError&) {
    Report(line, value + " ist keine Zahl");
    return false;
  } catch (const std::exception& e) {
    // Any other failure leaves the line untaken and is named as it is.
    Report(line, e.what());
    return false;
  }
  return true;
}

bool PriceEntries::Apply(const PriceLine& line) {
  Entry entry;
  if (const std::string refused = ParseLine(line, entry); !refused.empty()) {
    Report(line, refused);
    return false;
  }
  if (!ApplyEntry(line, entry)) return false;
  const std::string oz = entry.field == kVatField ? kLv : entry.oz;
  const auto [earlier, first] = taken_.try_emplace({oz, entry.field}, line.Number);
  if (!first)
    Report(line, "Warnung: " + entry.field + " f\xFCr " + Quoted(oz) + " stand schon in Zeile " +
                     std::to_string(earlier->second) + "; es gilt der Wert aus Zeile " +
                     std::to_string(line.Number));
  earlier->second = line.Number;
  return true;
}

bool PriceEntries::ApplyEntry(const PriceLine& line, const Entry& entry) {
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
  if (targets.size() > 1) {
    Report(line, SeveralTargets(entry.oz, targets));
    return false;
  }
  KsGAEBObj& element = *targets[0];
  KsMember& member = element.GetMember(entry.field);
  const auto ask = [&](const std::string& text) {
    return EntryQuestion(element, entry.field, text);
  };
  const auto take = [&](const std::string& text) { ApplyCellText(element, member, text); };
  return Enter(line, element, entry.field, entry.value, ask, take);
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
  // Standard input can be read once.
  if (tender == TFileRead::kStandardInput && priceFile == TFileRead::kStandardInput)
    return UsageError();
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
