#include "gaebxml/x83_piecewise.h"

#include <exception>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "gaebxml/x83_check.h"
#include "gaebxml/x83_mapper.h"
#include "gaebxml/x84_answers.h"
#include "gaebxml/xml_names.h"
#include "gaebxml/xml_pieces_ahead.h"

namespace {

// The file is read as a whole document instead.
struct NotPiecewise {};

bool OneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  for (const std::string_view n : names)
    if (n == name) return true;
  return false;
}

// The elements PiecewiseReader enters rather than takes whole: the first
// Award of the document element, its first BoQ, that one's first BoQBody,
// every BoQCtgy and Itemlist of a body and the first BoQBody of a BoQCtgy.
bool Entered(std::string_view parent, std::string_view name, bool again) {
  if (parent.empty()) return true;
  if (parent == "BoQBody") return name == "BoQCtgy" || name == "Itemlist";
  if (again) return false;
  return (parent == "GAEB" && name == "Award") || (parent == "Award" && name == "BoQ") ||
         ((parent == "BoQ" || parent == "BoQCtgy") && name == "BoQBody");
}

class PiecewiseReader {
 public:
  PiecewiseReader(XmlPieces::Source source, GaebDocument& doc, X83Result& result)
      : pieces_(std::move(source), Entered), doc_(doc), result_(result) {}

  void Read(std::string& versionWarning) {
    pieces_.Start();
    if (Next() != XmlPieces::Piece::StartTag || LocalName(pieces_.Tag()) != "GAEB")
      throw NotPiecewise{};
    ReadRoot(head_.append_copy(pieces_.Tag()));
    if (Next() != XmlPieces::Piece::End || !mapper_) throw NotPiecewise{};
    result_.CarriesTender = !result_.Offer || (anyItem_ && itemsCarryTender_);
    result_.ReplacedCharacters = mapper_->Text().Replaced();
    result_.InvalidBytes = mapper_->Text().InvalidBytes();
    result_.ControlCharacters = mapper_->Text().ControlCharacters();
    versionWarning = versionWarning_;
  }

 private:
  XmlPieces::Piece Next() {
    const XmlPieces::Piece piece = pieces_.Next();
    if (piece == XmlPieces::Piece::Unreadable) throw NotPiecewise{};
    return piece;
  }

  pugi::xml_node Whole() {
    const pugi::xml_node element = pieces_.Whole();
    if (!element) throw NotPiecewise{};
    return element;
  }

  // An element of the part before the body: kept there while it is read;
  // behind the body only one the mapping does not look at (another of a
  // name it takes the first of, or one of a name it ignores).
  void Keep(pugi::xml_node parent, const pugi::xml_node& element,
            std::initializer_list<std::string_view> firstOnly, std::string_view list = {}) {
    if (!mapper_) {
      parent.append_copy(element);
      return;
    }
    const std::string_view name = LocalName(element);
    if (name == list || (OneOf(name, firstOnly) && !ChildNamed(parent, name))) throw NotPiecewise{};
  }

  void ReadRoot(pugi::xml_node root) {
    bool award = false;
    while (Next() == XmlPieces::Piece::StartTag) {
      if (!award && LocalName(pieces_.Tag()) == "Award") {
        award = true;
        ReadAward(root.append_copy(pieces_.Tag()));
      } else {
        Keep(root, Whole(), {"GAEBInfo", "PrjInfo"});
      }
    }
  }

  void ReadAward(pugi::xml_node award) {
    bool boq = false;
    while (Next() == XmlPieces::Piece::StartTag) {
      if (!boq && LocalName(pieces_.Tag()) == "BoQ") {
        boq = true;
        ReadBoQ(award.append_copy(pieces_.Tag()));
      } else {
        Keep(award, Whole(), {"AwardInfo", "OWN", "CTR", "DP"}, "AddText");
      }
    }
  }

  void ReadBoQ(pugi::xml_node boq) {
    while (Next() == XmlPieces::Piece::StartTag) {
      if (!mapper_ && LocalName(pieces_.Tag()) == "BoQBody") {
        KsGAEBObj& lv = MapHead();
        ReadBody(lv, std::string(), 0);
      } else {
        Keep(boq, Whole(), {"BoQInfo"});
      }
    }
  }

