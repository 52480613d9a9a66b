#include "gaebxml/x83_mapper.h"

#include <cmath>

#include "core/arena.h"
#include "gaeb/gaeb_classes.h"
#include "gaebxml/text_complements.h"
#include "gaebxml/xml_decimal.h"
#include "gaebxml/xml_identity.h"
#include "gaebxml/xml_names.h"
#include "gaebxml/xml_plain_text.h"
#include "util/amount_limit.h"
#include "util/same_text.h"
#include "util/strings.h"
#include "util/trim.h"

namespace {

// Real tenders nest a handful of levels; deeper nesting is a broken file,
// and the areas are read by recursion.
constexpr size_t kMaxAreaDepth = 64;

bool IsYes(std::string_view text) { return SameText(Trim(text), "Yes"); }

std::string Pad(const std::string& part, size_t length, bool alignLeft) {
  if (part.size() >= length) return part;
  const std::string fill(length - part.size(), ' ');
  return alignLeft ? part + fill : fill + part;
}

const char* LvGliedType(std::string_view type) {
  if (type == "BoQLevel") return "LVSTUFE";
  if (type == "Lot") return "LOS";
  if (type == "Item") return "POSITION";
  if (type == "Index") return "INDEX";
  return nullptr;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "2024-04-04" (a zone may follow) as the GAEB 2000 files write dates.
std::string GermanDate(const std::string& iso) {
  if (iso.size() < 10 || iso[4] != '-' || iso[7] != '-') return iso;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!IsDigit(iso[i])) return iso;
  return iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4);
}

}  // namespace

X83Mapper::X83Mapper(GaebDocument& doc, const XmlSource& source, GaebXmlOrigin& origin, bool offer)
    : doc_(doc), source_(source), origin_(origin), offer_(offer) {}

std::unique_ptr<KsGGAEB> X83Mapper::Map(const pugi::xml_node& gaeb) {
  AddXmlIdentityFields();
  std::unique_ptr<KsGGAEB> root = NewGaebRoot(&doc_);
  if (!root) throw X83Error(Uncreatable("GAEB"));
  MapGaebInfo(ChildNamed(gaeb, "GAEBInfo"), Child(*root, "GAEBINFO"));
  MapPrjInfo(ChildNamed(gaeb, "PrjInfo"), Child(*root, "PRJINFO"));
  MapAward(ChildNamed(gaeb, "Award"), Child(*root, "VERGABE"));
  return root;
}

KsGAEBObj& X83Mapper::Child(KsGAEBObj& parent, const char* member) {
  KsGAEBObj* child = parent.ChildOrNew(member, &doc_);
  if (!child) throw X83Error(Uncreatable(member));
  return *child;
}

KsGAEBObj& X83Mapper::NewItem(KsGAEBObj& parent, const char* listMember) {
  KsGAEBObj* item = parent.NewListItem(listMember, &doc_);
  if (!item) throw X83Error(Uncreatable(listMember));
  return *item;
}

void X83Mapper::Set(KsGAEBObj& element, const char* member, std::string_view value) {
  if (KsMember* m = element.Members.FindOrMake(member))
    m->SetValue(Variant(value, element.HomeArena()));
}

void X83Mapper::SetText(KsGAEBObj& element, const char* member, std::string_view utf8) {
  const std::string text = text_(utf8);
  if (const std::string_view trimmed = TrimmedView(text); !trimmed.empty())
    Set(element, member, trimmed);
}

void X83Mapper::SetDate(KsGAEBObj& element, const char* member, std::string_view utf8) {
  const std::string text = Trim(text_(utf8));
  if (!text.empty()) Set(element, member, GermanDate(text));
}

void X83Mapper::SetInteger(KsGAEBObj& element, const char* member, std::string_view utf8) {
  const std::string text = Trim(utf8);
  KsMember* m = element.Members.FindOrMake(member);
  if (m && !text.empty()) m->SetValue(Variant(element.ConvertFieldValue(text, *m)));
}

void X83Mapper::SetFlag(KsGAEBObj& element, const char* member, const XmlChildren& children,
                        const char* name) {
  if (IsYes(children.Text(name))) Set(element, member, "J");
}

