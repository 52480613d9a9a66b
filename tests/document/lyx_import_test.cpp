#include <gtest/gtest.h>

#include <algorithm>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "gaeb/file_read.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_elements.h"
#include "tests/document/observer_log.h"
#include "tests/support/document_fixture.h"

namespace {

const char kNoAward[] =
    "Bei der angegeben Datei handelt es sich nicht um eine GAEB 2000 Datei bzw. nicht um eine "
    "GAEB 2000 Datei mit Vergabe-Daten.";
const char kNoRoot[] = "In der Datei konnte kein GAEB-Objekt gefunden werden.";

void ExpectEmpty(const KsLyxObj& doc) {
  EXPECT_FALSE(doc.Loaded());
  EXPECT_EQ(doc.Lv, nullptr);
  EXPECT_EQ(doc.LvInfo, nullptr);
  EXPECT_EQ(doc.GaebInfo, nullptr);
  EXPECT_EQ(doc.PrjInfo, nullptr);
  EXPECT_EQ(doc.VergabeInfo, nullptr);
  EXPECT_EQ(doc.Ag, nullptr);
  EXPECT_EQ(doc.An, nullptr);
  EXPECT_EQ(doc.LvAreas, nullptr);
  EXPECT_EQ(doc.Positions, nullptr);
}

// The message the number parser gives for a quantity that is not a number.
std::string QuantityError(const std::string& text) {
  std::unique_ptr<KsCustomObj> position(
      GaebClasses().CreateObj("GAEBPOSITION", nullptr, {}, nullptr));
  auto& element = dynamic_cast<KsGAEBObj&>(*position);
  try {
    element.ConvertFieldValue(text, element.GetMember("MENGE"));
  } catch (const std::exception& e) {
    return e.what();
  }
  return "";
}

using ImportTest = DocumentTest;

// Line number of the byte at `offset`.
int LineAt(const std::string& text, size_t offset) {
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + offset, '\n'));
}

struct FailureCase {
  const char* name;
  std::string content;
  std::string message;  // empty: the number parser's message for "abc", with its place
  bool readingStarted;  // codes 0 and 1 sent
};

