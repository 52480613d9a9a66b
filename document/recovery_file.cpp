#include "document/recovery_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "core/xml_escape.h"
#include "document/atomic_file.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_obj.h"
#include "gaebxml/xml_identity.h"
#include "util/codec.h"
#include "xml/xml_parser.h"

namespace {

constexpr const char* kRootTag = "TARVO_WIEDERHERSTELLUNG";
constexpr const char* kTreeTag = "OBJ_GAEBGAEB";

// File names are the file system's bytes, which the object format's text
// (Windows-1252 with UTF-8 umlauts) cannot carry unchanged: written as hex.
std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string text;
  for (const unsigned char c : bytes) {
    text += digits[c >> 4];
    text += digits[c & 15];
  }
  return text;
}

bool FromHex(const std::string& text, std::string& bytes) {
  if (text.size() % 2) return false;
  bytes.clear();
  for (size_t i = 0; i < text.size(); i += 2) {
    int value = 0;
    for (size_t k = i; k < i + 2; ++k) {
      const char c = text[k];
      const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return false;
      value = value * 16 + digit;
    }
    bytes += static_cast<char>(value);
  }
  return true;
}

std::string Line(int indent, const std::string& tag, const std::string& text) {
  return std::string(static_cast<size_t>(indent), ' ') + "<" + tag + ">" + text + "</" + tag +
         ">\r\n";
}

std::string HeadText(const RecoveryHead& head) {
  std::string text = "  <KOPF>\r\n";
  text += Line(4, "AUSSCHREIBUNG", Hex(head.TenderPath));
  text += Line(4, "FORMAT", head.Xml ? "X83" : head.Gaeb90 ? "GAEB90" : "GAEB2000");
  text += Line(4, "ZEIT", std::to_string(head.SavedAt));
  text += Line(4, "MWSTOFFEN", head.VatUnconfirmed ? "1" : "0");
  text += Line(4, "GROESSE", std::to_string(head.TenderSize));
  text += Line(4, "AENDERUNG", std::to_string(head.TenderMTime));
  if (!head.TenderHash.empty()) text += Line(4, "PRUEFSUMME", XmlEscape(head.TenderHash));
  if (head.Gaeb90) {
    const Gaeb90Origin& origin = head.Gaeb90Source;
    text += Line(4, "PHASE", XmlEscape(origin.Phase));
    for (const size_t length : origin.Mask.AreaLengths)
      text += Line(4, "OZSTUFE", std::to_string(length));
    text += Line(4, "OZPOSITION", std::to_string(origin.Mask.PositionLength));
    text += Line(4, "OZINDEX", std::to_string(origin.Mask.IndexLength));
    for (const std::string& record : origin.HeadRecords) text += Line(4, "SATZ", Hex(record));
  }
  if (head.Xml) {
    text += Line(4, "NAMESPACE", XmlEscape(head.Origin.Namespace));
    text += Line(4, "VERSION", XmlEscape(head.Origin.Version));
    text += Line(4, "VERSDATE", XmlEscape(head.Origin.VersDate));
    for (const BoQBkdnLevel& level : head.Origin.Breakdown) {
      text += "    <STUFE>\r\n";
      text += Line(6, "TYP", XmlEscape(level.Type));
      text += Line(6, "LAENGE", XmlEscape(level.Length));
      text += Line(6, "NUM", XmlEscape(level.Num));
      text += Line(6, "AUSRICHTUNG", XmlEscape(level.Alignment));
      text += "    </STUFE>\r\n";
    }
  }
  return text + "  </KOPF>\r\n";
}

}  // namespace

void MakeRecoveryText(KsLyxObj& doc, const RecoveryHead& head, PiecedText& text) {
  if (!doc.GaebRoot)
    throw std::runtime_error(
        "Es ist keine Ausschreibung ge\xF6"
        "ffnet.");
  text.Clear();
  PiecedTextStream out(text);
  out << "<" << kRootTag << " Version=\"1\">\r\n" << HeadText(head);
  doc.GaebRoot->SaveWholeToXML(out, 2);
  out << "  <ENDE/>\r\n</" << kRootTag << ">\r\n";
}

PiecedText RecoveryText(KsLyxObj& doc, const RecoveryHead& head) {
  PiecedText text;
  MakeRecoveryText(doc, head, text);
  return text;
}