void X83Mapper::SetNumber(KsGAEBObj& element, const char* member, const XmlChildren& children,
                          const char* name, const std::string& owner) {
  const pugi::xml_node child = children.Named(name);
  const std::string_view raw = child.child_value();
  if (!child || Trim(raw).empty()) return;
  double value = 0;
  if (!ParseXmlDecimal(raw, value))
    throw X83Error("Zeile " + Line(child) + ": <" + name + "> " + owner + " enth\xE4lt \"" +
                   text_(Trim(raw)) + "\" statt einer Zahl.");
  if (!WithinAmountLimit(value))
    throw X83Error("Zeile " + Line(child) + ": <" + name + "> " + owner + ": " +
                   TooLargeText(text_(Trim(raw))));
  // Held as the GAEB 2000 reader holds numbers: at the field's decimals.
  if (KsMember* m = element.Members.FindOrMake(member))
    m->SetValue(Variant(element.ConvertFieldValue(Trim(raw), *m)));
}

std::string X83Mapper::Line(const pugi::xml_node& node) const {
  if (original_.empty() && source_.Original) original_ = source_.Original();
  const ptrdiff_t offset = node.offset_debug();
  return std::to_string(PositionAt(original_, offset < 0 ? 0 : static_cast<size_t>(offset)).Line);
}

void X83Mapper::MapGaebInfo(const pugi::xml_node& info, KsGAEBObj& gaebInfo) {
  Set(gaebInfo, "VERSION", origin_.Version);
  origin_.VersDate = Trim(text_(ChildText(info, "VersDate")));
  const std::string& versDate = origin_.VersDate;  // "2021-05"
  if (versDate.size() == 7 && versDate[4] == '-') {
    SetInteger(gaebInfo, "VERSJAHR", versDate.substr(0, 4));
    SetInteger(gaebInfo, "VERSMON", versDate.substr(5, 2));
  }
  SetDate(gaebInfo, "DATUM", ChildText(info, "Date"));
  SetText(gaebInfo, "UHRZEIT", ChildText(info, "Time"));
  SetText(gaebInfo, "PROGSYSTEM", ChildText(info, "ProgSystem"));
  SetText(gaebInfo, "PROGNAME", ChildText(info, "ProgName"));
}

void X83Mapper::MapPrjInfo(const pugi::xml_node& info, KsGAEBObj& prjInfo) {
  SetText(prjInfo, "NAME", ChildText(info, "NamePrj"));
  SetText(prjInfo, "BEZ", ChildText(info, "LblPrj"));
  SetText(prjInfo, "BESCHREIB", PlainTextLine(ChildNamed(info, "Descrip")));
  SetText(prjInfo, "WAE", ChildText(info, "Cur"));
  SetText(prjInfo, "WAEBEZ", ChildText(info, "CurLbl"));
}

void X83Mapper::MapAward(const pugi::xml_node& award, KsGAEBObj& vergabe) {
  Set(vergabe, "DP", "83");
  const pugi::xml_node info = ChildNamed(award, "AwardInfo");
  KsGAEBObj& vergabeInfo = Child(vergabe, "VERGABEINFO");
  SetText(vergabeInfo, "WAE", ChildText(info, "Cur"));
  SetText(vergabeInfo, "WAEBEZ", ChildText(info, "CurLbl"));
  SetDate(vergabeInfo, "ERDATUM", ChildText(info, "OpenDate"));
  SetText(vergabeInfo, "ERUHRZEIT", ChildText(info, "OpenTime"));
  SetText(vergabeInfo, "ABGABEORT", ChildText(info, "SubmLoc"));
  SetDate(vergabeInfo, "AUSFBEGINN", ChildText(info, "CnstStart"));
  SetDate(vergabeInfo, "AUSFENDE", ChildText(info, "CnstEnd"));
  SetText(vergabeInfo, "AUFTRNR", ChildText(info, "ContrNo"));
  SetDate(vergabeInfo, "AUFTRDATUM", ChildText(info, "ContrDate"));
  if (const pugi::xml_node own = ChildNamed(award, "OWN")) MapParty(own, Child(vergabe, "AG"));
  if (const pugi::xml_node ctr = ChildNamed(award, "CTR")) MapParty(ctr, Child(vergabe, "AN"));
  for (pugi::xml_node add = award.first_child(); add; add = add.next_sibling()) {
    if (!IsNamed(add, "AddText")) continue;
    std::string text = PlainTextLines(ChildNamed(add, "DetailAddText"));
    if (text.empty()) text = PlainTextLines(ChildNamed(add, "OutlineAddText"));
    if (!text.empty()) SetText(NewItem(vergabe, "ZUSTEXT"), "TEXT", text);
  }
  const pugi::xml_node boq = ChildNamed(award, "BoQ");
  KsGAEBObj& lv = Child(vergabe, "LV");
  SetText(lv, kXmlIdMember, boq.attribute("ID").value());
  MapBoQInfo(ChildNamed(boq, "BoQInfo"), Child(lv, "LVINFO"));
  MapBody(ChildNamed(boq, "BoQBody"), lv, std::string(), 0);
}

