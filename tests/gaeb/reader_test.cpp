#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_texts.h"
#include "tests/gaeb/reader_files.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"

namespace {

// Reads `body` (fields and blocks, up to an end line or the end of the file)
// as the body of a new element registered under `key`.
struct ReadElement {
  ReadElement(const std::string& key, const std::string& body)
      : file(body), reader(file.Path(), 1024) {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    reader.ConvertOem = false;
    doc.reader = &reader;
    element.reset(static_cast<KsGAEBObj*>(
        GaebClasses().CreateObj(key, nullptr, ImportParams(&doc), nullptr)));
    element->ReadBody();
  }
  std::string Text(const std::string& member) const { return element->Text(member); }

  TempFile file;
  KsFileReadGaeb00 reader;
  TestDocument doc;
  std::unique_ptr<KsGAEBObj> element;
};

class Reader : public ::testing::Test {
 protected:
  FormatGuard format_{GermanFormatSettings()};
};

TEST_F(Reader, FieldKeysMatchInAnyCaseAndValuesAreTrimmed) {
  for (const char* line : {"  [KURZTEXT]Mauerwerk[end]", "[kurztext] Mauerwerk [end]"}) {
    ReadElement read("GAEBBESCHREIBUNG", std::string(line) + "\r\n#end[BESCHREIBUNG]\r\n");
    EXPECT_EQ(read.Text("KURZTEXT"), "Mauerwerk") << line;
  }
}

struct ConvertCase {
  const char* key;
  const char* raw;
  const char* stored;
};

TEST_F(Reader, NumberFieldsAreStoredInTheGeneralFormat) {
  const std::vector<ConvertCase> german = {
      {"MENGE", "12.5", "12,5"},
      {"MENGE", "12,5", "12,5"},
      {"MENGE", "", "0"},
      {"MENGE", "1,000", "1"},
      {"MENGE", " -0,1 ", "-0,1"},
      {"MENGE", "1E3", "1000"},
      {"EP", "12.345", "12,345"},
      {"EP", "0,10", "0,1"},
      {"EP", "12,3456", "12,346"},
      {"EP", "1.234,5678", "1234,568"},
      {"MENGE", "1,234.5", "1234,5"},
      {"GB", "1.000,005", "1000,01"},
      {"MENGE", "999999999999,999", "999999999999,999"},
      {"BEDARF", "Eventual", "E"},
      {"ME", "Stck weise", "Stck"},
      {"ZZLFDNR", "x", "0"},
      {"ZZLFDNR", "", "0"},
      {"ZZLFDNR", " 12 ", "12"},
      {"ZZLFDNR", "99999999999", "0"},
      {"OZ", "  01.02 ", "01.02"},
      {"ME", "", ""},
  };
  for (const ConvertCase& c : german) {
    ReadElement read("GAEBPOSITION", std::string("[") + c.key + "]" + c.raw + "[end]\r\n");
    EXPECT_EQ(read.Text(c.key), c.stored) << c.key << " " << c.raw;
  }
  FormatGuard english(EnglishFormatSettings());
  for (const ConvertCase& c :
       std::vector<ConvertCase>{{"MENGE", "12,5", "12.5"}, {"MENGE", "12.5", "12.5"}}) {
    ReadElement read("GAEBPOSITION", std::string("[") + c.key + "]" + c.raw + "[end]\r\n");
    EXPECT_EQ(read.Text(c.key), c.stored) << c.key << " " << c.raw;
  }
}

TEST_F(Reader, TextThatIsNoNumberAbandonsTheRead) {
  const struct {
    const char* body;
    const char* message;
  } cases[] = {
      {"[OZ]1[end]\r\n[EP]1.2.3[end]\r\n",
       "Zeile 2, Feld EP: '1.2.3' ist kein g\xFCltiger Gleitkommawert."},
      {"[OZ]1[end]\r\n## [EP]x[end]\r\n  [ep] 12 EUR [end]\r\n",
       "Zeile 3, Feld ep: '12 EUR' ist kein g\xFCltiger Gleitkommawert."},
      {"[MENGE]\r\n  1,2,3[end]\r\n",
       "Zeile 1, Feld MENGE: '1,2,3' ist kein g\xFCltiger Gleitkommawert."},
      {"[EP]1e308[end]\r\n",
       "Zeile 1, Feld EP: '1e308' ist zu gro\xDF: Betr\xE4ge, Preise und Mengen m\xFCssen unter "
       "1.000.000.000.000 bleiben."},
      {"[MENGE]1.000.000.000.000,000[end]\r\n",
       "Zeile 1, Feld MENGE: '1.000.000.000.000,000' ist zu gro\xDF: Betr\xE4ge, Preise und Mengen "
       "m\xFCssen unter 1.000.000.000.000 bleiben."},
  };
  for (const auto& c : cases) {
    try {
      ReadElement("GAEBPOSITION", c.body);
      ADD_FAILURE() << c.body;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), c.message);
    }
  }
  EXPECT_THROW(ImportedFile("#begin[GAEB]\r\n#begin[VERGABE]\r\n#begin[LV]\r\n#begin[POSITION]\r\n"
                            "[MENGE]viel[end]\r\n"),
               std::runtime_error);
}

