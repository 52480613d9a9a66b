#pragma once

#include <memory>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_elements.h"
#include "gaebxml/gaeb_xml_origin.h"
#include "gaebxml/xml_names.h"
#include "gaebxml/xml_parse.h"

// A tender that cannot be taken over as it stands; the message is German.
class X83Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Builds from a checked X83 document the element tree the GAEB 2000 reader
// builds, so everything above the tree works on either format:
//   GAEBInfo -> GAEBINFO, PrjInfo -> PRJINFO, Award -> VERGABE with
//   AwardInfo -> VERGABEINFO, OWN -> AG, CTR -> AN (each Address -> ADRESSE),
//   AddText -> ZUSTEXT, BoQ -> LV with BoQInfo -> LVINFO (BoQBkdn -> LVGLIED),
//   BoQCtgy -> LVBEREICH, Item -> POSITION (SubDescr -> UNTERBESCHR),
//   MarkupItem -> ZUSCHLPOSITION, Remark and other text-only entries ->
//   HINWEIS, Description -> BESCHREIBUNG; the bidder's text complements of
//   an item into its hidden member (text_complements.h), the discounts in
//   the Totals of a BoQCtgy into the area's.
// Every element gets the document as ImportParams, which hears code 3 after
// each area and position. Texts are converted to Windows-1252, numbers to the
// user's format, dates to dd.mm.yyyy. A number that is not one or reaches
// the amount limit, or areas nested beyond reason, raise X83Error naming
// the line.
class X83Mapper {
 public:
  // `offer`: the file is a price submission (X84), whose text complements
  // hold the bidder's answers and whose items their amounts (IT, kept in
  // GB until the tree is recomputed); a tender's complements are blanks.
  X83Mapper(GaebDocument& doc, const XmlSource& source, GaebXmlOrigin& origin, bool offer);

  std::unique_ptr<KsGGAEB> Map(const pugi::xml_node& gaeb);
  // What the text conversion had to replace.
  const TextConverter& Text() const { return text_; }

  // The parts of Map for a tender read piece by piece (x83_piecewise.h), in
  // the order its elements come; each maps as Map maps it.
  KsGAEBObj& NewItem(KsGAEBObj& parent, const char* listMember);
  // A BoQCtgy's own attributes into its area; the area's OZ.
  std::string MapCategoryTag(const pugi::xml_node& ctgy, KsGAEBObj& area,
                             const std::string& parentOz, size_t depth);
  // A child of a BoQCtgy that describes the area (LblTx, NotAppl, Totals);
  // any other, and an empty node, changes nothing.
  void MapCategoryPart(const pugi::xml_node& part, KsGAEBObj& area, const std::string& oz);
  // What the items of an Itemlist in the area of that OZ and depth are
  // numbered under.
  std::string ItemParent(const std::string& oz, size_t depth) const;
  void MapItem(const pugi::xml_node& item, KsGAEBObj& holder, const std::string& parentOz);
  void MapMarkupItem(const pugi::xml_node& item, KsGAEBObj& holder, const std::string& parentOz);
  void MapRemark(const pugi::xml_node& remark, KsGAEBObj& holder);
  // Tells the document that an area was read whole.
  void AreaRead();

 private:
  struct Level {
    size_t Length = 0;
    bool AlignLeft = false;
  };

  KsGAEBObj& Child(KsGAEBObj& parent, const char* member);
  // Texts are kept in the element tree's own memory, as the GAEB 2000 reader keeps them.
  void Set(KsGAEBObj& element, const char* member, std::string_view value);
  void SetText(KsGAEBObj& element, const char* member, std::string_view utf8);
  void SetDate(KsGAEBObj& element, const char* member, std::string_view utf8);
  void SetInteger(KsGAEBObj& element, const char* member, std::string_view utf8);
  void SetFlag(KsGAEBObj& element, const char* member, const XmlChildren& children,
               const char* name);
  void SetNumber(KsGAEBObj& element, const char* member, const XmlChildren& children,
                 const char* name, const std::string& owner);

  void MapGaebInfo(const pugi::xml_node& info, KsGAEBObj& gaebInfo);
  void MapPrjInfo(const pugi::xml_node& info, KsGAEBObj& prjInfo);
  void MapAward(const pugi::xml_node& award, KsGAEBObj& vergabe);
  void MapParty(const pugi::xml_node& party, KsGAEBObj& element);
  void MapBoQInfo(const pugi::xml_node& info, KsGAEBObj& lvInfo);
  void MapBody(const pugi::xml_node& body, KsGAEBObj& holder, const std::string& oz, size_t depth);
  void MapCategory(const pugi::xml_node& ctgy, KsGAEBObj& area, const std::string& parentOz,
                   size_t depth);
  void MapDescription(const pugi::xml_node& description, KsGAEBObj& element);
  void MapSubDescriptions(const XmlChildren& item, KsGAEBObj& position);
  // The item's catalogue assignments (CtlgAssign) into kXmlCatalogMember.
  void MapCatalogs(const XmlChildren& item, KsGAEBObj& position);
  void MapComplements(const pugi::xml_node& description, KsGAEBObj& position);

  std::string ItemOz(const pugi::xml_node& item, const std::string& parentOz) const;
  std::string Line(const pugi::xml_node& node) const;

  GaebDocument& doc_;
  const XmlSource& source_;
  GaebXmlOrigin& origin_;
  const bool offer_;
  TextConverter text_;
  std::vector<Level> areaLevels_;
  Level itemLevel_;
  mutable std::string original_;  // loaded for the first message that names a line
};