  // Checks and maps what came before the body, as a whole file's reading
  // does; the LV the body is read into.
  KsGAEBObj& MapHead() {
    std::string phase;
    if (!CheckX83(head_, result_.Origin, phase, result_.Error, versionWarning_))
      throw NotPiecewise{};
    result_.Offer = phase == "84";
    mapper_.emplace(doc_, noSource_, result_.Origin, result_.Offer);
    result_.Root = mapper_->Map(head_.document_element());
    KsGAEBObj* award = result_.Root->Child("VERGABE");
    KsGAEBObj* lv = award ? award->Child("LV") : nullptr;
    if (!lv) throw NotPiecewise{};
    return *lv;
  }

  void Item(const pugi::xml_node& item) {
    anyItem_ = true;
    if (!ItemCarriesTender(item)) itemsCarryTender_ = false;
  }

  void ReadBody(KsGAEBObj& holder, const std::string& oz, size_t depth) {
    while (Next() == XmlPieces::Piece::StartTag) {
      const std::string_view name = LocalName(pieces_.Tag());
      if (name == "BoQCtgy") {
        ReadCategory(mapper_->NewItem(holder, "LVBEREICH"), oz, depth + 1);
      } else if (name == "Itemlist") {
        ReadItemlist(holder, mapper_->ItemParent(oz, depth));
      } else {
        const pugi::xml_node entry = Whole();
        if (name == "Item") Item(entry);
        if (ChildNamed(entry, "Description")) mapper_->MapRemark(entry, holder);
      }
    }
  }

  void ReadCategory(KsGAEBObj& area, const std::string& parentOz, size_t depth) {
    const std::string oz = mapper_->MapCategoryTag(pieces_.Tag(), area, parentOz, depth);
    bool body = false, label = false, notApplicable = false, totals = false;
    while (Next() == XmlPieces::Piece::StartTag) {
      const std::string_view name = LocalName(pieces_.Tag());
      if (name == "BoQBody" && !body) {
        body = true;
        ReadBody(area, oz, depth);
        continue;
      }
      const pugi::xml_node part = Whole();
      bool& seen = name == "LblTx" ? label : name == "NotAppl" ? notApplicable : totals;
      if (OneOf(name, {"LblTx", "NotAppl", "Totals"}) && !seen) {
        seen = true;
        mapper_->MapCategoryPart(part, area, oz);
      }
    }
    mapper_->AreaRead();
  }

  void ReadItemlist(KsGAEBObj& holder, const std::string& itemParent) {
    while (Next() == XmlPieces::Piece::StartTag) {
      const std::string_view name = LocalName(pieces_.Tag());
      // The offer's check walks these where the mapping does not.
      if (name == "BoQCtgy" || name == "Itemlist") throw NotPiecewise{};
      const pugi::xml_node entry = Whole();
      if (name == "Item") {
        Item(entry);
        mapper_->MapItem(entry, holder, itemParent);
      } else if (name == "MarkupItem") {
        mapper_->MapMarkupItem(entry, holder, itemParent);
      } else if (ChildNamed(entry, "Description")) {
        mapper_->MapRemark(entry, holder);
      }
    }
  }

  XmlPiecesAhead pieces_;
  GaebDocument& doc_;
  X83Result& result_;
  pugi::xml_document head_;   // what comes before the body, the body left out
  const XmlSource noSource_;  // messages are the whole document's
  std::optional<X83Mapper> mapper_;
  std::string versionWarning_;
  bool anyItem_ = false;
  bool itemsCarryTender_ = true;
};

}  // namespace

bool ReadX83Piecewise(XmlPieces::Source source, GaebDocument& doc, X83Result& result,
                      std::string& versionWarning) {
  try {
    PiecewiseReader(std::move(source), doc, result).Read(versionWarning);
    return true;
  } catch (const NotPiecewise&) {
  } catch (const std::exception&) {
    // Refused (X83Error) or failed: the whole document's reading says why.
  }
  result = X83Result();
  return false;
}
