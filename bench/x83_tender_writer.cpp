#include "bench/x83_tender_writer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <vector>

#include "core/eobj.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_import.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/rtf_to_plain.h"
#include "gaebxml/element_reading.h"
#include "gaebxml/xml_decimal.h"
#include "util/codec.h"
#include "util/same_text.h"
#include "util/trim.h"

namespace {

void Add(pugi::xml_node parent, const char* name, const std::string& cp1252) {
  if (!cp1252.empty()) parent.append_child(name).text().set(Cp1252ToUtf8(cp1252).c_str());
}

// "02.06.2025" -> "2025-06-02"; other texts stay.
std::string IsoDate(const std::string& date) {
  if (date.size() != 10 || date[2] != '.' || date[5] != '.') return date;
  return date.substr(6, 4) + "-" + date.substr(3, 2) + "-" + date.substr(0, 2);
}

// Formatted text: one paragraph per line, an empty one for an empty line.
void Paragraphs(pugi::xml_node parent, const std::string& cp1252) {
  size_t start = 0;
  while (start <= cp1252.size()) {
    size_t end = cp1252.find('\n', start);
    if (end == std::string::npos) end = cp1252.size();
    std::string line = cp1252.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pugi::xml_node span = parent.append_child("p").append_child("span");
    if (!line.empty()) span.text().set(Cp1252ToUtf8(line).c_str());
    start = end + 1;
  }
}

class X83Builder {
 public:
  void Build(pugi::xml_document& doc, const KsGAEBObj& root) {
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("UTF-8");
    pugi::xml_node gaeb = doc.append_child("GAEB");
    gaeb.append_attribute("xmlns").set_value("http://www.gaeb.de/GAEB_DA_XML/DA83/3.3");
    const KsGAEBObj* gaebInfo = root.Child("GAEBINFO");
    pugi::xml_node info = gaeb.append_child("GAEBInfo");
    Add(info, "Version", "3.3");
    Add(info, "VersDate", "2021-05");
    Add(info, "Date", IsoDate(MemberText(gaebInfo, "DATUM")));
    Add(info, "Time", MemberText(gaebInfo, "UHRZEIT"));
    Add(info, "ProgSystem", MemberText(gaebInfo, "PROGSYSTEM"));
    Add(info, "ProgName", MemberText(gaebInfo, "PROGNAME"));
    const KsGAEBObj* prjInfo = root.Child("PRJINFO");
    pugi::xml_node prj = gaeb.append_child("PrjInfo");
    Add(prj, "NamePrj", MemberText(prjInfo, "NAME"));
    Add(prj, "LblPrj", MemberText(prjInfo, "BEZ"));
    Add(prj, "Cur", MemberText(prjInfo, "WAE"));
    Add(prj, "CurLbl", MemberText(prjInfo, "WAEBEZ"));
    if (const KsGAEBObj* vergabe = root.Child("VERGABE"))
      Award(gaeb.append_child("Award"), *vergabe);
  }

 private:
  void Award(pugi::xml_node award, const KsGAEBObj& vergabe) {
    Add(award, "DP", "83");
    const KsGAEBObj* vergabeInfo = vergabe.Child("VERGABEINFO");
    pugi::xml_node info = award.append_child("AwardInfo");
    Add(info, "Cur", MemberText(vergabeInfo, "WAE"));
    Add(info, "CurLbl", MemberText(vergabeInfo, "WAEBEZ"));
    Add(info, "OpenDate", IsoDate(MemberText(vergabeInfo, "ERDATUM")));
    Add(info, "OpenTime", MemberText(vergabeInfo, "ERUHRZEIT"));
    if (const KsGAEBObj* ag = vergabe.Child("AG")) Party(award.append_child("OWN"), *ag);
    const KsGAEBObj* lv = vergabe.Child("LV");
    if (!lv) return;
    pugi::xml_node boq = award.append_child("BoQ");
    boq.append_attribute("ID").set_value(NextId().c_str());
    BoQInfo(boq.append_child("BoQInfo"), lv->Child("LVINFO"));
    Body(boq.append_child("BoQBody"), *lv, std::string());
  }

  void Party(pugi::xml_node party, const KsGAEBObj& element) {
    static constexpr std::pair<const char*, const char*> kAddress[] = {
        {"NAME1", "Name1"},   {"NAME2", "Name2"},     {"NAME3", "Name3"},
        {"NAME4", "Name4"},   {"STRASSE", "Street"},  {"PLZ", "PCode"},
        {"ORT", "City"},      {"LANDBEZ", "Country"}, {"ANSPRPARTNER", "Contact"},
        {"TELEFON", "Phone"}, {"FAX", "Fax"},         {"EMAIL", "Email"},
        {"USTIDENT", "VATID"}};
    const KsGAEBObj* address = element.Child("ADRESSE");
    pugi::xml_node xmlAddress = party.append_child("Address");
    for (const auto& [member, xml] : kAddress) Add(xmlAddress, xml, MemberText(address, member));
    Add(party, "DPNo", MemberText(&element, "DVNR"));
    Add(party, "AwardNo", MemberText(&element, "VERGNR"));
  }

