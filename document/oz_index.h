#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class KsGAEBObj;
class KsLyxObj;

// Finds the positions and LV areas of a tender by their OZ however the user
// writes it: with dots or blanks between the levels, or the levels run
// together as the tender stores them, with or without leading zeros ("1.10",
// "01.0010", "1 10", "010010", " 1  10" are one position under the OZ mask
// "11PPPPX"). The tender's OZ mask (LVGLIED: its area levels, the position
// and the index with their lengths) says where a level ends in an OZ written
// without separators. Built once per document; each look-up costs a few
// searches in sorted lists, not a walk over the LV.
class OzIndex {
 public:
  explicit OzIndex(const KsLyxObj& document);
  // Made a step at a time (IndexSome), for a caller that builds it while
  // the user does nothing; Find and Key answer for the elements indexed so
  // far, so the caller lets the index finish before it asks.
  struct InSteps {};
  OzIndex(const KsLyxObj& document, InSteps);
  // Indexes up to `count` more elements; true when every element is.
  bool IndexSome(size_t count);

  // Every position and LV area the text may name, in the order of the LV,
  // each once; a text exactly as a stored OZ (blanks at its ends aside)
  // names only the elements of that OZ. A text may name more than one: "1.10" is the sub-area 10 of
  // area 1 and the position 10 standing directly in area 1 when the mask
  // has two area levels; the caller keeps those it can use and refuses the
  // rest as ambiguous (Ambiguous).
  std::vector<KsGAEBObj*> Find(std::string_view oz) const;

  // The OZ of an element of this tender as the levels it stands for, with
  // leading zeros and blanks dropped, joined by dots ("1.10"; an empty level
  // stays empty: "1..10"; the index follows the position: "1.10.A"). Find of
  // this text in any tender finds the element of the same number.
  std::string Key(const KsGAEBObj& element) const;

  // The German refusal of `oz` naming every element it fits, each by its
  // short text and the area it stands in.
  static std::string Ambiguous(const std::string& oz, const std::vector<KsGAEBObj*>& targets);

 private:
  struct Mask {
    std::vector<size_t> Areas;  // the length of each area level
    size_t Position = 0;
    size_t Index = 0;
    size_t AreaWidth(size_t depth) const;
    size_t Width() const { return AreaWidth(Areas.size()) + Position; }
  };

  // The keys the element's stored OZ stands for, the one that is its Key
  // first; none when the OZ is blank.
  std::vector<std::string> KeysOf(const KsGAEBObj& element) const;
  void Add(uint32_t order);
  static uint32_t HashOf(std::string_view text);
  // The levels of a stored OZ cut by the mask; empty when it does not fit.
  std::vector<std::string> Cut(std::string_view oz, size_t depth, bool position) const;
  // The keys a written OZ may stand for.
  std::vector<std::string> Candidates(std::string_view oz) const;
  void AddPartCandidates(const std::vector<std::string>& parts,
                         std::vector<std::string>& keys) const;

  // A text the index finds an element by, kept as a hash of 32 bits: what
  // a hash finds is checked against the element's own texts.
  struct Named {
    uint32_t hash;
    uint32_t order;  // of the element in elements_
    auto operator<=>(const Named&) const = default;
  };
  using NamedList = std::vector<Named>;
  // Appends the orders of the elements `list` names by `text` that `names`
  // confirms.
  template <typename Names>
  void Collect(const NamedList& list, std::string_view text, Names names,
               std::vector<uint32_t>& orders) const;

  size_t indexed_ = 0;  // of elements_
  Mask mask_;
  std::vector<KsGAEBObj*> elements_;  // in the order of the LV
  // Sorted once every element is indexed; searched one by one before.
  NamedList byKey_;
  // The OZ exactly as stored (trimmed), for a tender whose numbers fit no mask.
  NamedList byText_;
};