void X83Mapper::MapParty(const pugi::xml_node& party, KsGAEBObj& element) {
  static constexpr std::pair<const char*, const char*> kAddress[] = {
      {"Name1", "NAME1"},          {"Name2", "NAME2"},   {"Name3", "NAME3"}, {"Name4", "NAME4"},
      {"Street", "STRASSE"},       {"PCode", "PLZ"},     {"City", "ORT"},    {"Country", "LANDBEZ"},
      {"Contact", "ANSPRPARTNER"}, {"Phone", "TELEFON"}, {"Fax", "FAX"},     {"Email", "EMAIL"},
      {"VATID", "USTIDENT"}};
  KsGAEBObj& address = Child(element, "ADRESSE");
  const pugi::xml_node xmlAddress = ChildNamed(party, "Address");
  for (const auto& [xml, member] : kAddress) SetText(address, member, ChildText(xmlAddress, xml));
  SetText(element, "DVNR", ChildText(party, "DPNo"));
  SetText(element, "VERGNR", ChildText(party, "AwardNo"));
}

void X83Mapper::MapBoQInfo(const pugi::xml_node& info, KsGAEBObj& lvInfo) {
  SetText(lvInfo, "NAME", ChildText(info, "Name"));
  SetText(lvInfo, "BEZ", ChildText(info, "LblBoQ"));
  SetDate(lvInfo, "DATUM", ChildText(info, "Date"));
  for (pugi::xml_node bkdn = info.first_child(); bkdn; bkdn = bkdn.next_sibling()) {
    if (!IsNamed(bkdn, "BoQBkdn")) continue;
    BoQBkdnLevel level{Trim(text_(ChildText(bkdn, "Type"))), Trim(text_(ChildText(bkdn, "Length"))),
                       Trim(text_(ChildText(bkdn, "Num"))),
                       Trim(text_(ChildText(bkdn, "Alignment")))};
    KsGAEBObj& glied = NewItem(lvInfo, "LVGLIED");
    const char* type = LvGliedType(level.Type);
    Set(glied, "TYP", type ? type : level.Type);
    SetInteger(glied, "LAENGE", level.Length);
    SetText(glied, "BEZ", ChildText(bkdn, "LblBoQBkdn"));
    const int length = StrToIntZero(level.Length);
    const bool alignLeft =
        level.Alignment == "left" || (level.Alignment != "right" && level.Num == "No");
    const Level padding{length > 0 ? static_cast<size_t>(length) : 0, alignLeft};
    if (level.Type == "BoQLevel" || level.Type == "Lot") areaLevels_.push_back(padding);
    if (level.Type == "Item") itemLevel_ = padding;
    origin_.Breakdown.push_back(std::move(level));
  }
  SetInteger(lvInfo, "ANZEPANTEILE", ChildText(info, "NoUPComps"));
  static constexpr const char* kLabels[][2] = {
      {"LblUPComp1", "BEZEPANTEIL1"}, {"LblUPComp2", "BEZEPANTEIL2"},
      {"LblUPComp3", "BEZEPANTEIL3"}, {"LblUPComp4", "BEZEPANTEIL4"},
      {"LblUPComp5", "BEZEPANTEIL5"}, {"LblUPComp6", "BEZEPANTEIL6"}};
  for (const auto& label : kLabels) SetText(lvInfo, label[1], ChildText(info, label[0]));
  SetText(lvInfo, "BEZZEIT", ChildText(info, "LblTime"));
  SetNumber(lvInfo, "UST", XmlChildren(ChildNamed(info, "Totals")), "VAT",
            "des Leistungsverzeichnisses");
}

