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
// "Straße"). The texts are prepared once, at the first search; the tender's
// texts are never edited, so they stay true for the document's life.
class OfferSearch {
 public:
  // The document must outlive the search.
  explicit OfferSearch(const KsLyxObj& document);
  ~OfferSearch();

  // The next hit after `from` (the previous one when !forward), wrapping
  // round at the end; `from` itself last. From nullptr the first (last)
  // hit. nullptr when the query is blank or nothing matches.
  KsGAEBObj* Find(std::string_view query, const KsGAEBObj* from, bool forward);
  // Every hit, in grid order.
  std::vector<KsGAEBObj*> FindAll(std::string_view query);

  // Lower case, umlauts and ß written out ("ae", "oe", "ue", "ss"), of
  // Windows-1252 text.
  static std::string Folded(std::string_view text);

 private:
  struct Entry {
    KsGAEBObj* element;
    std::string text;  // Folded OZ, short and long text
  };
  struct Query;
  // The query as it is meant: digits alone that match no OZ are looked for
  // in the texts.
  Query Understood(std::string_view text);
  void Prepare();
  void Add(KsGAEBObj& element);
  void AddArea(KsGAEBObj& area);
  static bool Matches(const Entry& entry, const Query& query);

  const KsLyxObj& document_;
  std::unique_ptr<OzIndex> index_;
  bool prepared_ = false;
  std::vector<Entry> entries_;
};