TEST_F(Reader, RepeatedKeysReplaceOrAddEntries) {
  ReadElement position("GAEBPOSITION", "[OZ]1[end]\r\n[OZ]2[end]\r\n");
  EXPECT_EQ(position.Text("OZ"), "2");
  ReadElement project("GAEBPRJINFO",
                      "[KOMMUNIKATION]Tel 1[end]\r\n[KOMMUNIKATION] Fax 2 [end]\r\n#end[PRJINFO]");
  const Variant& entries = project.element->Members.Find("KOMMUNIKATION")->Value;
  ASSERT_EQ(entries.Kind(), KsVarKind::StringList);
  EXPECT_EQ(entries.List(), (KsStringList{"Tel 1", "Fax 2"}));
}

TEST_F(Reader, UnknownElementsAreSkippedWithEverythingInside) {
  RecordingMessageBoxes boxes;
  ReadElement nested("GAEBPOSITION",
                     "#begin[XYZ]\r\n #begin[ABC]\r\n  [OZ]bad[end]\r\n #end[ABC]\r\n"
                     " [OZ]bad2[end]\r\n#end[xyz]\r\n[UNBEKANNT]x[end]\r\n[OZ]1[end]\r\n"
                     "#end[POSITION]17|5\r\n[OZ]after[end]\r\n");
  EXPECT_EQ(nested.Text("OZ"), "1");
  // Nesting is counted: an inner block of the same name does not end the skip.
  ReadElement same(
      "GAEBPOSITION",
      "#begin[XYZ]\r\n#begin[XYZ]\r\n#end[XYZ]\r\n[OZ]2[end]\r\n#end[XYZ]\r\n[OZ]3[end]\r\n");
  EXPECT_EQ(same.Text("OZ"), "3");
  // Inside a skipped block, too, every block ends with its own end line (the
  // file's name stands between the two parts of the message).
  const struct {
    const char* body;
    const char* begins;
    const char* ends;
  } refused[] = {
      {"#begin[XYZ]\r\n#begin[ABC]\r\n#end[XYZ]\r\n", "Zeile 3 der Datei ",
       ": #end[XYZ] schlie\xDFt nicht den Block ABC aus Zeile 2."},
      {"#begin[XYZ]\r\n[OZ]1[end]\r\n",
       "Die Datei endet in Zeile 2 mitten im Block XYZ; sie ist unvollst\xE4ndig.", ""},
  };
  for (const auto& c : refused) {
    try {
      ReadElement read("GAEBPOSITION", c.body);
      ADD_FAILURE() << c.body;
    } catch (const std::runtime_error& e) {
      const std::string what = e.what(), begins = c.begins, ends = c.ends;
      EXPECT_EQ(what.substr(0, begins.size()), begins);
      EXPECT_EQ(what.substr(what.size() - ends.size()), ends);
    }
  }
  ReadElement other("GAEBPOSITION", "[OZ]1[end]\r\n#end[LVBEREICH]\r\n[OZ]2[end]\r\n");
  EXPECT_EQ(other.Text("OZ"), "1");
  EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(Reader, BlocksWithoutAnElementOfTheirOwnAreSkipped) {
  ReadElement info("GAEBVERGABEINFO",
                   "[ART]1[end]\r\n#begin[NAINFO]\r\n[ART]9[end]\r\n#end[NAINFO]\r\n"
                   "[WAE]EUR[end]\r\n#end[VERGABEINFO]\r\n");
  EXPECT_EQ(info.Text("ART"), "1");
  EXPECT_EQ(info.Text("WAE"), "EUR");
  ReadElement stlb("GAEBSTLBBAU",
                   "#begin[STLBBAUKAT]\r\n[STLBBAUIDENT]inner[end]\r\n#end[STLBBAUKAT]\r\n"
                   "[STLBBAUIDENT]outer[end]\r\n#end[STLBBAU]\r\n");
  EXPECT_EQ(stlb.element->Members.Find("STLBBAUIDENT")->Value.List(), KsStringList{"outer"});
  EXPECT_EQ(stlb.element->Children.Count(), 0);
  ReadElement field("GAEBPOSITION",
                    "#begin[OZ]\r\n[OZ]bad[end]\r\n#end[OZ]\r\n[ME]m2[end]\r\n[OZ]1[end]\r\n");
  EXPECT_EQ(field.Text("OZ"), "1");
  EXPECT_EQ(field.Text("ME"), "m2");
  EXPECT_TRUE(info.doc.codes.empty());
}

TEST_F(Reader, ALaterSingleChildReplacesTheEarlierOne) {
  ReadElement lv("GAEBLV",
                 "[LVINFO]text[end]\r\n"
                 "#begin[LVINFO]\r\n[NAME]first[end]\r\n#end[LVINFO]\r\n"
                 "#begin[LVINFO]\r\n[NAME]second[end]\r\n#end[LVINFO]\r\n#end[LV]\r\n");
  const KsGAEBObj* info = lv.element->Child("LVINFO");
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->Text("NAME"), "second");
  EXPECT_EQ(lv.Text("LVINFO"), "GAEBLVINFO");
  EXPECT_EQ(lv.element->Children.Find("GAEBLVINFO"), info);
  EXPECT_EQ(lv.doc.Count(3), 2);
}