  void BoQInfo(pugi::xml_node info, const KsGAEBObj* lvInfo) {
    Add(info, "Name", MemberText(lvInfo, "NAME"));
    Add(info, "LblBoQ", MemberText(lvInfo, "BEZ"));
    Add(info, "Date", IsoDate(MemberText(lvInfo, "DATUM")));
    const KsGAEBObjList* glieder = lvInfo ? lvInfo->ChildList("LVGLIED") : nullptr;
    for (int i = 0; glieder && i < glieder->Count(); ++i) {
      const KsGAEBObj* glied = glieder->Element(i);
      const std::string typ = MemberText(glied, "TYP");
      const int length = static_cast<int>(MemberNumber(glied, "LAENGE"));
      const char* type = SameText(typ, "LOS")        ? "Lot"
                         : SameText(typ, "LVSTUFE")  ? "BoQLevel"
                         : SameText(typ, "POSITION") ? "Item"
                         : SameText(typ, "INDEX")    ? "Index"
                                                     : nullptr;
      if (!type) continue;
      pugi::xml_node bkdn = info.append_child("BoQBkdn");
      Add(bkdn, "Type", type);
      Add(bkdn, "Length", std::to_string(length));
      Add(bkdn, "Num", SameText(typ, "INDEX") ? "No" : "Yes");
      if (SameText(typ, "POSITION")) itemLength_ = static_cast<size_t>(length);
      if (SameText(typ, "INDEX")) hasIndex_ = true;
    }
    const int components = static_cast<int>(MemberNumber(lvInfo, "ANZEPANTEILE"));
    if (components > 0) Add(info, "NoUPComps", std::to_string(components));
    for (int i = 1; i <= 6; ++i) {
      const std::string label = MemberText(lvInfo, ("BEZEPANTEIL" + std::to_string(i)).c_str());
      Add(info, ("LblUPComp" + std::to_string(i)).c_str(), label);
    }
    if (MemberNumber(lvInfo, "UST") != 0)
      Add(info.append_child("Totals"), "VAT", XmlRate(MemberNumber(lvInfo, "UST")));
  }

  void Body(pugi::xml_node body, const KsGAEBObj& holder, const std::string& oz) {
    if (const KsGAEBObjList* notes = holder.ChildList("HINWEIS"))
      for (int i = 0; i < notes->Count(); ++i) Remark(body, *notes->Element(i));
    if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
      for (int i = 0; i < areas->Count(); ++i) Category(body, *areas->Element(i), oz);
    const KsGAEBObjList* positions = holder.ChildList("POSITION");
    if (!positions || positions->Count() == 0) return;
    pugi::xml_node itemlist = body.append_child("Itemlist");
    for (int i = 0; i < positions->Count(); ++i) Item(itemlist, *positions->Element(i), oz);
  }

  void Remark(pugi::xml_node body, const KsGAEBObj& hinweis) {
    pugi::xml_node remark = body.append_child("Remark");
    remark.append_attribute("ID").set_value(NextId().c_str());
    Description(remark, hinweis);
  }

  void Category(pugi::xml_node body, const KsGAEBObj& area, const std::string& parentOz) {
    const std::string oz = area.Text("OZ");
    pugi::xml_node ctgy = body.append_child("BoQCtgy");
    ctgy.append_attribute("ID").set_value(NextId().c_str());
    ctgy.append_attribute("RNoPart").set_value(Cp1252ToUtf8(Trim(Rest(oz, parentOz))).c_str());
    Paragraphs(ctgy.append_child("LblTx"), MemberText(&area, "BEZ"));
    Body(ctgy.append_child("BoQBody"), area, oz);
  }

  void Item(pugi::xml_node itemlist, const KsGAEBObj& position, const std::string& parentOz) {
    const std::string rest = Rest(position.Text("OZ"), parentOz);
    const bool indexed = hasIndex_ && itemLength_ > 0 && rest.size() > itemLength_;
    pugi::xml_node item = itemlist.append_child("Item");
    item.append_attribute("ID").set_value(NextId().c_str());
    item.append_attribute("RNoPart").set_value(
        Cp1252ToUtf8(Trim(indexed ? rest.substr(0, itemLength_) : rest)).c_str());
    if (indexed)
      item.append_attribute("RNoIndex").set_value(Cp1252ToUtf8(rest.substr(itemLength_)).c_str());
    const std::string bedarf = position.Text("BEDARF");
    if (bedarf == "M") Add(item, "Provis", "WithTotal");
    if (bedarf == "E") Add(item, "Provis", "WithoutTotal");
    if (MemberNumber(&position, "ZZLFDNR") > 0) {
      Add(item, "ALNGroupNo", XmlRate(MemberNumber(&position, "ZZGRUPPENR")));
      Add(item, "ALNSerNo", XmlRate(MemberNumber(&position, "ZZLFDNR")));
    }
    if (position.Text("EPAUFGL") == "J") Add(item, "UPBkdn", "Yes");
    Add(item, "Qty", XmlDecimal(MemberNumber(&position, "MENGE"), 3));
    Add(item, "QU", MemberText(&position, "ME"));
    if (MemberNumber(&position, "EP") != 0)
      Add(item, "UP", XmlDecimal(MemberNumber(&position, "EP"), 3));
    Description(item, position);
  }

