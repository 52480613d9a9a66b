#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/xml/part_log.h"
#include "xml/vocabulary.h"

namespace {

using Parts = std::vector<std::string>;

struct PartsCase {
  const char* name;
  std::string text;
  Parts parts;
};

// clang-format off
const PartsCase kPartsCases[] = {
  {"empty buffer", "", {}},
  {"declaration then empty tag", "<?xml version=\"1.0\"?><a/>", {"<?xml?>", "<a/>"}},
  {"empty tag with both quotes", "<a x='1' y=\"2\"/>", {"<a x=1 y=2/>"}},
  {"unquoted value is dropped", "<a x=1>t</a>", {"<a>", "text(a)=t", "</a>"}},
  {"value without quote takes the next quoted one", "<a x=1 y='2'>", {"<a x=2>"}},
  {"name without value takes the next value", "<a x y='2'>", {"<a x=2>"}},
  {"white space between tags is text", "<a>x</a> <b/>", {"<a>", "text(a)=x", "</a>", "text(a)= ", "<b/>"}},
  {"comment keeps name and text", "<a>t<!-- c --></a>", {"<a>", "text(a)=t", "<!---->", "</a>"}},
  {"processing instruction", "<?pi a=\"1\" rest?>", {"<?pi a=\"1\" rest a=1?>"}},
  {"xml-stylesheet is not the declaration", "<?xml-stylesheet href='s'?>", {"<?xml-stylesheet href='s' href=s?>"}},
  {"pi without text", "<?pi?><a/>", {"<?pi ?>", "<a/>"}},
  {"doctype", "<!DOCTYPE r><r/>", {"<!DOCTYPE r>", "<r/>"}},
  {"cdata keeps markup and references", "<a><![CDATA[<b>&amp;]]></a>", {"<a>", "cdata(a)=<b>&amp;", "</a>"}},
  {"end tag with blanks", "<a></a >", {"<a>", "</a>"}},
  {"slash after name", "<a/ >", {"<a/>"}},
  {"attribute then slash", "<a x=\"1\" />", {"<a x=1/>"}},
  {"upper half letter starts a name", "<a \xE4x='1'/>", {"<a \xE4x=1/>"}},
  {"multiplication sign ends the attributes", "<a \xD7x='1'/>", {"<a>"}},
  {"digit ends the attributes", "<a 1x='1' y='2'>", {"<a>"}},
  {"predefined and undeclared references", "<a>a &amp; b &nix; c</a>", {"<a>", "text(a)=a & b nix c", "</a>"}},
  {"all predefined references", "<a>&lt;&gt;&amp;&apos;&quot;</a>", {"<a>", "text(a)=<>&'\"", "</a>"}},
  {"predefined names are case-sensitive", "<a>&AMP;</a>", {"<a>", "text(a)=AMP", "</a>"}},
  {"ampersand without semicolon is dropped", "<a>a & b</a>", {"<a>", "text(a)=a  b", "</a>"}},
  {"ampersand before markup is dropped", "<a>R&<b/>", {"<a>", "text(a)=R", "<b/>"}},
  {"decimal and hexadecimal references", "<a>&#65;&#x41;&#X41;</a>", {"<a>", "text(a)=AAA", "</a>"}},
  {"invalid numbers give a blank", "<a>&#6a;|&#xZZ;|&#;|&#0;|&#99999999;</a>", {"<a>", "text(a)= | | | | ", "</a>"}},
  {"references become Windows-1252", "<a>&#228;&#8364;&#x4E2D;&#150;</a>", {"<a>", "text(a)=\xE4\x80\xBF\xBF", "</a>"}},
  {"attribute references", "<a v='x&amp;y&nix;&#65;&#66a;'/>", {"<a v=x&y&nix;A />"}},
  {"attribute white space becomes blanks", "<a v='1\t2\n3\r4'/>", {"<a v=1 2 3 4/>"}},
  {"attribute ampersand without semicolon stays", "<a v='a & b'/>", {"<a v=a & b/>"}},
};
// clang-format on

class PartsTable : public ::testing::TestWithParam<PartsCase> {};

TEST_P(PartsTable, DeliversTheseParts) { EXPECT_EQ(ScanText(GetParam().text), GetParam().parts); }

INSTANTIATE_TEST_SUITE_P(Parser, PartsTable, ::testing::ValuesIn(kPartsCases),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& c : n)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

// Constructs without their end run to the end of the buffer; nothing follows.
TEST(Parser, UnterminatedConstructsRunToTheEnd) {
  const struct {
    std::string text;
    TPartKind kind;
  } cases[] = {
      {"<!-- open", pkComment}, {"<![CDATA[open", pkCData},
      {"<?pi open", pkPI},      {"<?xml version='1'", pkXmlProlog},
      {"<a x='1", pkStartTag},  {"<!DOCTYPE r [", pkDtdc},
      {"<a", pkStartTag},       {"</a", pkEndTag},
      {"<", pkStartTag},
  };
  for (const auto& c : cases) {
    TXmlParser parser;
    parser.Attach(c.text.c_str());
    ASSERT_TRUE(parser.NextPart()) << c.text;
    EXPECT_EQ(parser.PartKind(), c.kind) << c.text;
    EXPECT_EQ(parser.PartBegin(), c.text.c_str());
    EXPECT_EQ(parser.PartEnd(), c.text.c_str() + c.text.size() - 1) << c.text;
    EXPECT_FALSE(parser.NextPart()) << c.text;
    EXPECT_FALSE(parser.NextPart()) << c.text;
  }
}

// The object loading relies on a text naming the tag before it.
TEST(Parser, TextAndCDataKeepTheNameOfTheTagBefore) {
  const std::string text = "<Preis>12,50</Preis><Menge><![CDATA[3]]><x/>";
  TXmlParser parser;
  parser.Attach(text.c_str());
  ASSERT_TRUE(parser.NextPart());
  ASSERT_TRUE(parser.NextPart());
  EXPECT_EQ(parser.PartKind(), pkText);
  EXPECT_EQ(parser.PartName(), "Preis");
  EXPECT_EQ(parser.PartText(), "12,50");
  ASSERT_TRUE(parser.NextPart());
  EXPECT_EQ(parser.PartKind(), pkEndTag);
  EXPECT_EQ(parser.PartText(), "12,50");
  ASSERT_TRUE(parser.NextPart());
  ASSERT_TRUE(parser.NextPart());
  EXPECT_EQ(parser.PartKind(), pkCData);
  EXPECT_EQ(parser.PartName(), "Menge");
  EXPECT_EQ(parser.PartText(), "3");
}

TEST(Parser, PartExtentCoversTheMarkup) {
  const std::string text = "<a k='v'>text</a>";
  const char* b = text.c_str();
  TXmlParser parser;
  parser.Attach(b);
  EXPECT_EQ(parser.PartBegin(), nullptr);
  const std::pair<size_t, size_t> extents[] = {{0, 8}, {9, 12}, {13, 16}};
  for (const auto& [first, last] : extents) {
    ASSERT_TRUE(parser.NextPart());
    EXPECT_EQ(parser.PartBegin(), b + first);
    EXPECT_EQ(parser.PartEnd(), b + last);
  }
  EXPECT_FALSE(parser.NextPart());
  EXPECT_EQ(parser.PartBegin(), b + text.size());
}

TEST(Parser, CollapseSpaceTrimsTextAndSkipsEmptyText) {
  EXPECT_EQ(ScanText("<a>  x \n\t y  </a>\r\n <b> </b>", true),
            (Parts{"<a>", "text(a)=x y", "</a>", "<b>", "</b>"}));
  // A skipped text does not overwrite the text kept from before.
  TXmlParser parser;
  const std::string text = "<p>12</p>\n <q>";
  parser.Attach(text.c_str());
  parser.CollapseSpace = true;
  while (parser.NextPart() && parser.PartKind() != pkStartTag) {
  }
  while (parser.NextPart()) {
  }
  EXPECT_EQ(parser.PartName(), "q");
  EXPECT_EQ(parser.PartText(), "12");
}

TEST(Parser, ResetAndRestart) {
  const std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><a>x</a>";
  TXmlParser parser;
  parser.Attach(text.c_str());
  parser.CollapseSpace = true;
  const Parts first = ScanAll(parser);
  EXPECT_EQ(parser.DeclVersion(), "1.0");
  EXPECT_EQ(parser.DeclEncoding(), "UTF-8");
  EXPECT_TRUE(parser.DeclStandalone());
  EXPECT_EQ(parser.SourceName(), "<REFERENCE>");
  EXPECT_EQ(parser.BufferSize(), 0u);
  parser.Restart();
  EXPECT_EQ(parser.PartKind(), pkNone);
  EXPECT_EQ(ScanAll(parser), first);
  parser.Reset();
  EXPECT_FALSE(parser.CollapseSpace);
  EXPECT_EQ(parser.DeclVersion(), "");
  EXPECT_EQ(parser.TextEncoding(), "");
  EXPECT_EQ(parser.SourceName(), "");
  EXPECT_FALSE(parser.NextPart());
}

struct EncodingCase {
  std::string prolog;
  std::string expected;  // text of <a>ä€</a> written in UTF-8
};

TEST(Parser, TextEncodingFollowsTheDeclaration) {
  const EncodingCase cases[] = {
      {"", "\xC3\xA4\xE2\x82\xAC"},  // no declaration: bytes pass unchanged
      {"<?xml version=\"1.0\"?>", "\xE4\x80"},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "\xE4\x80"},
      {"<?xml version=\"1.0\" encoding=\"utf-8\"?>", "\xE4\x80"},
      {"<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>", "\xC3\xA4\xE2\x82\xAC"},
  };
  for (const auto& c : cases) {
    const std::string text = c.prolog + "<a v='\xC3\xA4'>\xC3\xA4\xE2\x82\xAC</a>";
    TXmlParser parser;
    parser.Attach(text.c_str());
    std::string body, attr;
    while (parser.NextPart()) {
      if (parser.PartKind() == pkText) body = parser.PartText();
      if (parser.PartKind() == pkStartTag) attr = parser.PartAttributes().Value("v");
    }
    EXPECT_EQ(body, c.expected) << c.prolog;
    EXPECT_EQ(attr, c.expected.substr(0, c.expected.size() == 2 ? 1 : 2)) << c.prolog;
  }
}

