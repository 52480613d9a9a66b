#include "gaebxml/x83_piecewise.h"

#include <gtest/gtest.h>

#include <sstream>

#include "gaebxml/x83_reader.h"
#include "gaebxml/xml_names.h"
#include "gaebxml/xml_pieces_ahead.h"
#include "tests/gaebxml/x83_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/tender_files.h"
#include "tests/support/test_document.h"

namespace {

// The bytes handed out in pieces of `size`, so that tags, texts and
// comments are cut at every place.
XmlPieces::Source InPieces(const std::string& bytes, size_t size) {
  return [&bytes, size, at = size_t{0}]() mutable {
    const std::string_view next = std::string_view(bytes).substr(std::min(at, bytes.size()), size);
    at += next.size();
    return next;
  };
}

std::string Tree(const X83Result& result) {
  std::ostringstream out;
  if (result.Root) result.Root->SaveWholeToXML(out, 0);
  return out.str();
}

X83Result Whole(const std::string& bytes, TestDocument& doc) {
  XmlSource source;
  source.Buffer = bytes;
  source.Original = [&bytes] { return bytes; };
  return ReadX83Document(std::move(source), doc);
}

void ExpectSame(const X83Result& piecewise, const X83Result& whole) {
  EXPECT_EQ(piecewise.Error, whole.Error);
  EXPECT_EQ(piecewise.Warning, whole.Warning);
  EXPECT_EQ(piecewise.Offer, whole.Offer);
  EXPECT_EQ(piecewise.CarriesTender, whole.CarriesTender);
  EXPECT_EQ(piecewise.InvalidBytes, whole.InvalidBytes);
  EXPECT_EQ(piecewise.ControlCharacters, whole.ControlCharacters);
  EXPECT_EQ(piecewise.Origin.Version, whole.Origin.Version);
  EXPECT_EQ(Tree(piecewise), Tree(whole));
}

const std::string kLos01 = std::string(TARVO_TEST_DATA_DIR) + "/xml-real/LV_Los01.X83";
const std::string kControls = std::string(TARVO_TEST_DATA_DIR) + "/xml/control_characters.X83";

// Real tenders and an offer are read piece by piece, whatever size the
// pieces come in, into the tree of their whole document.
TEST(X83Piecewise, RealFilesReadPieceByPieceIntoTheWholeDocumentsTree) {
  PrepareGaeb();
  for (const std::string& path : {kOfficialX83, kOfficialX84, kLos01, kControls}) {
    const std::string bytes = ReadFile(path);
    TestDocument wholeDoc;
    const X83Result whole = Whole(bytes, wholeDoc);
    ASSERT_TRUE(whole.Root) << path << whole.Error;
    for (const size_t size : {size_t{1}, size_t{7}, size_t{1} << 16}) {
      SCOPED_TRACE(path + " in pieces of " + std::to_string(size));
      TestDocument doc;
      X83Result piecewise;
      std::string versionWarning;
      ASSERT_TRUE(ReadX83Piecewise(InPieces(bytes, size), doc, piecewise, versionWarning));
      piecewise.Warning = whole.Warning;  // put together by ReadX83, compared below
      ExpectSame(piecewise, whole);
      EXPECT_EQ(doc.codes, wholeDoc.codes);
    }
    TestDocument doc;
    ExpectSame(ReadX83(std::string_view(bytes), doc), whole);
  }
}

// What the piecewise reading does not follow, or refuses, is read as the
// whole document: the same tree, or the same message with line and column.
TEST(X83Piecewise, WhatItDoesNotFollowIsReadAsTheWholeDocument) {
  PrepareGaeb();
  const std::string items = ItemlistXml(ItemXml("I1", "0010", "3") + ItemXml("I2", "0020", "4"));
  const std::string tender = TenderX83(CategoryXml("C1", "01", "Erdarbeiten", items));
  struct Case {
    const char* what;
    std::string bytes;
    bool piecewise;
  };
  const Case cases[] = {
      {"as it comes", tender, true},
      {"comments and an empty body",
       TenderX83("<!-- a -->" + CategoryXml("C1", "01", "E", "<!--x-->") + "<BoQCtgy/>"), true},
      {"CDATA in a text",
       TenderX83(ItemlistXml(ItemXml("I1", "0010", "3", "<QU><![CDATA[<m>]]></QU>"))), true},
      {"BoQInfo behind the body",
       X83Document(GaebInfoXml() + "<Award><DP>83</DP><BoQ><BoQBody>" + items +
                   "</BoQBody><BoQInfo><Name>x</Name></BoQInfo></BoQ></Award>"),
       false},
      {"DP behind the BoQ",
       X83Document(GaebInfoXml() + "<Award>" + BoQXml(items) + "<DP>84</DP></Award>"), false},
      {"Windows-1252",
       "<?xml version=\"1.0\" encoding=\"windows-1252\"?>" + tender.substr(tender.find("?>") + 2),
       false},
      {"an entity of the document type",
       "<!DOCTYPE GAEB [<!ENTITY e \"x\">]>" + TenderX83(ItemlistXml(ItemXml("I1", "&e;", "1"))),
       false},
      {"an unknown entity", TenderX83(ItemlistXml(ItemXml("I1", "0010", "&e;"))), false},
      {"a number that is none", TenderX83(ItemlistXml(ItemXml("I1", "0010", "drei"))), false},
      {"a wrong end tag", TenderX83(CategoryXml("C1", "01", "E", items) + "</Itemlist>"), false},
      {"a cut file", tender.substr(0, tender.size() / 2), false},
      {"a NUL byte", tender.substr(0, 60) + std::string(1, '\0') + tender.substr(60), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestDocument wholeDoc;
    const X83Result whole = Whole(c.bytes, wholeDoc);
    for (const size_t size : {size_t{1}, size_t{5}, c.bytes.size()}) {
      TestDocument doc;
      X83Result piecewise;
      std::string versionWarning;
      EXPECT_EQ(ReadX83Piecewise(InPieces(c.bytes, size), doc, piecewise, versionWarning),
                c.piecewise);
      TestDocument again;
      ExpectSame(ReadX83(std::string_view(c.bytes), again), whole);
    }
  }
}

// Items enough for many batches of the thread that parses ahead: read the
// same as whole, and a reading that ends early (a refused number, an
// Itemlist inside an Itemlist) while that thread is batches ahead stops it
// and falls back to the whole document.
TEST(X83Piecewise, ManyItemsAndAnEarlyEndWhileTheParsingIsAhead) {
  PrepareGaeb();
  std::string items;
  for (int i = 1; i <= 3000; ++i) {
    const std::string rno = std::to_string(1000 + i);
    items += ItemXml("I" + rno, rno, std::to_string(i % 97) + ".5");
  }
  struct Case {
    const char* what;
    std::string bytes;
    bool piecewise;
  };
  const Case cases[] = {
      {"3000 items", TenderX83(CategoryXml("C1", "01", "E", ItemlistXml(items))), true},
      {"a number that is none first", TenderX83(ItemlistXml(ItemXml("I1", "0001", "drei") + items)),
       false},
      {"an Itemlist inside an Itemlist first",
       TenderX83(ItemlistXml(ItemlistXml(ItemXml("I1", "0001", "1")) + items)), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TestDocument wholeDoc;
    const X83Result whole = Whole(c.bytes, wholeDoc);
    TestDocument doc;
    X83Result piecewise;
    std::string versionWarning;
    ASSERT_EQ(ReadX83Piecewise(InPieces(c.bytes, 4096), doc, piecewise, versionWarning),
              c.piecewise);
    if (c.piecewise) {
      piecewise.Warning = whole.Warning;
      ExpectSame(piecewise, whole);
      EXPECT_EQ(doc.codes, wholeDoc.codes);
    }
    TestDocument again;
    ExpectSame(ReadX83(std::string_view(c.bytes), again), whole);
  }
}

// The pieces are handed out as the thread ahead cut them: an element it
// parsed whole cannot be entered, one it entered cannot be taken whole.
TEST(XmlPiecesAhead, OnlyWhatItCutIsHandedOut) {
  const std::string xml = "<a><b><c/></b><d x=\"1\"><e/></d></a>";
  const auto enterOnlyTheRoot = [](std::string_view parent, std::string_view, bool) {
    return parent.empty();
  };
  using Piece = XmlPiecesAhead::Piece;
  {
    XmlPiecesAhead pieces(InPieces(xml, 3), enterOnlyTheRoot);
    pieces.Start();
    ASSERT_EQ(pieces.Next(), Piece::StartTag);
    EXPECT_EQ(LocalName(pieces.Tag()), "a");
    ASSERT_EQ(pieces.Next(), Piece::StartTag);
    EXPECT_EQ(LocalName(pieces.Tag()), "b");
    EXPECT_EQ(LocalName(pieces.Whole().first_child()), "c");
    ASSERT_EQ(pieces.Next(), Piece::StartTag);
    EXPECT_STREQ(pieces.Tag().attribute("x").value(), "1");
    EXPECT_EQ(pieces.Next(), Piece::Unreadable);  // parsed whole, not entered
    EXPECT_EQ(pieces.Next(), Piece::Unreadable);  // and nothing after it
  }
  {
    XmlPiecesAhead pieces(InPieces(xml, 3), enterOnlyTheRoot);
    pieces.Start();
    ASSERT_EQ(pieces.Next(), Piece::StartTag);
    EXPECT_FALSE(pieces.Whole());  // entered
    EXPECT_EQ(pieces.Next(), Piece::Unreadable);
  }
  {
    XmlPiecesAhead pieces(InPieces(xml, 100), enterOnlyTheRoot);
    pieces.Start();
    ASSERT_EQ(pieces.Next(), Piece::StartTag);
    for (const char* name : {"b", "d"}) {
      ASSERT_EQ(pieces.Next(), Piece::StartTag);
      EXPECT_EQ(LocalName(pieces.Whole()), name);
    }
    EXPECT_EQ(pieces.Next(), Piece::EndTag);
    EXPECT_EQ(pieces.Next(), Piece::End);
    EXPECT_EQ(pieces.Next(), Piece::Unreadable);  // nothing after the end
  }
}

}  // namespace
