#include "document/offer_search.h"

#include <algorithm>
#include <array>

#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"

namespace {

bool IsOzSeparator(char c) { return c == '.' || c == ' ' || c == '\t'; }

std::string WithoutLeadingZeros(std::string_view text) {
  size_t start = 0;
  while (start + 1 < text.size() && text[start] == '0') ++start;
  return std::string(text.substr(start));
}

// The OZ without separators and leading zeros: how it reads when written
// without dots ("030120" and "3.0120" both give "30120").
std::string OzDigits(std::string_view oz) {
  std::string digits;
  for (const char c : oz)
    if (!IsOzSeparator(c)) digits += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return WithoutLeadingZeros(digits);
}

// What each Windows-1252 byte folds to.
const std::array<std::string, 256>& FoldTable() {
  static const std::array<std::string, 256> table = [] {
    std::array<std::string, 256> t;
    for (int c = 0; c < 256; ++c) {
      const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
      t[c] = std::string(1, static_cast<char>(upper ? c + 32 : c));
    }
    t[0xC4] = t[0xE4] = "ae";
    t[0xD6] = t[0xF6] = "oe";
    t[0xDC] = t[0xFC] = "ue";
    t[0xDF] = "ss";
    t['\r'] = t['\n'] = t['\t'] = " ";
    return t;
  }();
  return table;
}

std::vector<std::string> Words(std::string_view folded) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < folded.size()) {
    const size_t start = folded.find_first_not_of(' ', at);
    if (start == std::string_view::npos) break;
    size_t end = folded.find(' ', start);
    if (end == std::string_view::npos) end = folded.size();
    words.emplace_back(folded.substr(start, end - start));
    at = end;
  }
  return words;
}

bool LooksLikeOz(std::string_view query) {
  bool digit = false;
  for (const char c : query) {
    if (c >= '0' && c <= '9')
      digit = true;
    else if (!IsOzSeparator(c) && !((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
      return false;
  }
  return digit;
}

bool IsDigitsOnly(std::string_view query) {
  return std::ranges::all_of(query,
                             [](char c) { return (c >= '0' && c <= '9') || IsOzSeparator(c); });
}

}  // namespace

// A query of digits alone names an OZ; its digits are looked for in the
// texts only when no OZ matches, so "03" finds the area 03 and not every
// text that holds "2003".
struct OfferSearch::Query {
  explicit Query(std::string_view text)
      : oz(LooksLikeOz(text)),
        byText(!IsDigitsOnly(text)),
        normalisedOz(NormalisedOz(text)),
        digits(OzDigits(text)),
        words(Words(Folded(text))) {}
  bool oz;
  bool byText;
  std::string normalisedOz;
  std::string digits;
  std::vector<std::string> words;
};

std::string OfferSearch::NormalisedOz(std::string_view oz) {
  std::string result;
  size_t at = 0;
  while (at < oz.size()) {
    while (at < oz.size() && IsOzSeparator(oz[at])) ++at;
    size_t end = at;
    while (end < oz.size() && !IsOzSeparator(oz[end])) ++end;
    if (end == at) break;
    if (!result.empty()) result += '.';
    for (const char c : WithoutLeadingZeros(oz.substr(at, end - at)))
      result += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
    at = end;
  }
  return result;
}

std::string OfferSearch::Folded(std::string_view text) {
  const auto& table = FoldTable();
  std::string folded;
  folded.reserve(text.size());
  for (const char c : text) folded += table[static_cast<unsigned char>(c)];
  return folded;
}

void OfferSearch::Add(KsGAEBObj& element) {
  const std::string oz = element.Text("OZ");
  std::string text = oz + " " + element.Text("BEZ") + " ";
  text += IsPositionRow(&element) ? LongText(element) : AreaLongText(element);
  entries_.push_back({&element, NormalisedOz(oz), OzDigits(oz), Folded(text)});
}

void OfferSearch::AddArea(KsGAEBObj& area) {
  Add(area);
  if (const KsGAEBObjList* areas = area.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) AddArea(*areas->Element(i));
  if (const KsGAEBObjList* positions = area.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) Add(*positions->Element(i));
}

void OfferSearch::Prepare() {
  if (prepared_) return;
  prepared_ = true;
  for (int i = 0; areas_ && i < areas_->Count(); ++i) AddArea(*areas_->Element(i));
}

bool OfferSearch::Matches(const Entry& entry, const Query& query) {
  if (query.oz && (entry.oz == query.normalisedOz || entry.digits == query.digits)) return true;
  return query.byText && std::ranges::all_of(query.words, [&entry](const std::string& word) {
           return entry.text.find(word) != std::string::npos;
         });
}

OfferSearch::Query OfferSearch::Understood(std::string_view text) {
  Query query(text);
  if (query.words.empty() || query.byText) return query;
  Prepare();
  const bool ozFound =
      std::ranges::any_of(entries_, [&query](const Entry& entry) { return Matches(entry, query); });
  if (!ozFound) query.byText = true;
  return query;
}

std::vector<KsGAEBObj*> OfferSearch::FindAll(std::string_view text) {
  std::vector<KsGAEBObj*> hits;
  const Query query = Understood(text);
  if (query.words.empty()) return hits;
  Prepare();
  for (const Entry& entry : entries_)
    if (Matches(entry, query)) hits.push_back(entry.element);
  return hits;
}

KsGAEBObj* OfferSearch::Find(std::string_view text, const KsGAEBObj* from, bool forward) {
  const Query query = Understood(text);
  if (query.words.empty()) return nullptr;
  Prepare();
  const int count = static_cast<int>(entries_.size());
  if (count == 0) return nullptr;
  const auto at = std::ranges::find(entries_, from, &Entry::element);
  const int start =
      at == entries_.end() ? (forward ? -1 : count) : static_cast<int>(at - entries_.begin());
  for (int step = 1; step <= count; ++step) {
    const int i = ((forward ? start + step : start - step) % count + count) % count;
    if (Matches(entries_[i], query)) return entries_[i].element;
  }
  return nullptr;
}