// An ä written as a reference must not be decoded a second time.
TEST(Parser, CharacterReferencesInAttributesAreNotDecodedAgain) {
  const std::string text = "<?xml version=\"1.0\"?><a v='&#228;&#x20AC;\xC3\xBC'/>";
  TXmlParser parser;
  parser.Attach(text.c_str());
  ASSERT_TRUE(parser.NextPart());
  ASSERT_TRUE(parser.NextPart());
  EXPECT_EQ(parser.PartAttributes().Value("v"), "\xE4\x80\xFC");
}

TEST(Vocabulary, DisplayNames) {
  const char* parts[] = {"",          "XML Prolog", "Comment", "PI",   "DTD Declaration",
                         "Start Tag", "Empty Tag",  "End Tag", "Text", "CDATA"};
  for (int k = pkNone; k <= pkCData; ++k)
    EXPECT_STREQ(PartKindName(static_cast<TPartKind>(k)), parts[k]);
  const char* elems[] = {"Empty", "Any", "Childs only", "Mixed"};
  for (int e = etEmpty; e <= etMixed; ++e)
    EXPECT_STREQ(ElemTypeName(static_cast<TElemType>(e)), elems[e]);
  const char* types[] = {"Unknown",  "CDATA",   "ID",       "IDREF",    "IDREFS",     "ENTITY",
                         "ENTITIES", "NMTOKEN", "NMTOKENS", "Notation", "Enumeration"};
  for (int t = atUnknown; t <= atEnumeration; ++t)
    EXPECT_STREQ(AttrTypeName(static_cast<TAttrType>(t)), types[t]);
  EXPECT_EQ(AttrTypeOfKeyword("NMTOKENS"), atNmTokens);
  EXPECT_EQ(AttrTypeOfKeyword("cdata"), atUnknown);
  EXPECT_STREQ(DefaultTypeKeyword(dtFixed), "#FIXED");
  EXPECT_STREQ(DefaultTypeKeyword(dtDefault), "");
}

}  // namespace