TEST_F(ImportTest, FailuresLeaveTheDocumentEmptyWithTheirMessage) {
  const std::string award = Block("VERGABE", Block("LV", LvInfoBlock("19")));
  const std::string bad = dir_.Path("bad.d83");
  // Root, award and LV take three of the 1000 levels: the 998th area is one too many.
  std::string areas;
  for (int i = 0; i < 1000; ++i) areas += "#begin[LVBEREICH]\r\n";
  const std::string deep = Tender(areas);
  size_t tooDeep = deep.find("#begin[LVBEREICH]");
  for (int i = 1; i < 998; ++i) tooDeep = deep.find("#begin[LVBEREICH]", tooDeep + 1);
  const size_t limit = TFileRead::kMaxLineLength;
  const std::string longLine = Tender(std::string(limit + 1, 'x') + "\r\n");
  std::string longValue = "[XYZ]a\r\n";
  for (size_t size = 0; size <= limit; size += limit / 8)
    longValue += std::string(limit / 8, 'v') + "\r\n";
  longValue = Tender(longValue);
  const std::string formats =
      "gelesen werden GAEB 2000 (D83, P83, D84), GAEB DA XML (X83, X84) und GAEB 90 (D81, D83, "
      "D84).";
  const std::string empty =
      "Die Datei " + bad + " ist leer oder enth\xE4lt nur leere Zeilen; " + formats;
  const auto noFormat = [&](int line, const std::string& quoted) {
    return "Die Datei " + bad + " hat kein Format, das das Programm liest; " + formats + " Zeile " +
           std::to_string(line) + " beginnt mit " + quoted +
           ", erwartet wird dort der Beginn eines GAEB 2000 Blocks (\"#begin[GAEB]\"), eines "
           "XML-Dokuments (\"<?xml\" oder \"<GAEB\") oder der Kopfsatz 00 einer GAEB 90 Datei.";
  };
  const FailureCase cases[] = {
      {"no award block", Block("GAEB", Block("GAEBINFO", Field("VERSION", "1.2"))), kNoAward,
       false},
      {"award block after the root", Block("GAEB", Field("X", "1")) + award, kNoAward, false},
      {"empty file", "", empty, false},
      {"blank lines only", " \r\n\t\r\n", empty, false},
      {"a letter", "\r\n  \r\nSehr geehrte Damen und Herren,\r\nanbei [das LV]\r\n",
       noFormat(3, "\"Sehr geehrte Damen und Herren,\""), false},
      {"a price list in UTF-8",
       "OZ;Einheitspreis f\xC3\xBCr die Position mit einem langen Namen\r\n01.0010;12\r\n",
       noFormat(1, "\"OZ;Einheitspreis f\xFCr die Position mit ei...\""), false},
      {"a control character", "Hallo\aWelt\n", noFormat(1, "\"Hallo?Welt\""), false},
      {"award block without root", award, kNoRoot, true},
      {"quantity not a number", Tender(Position("0010", "abc", "m")), "", true},
      {"nesting too deep", deep,
       "Zeile " + std::to_string(LineAt(deep, tooDeep)) + " der Datei " + bad +
           ": Die Elemente sind tiefer als 1000 Ebenen geschachtelt.",
       true},
      {"line too long", longLine,
       "Zeile " + std::to_string(LineAt(longLine, longLine.find("xxx"))) + " der Datei " + bad +
           " ist l\xE4nger als 16 MB.",
       true},
      {"value too long", longValue,
       "Der Wert von [XYZ] ab Zeile " + std::to_string(LineAt(longValue, longValue.find("[XYZ]"))) +
           " der Datei " + bad + " ist l\xE4nger als 16 MB.",
       true},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(doc_.Import(dir_.Write("good.d83", Tender(Position("0010", "1", "m")))));
    ObserverLog log(doc_);
    EXPECT_FALSE(doc_.Import(dir_.Write("bad.d83", c.content)));
    if (c.message.empty()) {
      const auto at = c.content.begin() + static_cast<std::ptrdiff_t>(c.content.find("abc"));
      const std::string place =
          "Zeile " + std::to_string(std::count(c.content.begin(), at, '\n') + 1) + ", Feld MENGE: ";
      EXPECT_EQ(doc_.LastError, place + QuantityError("abc"));
    } else {
      EXPECT_EQ(doc_.LastError, c.message);
    }
    ExpectEmpty(doc_);
    if (c.readingStarted) {
      ASSERT_FALSE(log.codes.empty());
      EXPECT_EQ(log.codes.front(), lcReadStart);
      EXPECT_EQ(log.codes.back(), lcReadEnd);
      EXPECT_EQ(log.Count(lcReadEnd), 1);
    } else {
      EXPECT_TRUE(log.codes.empty());
    }
    EXPECT_EQ(doc_.FileName(), "bad.d83");
  }
}

TEST_F(ImportTest, MissingFileChangesNothingElse) {
  ASSERT_TRUE(doc_.Import(dir_.Write("good.d83", Tender(Position("0010", "1", "m")))));
  ObserverLog log(doc_);
  const std::string missing = dir_.Path("fehlt.d83");
  EXPECT_FALSE(doc_.Import(missing));
  EXPECT_EQ(doc_.LastError, "Die angegebene Datei " + missing + " existiert nicht.");
  EXPECT_TRUE(doc_.Loaded());
  EXPECT_EQ(doc_.FileName(), "good.d83");
  EXPECT_TRUE(log.codes.empty());
  // A directory is no file to read either.
  EXPECT_FALSE(doc_.Import(dir_.Dir()));
  EXPECT_EQ(doc_.LastError, "Die angegebene Datei " + dir_.Dir() + " ist ein Verzeichnis.");
  // File names come from the file system in UTF-8; messages are Windows-1252 text.
  EXPECT_FALSE(doc_.Import(dir_.Path("Los S\u00fcd.d83")));
  EXPECT_EQ(doc_.LastError, "Die angegebene Datei " +
                                dir_.Path("Los S\xFC"
                                          "d.d83") +
                                " existiert nicht.");
}

