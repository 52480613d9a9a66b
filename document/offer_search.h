#pragma once

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
// "Straße"). The texts are read where the tree holds them and folded one
// element at a time while a search runs, so the search holds no copy of
// them; the list of elements and the OZ index are made once, at the first
// search or before it (PrepareSome).
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
  // Prepares the list of elements and the OZ index a step at a time, about
  // `count` elements per call, for a caller that does it while the user
  // does nothing; true when all is ready. A search prepares what it needs
  // itself.
  bool PrepareSome(size_t count);

  // Lower case, umlauts and ß written out ("ae", "oe", "ue", "ss"), of
  // Windows-1252 text.
  static std::string Folded(std::string_view text);

 private:
  struct Query;
  // The query as it is meant: digits alone that match no OZ are looked for
  // in the texts.
  Query Understood(std::string_view text);
  // Lists the elements, once.
  void List();
  void AddArea(KsGAEBObj& area);
  // The elements of an area with everything below it.
  static size_t ElementsOf(const KsGAEBObj& area);
  bool Matches(const KsGAEBObj& element, const Query& query);
  // The indices in elements_ of every hit, in grid order.
  std::vector<size_t> Hits(const Query& query);

  const KsLyxObj& document_;
  std::unique_ptr<OzIndex> index_;  // made by PrepareSome or the first query that may be an OZ
  bool listed_ = false;
  std::vector<KsGAEBObj*> elements_;  // areas and positions in grid order
  // Room for the folded texts of the element being matched, kept from one
  // element to the next.
  std::string folded_;
};
