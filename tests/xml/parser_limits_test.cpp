#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/xml/part_log.h"

namespace {

struct Outcome {
  int parts = 0;
  size_t longestText = 0;
  bool malformed = false;
};

Outcome Scan(const std::string& doc) {
  TXmlParser parser;
  parser.Attach(doc.c_str());
  Outcome out;
  while (parser.NextPart()) {
    ++out.parts;
    out.longestText = std::max(out.longestText, parser.PartText().size());
    for (int i = 0; i < parser.PartAttributes().Count(); ++i)
      out.longestText = std::max(out.longestText, parser.PartAttributes().Attr(i)->Value.size());
  }
  out.malformed = parser.Malformed();
  EXPECT_FALSE(parser.NextPart());
  return out;
}

std::string LaughsDoc(const std::string& use) {
  std::string doc = "<!DOCTYPE lolz [\n<!ENTITY lol0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i)
    doc += "<!ENTITY lol" + std::to_string(i) + " \"" + [&] {
      std::string refs;
      for (int k = 0; k < 10; ++k) refs += "&lol" + std::to_string(i - 1) + ";";
      return refs;
    }() + "\">\n";
  return doc + "]>\n" + use;
}

// The same with parameter entities, which are expanded when declared.
std::string ParameterLaughsDoc() {
  std::string doc = "<!DOCTYPE lolz [\n<!ENTITY % l0 \"lol\">\n";
  for (int i = 1; i <= 9; ++i) {
    doc += "<!ENTITY % l" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) doc += "%l" + std::to_string(i - 1) + ";";
    doc += "\">\n";
  }
  return doc + "]><r/>";
}

// A chain of n entities, each referring to the next; the last one holds text.
std::string ChainDoc(int n) {
  std::string doc = "<!DOCTYPE r [\n";
  for (int i = 0; i < n; ++i)
    doc += "<!ENTITY e" + std::to_string(i) + " \"" +
           (i + 1 < n ? "&e" + std::to_string(i + 1) + ";" : std::string("end")) + "\">\n";
  return doc + "]><r>&e0;</r>";
}

struct RefusedCase {
  const char* name;
  std::string doc;
};

TEST(Limits, RefusedExpansionsEndTheScanAsMalformed) {
  std::string defaults = "<!DOCTYPE r [<!ATTLIST r";
  for (int i = 0; i < 10; ++i)
    defaults += " a" + std::to_string(i) + " CDATA '" + std::string(10000, 'x') + "'";
  defaults += ">]>";
  for (int i = 0; i < 200; ++i) defaults += "<r/>";
  const RefusedCase cases[] = {
      {"self reference in text", "<!DOCTYPE r [<!ENTITY a \"x&a;\">]><r>&a;</r>"},
      {"mutual reference in text",
       "<!DOCTYPE r [<!ENTITY a \"&b;\"><!ENTITY b \"<i>&a;</i>\">]><r>&a;</r>"},
      {"self reference in an attribute", "<!DOCTYPE r [<!ENTITY a \"x&a;\">]><r v='&a;'/>"},
      {"entity text refers to itself through an attribute",
       "<!DOCTYPE r [<!ENTITY a \"<i v='&a;'/>\">]><r>&a;</r>"},
      {"parameter entity refers to itself", "<!DOCTYPE r [<!ENTITY % p \"%p;\"> %p; ]><r/>"},
      {"parameter entity in a declaration refers to itself",
       "<!DOCTYPE r [<!ENTITY % p \"%p;\"><!ATTLIST r a CDATA %p;>]><r/>"},
      {"billion laughs in text", LaughsDoc("<r>&lol9;</r>")},
      {"billion laughs in an attribute", LaughsDoc("<r v='&lol9;'/>")},
      {"billion laughs of parameter entities", ParameterLaughsDoc()},
      {"nesting deeper than 64", ChainDoc(70)},
      {"attribute defaults without end", defaults},
      {"include sections nested too deep", "<!DOCTYPE r [" +
                                               [] {
                                                 std::string s;
                                                 for (int i = 0; i < 100; ++i) s += "<![INCLUDE[";
                                                 return s;
                                               }() +
                                               "]><r/>"},
  };
  for (const auto& c : cases) {
    const Outcome out = Scan(c.doc);
    EXPECT_TRUE(out.malformed) << c.name;
    EXPECT_LE(out.longestText, size_t{16} << 20) << c.name;
  }
}

TEST(Limits, ExpansionWithinTheBoundsIsRead) {
  const Outcome chain = Scan(ChainDoc(60));
  EXPECT_FALSE(chain.malformed);
  EXPECT_EQ(ScanText(ChainDoc(60)).at(2), "text(r)=end");
  // Ten thousand uses of one entity are fine: only the total text is bounded.
  std::string doc = "<!DOCTYPE r [<!ENTITY e \"&#228;bc\">]><r>";
  for (int i = 0; i < 10000; ++i) doc += "&e;";
  doc += "</r>";
  const Outcome many = Scan(doc);
  EXPECT_FALSE(many.malformed);
  EXPECT_EQ(many.longestText, 30000u);
  // The same entity twice side by side is no self-reference.
  EXPECT_EQ(ScanText("<!DOCTYPE r [<!ENTITY a 'x'><!ENTITY b '&a;&a;'>]><r v='&b;'>&b;</r>"),
            (std::vector<std::string>{"<!DOCTYPE r>", "<r v=xx>", "text(r)=xx", "</r>"}));
}

// Every prefix of a document using every construct is scanned without
// reading past its terminating zero (the buffers are exactly as long as the
// prefix, so the address sanitizer build catches any overread).
TEST(Limits, TruncatedInputNeverReadsPastTheEnd) {
  const std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE r SYSTEM \"r.dtd\" [\n"
      "  <!ELEMENT r (#PCDATA|a)*>\n"
      "  <!ATTLIST a k CDATA 'd' t NMTOKENS #IMPLIED f CDATA #FIXED \"x\" e (p|q) 'p'>\n"
      "  <!ENTITY e \"v&#65;<b>&amp;</b>\">\n"
      "  <!ENTITY % p '<!ENTITY q \"Q\">'>\n"
      "  %p;\n"
      "  <![INCLUDE[ <!ENTITY i 'I'> ]]><![IGNORE[ x ]]>\n"
      "  <!NOTATION n PUBLIC 'pub' 'sys'>\n"
      "  <!-- comment --><?pi text?>\n"
      "]>\n"
      "<r><a k='1&e;&#x41;' t=' a  b '>t&e;&q;&#228;&nix;\xC3\xA4</a><![CDATA[c]]><!-- c --><?p x?>"
      "<a/></r>";
  for (size_t n = 0; n <= doc.size(); ++n) {
    std::unique_ptr<char[]> buffer(new char[n + 1]);
    std::memcpy(buffer.get(), doc.data(), n);
    buffer[n] = '\0';
    TXmlParser parser;
    parser.Attach(buffer.get());
    int parts = 0;
    while (parser.NextPart()) {
      ++parts;
      if (parser.EntityStack().Empty()) {
        ASSERT_GE(parser.PartBegin(), buffer.get()) << n;
        ASSERT_LT(parser.PartBegin(), buffer.get() + n) << n;
      }
      ASSERT_LE(parts, static_cast<int>(n)) << n;
    }
    EXPECT_FALSE(parser.Malformed()) << n;
    EXPECT_EQ(parser.PartEnd(), buffer.get() + n) << n;
  }
}

}  // namespace
