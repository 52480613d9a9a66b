#include "gaebxml/x84_writer.h"

#include <algorithm>
#include <iterator>
#include <ostream>
#include <pugixml.hpp>
#include <stdexcept>
#include <utility>
#include <vector>

#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/element_reading.h"
#include "gaebxml/text_complements.h"
#include "gaebxml/xml_decimal.h"
#include "gaebxml/xml_identity.h"
#include "util/codec.h"
#include "util/date_time.h"
#include "util/rounding.h"

namespace {

// UTF-8 of a text for the XML: control characters XML 1.0 cannot carry (a
// bidder's entry may hold one, pasted from elsewhere) become "?", as on
// reading, so that the answer stays well-formed.
std::string XmlText(std::string cp1252) {
  for (char& c : cp1252)
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
  return Cp1252ToUtf8(cp1252);
}

pugi::xml_node Add(pugi::xml_node parent, const char* name, const std::string& cp1252) {
  pugi::xml_node node = parent.append_child(name);
  node.text().set(XmlText(cp1252).c_str());
  return node;
}

void AddIfGiven(pugi::xml_node parent, const char* name, const std::string& cp1252) {
  if (!cp1252.empty()) Add(parent, name, cp1252);
}

void Attribute(pugi::xml_node node, const char* name, const std::string& cp1252) {
  if (!cp1252.empty()) node.append_attribute(name).set_value(XmlText(cp1252).c_str());
}

void Identify(pugi::xml_node node, const KsGAEBObj& element) {
  Attribute(node, "ID", MemberText(&element, kXmlIdMember));
  Attribute(node, "RNoPart", element.Text(kXmlRNoPartMember));
  Attribute(node, "RNoIndex", element.Text(kXmlRNoIndexMember));
}

// The namespace of a price submission of that version: 3.0 has one for
// every phase, later versions one of their own for phase 84.
std::string AnswerNamespace(const std::string& version) {
  return std::string(kGaebXmlNamespacePrefix) + (version == "3.0" ? "200407" : "DA84/" + version);
}

class X84Builder {
 public:
  explicit X84Builder(const GaebXmlOrigin& origin) : origin_(origin) {}

  void Build(pugi::xml_document& doc, const KsGAEBObj& root, const X84Stamp& stamp) {
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node gaeb = doc.append_child("GAEB");
    gaeb.append_attribute("xmlns").set_value(AnswerNamespace(origin_.Version).c_str());
    GaebInfo(gaeb.append_child("GAEBInfo"), root.Child("GAEBINFO"), stamp);
    PrjInfo(gaeb.append_child("PrjInfo"), root.Child("PRJINFO"));
    Award(gaeb.append_child("Award"), root.Child("VERGABE"));
  }

 private:
  void GaebInfo(pugi::xml_node node, const KsGAEBObj* info, const X84Stamp& stamp) {
    Add(node, "Version", origin_.Version);
    AddIfGiven(node, "VersDate", origin_.VersDate);
    Add(node, "Date", stamp.Date);
    Add(node, "Time", stamp.Time);
    AddIfGiven(node, "ProgSystem", MemberText(info, "PROGSYSTEM"));
    AddIfGiven(node, "ProgName", MemberText(info, "PROGNAME"));
  }

  void PrjInfo(pugi::xml_node node, const KsGAEBObj* info) {
    Add(node, "NamePrj", MemberText(info, "NAME"));
    AddIfGiven(node, "LblPrj", MemberText(info, "BEZ"));
    AddIfGiven(node, "Cur", MemberText(info, "WAE"));
    AddIfGiven(node, "CurLbl", MemberText(info, "WAEBEZ"));
  }

  void Award(pugi::xml_node node, const KsGAEBObj* vergabe) {
    Add(node, "DP", "84");
    const KsGAEBObj* info = vergabe ? vergabe->Child("VERGABEINFO") : nullptr;
    pugi::xml_node awardInfo = node.append_child("AwardInfo");
    AddIfGiven(awardInfo, "Cur", MemberText(info, "WAE"));
    AddIfGiven(awardInfo, "CurLbl", MemberText(info, "WAEBEZ"));
    Contractor(node.append_child("CTR"), vergabe ? vergabe->Child("AN") : nullptr);
    if (const KsGAEBObj* lv = vergabe ? vergabe->Child("LV") : nullptr) BoQ(node, *lv);
  }