TEST_F(Reader, ListItemsAreReadInOrderAndReported) {
  ReadElement lv("GAEBLV",
                 "#begin[POSITION]\r\n[OZ]1[end]\r\n#end[POSITION]\r\n"
                 "#begin[LVBEREICH]\r\n[OZ]A[end]\r\n"
                 "#begin[POSITION]\r\n[OZ]A1[end]\r\n#end[POSITION]\r\n#end[LVBEREICH]\r\n"
                 "#begin[position]\r\n[oz]2[end]\r\n#end[position]\r\n#end[LV]\r\n");
  const KsGAEBObjList* positions = lv.element->ChildList("POSITION");
  ASSERT_EQ(positions->Count(), 2);
  EXPECT_EQ(positions->Element(0)->Text("OZ"), "1");
  EXPECT_EQ(positions->Element(1)->Text("OZ"), "2");
  const KsGAEBObj* area = lv.element->ChildList("LVBEREICH")->Element(0);
  EXPECT_EQ(area->ChildList("POSITION")->Element(0)->Text("OZ"), "A1");
  EXPECT_EQ(lv.doc.Count(3), 4);
}

struct TypeCase {
  const char* body;
  const char* type;
};

TEST_F(Reader, PositionsDeriveTheirTypeAndShortText) {
  const std::vector<TypeCase> cases = {
      {"[ZZLFDNR]1[end]\r\n[BEDARF]M[end]", "B"},
      {"[ZZLFDNR]1[end]\r\n[BEDARF]E[end]", "AB"},
      {"[ZZLFDNR]0[end]", "N"},
      {"", "N"},
      {"[ZZLFDNR]3[end]", "A"},
      {"[ZZLFDNR]-2[end]", "N"},
      {"[BEDARF]m[end]", "N"},
      {"[BEDARF]E[end]", "AB"},
  };
  for (const TypeCase& c : cases) {
    ReadElement read("GAEBPOSITION", std::string(c.body) + "\r\n#end[POSITION]\r\n");
    EXPECT_EQ(read.Text("_TARVO_POSTYP"), c.type) << c.body;
  }
  ReadElement shortText(
      "GAEBPOSITION", "#begin[BESCHREIBUNG]\r\n[KURZTEXT]  Beton  [end]\r\n#end[BESCHREIBUNG]\r\n");
  EXPECT_EQ(shortText.Text("BEZ"), "Beton");
  ReadElement longText("GAEBPOSITION", "#begin[BESCHREIBUNG]\r\n[LANGTEXT]" +
                                           std::string(300, 'a') +
                                           "[end]\r\n#end[BESCHREIBUNG]\r\n");
  EXPECT_EQ(longText.Text("BEZ"), std::string(252, 'a') + "...");
}

struct CharsetCase {
  const char* gaebInfo;
  bool oem;
};

std::string Tender(const std::string& gaebInfo, const std::string& name) {
  return "#begin[GAEB]\r\n #begin[GAEBINFO]\r\n" + gaebInfo + " #end[GAEBINFO]\r\n" +
         " #begin[PRJINFO]\r\n  [BEZ]" + name +
         "[end]\r\n #end[PRJINFO]\r\n"
         " #begin[Vergabe]\r\n  [DP]83[end]\r\n #end[Vergabe]\r\n#end[GAEB]\r\n";
}