void WriteRecoveryText(const std::string& path, const PiecedText& text) {
  // Created readable by the user only before anything is in it; the atomic
  // replacement keeps the permissions of the file it replaces.
  if (FILE* f = std::fopen(path.c_str(), "ab")) std::fclose(f);
  chmod(path.c_str(), S_IRUSR | S_IWUSR);
  WriteFileAtomically(path, [&](std::ostream& out) {
    for (const std::string& piece : text.Pieces()) out.write(piece.data(), piece.size());
  });
}

void WriteRecoveryFile(const std::string& path, KsLyxObj& doc, const RecoveryHead& head) {
  WriteRecoveryText(path, RecoveryText(doc, head));
}

namespace {

// Reads the file's parts in order; every failure raises with the reason.
class RecoveryReader {
 public:
  RecoveryReader(GaebDocument* doc, RecoveredOffer& offer) : doc_(doc), offer_(offer) {}

  void Read(const std::string& text) {
    parser_.Attach(text.c_str());
    if (!Next() || parser_.PartKind() != pkStartTag || parser_.PartName() != kRootTag ||
        parser_.PartAttributes().Value("Version") != "1")
      Fail("ist keine Wiederherstellungsdatei dieses Programms");
    ReadHead();
    ReadTree();
    if (!Next() || parser_.PartKind() != pkEmptyTag || parser_.PartName() != "ENDE")
      Fail("ist unvollst\xE4ndig");
  }

 private:
  [[noreturn]] static void Fail(const std::string& why) { throw std::runtime_error(why); }

  // The next part that is not blank text between tags.
  bool Next() {
    while (parser_.NextPart()) {
      if (parser_.Malformed())
        Fail(
            "ist besch\xE4"
            "digt (kein g\xFC"
            "ltiges XML)");
      const TPartKind kind = parser_.PartKind();
      if (kind == pkText && parser_.PartText().find_first_not_of(" \t\r\n") == std::string::npos)
        continue;
      if (kind == pkComment || kind == pkPI) continue;
      return true;
    }
    return false;
  }

  // A text element (<NAME>text</NAME>) whose start tag was just read: its text.
  std::string TextOf(bool* cdata = nullptr) {
    const std::string name = parser_.PartName();
    std::string text;
    while (parser_.NextPart()) {
      if (parser_.Malformed())
        Fail(
            "ist besch\xE4"
            "digt (kein g\xFC"
            "ltiges XML)");
      switch (parser_.PartKind()) {
        case pkText:
          text += parser_.PartText();
          break;
        case pkCData:
          text += parser_.PartText();
          if (cdata) *cdata = true;
          break;
        case pkEndTag:
          if (parser_.PartName() != name)
            Fail(
                "ist besch\xE4"
                "digt (bei " +
                name + ")");
          return text;
        default:
          Fail(
              "ist besch\xE4"
              "digt (bei " +
              name + ")");
      }
    }
    Fail("ist unvollst\xE4ndig");
  }

  static long long Number(const std::string& text) {
    try {
      size_t used = 0;
      const long long value = std::stoll(text, &used);
      if (used == text.size()) return value;
    } catch (const std::exception&) {
    }
    Fail(
        "ist besch\xE4"
        "digt (keine Zahl: " +
        text + ")");
  }

  // A part of the GAEB 90 numbering: at most the nine columns of an OZ.
  static size_t Length(const std::string& text) {
    const long long value = Number(text);
    if (value < 0 || value > 9)
      Fail(
          "ist besch\xE4"
          "digt (OZ-Stelle " +
          text + ")");
    return static_cast<size_t>(value);
  }