  void Contractor(pugi::xml_node node, const KsGAEBObj* bidder) {
    static constexpr std::pair<const char*, const char*> kAddress[] = {
        {"NAME2", "Name2"},     {"NAME3", "Name3"},
        {"NAME4", "Name4"},     {"STRASSE", "Street"},
        {"PLZ", "PCode"},       {"ORT", "City"},
        {"LANDBEZ", "Country"}, {"ANSPRPARTNER", "Contact"},
        {"TELEFON", "Phone"},   {"FAX", "Fax"},
        {"EMAIL", "Email"},     {"USTIDENT", "VATID"}};
    const KsGAEBObj* address = bidder ? bidder->Child("ADRESSE") : nullptr;
    pugi::xml_node xmlAddress = node.append_child("Address");
    Add(xmlAddress, "Name1", MemberText(address, "NAME1"));
    for (const auto& [member, xml] : kAddress)
      AddIfGiven(xmlAddress, xml, MemberText(address, member));
    AddIfGiven(node, "DPNo", MemberText(bidder, "DVNR"));
    AddIfGiven(node, "AwardNo", MemberText(bidder, "VERGNR"));
  }

  void BoQ(pugi::xml_node award, const KsGAEBObj& lv) {
    pugi::xml_node boq = award.append_child("BoQ");
    Attribute(boq, "ID", MemberText(&lv, kXmlIdMember));
    const KsGAEBObj* lvInfo = lv.Child("LVINFO");
    pugi::xml_node info = boq.append_child("BoQInfo");
    Add(info, "Name", MemberText(lvInfo, "NAME"));
    AddIfGiven(info, "LblBoQ", MemberText(lvInfo, "BEZ"));
    for (const BoQBkdnLevel& level : origin_.Breakdown) {
      pugi::xml_node bkdn = info.append_child("BoQBkdn");
      AddIfGiven(bkdn, "Type", level.Type);
      AddIfGiven(bkdn, "Length", level.Length);
      AddIfGiven(bkdn, "Num", level.Num);
      AddIfGiven(bkdn, "Alignment", level.Alignment);
    }
    pugi::xml_node totals = info.append_child("Totals");
    Add(totals, "Total", XmlDecimal(MemberNumber(lvInfo, "SUMME"), 2));
    Add(totals, "VAT", XmlRate(MemberNumber(lvInfo, "UST")));
    Add(totals, "VATAmount", XmlDecimal(lvInfo ? VatAmount(*lvInfo) : 0.0, 2));
    Add(totals, "TotalGross", XmlDecimal(MemberNumber(lvInfo, "SUMMEBRUTTO"), 2));
    Body(boq.append_child("BoQBody"), lv);
  }

  void Body(pugi::xml_node body, const KsGAEBObj& holder) {
    if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
      for (int i = 0; i < areas->Count(); ++i) Category(body, *areas->Element(i));
    // Positions and zuschlag positions are kept in two lists; the answer
    // interleaves them by their numbers, as the tender listed them.
    const std::vector<const KsGAEBObj*> positions = Elements(holder.ChildList("POSITION"));
    const std::vector<const KsGAEBObj*> markups = Elements(holder.ChildList("ZUSCHLPOSITION"));
    if (positions.empty() && markups.empty()) return;
    std::vector<const KsGAEBObj*> entries;
    std::merge(positions.begin(), positions.end(), markups.begin(), markups.end(),
               std::back_inserter(entries), [](const KsGAEBObj* a, const KsGAEBObj* b) {
                 return a->Text("OZ") < b->Text("OZ");
               });
    pugi::xml_node itemlist = body.append_child("Itemlist");
    for (const KsGAEBObj* entry : entries) {
      if (entry->Class().InheritsFrom(KsGPOSITION::StaticClass()))
        Item(itemlist.append_child("Item"), *entry);
      else
        Identify(itemlist.append_child("MarkupItem"), *entry);
    }
  }

  // The document hears of each area and position, as the GAEB 2000 writer tells it.
  static void Step(const KsGAEBObj& element) {
    if (element.ImportDoc) element.ImportDoc->NotifyObservers(gcWriteStep);
  }

