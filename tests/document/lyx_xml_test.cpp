#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "tests/document/observer_log.h"
#include "tests/gaebxml/x83_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/document_fixture.h"

namespace {

using XmlTenderTest = DocumentTest;

// The content decides, not the name: an X83 under any name, with or without
// a byte-order mark, opens as XML; a GAEB 2000 file named .X83 does not.
TEST_F(XmlTenderTest, TheContentDecidesTheFormat) {
  const std::string x83 = ReadFile(kOfficialX83);
  struct Case {
    const char* name;
    std::string content;
    bool xml;
  } cases[] = {
      {"LV.X83", x83, true},
      {"LV.d83", x83, true},
      {"ohne_endung", "\xEF\xBB\xBF" + x83, true},
      {"gaeb2000.X83", Tender(Area("01", "Rohbau", Position("01010010", "3", "m"))), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ObserverLog log(doc_);
    ASSERT_TRUE(doc_.Import(dir_.Write(c.name, c.content))) << doc_.LastError;
    EXPECT_EQ(doc_.IsXml(), c.xml);
    EXPECT_EQ(doc_.OfferExtension(), c.xml ? ".X84" : ".D84");
    EXPECT_EQ(doc_.FileName(), c.name);
    EXPECT_EQ(doc_.Reader()->FileSize(), static_cast<int64_t>(c.content.size()));
    ASSERT_NE(doc_.An, nullptr);
    ASSERT_NE(doc_.An->Child("ADRESSE"), nullptr);
    ASSERT_FALSE(log.codes.empty());
    EXPECT_EQ(log.codes.front(), lcReadStart);
    EXPECT_EQ(log.Count(lcReadEnd), 1);
    EXPECT_GE(log.Count(lcTotalsChanged), 1);
  }
}

TEST_F(XmlTenderTest, TheOfficialTenderIsBoundLikeAGaeb2000One) {
  ASSERT_TRUE(doc_.Import(kOfficialX83)) << doc_.LastError;
  ASSERT_NE(doc_.LvAreas, nullptr);
  EXPECT_EQ(doc_.LvAreas->Count(), 3);
  EXPECT_EQ(doc_.Positions, nullptr);
  EXPECT_EQ(doc_.PrjInfo->Text("NAME"), "BVBS GAEB Muster");
  EXPECT_EQ(doc_.VergabeInfo->Text("WAE"), "EUR");
  EXPECT_FALSE(doc_.EpBreakdown);
  EXPECT_EQ(Flatten(*doc_.Lv).Positions.size(), 27u);
  EXPECT_TRUE(doc_.ImportWarning.empty());
}

// A refused file leaves the document empty with the reason, and nothing can
// be saved from it.
TEST_F(XmlTenderTest, RefusedXmlLeavesTheDocumentEmpty) {
  struct Case {
    const char* what;
    std::string content;
    const char* message;
  } cases[] = {
      {"other XML", "<?xml version=\"1.0\"?>\n<html><body/></html>\n",
       "keine GAEB DA XML-Datei (Wurzelelement \"html\")"},
      {"malformed", TenderX83("<Itemlist>\n<Item ID=\"I1\"></Itm>\n</Itemlist>\n"),
       "(Zeile 10, Spalte"},
      {"offer in the namespace of a tender",
       X83Document(GaebInfoXml() + AwardXml(BoQXml(""), "84")),
       "ihr Element DP aber die Austauschphase 84"},
      {"no quantities", X83Document(GaebInfoXml() + AwardXml(BoQXml(""), "81")),
       "Austauschphase 81 (Leistungsbeschreibung)"},
      {"bad number", TenderX83(ItemlistXml(ItemXml("I1", "0010", "1,5"))), "Zeile"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(doc_.Import(kOfficialX83));
    ObserverLog log(doc_);
    EXPECT_FALSE(doc_.Import(dir_.Write("LV.X83", c.content)));
    EXPECT_NE(doc_.LastError.find(c.message), std::string::npos) << doc_.LastError;
    EXPECT_FALSE(doc_.Loaded());
    EXPECT_FALSE(doc_.IsXml());
    EXPECT_EQ(log.Count(lcReadEnd), 1);
    EXPECT_FALSE(doc_.ExportD84(dir_.Path("LV.X84")));
    EXPECT_FALSE(std::filesystem::exists(dir_.Path("LV.X84")));
  }
}

// Characters Windows-1252 lacks become "?"; the import says how many, and
// the next import forgets it.
TEST_F(XmlTenderTest, ReplacedCharactersAreAWarningNotAFailure) {
  const std::string greek = "\xCE\xA9";  // U+03A9
  const std::string tender = TenderX83(
      CategoryXml("C1", "01", "Ma\xC3\x9F " + greek,
                  CategoryXml("C2", "01", greek, ItemlistXml(ItemXml("I1", "0010", "2")))));
  ASSERT_TRUE(doc_.Import(dir_.Write("griechisch.X83", tender))) << doc_.LastError;
  EXPECT_EQ(doc_.ImportWarning,
            "2 Zeichen der Datei gibt es im Zeichensatz Windows-1252 nicht; sie wurden durch "
            "\"?\" ersetzt.");
  EXPECT_EQ(doc_.LvAreas->Element(0)->Text("BEZ"), "Ma\xDF ?");
  ASSERT_TRUE(doc_.Import(kOfficialX83));
  EXPECT_EQ(doc_.ImportWarning, "");
}

// Saving keeps the format: the offer of an XML tender is an X84 that names
// this program, and a failed save keeps the file that was there.
TEST_F(XmlTenderTest, TheOfferOfAnXmlTenderIsAnX84) {
  ASSERT_TRUE(doc_.Import(kOfficialX83));
  ObserverLog log(doc_);
  const std::string target = dir_.Path("Angebot.X84");
  ASSERT_TRUE(doc_.ExportD84(target)) << doc_.LastError;
  const std::string x84 = ReadFile(target);
  EXPECT_NE(x84.find("<GAEB xmlns=\"http://www.gaeb.de/GAEB_DA_XML/DA84/3.3\">"),
            std::string::npos);
  EXPECT_NE(x84.find("<DP>84</DP>"), std::string::npos);
  EXPECT_EQ(log.Folded().front(), lcWriteStart);
  EXPECT_EQ(log.Folded().back(), lcWriteEnd);
  EXPECT_EQ(log.Count(6), 12 + 27);

  std::filesystem::create_directory(dir_.Path("schreibschutz"));
  EXPECT_FALSE(doc_.ExportD84(dir_.Path("schreibschutz")));
  EXPECT_EQ(doc_.LastError.rfind("Fehler beim Schreiben der Datei: ", 0), 0u) << doc_.LastError;
  EXPECT_EQ(ReadFile(target), x84);
}

}  // namespace