  void Description(pugi::xml_node owner, const KsGAEBObj& element) {
    const KsGAEBObj* beschreibung = element.Child("BESCHREIBUNG");
    if (!beschreibung) return;
    pugi::xml_node complete = owner.append_child("Description").append_child("CompleteText");
    const std::string longText = RtfToPlain(beschreibung->Text("LANGTEXT"));
    if (!Trim(longText).empty())
      Paragraphs(complete.append_child("DetailTxt").append_child("Text"), longText);
    const std::string shortText = RtfToPlain(Trim(beschreibung->Text("KURZTEXT")));
    if (!shortText.empty())
      Paragraphs(
          complete.append_child("OutlineText").append_child("OutlTxt").append_child("TextOutlTxt"),
          shortText);
  }

  // The part of an OZ below its area's OZ.
  static std::string Rest(const std::string& oz, const std::string& parentOz) {
    return oz.compare(0, parentOz.size(), parentOz) == 0 ? oz.substr(parentOz.size()) : oz;
  }

  std::string NextId() {
    char id[24];
    std::snprintf(id, sizeof id, "ID%08X", ++lastId_);
    return id;
  }

  unsigned lastId_ = 0;
  size_t itemLength_ = 0;
  bool hasIndex_ = false;
};

// Lends the reader to the elements it reads.
class ReadingDocument : public GaebDocument {
 public:
  explicit ReadingDocument(KsFileReadGaeb00& reader) : reader_(reader) {}
  KsFileReadGaeb00* Reader() override { return &reader_; }
  void NotifyObservers(int) override {}
  bool RecalcAll() const override { return false; }

 private:
  KsFileReadGaeb00& reader_;
};

void SetText(KsGAEBObj& element, const char* member, const std::string& text) {
  if (KsMember* m = element.Members.FindOrMake(member)) m->SetValue(Variant(text));
}

// Every 17th position a contingency, every 23rd one without total, every
// 29th an alternative, counted through the whole LV.
void MarkTypes(const KsGAEBObj& holder, int& number) {
  if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) MarkTypes(*areas->Element(i), number);
  if (const KsGAEBObjList* positions = holder.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) {
      KsGAEBObj& position = *positions->Element(i);
      ++number;
      if (number % 17 == 0) SetText(position, "BEDARF", "M");
      if (number % 23 == 0) SetText(position, "BEDARF", "E");
      if (number % 29 == 0) {
        SetText(position, "ZZGRUPPENR", "1");
        SetText(position, "ZZLFDNR", "1");
      }
    }
}

KsGAEBObj* FirstPosition(const KsGAEBObj& holder) {
  if (const KsGAEBObjList* positions = holder.ChildList("POSITION"))
    if (positions->Count() > 0) return positions->Element(0);
  if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i)
      if (KsGAEBObj* first = FirstPosition(*areas->Element(i))) return first;
  return nullptr;
}

}  // namespace

void WriteX83(std::ostream& out, const KsGAEBObj& root) {
  pugi::xml_document doc;
  X83Builder().Build(doc, root);
  doc.save(out, " ", pugi::format_indent, pugi::encoding_utf8);
  out.flush();
  if (!out)
    throw EObj("X83Writer", "Die X83-Datei wurde nicht vollst\xE4ndig geschrieben", "WriteX83");
}

void WriteX83File(const std::string& path, const KsGAEBObj& root) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file)
    throw EObj("X83Writer", "Die Datei " + path + " kann nicht angelegt werden", "WriteX83File");
  WriteX83(file, root);
}

uint64_t WriteSyntheticX83File(const std::string& path, const TenderShape& shape) {
  AddPositionDisplayFields();
  const std::string gaeb2000 = path + ".d83.tmp";
  // The long text goes into the tree: a GAEB 2000 field cannot hold all an
  // X83 text can.
  TenderShape frame = shape;
  frame.LongLineBytes = 0;
  WriteSyntheticTenderFile(gaeb2000, frame);
  {
    KsFileReadGaeb00 reader(gaeb2000, 65000);
    ReadingDocument doc(reader);
    ScanGaebHeader(reader);
    std::unique_ptr<KsGGAEB> root = ReadGaebRoot(doc);
    std::remove(gaeb2000.c_str());
    if (!root)
      throw EObj("X83Writer", "Die synthetische Ausschreibung ist nicht lesbar",
                 "WriteSyntheticX83File");
    KsGAEBObj* lv = root->Child("VERGABE") ? root->Child("VERGABE")->Child("LV") : nullptr;
    int number = 0;
    if (lv) MarkTypes(*lv, number);
    if (KsGAEBObj* first = lv && shape.LongLineBytes > 0 ? FirstPosition(*lv) : nullptr)
      if (KsGAEBObj* description = first->Child("BESCHREIBUNG"))
        description->GetMember("LANGTEXT").SetAsString(PastedText(shape.LongLineBytes, shape.Seed));
    WriteX83File(path, *root);
  }
  return std::filesystem::file_size(path);
}