  static std::vector<const KsGAEBObj*> Elements(const KsGAEBObjList* list) {
    std::vector<const KsGAEBObj*> elements;
    if (list)
      for (int i = 0; i < list->Count(); ++i) elements.push_back(list->Element(i));
    return elements;
  }

  void Category(pugi::xml_node body, const KsGAEBObj& area) {
    Step(area);
    pugi::xml_node ctgy = body.append_child("BoQCtgy");
    Identify(ctgy, area);
    Body(ctgy.append_child("BoQBody"), area);
    pugi::xml_node totals = ctgy.append_child("Totals");
    Add(totals, "Total", XmlDecimal(MemberNumber(&area, "SUMME"), 2));
    const double percent = MemberNumber(&area, "NACHLASSPROZ");
    const double amount = MemberNumber(&area, "NACHLASSABS");
    if (CompareRounded(2, percent, 0) != 0) Add(totals, "DiscountPcnt", XmlRate(percent));
    if (CompareRounded(2, amount, 0) != 0) Add(totals, "DiscountAmt", XmlDecimal(amount, 2));
    if (CompareRounded(2, percent, 0) != 0 || CompareRounded(2, amount, 0) != 0)
      Add(totals, "TotAfterDisc", XmlDecimal(MemberNumber(&area, "SUMMENACHNL"), 2));
  }

  // An item the bidder left open carries no price at all: a UP of 0 would
  // offer it free of charge. A price of 0 entered is written.
  void Item(pugi::xml_node item, const KsGAEBObj& position) {
    Step(position);
    Identify(item, position);
    const bool priced = !HasEmptyUnitPrice(position);
    if (priced) Add(item, "UP", XmlDecimal(MemberNumber(&position, "EP"), 3));
    static constexpr const char* kComponents[][2] = {
        {"EPANTEIL1", "UPComp1"}, {"EPANTEIL2", "UPComp2"}, {"EPANTEIL3", "UPComp3"},
        {"EPANTEIL4", "UPComp4"}, {"EPANTEIL5", "UPComp5"}, {"EPANTEIL6", "UPComp6"}};
    int used = 0;
    for (int i = 0; i < 6 && priced; ++i)
      if (CompareRounded(3, MemberNumber(&position, kComponents[i][0]), 0) != 0) used = i + 1;
    for (int i = 0; i < used; ++i)
      Add(item, kComponents[i][1], XmlDecimal(MemberNumber(&position, kComponents[i][0]), 3));
    const double discount = MemberNumber(&position, "NACHLASSPROZ");
    if (CompareRounded(2, discount, 0) != 0) Add(item, "DiscountPcnt", XmlRate(discount));
    if (priced) Add(item, "IT", XmlDecimal(MemberNumber(&position, "GB"), 2));
    Complements(item, position);
  }

  // The bidder's answers to the text complements, by the client's mark,
  // the text around each blank staying with the tender.
  static void Complements(pugi::xml_node item, const KsGAEBObj& position) {
    pugi::xml_node detail;
    for (const TextComplement& complement : BidderComplements(position)) {
      if (complement.Answer.empty()) continue;
      if (!detail)
        detail =
            item.append_child("Description").append_child("CompleteText").append_child("DetailTxt");
      pugi::xml_node answer = detail.append_child("TextComplement");
      Attribute(answer, "MarkLbl", complement.MarkLbl);
      Attribute(answer, "Kind", "Bidder");
      Add(answer.append_child("ComplBody"), "span", complement.Answer);
    }
  }

  const GaebXmlOrigin& origin_;
};

}  // namespace

X84Stamp X84StampNow() {
  auto [date, time] = LocalNowText("%Y-%m-%d", "%H:%M:%S");
  return {std::move(date), std::move(time)};
}

void WriteX84(std::ostream& out, const KsGAEBObj& root, const GaebXmlOrigin& origin,
              const X84Stamp& stamp) {
  pugi::xml_document doc;
  X84Builder(origin).Build(doc, root, stamp);
  doc.save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
  out.flush();
  if (!out)
    throw std::runtime_error("Die X84-Datei konnte nicht vollst\xE4ndig geschrieben werden.");
}