TEST_F(ImportTest, AwardBlockIsFoundInAnyLetterCase) {
  for (const std::string key : {"VERGABE", "Vergabe", "vergabe"}) {
    SCOPED_TRACE(key);
    std::string text = Tender(Position("0010", "2", "m", Field("EP", "3")));
    for (size_t p = 0; (p = text.find("[VERGABE]", p)) != std::string::npos; p += 9)
      text.replace(p + 1, 7, key);
    ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", text))) << doc_.LastError;
    EXPECT_TRUE(doc_.LastError.empty());
    EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMME"), 6.0);
  }
}

TEST_F(ImportTest, MissingElementsAreCreatedEmptyAndHeldByTheirMembers) {
  const std::string text = Block("GAEB", Block("VERGABE", Block("LV", Position("0010", "1", "m"))));
  ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", text))) << doc_.LastError;
  KsGAEBObj* award = doc_.GaebRoot->Child("VERGABE");
  ASSERT_NE(award, nullptr);
  EXPECT_EQ(doc_.GaebInfo, doc_.GaebRoot->Child("GAEBINFO"));
  EXPECT_EQ(doc_.PrjInfo, doc_.GaebRoot->Child("PRJINFO"));
  EXPECT_EQ(doc_.VergabeInfo, award->Child("VERGABEINFO"));
  EXPECT_EQ(doc_.Ag, award->Child("AG"));
  EXPECT_EQ(doc_.An, award->Child("AN"));
  EXPECT_EQ(doc_.Lv, award->Child("LV"));
  EXPECT_EQ(doc_.LvInfo, doc_.Lv->Child("LVINFO"));
  for (KsGAEBObj* element :
       {doc_.GaebInfo, doc_.PrjInfo, doc_.VergabeInfo, doc_.Ag, doc_.An, doc_.LvInfo}) {
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->ImportDoc, &doc_);
    EXPECT_EQ(element->Owner() != nullptr, true);
  }
  for (KsGAEBObj* party : {doc_.Ag, doc_.An}) {
    const KsGAEBObj* address = party->Child("ADRESSE");
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->Owner(), party);
    EXPECT_EQ(address->Text("NAME1"), "");
  }
  EXPECT_EQ(doc_.PrjInfo->Text("NAME"), "");
  EXPECT_EQ(doc_.PrjInfo->Owner(), doc_.GaebRoot.get());
  EXPECT_NE(doc_.Positions, nullptr);
  EXPECT_EQ(doc_.LvAreas, nullptr);
}

TEST_F(ImportTest, TenderWithoutAreasAndPositions) {
  ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", Tender(""))));
  EXPECT_TRUE(doc_.Loaded());
  EXPECT_EQ(doc_.LvAreas, nullptr);
  EXPECT_EQ(doc_.Positions, nullptr);
  EXPECT_FALSE(doc_.EpBreakdown);
}