TEST_F(Reader, TheCharacterSetFieldSwitchesOemConversion) {
  const std::vector<CharsetCase> cases = {
      {"  [ZEICHENSATZ]OEM[end]\r\n", true},
      {"  [ZEICHENSATZ]ANSI[end]\r\n", false},
      {"  [ZEICHENSATZ]oem[end]\r\n", true},
      {"  [ZEICHENSATZ] OEM[end]\r\n", true},
      {"  [Zeichensatz]OEM [end]\r\n", true},
      {"  [ZEICHENSATZ][end]\r\n", false},
      {"", true},
      {"  [ZEICHENSATZ]ANSI[end]\r\n  [zeichensatz]OEM[end]\r\n", true},
  };
  for (const CharsetCase& c : cases) {
    ImportedFile imported(Tender(c.gaebInfo, "M\x81ller"));
    EXPECT_TRUE(imported.foundVergabe) << c.gaebInfo;
    EXPECT_EQ(imported.reader.ConvertOem, c.oem) << c.gaebInfo;
    ASSERT_NE(imported.root, nullptr);
    EXPECT_EQ(imported.root->Child("PRJINFO")->Text("BEZ"), c.oem ? "M\xFCller" : "M\x81ller");
  }
}

TEST_F(Reader, ImportNeedsTheAwardBlockBeforeTheEndOfTheRoot) {
  EXPECT_FALSE(ImportedFile("#begin[GAEB]\r\n#end[GAEB]\r\n").foundVergabe);
  EXPECT_FALSE(ImportedFile("[VERGABE]x[end]\r\n").foundVergabe);
  ImportedFile noRoot("#begin[VERGABE]\r\n#end[VERGABE]\r\n");
  EXPECT_TRUE(noRoot.foundVergabe);
  EXPECT_EQ(noRoot.root, nullptr);
  // Scanned up to the award block, then read from the start.
  ImportedFile lf("#begin[GAEB]\n#begin[VERGABE]\n[DP]83[end]\n#end[VERGABE]\n#end[GAEB]\n");
  EXPECT_TRUE(lf.foundVergabe);
  ASSERT_NE(lf.root, nullptr);
  EXPECT_EQ(lf.root->Child("VERGABE")->Text("DP"), "83");
}

struct RealCase {
  const char* file;
  int positions;
  int areas;
  const char* firstOz;
  const char* firstMenge;
};

void Walk(const KsGAEBObj& element, std::vector<const KsGAEBObj*>& positions, int& areas) {
  if (const KsGAEBObjList* list = element.ChildList("LVBEREICH")) {
    areas += list->Count();
    for (int i = 0; i < list->Count(); ++i) Walk(*list->Element(i), positions, areas);
  }
  if (const KsGAEBObjList* list = element.ChildList("POSITION"))
    for (int i = 0; i < list->Count(); ++i) positions.push_back(list->Element(i));
}

TEST_F(Reader, ReadsTheRealTenders) {
  const std::vector<RealCase> cases = {
      {"LV_Los01.P83", 13, 3, "010010", "1"},
      {"LV_Los02.P83", 121, 24, "01010010", "1"},
      {"1561-02_ROHBAUARBEITEN.P83", 69, 11, "1  10", "1"},
      {"1561-03_ZIMMERERARBEITEN.P83", 20, 3, "1  10", "33"},
  };
  for (const RealCase& c : cases) {
    ImportedFile imported = ImportedFile::FromPath(RealFile(c.file));
    EXPECT_TRUE(imported.foundVergabe) << c.file;
    EXPECT_FALSE(imported.reader.ConvertOem) << c.file;
    ASSERT_NE(imported.root, nullptr) << c.file;
    const KsGAEBObj* lv = imported.root->Child("VERGABE")->Child("LV");
    ASSERT_NE(lv, nullptr) << c.file;
    std::vector<const KsGAEBObj*> positions;
    int areas = 0;
    Walk(*lv, positions, areas);
    EXPECT_EQ(static_cast<int>(positions.size()), c.positions) << c.file;
    EXPECT_EQ(areas, c.areas) << c.file;
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions[0]->Text("OZ"), c.firstOz) << c.file;
    EXPECT_EQ(positions[0]->Text("MENGE"), c.firstMenge) << c.file;
  }
  ImportedFile los01 = ImportedFile::FromPath(RealFile("LV_Los01.P83"));
  const KsGAEBObj* third = los01.root->Child("VERGABE")
                               ->Child("LV")
                               ->ChildList("LVBEREICH")
                               ->Element(0)
                               ->ChildList("POSITION")
                               ->Element(2);
  EXPECT_EQ(third->Child("BESCHREIBUNG")->Text("LANGTEXT"),
            "Feststellen des Zustands der Wege- und Gel\xE4ndeoberfl\xE4"
            "chen im "
            "Untersuchungsgebiet vor Beginn und nach Ende der geoelektrischen Feldarbeiten.\r\n"
            "Anfertigen einer Niederschrift zur Vorlage beim AG.");
  EXPECT_EQ(third->Text("BEZ"), "Beweissicherung");
  EXPECT_EQ(third->Text("MENGE"), "1");
}

}  // namespace
