#include <gtest/gtest.h>

#include <pugixml.hpp>
#include <sstream>

#include "gaebxml/x83_reader.h"
#include "gaebxml/x84_writer.h"
#include "tests/gaebxml/x83_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/format_guard.h"
#include "tests/support/tender_files.h"
#include "tests/support/test_document.h"

namespace {

struct Refusal {
  const char* name;
  std::string bytes;
  std::string message;  // the whole message, Windows-1252
};

TEST(X83Refusal, EveryRefusalSaysWhatWasFound) {
  PrepareGaeb();
  const std::string category =
      CategoryXml("C1", "01", "Rohbau", ItemlistXml(ItemXml("I1", "0010", "1")));
  const Refusal cases[] = {
      {"empty file", "",
       "Die Datei ist keine g\xFCltige XML-Datei: kein Wurzelelement (Zeile 1, Spalte 1)."},
      {"unclosed element", "<?xml version=\"1.0\"?>\n<GAEB>\n  <Award>\n</GAEB>\n",
       "Die Datei ist keine g\xFCltige XML-Datei: End-Tag passt nicht zum offenen Element (Zeile "
       "4, "
       "Spalte 3)."},
      {"broken attribute", "<GAEB>\n<Award>\n<BoQ ID=B1>",
       "Die Datei ist keine g\xFCltige XML-Datei: fehlerhaftes Attribut (Zeile 3, Spalte 9)."},
      {"another XML format", "<?xml version=\"1.0\"?><html><body/></html>",
       "Die Datei ist eine XML-Datei, aber keine GAEB DA XML-Datei (Wurzelelement \"html\")."},
      {"GAEB of another namespace", X83Document(GaebInfoXml(), "urn:beispiel"),
       "Die Datei ist eine XML-Datei, aber keine GAEB DA XML-Datei (Wurzelelement \"GAEB\", "
       "Namensraum \"urn:beispiel\")."},
      {"version 2.1",
       X83Document(GaebInfoXml("2.1") + AwardXml(BoQXml(category)),
                   "http://www.gaeb.de/GAEB_DA_XML/DA83/2.1"),
       "Die Datei ist eine GAEB DA XML-Datei im Namensraum "
       "\"http://www.gaeb.de/GAEB_DA_XML/DA83/2.1\", den keine der gelesenen Versionen 3.0 bis "
       "3.3 hat."},
      {"phase 85 named by the namespace",
       X83Document(GaebInfoXml() + AwardXml(BoQXml(category)),
                   "http://www.gaeb.de/GAEB_DA_XML/DA85/3.3"),
       "Der Namensraum \"http://www.gaeb.de/GAEB_DA_XML/DA85/3.3\" der Datei nennt die "
       "Austauschphase 85 (Nebenangebot); eingelesen werden nur Angebotsaufforderungen "
       "(Austauschphase 83, X83) und Angebote "
       "(Austauschphase 84, X84)."},
      {"entity declared in the document type",
       "<?xml version=\"1.0\"?>\n<!DOCTYPE GAEB [<!ENTITY e \"Beton\">]>\n" +
           TenderX83(CategoryXml("C1", "01", "Titel &e;", "")).substr(39),
       "Zeile 10: die Datei verwendet die Entit\xE4t \"&e;\"; aufgel\xF6st werden nur &amp;, "
       "&lt;, &gt;, &quot;, &apos; und Zeichenreferenzen, keine selbst vereinbarten "
       "Entit\xE4ten."},
      {"undeclared entity in an attribute", TenderX83(CategoryXml("C1", "0&nbsp;1", "Titel", "")),
       "Zeile 9: die Datei verwendet die Entit\xE4t \"&nbsp;\"; aufgel\xF6st werden nur &amp;, "
       "&lt;, &gt;, &quot;, &apos; und Zeichenreferenzen, keine selbst vereinbarten "
       "Entit\xE4ten."},
      {"reference to no character",
       TenderX83(CategoryXml("C1", "01", "Titel\n\nmit &#0; darin", "")),
       "Die Datei ist keine g\xFCltige XML-Datei: die Zeichenreferenz \"&#0;\" nennt kein Zeichen "
       "(Zeile 11)."},
      {"reference to a surrogate", TenderX83(CategoryXml("C1", "01", "&#xD800;", "")),
       "Die Datei ist keine g\xFCltige XML-Datei: die Zeichenreferenz \"&#xD800;\" nennt kein "
       "Zeichen (Zeile 9)."},
      {"price submission in the namespace of a tender",
       X83Document(GaebInfoXml() + AwardXml(BoQXml(category), "84")),
       "Der Namensraum \"http://www.gaeb.de/GAEB_DA_XML/DA83/3.3\" der Datei nennt die "
       "Austauschphase 83, ihr Element DP aber die Austauschphase 84; die Datei wird nicht "
       "gelesen."},
      {"tender without quantities", X83Document(GaebInfoXml() + AwardXml(BoQXml(category), "81")),
       "Die Datei ist eine GAEB DA XML-Datei der Austauschphase 81 (Leistungsbeschreibung); "
       "eingelesen werden nur Angebotsaufforderungen (Austauschphase 83, X83) und Angebote "
       "(Austauschphase 84, X84)."},
      {"no award", X83Document(GaebInfoXml()),
       "Die GAEB DA XML-Datei enth\xE4lt keine Vergabe-Daten (Element \"Award\")."},
      {"no BoQ", X83Document(GaebInfoXml() + "<Award><DP>83</DP></Award>\n"),
       "Die GAEB DA XML-Datei enth\xE4lt kein Leistungsverzeichnis (Element \"BoQ\")."},
      {"quantity with a comma",
       TenderX83(CategoryXml(
           "C1", "01", "Rohbau",
           CategoryXml("C2", "02", "Mauerwerk", ItemlistXml(ItemXml("I1", "0010", "12,5"))))),
       "Zeile 14: <Qty> der Position 01020010 enth\xE4lt \"12,5\" statt einer Zahl."},
      {"quantity beyond every offer",
       TenderX83(ItemlistXml(ItemXml("I1", "0010", "1000000000000.000"))),
       "Zeile 10: <Qty> der Position 0010: '1000000000000.000' ist zu gro\xDF: Betr\xE4ge, Preise "
       "und Mengen m\xFCssen unter 1.000.000.000.000 bleiben."},
      {"unit price in words",
       TenderX83(ItemlistXml(ItemXml("I1", "0010", "1", "<UP>zehn Euro</UP>"))),
       "Zeile 10: <UP> der Position 0010 enth\xE4lt \"zehn Euro\" statt einer Zahl."},
  };
  for (const Refusal& c : cases) {
    SCOPED_TRACE(c.name);
    TestDocument doc;
    const X83Result result = ReadX83(c.bytes, doc);
    EXPECT_EQ(result.Root, nullptr);
    EXPECT_EQ(result.Error, c.message);
  }
}

TEST(X83Refusal, AreasNestedBeyondReasonAreRefused) {
  PrepareGaeb();
  std::string body = ItemlistXml(ItemXml("I1", "0010", "1"));
  for (int i = 0; i < 70; ++i) body = CategoryXml("C" + std::to_string(i), "01", "x", body);
  TestDocument doc;
  const X83Result result = ReadX83(TenderX83(body), doc);
  EXPECT_EQ(result.Root, nullptr);
  EXPECT_NE(result.Error.find("tiefer als 64 Ebenen"), std::string::npos) << result.Error;
}

TEST(X83Refusal, ATruncatedTenderNamesWhereItBreaksOff) {
  PrepareGaeb();
  const std::string whole = ReadFile(kOfficialX83);
  const std::string half = whole.substr(0, whole.size() / 2);
  const size_t lines = static_cast<size_t>(std::count(half.begin(), half.end(), '\n')) + 1;
  TestDocument doc;
  const X83Result result = ReadX83(half, doc);
  EXPECT_EQ(result.Root, nullptr);
  EXPECT_NE(result.Error.find("(Zeile " + std::to_string(lines) + ", Spalte"), std::string::npos)
      << result.Error;
}

struct Accepted {
  const char* name;
  std::string bytes;
};

TEST(X83Reading, NamespacesVersionsAndEncodingsOfTheFourVersions) {
  PrepareGaeb();
  const FormatGuard format(GermanFormatSettings());
  const std::string body =
      CategoryXml("C1", "01", "Rohbau", ItemlistXml(ItemXml("I1", "0010", "2.5")));
  const std::string prefixed =
      "<?xml version=\"1.0\"?><g:GAEB xmlns:g=\"" + kNamespace83 +
      "\"><g:GAEBInfo><g:Version>3.3</g:Version></g:GAEBInfo><g:Award><g:DP>83</g:DP><g:BoQ>"
      "<g:BoQBody><g:BoQCtgy RNoPart=\"01\"><g:BoQBody><g:Itemlist><g:Item RNoPart=\"0010\">"
      "<g:Qty>2.5</g:Qty></g:Item></g:Itemlist></g:BoQBody></g:BoQCtgy></g:BoQBody></g:BoQ>"
      "</g:Award></g:GAEB>";
  std::string utf16 = "\xFF\xFE";
  for (char c : TenderX83(body)) {
    utf16 += c;
    utf16 += '\0';
  }
  const Accepted cases[] = {
      {"3.3", TenderX83(body)},
      {"3.2", X83Document(GaebInfoXml("3.2") + AwardXml(BoQXml(body)),
                          "http://www.gaeb.de/GAEB_DA_XML/DA83/3.2")},
      {"3.1", X83Document(GaebInfoXml("3.1") + AwardXml(BoQXml(body)),
                          "http://www.gaeb.de/GAEB_DA_XML/DA83/3.1")},
      {"3.0 named by its namespace only",
       X83Document(AwardXml(BoQXml(body)), "http://www.gaeb.de/GAEB_DA_XML/200407")},
      {"phase named by the namespace only",
       X83Document(GaebInfoXml() + "<Award>" + BoQXml(body) + "</Award>")},
      {"namespace bound to a prefix", prefixed},
      {"UTF-16 with byte-order mark", utf16},
  };
  for (const Accepted& c : cases) {
    SCOPED_TRACE(c.name);
    TestDocument doc;
    const X83Result result = ReadX83(c.bytes, doc);
    ASSERT_TRUE(result.Root) << result.Error;
    const FlatLv flat = Flatten(*LvOf(*result.Root));
    ASSERT_EQ(flat.Positions.size(), 1u);
    EXPECT_EQ(flat.Positions[0]->Text("MENGE"), "2,5");
    EXPECT_EQ(result.Root->Child("VERGABE")->Text("DP"), "83");
  }
}

TEST(X83Reading, CharactersWindows1252LacksBecomeQuestionMarksAndAreCounted) {
  PrepareGaeb();
  // "Fläche ≤ 5 m² – Ω-Profil €" : ≤ and Ω are not in Windows-1252; –, ² and € are.
  const std::string label =
      "Fl\xC3\xA4"
      "che \xE2\x89\xA4 5 m\xC2\xB2 \xE2\x80\x93 \xCE\xA9-Profil \xE2\x82\xAC";
  TestDocument doc;
  const X83Result result = ReadX83(
      TenderX83(CategoryXml("C1", "01", label, ItemlistXml(ItemXml("I1", "0010", "1")))), doc);
  ASSERT_TRUE(result.Root) << result.Error;
  EXPECT_EQ(Flatten(*LvOf(*result.Root)).Areas[0]->Text("BEZ"),
            "Fl\xE4"
            "che ? 5 m\xB2 \x96 ?-Profil \x80");
  EXPECT_EQ(result.ReplacedCharacters, 2u);
}

// What cannot be taken over becomes "?", counted by kind; what a reference
// names is read as if written out.
TEST(X83Reading, ReferencesAreResolvedAndWhatCannotBeTakenOverIsCounted) {
  PrepareGaeb();
  struct Case {
    const char* name;
    std::string label;  // UTF-8 as in the file
    std::string bez;    // Windows-1252 as read
    size_t replaced, invalid, controls;
    const char* warning;
  };
  const Case cases[] = {
      {"predefined and character references", "a &amp; b &lt;c&gt; &#x20AC;&#228; &quot;&apos;",
       "a & b <c> \x80\xE4 \"'", 0, 0, 0, ""},
      {"a reference written out stays text", "&amp;e; &amp;#0;", "&e; &#0;", 0, 0, 0, ""},
      {"an ampersand that begins no reference", "M\xC3\xBCller & Co &x &;", "M\xFCller & Co &x &;",
       0, 0, 0, ""},
      {"control characters", "A&#7;B\x1B[2J&#x1b;C&#9;D", "A?B?[2J?C D", 0, 0, 3,
       "3 Steuerzeichen der Datei sind in XML nicht erlaubt; sie wurden durch \"?\" ersetzt."},
      {"bytes that are no UTF-8",
       "Fl\xE4"
       "che \xE2\x82 \xC3\xA4",
       "Fl?che ?? \xE4", 0, 3, 0,
       "3 Bytes der Datei sind kein g\xFCltiges UTF-8; sie wurden durch \"?\" ersetzt."},
      {"every kind at once", "\xCE\xA9 &#1; \xFF", "? ? ?", 1, 1, 1,
       "1 Zeichen der Datei gibt es im Zeichensatz Windows-1252 nicht, 1 Byte der Datei ist kein "
       "g\xFCltiges UTF-8 und 1 Steuerzeichen der Datei ist in XML nicht erlaubt; sie wurden durch "
       "\"?\" ersetzt."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDocument doc;
    const X83Result result = ReadX83(
        TenderX83(CategoryXml("C1", "01", c.label, ItemlistXml(ItemXml("I1", "0010", "1")))), doc);
    ASSERT_TRUE(result.Root) << result.Error;
    EXPECT_EQ(Flatten(*LvOf(*result.Root)).Areas[0]->Text("BEZ"), c.bez);
    EXPECT_EQ(result.ReplacedCharacters, c.replaced);
    EXPECT_EQ(result.InvalidBytes, c.invalid);
    EXPECT_EQ(result.ControlCharacters, c.controls);
    EXPECT_EQ(result.Warning, c.warning);
  }
}

// A file that declares Windows-1252 is read as such, not as broken UTF-8.
TEST(X83Reading, DeclaredWindows1252IsReadAsIt) {
  PrepareGaeb();
  std::string tender = TenderX83(CategoryXml("C1", "01",
                                             "Fl\xE4"
                                             "che \x80",
                                             ""));
  tender.replace(tender.find("UTF-8"), 5, "windows-1252");
  TestDocument doc;
  const X83Result result = ReadX83(tender, doc);
  ASSERT_TRUE(result.Root) << result.Error;
  EXPECT_EQ(Flatten(*LvOf(*result.Root)).Areas[0]->Text("BEZ"),
            "Fl\xE4"
            "che \x80");
  EXPECT_EQ(result.Warning, "");
}

// A control character in a number of the OZ is replaced in the OZ and in
// the number kept for the answer alike, and counted once.
TEST(X83Reading, ControlCharactersInNumbersAreCountedOnce) {
  PrepareGaeb();
  TestDocument doc;
  const X83Result result = ReadX83(TenderX83(ItemlistXml(ItemXml("I1", "00&#27;1", "1"))), doc);
  ASSERT_TRUE(result.Root) << result.Error;
  const KsGAEBObj& position = *Flatten(*LvOf(*result.Root)).Positions[0];
  EXPECT_EQ(position.Text("OZ"), "    00?1");
  EXPECT_EQ(position.Text("_TARVO_XML_RNOPART"), "00?1");
  EXPECT_EQ(result.ControlCharacters, 1u);
}

// The namespace decides the version a tender is read and answered in; a
// Version element that says otherwise is named in the warning.
TEST(X83Reading, TheNamespaceDecidesTheVersionOfTheAnswer) {
  PrepareGaeb();
  const std::string body = ItemlistXml(ItemXml("I1", "0010", "1"));
  struct Case {
    const char* ns;  // after the common prefix
    const char* version;
    const char* read;
    const char* answer;  // namespace of the X84, after the prefix
    const char* warning;
  };
  const Case cases[] = {
      {"DA83/3.3", "3.3", "3.3", "DA84/3.3", ""},
      {"DA83/3.2", "3.2", "3.2", "DA84/3.2", ""},
      {"DA83/3.1", "", "3.1", "DA84/3.1", ""},
      {"200407", "3.0", "3.0", "200407", ""},
      {"DA83/3.3", "3.1", "3.3", "DA84/3.3",
       "Die Datei nennt im Element Version \"3.1\", ihr Namensraum aber die Version 3.3; sie "
       "wird als Version 3.3 gelesen und beantwortet."},
      {"200407", "3.3", "3.0", "200407",
       "Die Datei nennt im Element Version \"3.3\", ihr Namensraum aber die Version 3.0; sie "
       "wird als Version 3.0 gelesen und beantwortet."},
  };
  const std::string prefix = "http://www.gaeb.de/GAEB_DA_XML/";
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ns) + " " + c.version);
    const std::string info = *c.version ? GaebInfoXml(c.version) : std::string();
    TestDocument doc;
    const X83Result result =
        ReadX83(X83Document(info + AwardXml(BoQXml(body)), prefix + c.ns), doc);
    ASSERT_TRUE(result.Root) << result.Error;
    EXPECT_EQ(result.Origin.Version, c.read);
    EXPECT_EQ(result.Root->Child("GAEBINFO")->Text("VERSION"), c.read);
    EXPECT_EQ(result.Warning, c.warning);
    std::ostringstream out;
    WriteX84(out, *result.Root, result.Origin, {"2025-06-02", "14:05:00"});
    pugi::xml_document x84;
    ASSERT_TRUE(x84.load_string(out.str().c_str()));
    EXPECT_EQ(x84.document_element().attribute("xmlns").value(), prefix + c.answer);
    EXPECT_STREQ(x84.document_element().child("GAEBInfo").child_value("Version"), c.read);
  }
}

