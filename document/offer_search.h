#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class KsGAEBObj;
class KsLyxObj;
class OzIndex;

// Finding LV areas and positions of the open tender, in the order of the
// price grid (an area, its sub-areas with their rows, then its positions).
// A query finds an element by its OZ however it is written (OzIndex: with
// or without dots, blanks and leading zeros, "3.120" finds 03.0120, so do
// "03 0120" and "030120"), or by words, each of which must occur in the OZ, short text or
// long text; case and umlauts do not count ("tuer" finds "Tür", "STRASSE"
// "Straße"). The texts are prepared once, at the first search or before it
// (PrepareSome); the tender's texts are never edited, so they stay true for
// the document's life.
class OfferSearch {
 public:
  // The document must outlive the search.
  explicit OfferSearch(const KsLyxObj& document);
  ~OfferSearch();

  struct Hit {
    KsGAEBObj* element = nullptr;  // nullptr: the query is blank or nothing matches
    int number = 0;                // of the hit among all hits, from 1
    int count = 0;                 // of all hits
  };
  // The next hit after `from` (the previous one when !forward), wrapping
  // round at the end; `from` itself last. From nullptr, or an element that
  // is no area or position, the first (last) hit.
  Hit Find(std::string_view query, const KsGAEBObj* from, bool forward);
  // Every hit, in grid order.
  std::vector<KsGAEBObj*> FindAll(std::string_view query);
  // Prepares the texts and the OZ index a step at a time, about `count`
  // elements per call, for a caller that does it while the user does
  // nothing; true when all is ready. A search prepares what it needs itself.
  bool PrepareSome(size_t count);

  // Lower case, umlauts and ß written out ("ae", "oe", "ue", "ss"), of
  // Windows-1252 text.
  static std::string Folded(std::string_view text);

  // The size of a block of folded texts.
  static constexpr size_t kBlockBytes = size_t{1} << 20;

 private:
  struct Entry {
    KsGAEBObj* element;
    uint32_t block, begin, end;  // of its folded OZ, short and long text in blocks_
  };
  struct Query;
  // The query as it is meant: digits alone that match no OZ are looked for
  // in the texts.
  Query Understood(std::string_view text);
  // Lists the elements at the first call, then folds the texts of up to
  // `count` more of them; the count left over.
  size_t FoldSome(size_t count);
  void AddArea(KsGAEBObj& area);
  // The entries of an area with everything below it.
  static size_t EntriesOf(const KsGAEBObj& area);
  void Fold(Entry& entry);
  bool Matches(const Entry& entry, const Query& query) const;
  // The indices in entries_ of every hit, in grid order.
  std::vector<size_t> Hits(const Query& query) const;

  const KsLyxObj& document_;
  std::unique_ptr<OzIndex> index_;  // made by PrepareSome or the first query that may be an OZ
  bool listed_ = false;
  size_t folded_ = 0;  // entries whose text is in blocks_
  // The folded texts, entry after entry, in blocks of about kBlockBytes: a
  // tender's texts as one string would be copied each time it grows, and
  // hold twice their size for a moment.
  std::vector<std::string> blocks_;
  std::vector<Entry> entries_;
};
