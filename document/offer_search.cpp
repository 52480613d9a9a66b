#include "document/offer_search.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <unordered_set>

#include "document/lyx_obj.h"
#include "document/oz_index.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"

namespace {

bool IsOzSeparator(char c) { return c == '.' || c == ' ' || c == '\t'; }

// What each Windows-1252 byte folds to: one or two bytes.
struct Fold {
  char bytes[2];
  unsigned char count;
};

const std::array<Fold, 256>& FoldTable() {
  static const std::array<Fold, 256> table = [] {
    std::array<Fold, 256> t{};
    for (int c = 0; c < 256; ++c) {
      const bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
      t[c] = {{static_cast<char>(upper ? c + 32 : c), 0}, 1};
    }
    t[0xC4] = t[0xE4] = {{'a', 'e'}, 2};
    t[0xD6] = t[0xF6] = {{'o', 'e'}, 2};
    t[0xDC] = t[0xFC] = {{'u', 'e'}, 2};
    t[0xDF] = {{'s', 's'}, 2};
    t['\r'] = t['\n'] = t['\t'] = {{' ', 0}, 1};
    return t;
  }();
  return table;
}

// Writes `text` folded at `out`, which has room for twice its size; where
// it ends.
char* FoldInto(char* out, std::string_view text) {
  const auto& table = FoldTable();
  for (const char c : text) {
    const Fold& fold = table[static_cast<unsigned char>(c)];
    out[0] = fold.bytes[0];
    out[1] = fold.bytes[1];
    out += fold.count;
  }
  return out;
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
      : byText(!IsDigitsOnly(text)), byOz(LooksLikeOz(text)), words(Words(Folded(text))) {}
  bool byText;
  bool byOz;
  std::vector<std::string> words;
  std::unordered_set<const KsGAEBObj*> ozHits;
};

OfferSearch::OfferSearch(const KsLyxObj& document) : document_(document) {}

OfferSearch::~OfferSearch() = default;

std::string OfferSearch::Folded(std::string_view text) {
  std::string folded(2 * text.size(), '\0');
  folded.resize(static_cast<size_t>(FoldInto(folded.data(), text) - folded.data()));
  return folded;
}

void OfferSearch::AddArea(KsGAEBObj& area) {
  elements_.push_back(&area);
  if (const KsGAEBObjList* areas = area.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) AddArea(*areas->Element(i));
  if (const KsGAEBObjList* positions = area.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) elements_.push_back(positions->Element(i));
}

size_t OfferSearch::ElementsOf(const KsGAEBObj& area) {
  size_t n = 1;
  if (const KsGAEBObjList* areas = area.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) n += ElementsOf(*areas->Element(i));
  if (const KsGAEBObjList* positions = area.ChildList("POSITION"))
    n += static_cast<size_t>(positions->Count());
  return n;
}

void OfferSearch::List() {
  if (listed_) return;
  listed_ = true;
  const KsGAEBObjList* areas = document_.LvAreas;
  size_t n = 0;
  for (int i = 0; areas && i < areas->Count(); ++i) n += ElementsOf(*areas->Element(i));
  elements_.reserve(n);
  for (int i = 0; areas && i < areas->Count(); ++i) AddArea(*areas->Element(i));
}

bool OfferSearch::PrepareSome(size_t count) {
  List();
  if (!index_) index_ = std::make_unique<OzIndex>(document_, OzIndex::InSteps());
  return index_->IndexSome(count);
}

bool OfferSearch::Matches(const KsGAEBObj& element, const Query& query) {
  if (query.ozHits.contains(&element)) return true;
  if (!query.byText) return false;
  // The texts are joined by blanks, which no word holds, so a word is found
  // within one of them.
  const std::string oz = element.Text("OZ");
  const std::string shortText = element.Text("BEZ");
  std::string held;
  const std::string_view longText =
      IsPositionRow(&element) ? LongTextView(element, held) : (held = AreaLongText(element));
  const size_t room = 2 * (oz.size() + shortText.size() + longText.size()) + 2;
  if (folded_.size() < room) folded_.resize(room);
  char* at = FoldInto(folded_.data(), oz);
  *at++ = ' ';
  at = FoldInto(at, shortText);
  *at++ = ' ';
  at = FoldInto(at, longText);
  const std::string_view text(folded_.data(), static_cast<size_t>(at - folded_.data()));
  return std::ranges::all_of(query.words, [text](const std::string& word) {
    return text.find(word) != std::string_view::npos;
  });
}

OfferSearch::Query OfferSearch::Understood(std::string_view text) {
  List();
  Query query(text);
  if (query.byOz) {
    if (!index_) index_ = std::make_unique<OzIndex>(document_, OzIndex::InSteps());
    index_->IndexSome(SIZE_MAX);
    for (KsGAEBObj* element : index_->Find(text)) query.ozHits.insert(element);
  }
  if (!query.byText && query.ozHits.empty()) query.byText = true;
  return query;
}

std::vector<KsGAEBObj*> OfferSearch::FindAll(std::string_view text) {
  std::vector<KsGAEBObj*> hits;
  for (const size_t i : Hits(Understood(text))) hits.push_back(elements_[i]);
  return hits;
}

std::vector<size_t> OfferSearch::Hits(const Query& query) {
  std::vector<size_t> hits;
  if (query.words.empty()) return hits;
  for (size_t i = 0; i < elements_.size(); ++i)
    if (Matches(*elements_[i], query)) hits.push_back(i);
  return hits;
}

OfferSearch::Hit OfferSearch::Find(std::string_view text, const KsGAEBObj* from, bool forward) {
  const std::vector<size_t> hits = Hits(Understood(text));
  if (hits.empty()) return {};
  const auto at = std::ranges::find(elements_, from);
  const size_t start = static_cast<size_t>(at - elements_.begin());
  size_t number;  // the index in hits
  if (forward) {
    const auto next = at == elements_.end() ? hits.begin() : std::ranges::upper_bound(hits, start);
    number = next == hits.end() ? 0 : static_cast<size_t>(next - hits.begin());
  } else {
    const auto next = at == elements_.end() ? hits.end() : std::ranges::lower_bound(hits, start);
    number = next == hits.begin() ? hits.size() - 1 : static_cast<size_t>(next - hits.begin()) - 1;
  }
  return {elements_[hits[number]], static_cast<int>(number) + 1, static_cast<int>(hits.size())};
}
