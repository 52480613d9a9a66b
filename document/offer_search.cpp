#include "document/offer_search.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "document/lyx_obj.h"
#include "document/oz_index.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"

namespace {

bool IsOzSeparator(char c) { return c == '.' || c == ' ' || c == '\t'; }

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
  Query(std::string_view text, const OzIndex& index)
      : byText(!IsDigitsOnly(text)), words(Words(Folded(text))) {
    if (LooksLikeOz(text))
      for (KsGAEBObj* element : index.Find(text)) ozHits.insert(element);
  }
  bool byText;
  std::vector<std::string> words;
  std::unordered_set<const KsGAEBObj*> ozHits;
};

OfferSearch::OfferSearch(const KsLyxObj& document) : document_(document) {}

OfferSearch::~OfferSearch() = default;

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
  entries_.push_back({&element, Folded(text)});
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
  index_ = std::make_unique<OzIndex>(document_);
  const KsGAEBObjList* areas = document_.LvAreas;
  for (int i = 0; areas && i < areas->Count(); ++i) AddArea(*areas->Element(i));
}

bool OfferSearch::Matches(const Entry& entry, const Query& query) {
  if (query.ozHits.contains(entry.element)) return true;
  return query.byText && std::ranges::all_of(query.words, [&entry](const std::string& word) {
           return entry.text.find(word) != std::string::npos;
         });
}

OfferSearch::Query OfferSearch::Understood(std::string_view text) {
  Prepare();
  Query query(text, *index_);
  if (!query.byText && query.ozHits.empty()) query.byText = true;
  return query;
}

std::vector<KsGAEBObj*> OfferSearch::FindAll(std::string_view text) {
  std::vector<KsGAEBObj*> hits;
  const Query query = Understood(text);
  if (query.words.empty()) return hits;
  for (const Entry& entry : entries_)
    if (Matches(entry, query)) hits.push_back(entry.element);
  return hits;
}

KsGAEBObj* OfferSearch::Find(std::string_view text, const KsGAEBObj* from, bool forward) {
  const Query query = Understood(text);
  if (query.words.empty()) return nullptr;
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
