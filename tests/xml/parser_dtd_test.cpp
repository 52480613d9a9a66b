#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/xml/part_log.h"

namespace {

using Parts = std::vector<std::string>;

// Records what the declaration reader reports besides declarations.
class RecordingParser : public TXmlParser {
 public:
  std::vector<std::string> dtdElements;
  void OnDtdElement(TPartKind kind, const char* first, const char* last) override {
    dtdElements.push_back(std::string(PartKindName(kind)) + ":" + std::string(first, last + 1));
  }
};

const TAttr* FindTag(TXmlParser& parser, const std::string& name, const std::string& attr) {
  while (parser.NextPart())
    if ((parser.PartKind() == pkStartTag || parser.PartKind() == pkEmptyTag) &&
        parser.PartName() == name)
      return parser.PartAttributes().FindAttr(attr);
  return nullptr;
}

const char kDefaultsDoc[] =
    "<?xml version=\"1.0\"?>\n"
    "<!DOCTYPE lv [\n"
    "  <!ELEMENT lv (pos*)>\n"
    "  <!ELEMENT pos (#PCDATA|b)*>\n"
    "  <!ELEMENT b EMPTY>\n"
    "  <!ELEMENT any ANY>\n"
    "  <!ATTLIST pos\n"
    "     nr     ID        #REQUIRED\n"
    "     unit   CDATA     'St'\n"
    "     kind   (N|A|E)   \"N\"\n"
    "     cur    CDATA     #FIXED 'EUR'\n"
    "     note   CDATA     #IMPLIED\n"
    "     refs   IDREFS    #IMPLIED\n"
    "     fmt    NOTATION (gif|png) #IMPLIED>\n"
    "  <!ATTLIST pos unit CDATA 'm2'>\n"
    "  <!ATTLIST b x CDATA 'late'>\n"
    "]>\n"
    "<lv>\n"
    "  <pos nr=' p1 ' note=' a\tb ' refs='  p1 \n p2  ' cur='USD'>x</pos>\n"
    "  <pos nr='p2' unit='kg' kind='A'/>\n"
    "  <b/>\n"
    "</lv>\n";

TEST(Dtd, ElementDeclarations) {
  TXmlParser parser;
  parser.Attach(kDefaultsDoc);
  while (parser.NextPart()) {
  }
  EXPECT_EQ(parser.DocRootName(), "lv");
  const TElemList& elements = parser.Elements();
  ASSERT_EQ(elements.Count(), 4);
  const struct {
    const char* name;
    TElemType type;
    const char* definition;
  } expected[] = {{"lv", etChildsOnly, "(pos*)"},
                  {"pos", etMixed, "(#PCDATA|b)*"},
                  {"b", etEmpty, "EMPTY"},
                  {"any", etAny, "ANY"}};
  for (const auto& e : expected) {
    const TElemDef* def = elements.Find(e.name);
    ASSERT_NE(def, nullptr) << e.name;
    EXPECT_EQ(def->ElemType, e.type) << e.name;
    EXPECT_EQ(def->Definition, e.definition) << e.name;
  }
  const TElemDef* pos = elements.Find("pos");
  ASSERT_EQ(pos->Count(), 7);
  EXPECT_EQ(pos->FindAttrDef("unit")->Value, "St");  // the first declaration holds
  EXPECT_EQ(pos->FindAttrDef("kind")->AttrType, atEnumeration);
  EXPECT_EQ(pos->FindAttrDef("kind")->TypeDef, "(N|A|E)");
  EXPECT_EQ(pos->FindAttrDef("fmt")->AttrType, atNotation);
  EXPECT_EQ(pos->FindAttrDef("fmt")->Notations, "(gif|png)");
  EXPECT_EQ(pos->FindAttrDef("nr")->DefaultType, dtRequired);
  EXPECT_EQ(pos->FindAttrDef("cur")->DefaultType, dtFixed);
  EXPECT_EQ(pos->FindAttrDef("cur")->Value, "EUR");
}

TEST(Dtd, DefaultsFixedAndImpliedAttributes) {
  struct Expected {
    const char* name;
    const char* value;
    TAttrValueKind kind;
    TAttrType type;
  };
  const std::vector<Expected> first = {
      {"nr", "p1", avNormal, atID},           {"note", " a b ", avImplied, atCData},
      {"refs", "p1 p2", avImplied, atIDRefs}, {"cur", "EUR", avFixed, atCData},
      {"unit", "St", avDefault, atCData},     {"kind", "N", avDefault, atEnumeration},
  };
  const std::vector<Expected> second = {
      {"nr", "p2", avNormal, atID},
      {"unit", "kg", avNormal, atCData},
      {"kind", "A", avNormal, atEnumeration},
      {"cur", "EUR", avFixed, atCData},
  };
  TXmlParser parser;
  parser.Attach(kDefaultsDoc);
  for (const auto* expected : {&first, &second}) {
    ASSERT_NE(FindTag(parser, "pos", "nr"), nullptr);
    const TAttrList& attrs = parser.PartAttributes();
    ASSERT_EQ(attrs.Count(), static_cast<int>(expected->size()));
    for (size_t i = 0; i < expected->size(); ++i) {
      const TAttr* a = attrs.Attr(static_cast<int>(i));
      const Expected& e = (*expected)[i];
      EXPECT_EQ(a->Name, e.name);
      EXPECT_EQ(a->Value, e.value) << e.name;
      EXPECT_EQ(a->ValueKind, e.kind) << e.name;
      EXPECT_EQ(a->AttrType, e.type) << e.name;
    }
  }
  const TAttr* late = FindTag(parser, "b", "x");
  ASSERT_NE(late, nullptr);
  EXPECT_EQ(late->Value, "late");
}

TEST(Dtd, InternalEntitiesInTextAndAttributes) {
  const std::string doc =
      "<!DOCTYPE r [\n"
      "<!ENTITY firma \"M&#252;ller &amp; S&#246;hne\">\n"
      "<!ENTITY mark \"<b>&firma;</b>\">\n"
      "<!ENTITY gruss 'Gr&#xFC;&#xDF;e'>\n"
      "<!ENTITY leer ''>\n"
      "<!ENTITY firma 'second declaration'>\n"
      "]>"
      "<r a='&firma;!&leer;' b='&mark;'>x&mark;y&leer;z &gruss;</r>";
  EXPECT_EQ(ScanText(doc),
            (Parts{"<!DOCTYPE r>", "<r a=M\xFCller & S\xF6hne! b=<b>M\xFCller & S\xF6hne</b>>",
                   "text(r)=x", "<b>", "text(b)=M\xFCller & S\xF6hne", "</b>",
                   "text(b)=yz Gr\xFC\xDF"
                   "e",
                   "</r>"}));
}

TEST(Dtd, ParameterEntitiesAreExpandedInPlace) {
  const std::string doc =
      "<!DOCTYPE r [\n"
      "<!ENTITY % text 'CDATA'>\n"
      "<!ENTITY % attrs 'u %text; \"m\" v %text; #IMPLIED'>\n"
      "<!ENTITY % decls '<!ENTITY e \"from a parameter entity\">'>\n"
      "<!ATTLIST r %attrs;>\n"
      "%decls;\n"
      "%undeclared;\n"
      "<!ENTITY % yes 'INCLUDE'>\n"
      "<![%yes;[ <!ENTITY inc 'included'> ]]>\n"
      "<![IGNORE[ <!ENTITY ign 'ignored'> <![INCLUDE[ <!ENTITY ign2 'x'> ]]> ]]>\n"
      "<!ENTITY after 'after'>\n"
      "]><r>&e;|&inc;|&ign;|&ign2;|&after;</r>";
  EXPECT_EQ(ScanText(doc),
            (Parts{"<!DOCTYPE r>", "<r u=m>",
                   "text(r)=from a parameter entity|included|ign|ign2|after", "</r>"}));
  TXmlParser parser;
  parser.Attach(doc.c_str());
  parser.NextPart();
  EXPECT_EQ(parser.ParameterEntities().Count(), 4);
  EXPECT_EQ(parser.GeneralEntities().Count(), 3);
}

TEST(Dtd, NotationsAndUnparsedEntities) {
  const std::string doc =
      "<!DOCTYPE r [\n"
      "<!NOTATION gif PUBLIC '-//GIF//EN'>\n"
      "<!NOTATION png SYSTEM 'png.exe'>\n"
      "<!ENTITY logo SYSTEM 'logo.gif' NDATA gif>\n"
      "<!ENTITY pub PUBLIC '-//X//EN' 'x.xml'>\n"
      "]><r>&logo;</r>";
  TXmlParser parser;
  parser.Attach(doc.c_str());
  EXPECT_EQ(ScanAll(parser), (Parts{"<!DOCTYPE r>", "<r>", "text(r)=logo", "</r>"}));
  ASSERT_EQ(parser.Notations().Count(), 2);
  const auto* gif = static_cast<const TNotationDef*>(parser.Notations().Find("gif"));
  EXPECT_EQ(gif->PublicId, "-//GIF//EN");
  EXPECT_EQ(gif->SystemId, "");
  const auto* png = static_cast<const TNotationDef*>(parser.Notations().Find("png"));
  EXPECT_EQ(png->SystemId, "png.exe");
  const auto* logo = static_cast<const TEntityDef*>(parser.GeneralEntities().Find("logo"));
  EXPECT_TRUE(logo->External);
  EXPECT_EQ(logo->SystemId, "logo.gif");
  EXPECT_EQ(logo->NotationName, "gif");
  const auto* pub = static_cast<const TEntityDef*>(parser.GeneralEntities().Find("pub"));
  EXPECT_EQ(pub->PublicId, "-//X//EN");
  EXPECT_EQ(pub->SystemId, "x.xml");
}

TEST(Dtd, CommentsInstructionsAndUnknownTextAreReported) {
  const std::string doc =
      "<!DOCTYPE r [ <!-- c --> <?pi x?> junk <!FOO bar> <!ENTITY e 'v'> ]><r/>";
  RecordingParser parser;
  parser.Attach(doc.c_str());
  EXPECT_EQ(ScanAll(parser), (Parts{"<!DOCTYPE r>", "<r/>"}));
  EXPECT_EQ(parser.dtdElements, (std::vector<std::string>{"Comment:<!-- c -->", "PI:<?pi x?>",
                                                          "Text:junk ", "Text:<!FOO bar>"}));
  // A second pass reports the declaration again without reading it twice.
  parser.Restart();
  EXPECT_EQ(ScanAll(parser), (Parts{"<!DOCTYPE r>", "<r/>"}));
  EXPECT_EQ(parser.dtdElements.size(), 4u);
  EXPECT_EQ(parser.GeneralEntities().Count(), 1);
}

TEST(Dtd, ExternalIdentifierOfTheDocumentType) {
  const std::string doc =
      "<!DOCTYPE r PUBLIC '-//T//DTD r//EN' 'r.dtd' [<!ENTITY e 'v'>]><r>&e;</r>";
  EXPECT_EQ(ScanText(doc), (Parts{"<!DOCTYPE r>", "<r>", "text(r)=v", "</r>"}));
}

}  // namespace
