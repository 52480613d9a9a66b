#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"

namespace {

// Two positions of 1.234.600,00 together: 1000 m at 1.000,00 and 200 m at 1.173,00.
const std::string kFirst =
    Position("0010", "1000", "m", Field("EP", "1000,00") + Description("Beton", "Lang 1"));
const std::string kSecond =
    Position("0020", "200", "m", Field("EP", "1173,00") + Description("Stahl", "Lang 2"));

std::string TwoPositions() { return Tender(Area("01", "Rohbau", kFirst + kSecond)); }

std::string ReplaceFirst(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

std::string ReplaceAllCrLf(std::string text) {
  for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at + 1, 1);
  return text;
}

// Line of the first (or the last) occurrence of `piece`.
int LineOf(const std::string& text, const std::string& piece, bool last = false) {
  const size_t at = last ? text.rfind(piece) : text.find(piece);
  EXPECT_NE(at, std::string::npos) << piece;
  return 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
}

class DamagedTender : public DocumentTest {
 protected:
  // The offer as it stands: every position's OZ, EP and short text, and the sum.
  std::string Offer() {
    std::string text;
    const KsGAEBObjList* areas = doc_.LvAreas;
    for (int a = 0; areas && a < areas->Count(); ++a) {
      const KsGAEBObjList* positions = areas->Element(a)->ChildList("POSITION");
      for (int p = 0; positions && p < positions->Count(); ++p) {
        const KsGAEBObj& pos = *positions->Element(p);
        text += pos.Text("OZ") + " " + pos.Text("EP") + " " + pos.Text("BEZ") + "|";
      }
    }
    return text + doc_.LvInfo->Text("SUMME");
  }
  std::string Path() const { return dir_.Path("lv.d83"); }
};

const char kWhole[] = "0010 1000 Beton|0020 1173 Stahl|1234600";

// A CR without its LF ends the line it stands in: the reader once read the
// rest of such a line as one begin line and lost everything behind it.
TEST_F(DamagedTender, AStrayCrEndsItsLine) {
  const std::string whole = TwoPositions();
  ASSERT_TRUE(Load(whole));
  ASSERT_EQ(Offer(), kWhole);
  int lines = 0;
  for (size_t at = whole.find("\r\n"); at != std::string::npos; at = whole.find("\r\n", at + 1)) {
    std::string damaged = whole;
    damaged.erase(at + 1, 1);
    ASSERT_TRUE(Load(damaged)) << "line " << lines + 1;
    EXPECT_EQ(Offer(), kWhole) << "line " << lines + 1;
    ++lines;
  }
  EXPECT_GT(lines, 40);
  // Inside a text the CR becomes a line break of the text; inside a number
  // the number is refused with its line.
  ASSERT_TRUE(Load(ReplaceFirst(whole, "[KURZTEXT]Beton", "[KURZTEXT]Be\rton")));
  EXPECT_EQ(Offer(), "0010 1000 Be\r\nton|0020 1173 Stahl|1234600");
  const std::string number = ReplaceFirst(whole, "[EP]1000,00", "[EP]1000\r,00");
  EXPECT_FALSE(Load(number));
  EXPECT_EQ(doc_.LastError.rfind("Zeile " + std::to_string(LineOf(number, "[EP]1000")) + ",", 0),
            0u)
      << doc_.LastError;
}

struct Refusal {
  const char* name;
  std::string content;
  std::string message;  // "@" stands for the file's path
};

std::string WithPath(std::string message, const std::string& path) {
  for (size_t at; (at = message.find('@')) != std::string::npos;) message.replace(at, 1, path);
  return message;
}

TEST_F(DamagedTender, LinesThatCannotBeWhatTheySeemAreRefusedWithTheirLine) {
  const std::string whole = TwoPositions();
  const int firstEnd = LineOf(whole, "#end[POSITION]");
  const int secondBegin = firstEnd + 1;
  const std::string extraEnd =
      ReplaceFirst(whole, "#end[POSITION]\r\n", "#end[POSITION]\r\n#end[POSITION]\r\n");
  const std::string twoFields = ReplaceFirst(whole, "[MENGE]1000[end]\r\n", "[MENGE]1000[end]");
  const std::string noValueEnd = ReplaceFirst(whole, "[LANGTEXT]Lang 1[end]", "[LANGTEXT]Lang 1");
  const std::string nul = ReplaceFirst(whole, "[OZ]0020",
                                       std::string("[OZ]00\0"
                                                   "20",
                                                   9));
  const std::string markerOutside =
      ReplaceFirst(whole, "#begin[BESCHREIBUNG]", "x #begin[BESCHREIBUNG]");
  const Refusal cases[] = {
      {"extra end line", extraEnd,
       "Zeile " + std::to_string(firstEnd + 1) +
           " der Datei @: #end[POSITION] schlie\xDFt nicht den Block LVBEREICH aus Zeile " +
           std::to_string(LineOf(whole, "#begin[LVBEREICH]")) + "."},
      {"end line of another block", ReplaceFirst(whole, "#end[BESCHREIBUNG]", "#end[LV]"),
       "Zeile " + std::to_string(LineOf(whole, "#end[BESCHREIBUNG]")) +
           " der Datei @: #end[LV] schlie\xDFt nicht den Block BESCHREIBUNG aus Zeile " +
           std::to_string(LineOf(whole, "#begin[BESCHREIBUNG]")) + "."},
      {"two fields on a line", twoFields,
       "Zeile " + std::to_string(LineOf(whole, "[MENGE]1000")) +
           " der Datei @: Nach [MENGE] folgt auf derselben Zeile noch \"[ME]m[end]\"; eine Zeile "
           "tr\xE4gt nur ein Feld oder eine Blockzeile."},
      // The value runs on to the next "[end]", the OZ of the second position:
      // the blocks it swallowed leave BESCHREIBUNG open.
      {"a value without its end swallows a block", noValueEnd,
       "Zeile " + std::to_string(LineOf(whole, "#end[POSITION]", true)) +
           " der Datei @: #end[POSITION] schlie\xDFt nicht den Block BESCHREIBUNG aus Zeile " +
           std::to_string(LineOf(whole, "#begin[BESCHREIBUNG]")) + "."},
      {"marker behind text", markerOutside,
       "Zeile " + std::to_string(LineOf(whole, "#begin[BESCHREIBUNG]")) +
           " der Datei @: \"x #begin[BESCHREIBUNG]\" ist weder eine Blockzeile noch ein Feld."},
      {"NUL byte in an OZ", nul,
       "Zeile " + std::to_string(secondBegin + 1) +
           " der Datei @: Die Zeile enth\xE4lt ein Nullzeichen (Byte 0); eine GAEB 2000 Datei "
           "enth\xE4lt keines."},
      {"content after the root", whole + "#end[GAEB]\r\n",
       "Zeile " + std::to_string(LineOf(whole + "x", "x")) +
           " der Datei @: Nach dem Ende des Blocks GAEB in Zeile " +
           std::to_string(LineOf(whole + "x", "x") - 1) + " folgt noch \"#end[GAEB]\"."},
      {"offer", ReplaceFirst(whole, "[DP]83", "[DP]84"),
       "Die Datei ist eine GAEB 2000 Datei der Austauschphase 84 (Angebotsabgabe); eingelesen "
       "werden nur Angebotsaufforderungen (Austauschphase 83, D83 oder P83) und die eigenen "
       "Angebote dieses Programms."},
      {"bill of quantities", ReplaceFirst(whole, "[DP]83", "[DP]81"),
       "Die Datei ist eine GAEB 2000 Datei der Austauschphase 81 (Leistungsbeschreibung); "
       "eingelesen werden nur Angebotsaufforderungen (Austauschphase 83, D83 oder P83) und die "
       "eigenen Angebote dieses Programms."},
      {"character set not read", ReplaceFirst(whole, "[ZEICHENSATZ]ANSI", "[ZEICHENSATZ]EBCDIC"),
       "Zeile " + std::to_string(LineOf(whole, "[ZEICHENSATZ]")) +
           " der Datei @: Den Zeichensatz \"EBCDIC\" kann das Programm nicht lesen; gelesen "
           "werden ANSI (Windows-1252), OEM (Codepage 850) und UTF-8."},
      {"CR-only line ends", ReplaceAllCrLf(whole),
       "Die Datei @ hat als Zeilenenden nur CR (Wagenr\xFC"
       "cklauf); eine GAEB 2000 Datei hat die Zeilenenden CR LF."},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(Load(c.content));
    EXPECT_EQ(doc_.LastError, WithPath(c.message, Path()));
    EXPECT_FALSE(doc_.Loaded());
  }
}

// A marker inside a value is text of the value; nothing around it is lost.
TEST_F(DamagedTender, MarkersInsideAValueAreText) {
  const std::string whole = TwoPositions();
  for (const std::string& text :
       {std::string("A #begin[X] B"), std::string("A #end[POSITION] B"), std::string("## A")}) {
    SCOPED_TRACE(text);
    ASSERT_TRUE(Load(ReplaceFirst(whole, "[KURZTEXT]Beton", "[KURZTEXT]" + text)));
    EXPECT_EQ(Offer(), "0010 1000 " + text + "|0020 1173 Stahl|1234600");
  }
  ASSERT_TRUE(Load(ReplaceFirst(whole, "[LANGTEXT]Lang 1[end]",
                                "[LANGTEXT]Lang 1\r\nsiehe #end[POSITION]\r\nEnde[end]")));
  EXPECT_EQ(Offer(), kWhole);
  EXPECT_EQ(doc_.LvAreas->Element(0)
                ->ChildList("POSITION")
                ->Element(0)
                ->Child("BESCHREIBUNG")
                ->Text("LANGTEXT"),
            "Lang 1\r\nsiehe #end[POSITION]\r\nEnde");
}

// The character set is named in any letter case; UTF-8 is read as
// Windows-1252, what that lacks is counted in the warning.
TEST_F(DamagedTender, CharacterSetsAreConvertedOrRefused) {
  const struct {
    const char* declared;
    std::string shortText;
    std::string read;
    const char* warning;
  } cases[] = {
      {"UTF-8", "Gel\xC3\xA4nder \xE2\x82\xAC \xE2\x88\x9A", "Gel\xE4nder \x80 ?",
       "1 Zeichen der Datei gibt es im Zeichensatz Windows-1252 nicht; sie wurden durch \"?\" "
       "ersetzt."},
      {"utf8", "Gel\xC3\xA4nder", "Gel\xE4nder", ""},
      {"oem", "Gel\x84nder", "Gel\xE4nder", ""},
      {" OEM ", "Gel\x84nder", "Gel\xE4nder", ""},
      {"Ansi", "Gel\xE4nder", "Gel\xE4nder", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.declared);
    const std::string tender = ReplaceFirst(ReplaceFirst(TwoPositions(), "[ZEICHENSATZ]ANSI",
                                                         std::string("[ZEICHENSATZ]") + c.declared),
                                            "[KURZTEXT]Beton", "[KURZTEXT]" + c.shortText);
    ASSERT_TRUE(Load(tender));
    EXPECT_EQ(Offer(), "0010 1000 " + c.read + "|0020 1173 Stahl|1234600");
    EXPECT_EQ(doc_.ImportWarning, c.warning);
  }
}

}  // namespace