  void ReadHead() {
    if (!Next() || parser_.PartKind() != pkStartTag || parser_.PartName() != "KOPF")
      Fail(
          "ist besch\xE4"
          "digt (der Kopf fehlt)");
    RecoveryHead& head = offer_.Head;
    bool havePath = false, haveFormat = false, haveTime = false;
    while (Next()) {
      if (parser_.PartKind() == pkEndTag && parser_.PartName() == "KOPF") {
        if (!havePath || !haveFormat || !haveTime ||
            (head.Gaeb90 &&
             (head.Gaeb90Source.Phase.empty() || head.Gaeb90Source.Mask.PositionLength == 0)))
          Fail(
              "ist besch\xE4"
              "digt (der Kopf ist unvollst\xE4ndig)");
        return;
      }
      if (parser_.PartKind() != pkStartTag)
        Fail(
            "ist besch\xE4"
            "digt (im Kopf)");
      const std::string name = parser_.PartName();
      if (name == "STUFE") {
        head.Origin.Breakdown.push_back(ReadLevel());
        continue;
      }
      const std::string text = TextOf();
      if (name == "AUSSCHREIBUNG") {
        if (!FromHex(text, head.TenderPath))
          Fail(
              "ist besch\xE4"
              "digt (der Name der Ausschreibung)");
        havePath = true;
      } else if (name == "FORMAT") {
        if (text != "X83" && text != "GAEB2000" && text != "GAEB90")
          Fail(
              "ist besch\xE4"
              "digt (unbekanntes Format " +
              text + ")");
        head.Xml = text == "X83";
        head.Gaeb90 = text == "GAEB90";
        haveFormat = true;
      } else if (name == "ZEIT") {
        head.SavedAt = Number(text);
        haveTime = true;
      } else if (name == "MWSTOFFEN") {
        head.VatUnconfirmed = Number(text) != 0;
      } else if (name == "GROESSE") {
        head.TenderSize = Number(text);
      } else if (name == "AENDERUNG") {
        head.TenderMTime = Number(text);
      } else if (name == "PRUEFSUMME") {
        head.TenderHash = XmlUnescape(text, false);
      } else if (name == "PHASE") {
        head.Gaeb90Source.Phase = XmlUnescape(text, false);
      } else if (name == "OZSTUFE") {
        head.Gaeb90Source.Mask.AreaLengths.push_back(Length(text));
      } else if (name == "OZPOSITION") {
        head.Gaeb90Source.Mask.PositionLength = Length(text);
      } else if (name == "OZINDEX") {
        head.Gaeb90Source.Mask.IndexLength = Length(text);
      } else if (name == "SATZ") {
        std::string record;
        if (!FromHex(text, record))
          Fail(
              "ist besch\xE4"
              "digt (ein Kopfsatz der Ausschreibung)");
        head.Gaeb90Source.HeadRecords.push_back(std::move(record));
      } else if (name == "NAMESPACE") {
        head.Origin.Namespace = XmlUnescape(text, false);
      } else if (name == "VERSION") {
        head.Origin.Version = XmlUnescape(text, false);
      } else if (name == "VERSDATE") {
        head.Origin.VersDate = XmlUnescape(text, false);
      } else {
        Fail(
            "ist besch\xE4"
            "digt (unbekannte Angabe " +
            name + ")");
      }
    }
    Fail("ist unvollst\xE4ndig");
  }

  BoQBkdnLevel ReadLevel() {
    BoQBkdnLevel level;
    while (Next()) {
      if (parser_.PartKind() == pkEndTag && parser_.PartName() == "STUFE") return level;
      if (parser_.PartKind() != pkStartTag)
        Fail(
            "ist besch\xE4"
            "digt (in STUFE)");
      const std::string name = parser_.PartName();
      const std::string text = XmlUnescape(TextOf(), false);
      if (name == "TYP")
        level.Type = text;
      else if (name == "LAENGE")
        level.Length = text;
      else if (name == "NUM")
        level.Num = text;
      else if (name == "AUSRICHTUNG")
        level.Alignment = text;
      else
        Fail(
            "ist besch\xE4"
            "digt (unbekannte Angabe " +
            name + ")");
    }
    Fail("ist unvollst\xE4ndig");
  }

  void ReadTree() {
    // The fields an XML tender's tree carries exist once such a tender was
    // read; a restore at start may come first.
    if (offer_.Head.Xml) AddXmlIdentityFields();
    if (!Next() || parser_.PartKind() != pkStartTag || parser_.PartName() != kTreeTag)
      Fail(
          "ist besch\xE4"
          "digt (das Leistungsverzeichnis fehlt)");
    offer_.Root = NewGaebRoot(doc_);
    if (!offer_.Root) Fail("kann nicht gelesen werden (GAEB-Objekt)");
    ReadElement(*offer_.Root, 1);
  }

  // The members and children of an element whose start tag was just read.
  void ReadElement(KsGAEBObj& element, int depth) {
    if (depth > kMaxDepth)
      Fail(
          "ist besch\xE4"
          "digt (zu tief geschachtelt)");
    const std::string tag = parser_.PartName();
    while (Next()) {
      const std::string name = parser_.PartName();
      if (parser_.PartKind() == pkEndTag && name == tag) return;
      if (parser_.PartKind() != pkStartTag)
        Fail(
            "ist besch\xE4"
            "digt (in " +
            tag + ")");
      if (name.starts_with("OBJLIST_"))
        ReadList(element, name.substr(8), depth);
      else if (name.starts_with("OBJ_"))
        ReadChild(element, name.substr(4), depth);
      else
        ReadMember(element, name);
    }
    Fail("ist unvollst\xE4ndig");
  }