TEST_F(ImportTest, EpBreakdownIsAskedOnlyByAnExactJ) {
  const auto deep = [](const std::string& flag) {
    return Area(
        "01", "Rohbau",
        Position("0005", "1", "m") +
            Area("01.01", "Erdarbeiten",
                 Area("01.01.01", "Aushub", Position("0010", "1", "m", Field("EPAUFGL", flag)))));
  };
  const struct {
    const char* name;
    std::string lv;
    bool expected;
  } cases[] = {
      {"J deep in nested areas", deep("J"), true},
      {"j does not count", deep("j"), false},
      {"N does not count", deep("N"), false},
      {"J on a position under the LV",
       deep("N") + Position("0020", "1", "m", Field("EPAUFGL", "J")), true},
      {"second top-level area",
       Area("01", "A", Position("0010", "1", "m")) +
           Area("02", "B", Position("0020", "1", "m", Field("EPAUFGL", "J"))),
       true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", Tender(c.lv)))) << doc_.LastError;
    EXPECT_EQ(doc_.EpBreakdown, c.expected);
  }
}

TEST_F(ImportTest, SumsAreRecomputedOverTheFileSums) {
  const std::string lv =
      Area("01", "Rohbau",
           Field("SUMME", "999") + Field("SUMMENACHNL", "999") + Field("NACHLASSPROZ", "10") +
               Area("01.01", "Erdarbeiten",
                    Field("SUMME", "5") +
                        Position("0010", "10", "m3", Field("EP", "12,5") + Field("GB", "1")) +
                        Position("0020", "2", "St", Field("EP", "100") + Field("ZZLFDNR", "1"))) +
               Position("0030", "4", "m", Field("EP", "2,5") + Field("BEDARF", "M")));
  ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", Tender(lv))));
  const KsGAEBObj& top = *doc_.LvAreas->Element(0);
  const KsGAEBObj& inner = *top.ChildList("LVBEREICH")->Element(0);
  EXPECT_DOUBLE_EQ(NumberValue(inner, "SUMME"), 125.0);  // the alternative is left out
  EXPECT_DOUBLE_EQ(NumberValue(*inner.ChildList("POSITION")->Element(1), "GB"), 200.0);
  EXPECT_DOUBLE_EQ(NumberValue(top, "SUMME"), 135.0);
  EXPECT_DOUBLE_EQ(NumberValue(top, "SUMMENACHNL"), 121.5);
  EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMME"), 121.5);
  EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMMEBRUTTO"), 144.59);
}

TEST_F(ImportTest, ObserversHearReadingInOrder) {
  ObserverLog log(doc_);
  ASSERT_TRUE(doc_.Import(
      dir_.Write("t.d83", Tender(Area("01", "A", Position("0010", "1", "m", Field("EP", "1")))))));
  EXPECT_EQ(log.Folded(),
            (std::vector<int>{lcReadStart, lcElementRead, lcTotalsChanged, lcReadEnd}));
  EXPECT_GT(log.Count(lcElementRead), 5);
}

TEST_F(ImportTest, CharacterSetIsLearnedBeforeTheTreeIsRead) {
  // 0x84 is "ä" in the OEM code page and becomes 0xE4; an ANSI file keeps its
  // bytes. The name of the character set is read in any letter case.
  const struct {
    const char* name;
    std::string charsetLine;
    std::string expected;
  } cases[] = {
      {"OEM", Field("ZEICHENSATZ", "OEM"), "Gel\xE4nder"},
      {"no character set", "", "Gel\xE4nder"},
      {"ANSI", Field("ZEICHENSATZ", "ANSI"), "Gel\x84nder"},
      {"oem in lower case", Field("ZEICHENSATZ", "oem"), "Gel\xE4nder"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string text = Block(
        "GAEB", Block("GAEBINFO", c.charsetLine) +
                    Block("VERGABE",
                          Block("LV", Position("0010", "1", "m", Description("Gel\x84nder", "")))));
    ASSERT_TRUE(doc_.Import(dir_.Write("t.d83", text))) << doc_.LastError;
    EXPECT_EQ(doc_.Positions->Element(0)->Text("BEZ"), c.expected);
  }
}

TEST_F(ImportTest, ReimportReplacesTreeAndFileName) {
  ASSERT_TRUE(doc_.Import(dir_.Write("a.d83", Tender(Position("0010", "1", "m")))));
  ASSERT_TRUE(doc_.Import(
      dir_.Write("b.p83", Tender(Position("0020", "1", "m") + Position("0030", "1", "m")))));
  EXPECT_EQ(doc_.FileName(), "b.p83");
  ASSERT_NE(doc_.Positions, nullptr);
  EXPECT_EQ(doc_.Positions->Count(), 2);
  EXPECT_EQ(doc_.Positions->Element(0)->Text("OZ"), "0020");
}

TEST_F(ImportTest, CloseReaderForgetsFileNameAndError) {
  EXPECT_EQ(doc_.FileName(), "");
  EXPECT_FALSE(doc_.Import(dir_.Write("x.d83", "")));
  doc_.CloseReader();
  EXPECT_EQ(doc_.FileName(), "");
  EXPECT_TRUE(doc_.LastError.empty());
}

}  // namespace
