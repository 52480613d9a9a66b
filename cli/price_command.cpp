#include <algorithm>
#include <cctype>
#include <exception>
#include <map>
#include <vector>

#include "cli/commands.h"
#include "cli/price_list.h"
#include "cli/price_takeover.h"
#include "core/member.h"
#include "document/cell_text.h"
#include "document/entry_questions.h"
#include "document/lyx_obj.h"
#include "document/oz_index.h"
#include "document/row_kind.h"
#include "document/tender_overwrite.h"
#include "gaeb/file_read.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/text_complements.h"
#include "util/codec.h"
#include "util/entry_error.h"
#include "util/trim.h"
#include "util/variant.h"

namespace {

const char* const kFields[] = {"EP",        "EPANTEIL1", "EPANTEIL2",    "EPANTEIL3",   "EPANTEIL4",
                               "EPANTEIL5", "EPANTEIL6", "NACHLASSPROZ", "NACHLASSABS", "UST"};
const char kVatField[] = "UST";
// "OZ;TEXT;MarkLbl;text": the bidder's answer to a text complement.
const char kTextField[] = "TEXT";
const char kLv[] = "LV";

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
  std::string mark;  // of a TEXT entry
};

// "OZ;Wert" (the unit price) or "OZ;FELD;Wert"; cells after these must be
// empty (spreadsheets add empty ones). An empty value clears the field only
// where the line names the field ("OZ;EP;"): an OZ without a value is far
// more often a price forgotten than one taken back. Gives why the line is
// refused, or "".
std::string ParseLine(const PriceLine& line, Entry& entry) {
  const std::vector<std::string>& fields = line.Fields;
  const std::string field = fields.size() >= 3 ? Upper(fields[1]) : std::string();
  if (field == kTextField) {
    if (fields.size() < 4 || fields[2].empty())
      return "\"OZ;TEXT;Marke;Text\" erwartet, gelesen: " + Quoted(line.Text);
    entry = {fields[0], kTextField, RestOfLine(line, 3), fields[2]};
    return std::string();
  }
  const bool named = std::find(std::begin(kFields), std::end(kFields), field) != std::end(kFields);
  const size_t used = named ? 3 : 2;
  if (fields.size() < used ||
      !std::all_of(fields.begin() + used, fields.end(), [](const auto& f) { return f.empty(); }))
    return "\"OZ;Preis\" oder \"OZ;Feld;Wert\" erwartet, gelesen: " + Quoted(line.Text);
  entry = {fields[0], named ? field : "EP", fields[used - 1], std::string()};
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

// Applies the lines of a price list to the document, each as if typed. A
// value given again for the same field is taken, with a warning naming both
// lines, since the earlier one may have been the one meant.
class PriceEntries {
 public:
  PriceEntries(KsLyxObj& document, bool confirmed)
      : document_(document), index_(document), confirmed_(confirmed) {}

  // False after reporting why the line was not taken.
  bool Apply(const PriceLine& line);

 private:
  bool ApplyEntry(const PriceLine& line, const Entry& entry);
  bool ApplyComplement(const PriceLine& line, const Entry& entry);
  template <class Ask, class Take>
  bool Enter(const PriceLine& line, KsGAEBObj& element, const std::string& field,
             const std::string& value, Ask ask, Take take);

  KsLyxObj& document_;
  const OzIndex index_;  // built once: a list may have a line for every position
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
  const std::string field = entry.field == kTextField ? "TEXT;" + entry.mark : entry.field;
  const auto [earlier, first] = taken_.try_emplace({oz, field}, line.Number);
  if (!first)
    Report(line, "Warnung: " + field + " f\xFCr " + Quoted(oz) + " stand schon in Zeile " +
                     std::to_string(earlier->second) + "; es gilt der Wert aus Zeile " +
                     std::to_string(line.Number));
  earlier->second = line.Number;
  return true;
}

bool PriceEntries::ApplyComplement(const PriceLine& line, const Entry& entry) {
  std::vector<KsGAEBObj*> positions;
  for (KsGAEBObj* element : index_.Find(entry.oz))
    if (IsPositionRow(element)) positions.push_back(element);
  if (positions.empty()) {
    Report(line, NotFound(entry.field, entry.oz));
    return false;
  }
  if (positions.size() > 1) {
    Report(line, OzIndex::Ambiguous(Quoted(entry.oz), positions));
    return false;
  }
  KsGAEBObj& position = *positions[0];
  try {
    const std::vector<TextComplement> before = BidderComplements(position);
    if (AnswerComplement(position, entry.mark, entry.value)) return true;
    std::string marks;
    for (const TextComplement& c : before) marks += (marks.empty() ? "" : ", ") + c.MarkLbl;
    Report(line, "Die Position " + Quoted(entry.oz) + " hat keine Texterg\xE4nzung " +
                     Quoted(entry.mark) +
                     (marks.empty() ? std::string(" (sie hat keine f\xFCr den Bieter)")
                                    : " (sie hat " + marks + ")"));
  } catch (const EntryError& e) {
    Report(line, e.what());
  }
  return false;
}

bool PriceEntries::ApplyEntry(const PriceLine& line, const Entry& entry) {
  if (entry.field == kTextField) return ApplyComplement(line, entry);
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
  const std::vector<KsGAEBObj*> found = index_.Find(entry.oz);
  if (found.empty()) {
    Report(line, NotFound(entry.field, entry.oz));
    return false;
  }
  std::vector<KsGAEBObj*> targets;
  for (KsGAEBObj* element : found)
    if (IsEnterable(*element, entry.field)) targets.push_back(element);
  if (targets.empty()) {
    Report(line, NotEnterable(*found[0], entry));
    return false;
  }
  if (targets.size() > 1) {
    Report(line, OzIndex::Ambiguous(Quoted(entry.oz), targets));
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
  std::string tenderOfOffer;
  if (!TakeTenderOption(files, tenderOfOffer)) return UsageError();
  const auto option = [&files](const char* name) {
    const auto found = std::find(files.begin(), files.end(), name);
    if (found == files.end()) return false;
    files.erase(found);
    return true;
  };
  const bool confirmed = option("--yes");
  const bool replace = option("--replace");
  if (files.size() != 3) return UsageError();
  const std::string& tender = files[0];
  const std::string& priceFile = files[1];
  const std::string& target = files[2];
  // Standard input can be read once.
  if (tender == TFileRead::kStandardInput && priceFile == TFileRead::kStandardInput)
    return UsageError();
  if (IsWorkbookPrices(priceFile)) {
    if (replace) return UsageError();
    return RunWorkbookPrice(tender, tenderOfOffer, priceFile, target, confirmed);
  }
  KsLyxObj document;
  if (!ImportOffer(document, tender, tenderOfOffer)) return kExitFailure;
  // The content decides whether the prices come as a list or as an offer.
  const bool offer = IsGaebFile(priceFile);
  if (replace && !offer) return UsageError();
  std::vector<PriceLine> lines;
  try {
    if (!offer) lines = ReadPriceList(priceFile);
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
  if (offer) return TakeOverPrices(document, priceFile, target, confirmed, replace);
  PriceEntries entries(document, confirmed);
  bool allApplied = true;
  for (const PriceLine& line : lines) allApplied = entries.Apply(line) && allApplied;
  if (!ExportOrReport(document, target)) return kExitFailure;
  WarnOfFindings(document);
  return allApplied ? kExitOk : kExitNotAllApplied;
}