TEST(X83Reading, TypesFlagsAndPricesOfItems) {
  PrepareGaeb();
  const FormatGuard format(GermanFormatSettings());
  struct Case {
    const char* more;
    const char* type;
    const char* member;
    const char* value;
  };
  const Case cases[] = {
      {"", "N", "BEDARF", ""},
      {"<Provis>WithTotal</Provis>", "B", "BEDARF", "M"},
      {"<Provis>WithoutTotal</Provis>", "AB", "BEDARF", "E"},
      {"<ALNGroupNo>2</ALNGroupNo><ALNSerNo>0</ALNSerNo>", "N", "ZZGRUPPENR", "2"},
      {"<ALNGroupNo>2</ALNGroupNo><ALNSerNo>1</ALNSerNo>", "A", "ZZLFDNR", "1"},
      {"<ALNSerNo>1</ALNSerNo><Provis>WithoutTotal</Provis>", "AB", "ZZLFDNR", "1"},
      {"<UPBkdn>Yes</UPBkdn>", "N", "EPAUFGL", "J"},
      {"<NotAppl>Yes</NotAppl>", "N", "ENTF", "J"},
      {"<HourIt>Yes</HourIt>", "N", "STPOS", "J"},
      {"<UP>12.3456</UP>", "N", "EP", "12,346"},  // at the field's 3 decimals
      {"<UPComp2>-0.5</UPComp2>", "N", "EPANTEIL2", "-0,5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.more);
    TestDocument doc;
    const X83Result result =
        ReadX83(TenderX83(ItemlistXml(ItemXml("I1", "0010", "3", c.more))), doc);
    ASSERT_TRUE(result.Root) << result.Error;
    const KsGAEBObj& position = *Flatten(*LvOf(*result.Root)).Positions[0];
    EXPECT_EQ(position.Text("OZ"), "    0010");  // no areas: both levels blank
    EXPECT_EQ(position.Text("_TARVO_POSTYP"), c.type);
    EXPECT_EQ(position.Text(c.member), c.value);
  }
}

TEST(X83Reading, NumbersArePaddedToTheBreakdown) {
  PrepareGaeb();
  // The second area holds an item one level above the deepest: the unused
  // level stays blank in its OZ, as in a GAEB 2000 file of the same mask.
  const std::string body =
      CategoryXml(
          "C1", "1", "Los",
          CategoryXml("C2", "2", "Titel",
                      ItemlistXml(ItemXml("I1", "10", "1") + ItemXml("I2", "20", "1", "")))) +
      CategoryXml("C3", "2", "Los", ItemlistXml(ItemXml("I3", "30", "1")));
  TestDocument doc;
  const X83Result result = ReadX83(TenderX83(body), doc);
  ASSERT_TRUE(result.Root) << result.Error;
  const FlatLv flat = Flatten(*LvOf(*result.Root));
  EXPECT_EQ(flat.Areas[1]->Text("OZ"), " 1 2");
  EXPECT_EQ(flat.Positions[0]->Text("OZ"), " 1 2  10");
  EXPECT_EQ(flat.Areas[2]->Text("OZ"), " 2");
  EXPECT_EQ(flat.Positions[2]->Text("OZ"), " 2    30");
}

}  // namespace