void X83Mapper::MapBody(const pugi::xml_node& body, KsGAEBObj& holder, const std::string& oz,
                        size_t depth) {
  for (pugi::xml_node entry = body.first_child(); entry; entry = entry.next_sibling()) {
    if (IsNamed(entry, "BoQCtgy")) {
      MapCategory(entry, NewItem(holder, "LVBEREICH"), oz, depth + 1);
    } else if (IsNamed(entry, "Itemlist")) {
      const std::string itemParent = ItemParent(oz, depth);
      for (pugi::xml_node item = entry.first_child(); item; item = item.next_sibling()) {
        if (IsNamed(item, "Item"))
          MapItem(item, holder, itemParent);
        else if (IsNamed(item, "MarkupItem"))
          MapMarkupItem(item, holder, itemParent);
        else if (ChildNamed(item, "Description"))
          MapRemark(item, holder);
      }
    } else if (ChildNamed(entry, "Description")) {
      MapRemark(entry, holder);
    }
  }
}

void X83Mapper::MapCategory(const pugi::xml_node& ctgy, KsGAEBObj& area,
                            const std::string& parentOz, size_t depth) {
  const std::string oz = MapCategoryTag(ctgy, area, parentOz, depth);
  for (const char* part : {"LblTx", "NotAppl", "Totals"})
    MapCategoryPart(ChildNamed(ctgy, part), area, oz);
  MapBody(ChildNamed(ctgy, "BoQBody"), area, oz, depth);
  AreaRead();
}

std::string X83Mapper::MapCategoryTag(const pugi::xml_node& ctgy, KsGAEBObj& area,
                                      const std::string& parentOz, size_t depth) {
  if (depth > kMaxAreaDepth)
    throw X83Error("Zeile " + Line(ctgy) + ": die LV-Bereiche sind tiefer als " +
                   std::to_string(kMaxAreaDepth) + " Ebenen verschachtelt.");
  const Level level = depth <= areaLevels_.size() ? areaLevels_[depth - 1] : Level{};
  const std::string part = text_(ctgy.attribute("RNoPart").value());
  std::string oz = parentOz + Pad(part, level.Length, level.AlignLeft);
  Set(area, "OZ", oz);
  SetText(area, kXmlIdMember, ctgy.attribute("ID").value());
  Set(area, kXmlRNoPartMember, part);
  return oz;
}

void X83Mapper::MapCategoryPart(const pugi::xml_node& part, KsGAEBObj& area,
                                const std::string& oz) {
  const std::string_view name = LocalName(part);
  if (name == "LblTx") {
    SetText(area, "BEZ", PlainTextLine(part));
  } else if (name == "NotAppl") {
    if (IsYes(part.child_value())) Set(area, "ENTF", "J");
  } else if (name == "Totals") {
    const std::string owner = "des LV-Bereichs " + Trim(oz);
    const XmlChildren totals(part);
    SetNumber(area, "NACHLASSPROZ", totals, "DiscountPcnt", owner);
    SetNumber(area, "NACHLASSABS", totals, "DiscountAmt", owner);
  }
}

std::string X83Mapper::ItemParent(const std::string& oz, size_t depth) const {
  // Items above the deepest level keep the unused levels of the numbering
  // as blanks, as a GAEB 2000 OZ does, so the OZ still fits its mask.
  std::string itemParent = oz;
  for (size_t level = depth; level < areaLevels_.size(); ++level)
    itemParent.append(areaLevels_[level].Length, ' ');
  return itemParent;
}