  void ReadMember(KsGAEBObj& element, const std::string& name) {
    KsMember* member = element.Members.FindOrMake(name);
    if (!member)
      Fail(
          "ist besch\xE4"
          "digt (unbekanntes Feld " +
          name + " in " + element.TableName() + ")");
    const std::string kind = parser_.PartAttributes().Value("Typ");
    bool cdata = false;
    const std::string text = TextOf(&cdata);
    // A child member holds the key of its class, given by the element itself.
    if (member->GetFieldType() == ftUnknown || member->GetFieldType() == ftCursor) {
      if (text != member->GetAsString())
        Fail(
            "ist besch\xE4"
            "digt (Feld " +
            name + " in " + element.TableName() + ")");
      return;
    }
    if (!member->AddWholeXmlText(text, cdata, kind, element.HomeArena()))
      Fail(
          "ist besch\xE4"
          "digt (Wert von " +
          name + " in " + element.TableName() + ")");
  }

  void ReadChild(KsGAEBObj& parent, const std::string& table, int depth) {
    // A child member whose class is not registered holds an empty object of
    // no table, which the element made with the member: nothing to read.
    KsCustomObj* made = parent.Children.Find(table);
    if (made && !AsElement(made)) {
      if (!Next() || parser_.PartKind() != pkEndTag || parser_.PartName() != "OBJ_" + table)
        Fail(
            "ist besch\xE4"
            "digt (unerwartetes Element " +
            table + " in " + parent.TableName() + ")");
      return;
    }
    KsMember& member = parent.GetMember(table.substr(table.starts_with("GAEB") ? 4 : 0));
    const ObjClass* cls =
        member.GetFieldType() == ftUnknown ? KsGAEBObj::ChildElementClass(member) : nullptr;
    if (!cls || cls->ClassTablename() != table || parent.Child(member.Name()))
      Fail(
          "ist besch\xE4"
          "digt (unerwartetes Element " +
          table + " in " + parent.TableName() + ")");
    KsGAEBObj* child = parent.NewChild(member, doc_);
    if (!child) Fail("kann nicht gelesen werden (" + table + ")");
    ReadElement(*child, depth + 1);
  }

  void ReadList(KsGAEBObj& parent, const std::string& table, int depth) {
    const long long count = Number(parser_.PartAttributes().Value("Count"));
    KsGAEBObjList* list = AsElementList(parent.Children.Find(table));
    if (!list || list->Count() > 0)
      Fail(
          "ist besch\xE4"
          "digt (unerwartete Liste " +
          table + " in " + parent.TableName() + ")");
    const std::string itemTag = "OBJ_" + list->ItemClass()->ClassTablename();
    while (Next()) {
      if (parser_.PartKind() == pkEndTag && parser_.PartName() == "OBJLIST_" + table) {
        if (list->Count() != count)
          Fail(
              "ist besch\xE4"
              "digt (die Anzahl in " +
              table + ")");
        return;
      }
      if (parser_.PartKind() != pkStartTag || parser_.PartName() != itemTag)
        Fail(
            "ist besch\xE4"
            "digt (in der Liste " +
            table + ")");
      KsGAEBObj* item = parent.NewListItem(*list, doc_);
      if (!item) Fail("kann nicht gelesen werden (" + itemTag + ")");
      ReadElement(*item, depth + 1);
    }
    Fail("ist unvollst\xE4ndig");
  }

  static constexpr int kMaxDepth = 64;
  TXmlParser parser_;
  GaebDocument* doc_;
  RecoveredOffer& offer_;
};

}  // namespace

bool ReadRecoveryFile(const std::string& path, GaebDocument* doc, RecoveredOffer& offer,
                      std::string& error) {
  offer = RecoveredOffer();
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
  } else {
    error = "Die Wiederherstellungsdatei " + Utf8ToCp1252(path) + " kann nicht gelesen werden.";
    return false;
  }
  // The parser reads up to the first zero byte.
  if (text.find('\0') != std::string::npos) {
    error = "Die Wiederherstellungsdatei " + Utf8ToCp1252(path) +
            " ist besch\xE4"
            "digt (sie enth\xE4lt Nullbytes).";
    return false;
  }
  try {
    RecoveryReader(doc, offer).Read(text);
    return true;
  } catch (const std::exception& e) {
    offer = RecoveredOffer();
    error = "Die Wiederherstellungsdatei " + Utf8ToCp1252(path) + " " + e.what() + ".";
    return false;
  }
}
