#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "gaebxml/xml_decimal.h"
#include "gaebxml/xml_parse.h"
#include "gaebxml/xml_plain_text.h"

namespace {

struct TextCase {
  const char* xml;
  const char* lines;
  const char* line;
};

TEST(XmlPlainText, FormattedTextBecomesLinesOrOneLine) {
  const TextCase cases[] = {
      {"<t><p><span>a</span><span>b </span></p><p><span>c</span></p></t>", "ab\r\nc", "ab c"},
      {"<t><p><span>a</span></p><p><span/></p><p><span>b</span></p><p><span> </span></p></t>",
       "a\r\n\r\nb", "a b"},
      {"<t><span>a</span><br/><span>b</span><br/></t>", "a\r\nb", "a b"},
      {"<t><p>\n   <span>indented</span>\n   <span> twice</span>\n</p></t>", "indented twice",
       "indented twice"},
      {"<t><span>two  blanks</span><span>\tand a tab</span></t>", "two  blanks and a tab",
       "two  blanks and a tab"},
      {"<t><span>a  \n  b  c </span><span> d</span></t>", "a b  c  d", "a b  c  d"},
      {"<t><span>a \t</span><span>  b\r\n</span></t>", "a   b", "a   b"},
      {"<t><span>vor</span><p><span>im Absatz</span></p><span>nach</span></t>",
       "vor\r\nim Absatz\r\nnach", "vor im Absatz nach"},
      {"<t><table><tr><td><span>1</span></td><td><span>Beton</span></td></tr>"
       "<tr><td>2</td><td>Stahl</td></tr></table></t>",
       "1  Beton\r\n2  Stahl", "1  Beton 2  Stahl"},
      {"<t><p><span>Bild:</span><image Name=\"a.jpg\">/9j/4AAQ</image></p></t>", "Bild:", "Bild:"},
      {"<t><p>x &amp; y &lt; z</p><p><![CDATA[<roh>]]></p></t>", "x & y < z\r\n<roh>",
       "x & y < z <roh>"},
      {"<t><TextComplement><ComplCaption><span>Breite </span></ComplCaption>"
       "<ComplBody><span>...</span></ComplBody><ComplTail><span> cm</span></ComplTail>"
       "</TextComplement></t>",
       "Breite ... cm", "Breite ... cm"},
      {"<t><p><span>a\xC2\xA0"
       "b</span></p><p><span>\xC2\xA0</span></p></t>",
       "a b", "a b"},
      {"<t><!-- Kommentar --><p/></t>", "", ""},
      {"<t/>", "", ""},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.xml);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(c.xml, pugi::parse_default | pugi::parse_ws_pcdata_single));
    EXPECT_EQ(PlainTextLines(doc.first_child()), c.lines);
    EXPECT_EQ(PlainTextLine(doc.first_child()), c.line);
  }
}

TEST(XmlPlainText, DeepNestingIsWalkedWithoutRecursion) {
  std::string xml;
  for (int i = 0; i < 200000; ++i) xml += "<span>";
  xml += "tief";
  for (int i = 0; i < 200000; ++i) xml += "</span>";
  pugi::xml_document doc;
  ASSERT_TRUE(doc.load_string(xml.c_str()));
  EXPECT_EQ(PlainTextLines(doc), "tief");
}

struct DecimalCase {
  const char* text;
  bool ok;
  double value;
};

TEST(XmlDecimal, OnlyPointDecimalsAreNumbers) {
  const DecimalCase cases[] = {
      {"1.000", true, 1},
      {" 12345678.012 ", true, 12345678.012},
      {"-0.5", true, -0.5},
      {"+7", true, 7},
      {".25", true, 0.25},
      {"3.", true, 3},
      {"0000000000000000012", true, 12},
      {"999999999999999", true, 999999999999999.0},
      {"1000000000000000", false, 0},
      {"12,5", false, 0},
      {"1.2.3", false, 0},
      {"1e5", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {".", false, 0},
      {"12 5", false, 0},
      {"0x10", false, 0},
  };
  for (const DecimalCase& c : cases) {
    SCOPED_TRACE(c.text);
    double value = -99;
    EXPECT_EQ(ParseXmlDecimal(c.text, value), c.ok);
    if (c.ok) {
      EXPECT_EQ(value, c.value);
    }
  }
}

TEST(XmlDecimal, AmountsAreWrittenWithAPointAndRoundedHalfAwayFromZero) {
  EXPECT_EQ(XmlDecimal(1234.5, 2), "1234.50");
  EXPECT_EQ(XmlDecimal(1.005, 2), "1.01");
  EXPECT_EQ(XmlDecimal(-1.005, 2), "-1.01");
  EXPECT_EQ(XmlDecimal(12.3455, 3), "12.346");
  EXPECT_EQ(XmlDecimal(-0.001, 2), "0.00");
  EXPECT_EQ(XmlDecimal(12345678901.23, 2), "12345678901.23");
  EXPECT_EQ(XmlRate(19), "19");
  EXPECT_EQ(XmlRate(7.5), "7.5");
  EXPECT_EQ(XmlRate(2.255), "2.26");
}

TEST(XmlParse, PositionsCountLinesAndCharacters) {
  const std::string text = "ab\n\xC3\xA4\xC3\xB6x\nz";
  EXPECT_EQ(PositionAt(text, 0).Line, 1u);
  EXPECT_EQ(PositionAt(text, 3).Line, 2u);
  EXPECT_EQ(PositionAt(text, 3).Column, 1u);
  EXPECT_EQ(PositionAt(text, 7).Column, 3u) << "two umlauts of two bytes each";
  EXPECT_EQ(PositionAt(text, 100).Line, 3u);
}

}  // namespace