void X83Mapper::AreaRead() { doc_.NotifyObservers(gcElementRead); }

std::string X83Mapper::ItemOz(const pugi::xml_node& item, const std::string& parentOz) const {
  // Converted like every text, counted once where the parts are kept.
  TextConverter uncounted;
  return parentOz +
         Pad(uncounted(item.attribute("RNoPart").value()), itemLevel_.Length,
             itemLevel_.AlignLeft) +
         uncounted(item.attribute("RNoIndex").value());
}

void X83Mapper::MapItem(const pugi::xml_node& item, KsGAEBObj& holder,
                        const std::string& parentOz) {
  KsGAEBObj& position = NewItem(holder, "POSITION");
  const std::string oz = ItemOz(item, parentOz);
  const std::string owner = "der Position " + Trim(oz);
  const XmlChildren children(item);
  Set(position, "OZ", oz);
  SetText(position, kXmlIdMember, item.attribute("ID").value());
  Set(position, kXmlRNoPartMember, text_(item.attribute("RNoPart").value()));
  Set(position, kXmlRNoIndexMember, text_(item.attribute("RNoIndex").value()));
  SetNumber(position, "MENGE", children, "Qty", owner);
  SetText(position, "ME", children.Text("QU"));
  const std::string provis = Trim(children.Text("Provis"));
  if (provis == "WithTotal") Set(position, "BEDARF", "M");
  if (provis == "WithoutTotal") Set(position, "BEDARF", "E");
  SetInteger(position, "ZZGRUPPENR", children.Text("ALNGroupNo"));
  SetInteger(position, "ZZLFDNR", children.Text("ALNSerNo"));
  SetFlag(position, "ENTF", children, "NotAppl");
  SetFlag(position, "STPOS", children, "HourIt");
  SetFlag(position, "SPOS", children, "KeyIt");
  SetFlag(position, "EPAUFGL", children, "UPBkdn");
  SetFlag(position, "FRMENGE", children, "QtyTBD");
  SetNumber(position, "EP", children, "UP", owner);
  static constexpr const char* kComponents[][2] = {
      {"UPComp1", "EPANTEIL1"}, {"UPComp2", "EPANTEIL2"}, {"UPComp3", "EPANTEIL3"},
      {"UPComp4", "EPANTEIL4"}, {"UPComp5", "EPANTEIL5"}, {"UPComp6", "EPANTEIL6"}};
  for (const auto& component : kComponents)
    SetNumber(position, component[1], children, component[0], owner);
  SetNumber(position, "NACHLASSPROZ", children, "DiscountPcnt", owner);
  if (offer_) SetNumber(position, "GB", children, "IT", owner);
  MapCatalogs(children, position);
  const pugi::xml_node description = children.Named("Description");
  MapDescription(description, position);
  MapComplements(description, position);
  MapSubDescriptions(children, position);
  static_cast<KsGPOSITION&>(position).DeriveDisplayFields();
  doc_.NotifyObservers(gcElementRead);
}

void X83Mapper::MapMarkupItem(const pugi::xml_node& item, KsGAEBObj& holder,
                              const std::string& parentOz) {
  KsGAEBObj& markup = NewItem(holder, "ZUSCHLPOSITION");
  const std::string oz = ItemOz(item, parentOz);
  const std::string owner = "der Zuschlagsposition " + Trim(oz);
  const XmlChildren children(item);
  Set(markup, "OZ", oz);
  SetText(markup, kXmlIdMember, item.attribute("ID").value());
  Set(markup, kXmlRNoPartMember, text_(item.attribute("RNoPart").value()));
  Set(markup, kXmlRNoIndexMember, text_(item.attribute("RNoIndex").value()));
  SetNumber(markup, "ZUSCHLAG", children, "Markup", owner);
  SetNumber(markup, "GBZUSCHL", children, "ITMarkup", owner);
  SetNumber(markup, "GB", children, "IT", owner);
  MapDescription(children.Named("Description"), markup);
  doc_.NotifyObservers(gcElementRead);
}

void X83Mapper::MapRemark(const pugi::xml_node& remark, KsGAEBObj& holder) {
  KsGAEBObj& hinweis = NewItem(holder, "HINWEIS");
  SetText(hinweis, kXmlIdMember, remark.attribute("ID").value());
  MapDescription(ChildNamed(remark, "Description"), hinweis);
  // A note is shown by its long text; one with an outline only shows that.
  KsGAEBObj* beschreibung = hinweis.Child("BESCHREIBUNG");
  if (beschreibung && beschreibung->Text("LANGTEXT").empty()) {
    const pugi::xml_node complete = ChildNamed(ChildNamed(remark, "Description"), "CompleteText");
    SetText(*beschreibung, "LANGTEXT", PlainTextLines(ChildNamed(complete, "OutlineText")));
  }
}

void X83Mapper::MapDescription(const pugi::xml_node& description, KsGAEBObj& element) {
  if (!description) return;
  KsGAEBObj& beschreibung = Child(element, "BESCHREIBUNG");
  const XmlChildren complete(ChildNamed(description, "CompleteText"));
  SetText(beschreibung, "KURZTEXT", PlainTextLine(complete.Named("OutlineText")));
  SetText(beschreibung, "LANGTEXT", PlainTextLines(complete.Named("DetailTxt")));
  SetFlag(beschreibung, "LANGTEXTTA", complete, "ComplTSA");
  SetFlag(beschreibung, "LANGTEXTTB", complete, "ComplTSB");
}

void X83Mapper::MapCatalogs(const XmlChildren& item, KsGAEBObj& position) {
  std::string catalogs;
  for (const auto& [name, a] : item.All()) {
    if (name != "CtlgAssign") continue;
    const std::string id = Trim(std::string(ChildText(a, "CtlgID")));
    const std::string code = Trim(std::string(ChildText(a, "CtlgCode")));
    if (code.empty()) continue;
    catalogs += (catalogs.empty() ? "" : "; ") + id + ":" + code;
  }
  if (!catalogs.empty()) SetText(position, kXmlCatalogMember, catalogs);
}

void X83Mapper::MapSubDescriptions(const XmlChildren& item, KsGAEBObj& position) {
  for (const auto& [name, sub] : item.All()) {
    if (name != "SubDescr") continue;
    KsGAEBObj& unterbeschr = NewItem(position, "UNTERBESCHR");
    SetInteger(unterbeschr, "UBNR", ChildText(sub, "SubDNo"));
    MapDescription(ChildNamed(sub, "Description"), unterbeschr);
    SetText(unterbeschr, "ME", ChildText(sub, "QU"));
    // The catalogue holds this quantity as a whole number.
    double quantity = 0;
    if (ParseXmlDecimal(ChildText(sub, "Qty"), quantity) && std::fabs(quantity) < 1e9 &&
        std::trunc(quantity) == quantity)
      Set(unterbeschr, "MENGE", std::to_string(static_cast<int32_t>(quantity)));
  }
}

void X83Mapper::MapComplements(const pugi::xml_node& description, KsGAEBObj& position) {
  const pugi::xml_node detail = ChildNamed(ChildNamed(description, "CompleteText"), "DetailTxt");
  std::vector<TextComplement> complements;
  for (pugi::xml_node c = detail.first_child(); c; c = c.next_sibling()) {
    if (!IsNamed(c, "TextComplement") || Trim(c.attribute("Kind").value()) != "Bidder") continue;
    // PlainTextLine leaves neither tabs nor line breaks, which part the held text.
    TextComplement complement{Trim(text_(c.attribute("MarkLbl").value())),
                              text_(PlainTextLine(ChildNamed(c, "ComplCaption"))),
                              text_(PlainTextLine(ChildNamed(c, "ComplTail"))), std::string()};
    if (offer_) complement.Answer = text_(PlainTextLine(ChildNamed(c, "ComplBody")));
    for (char& ch : complement.MarkLbl)
      if (ch == '\t' || ch == '\n' || ch == '\r') ch = ' ';
    complements.push_back(std::move(complement));
  }
  if (!complements.empty()) SetBidderComplements(position, complements);
}
