#include <gtest/gtest.h>

#include "gaeb/gaeb_texts.h"
#include "gaebxml/x83_reader.h"
#include "gaebxml/xml_identity.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/format_guard.h"
#include "tests/support/tender_files.h"
#include "tests/support/test_document.h"

namespace {

// The official test tender, read once per test in the German number format.
class OfficialX83 : public ::testing::Test {
 protected:
  void SetUp() override {
    PrepareGaeb();
    result_ = ReadX83File(kOfficialX83, doc_);
    ASSERT_TRUE(result_.Root) << result_.Error;
    lv_ = LvOf(*result_.Root);
    ASSERT_NE(lv_, nullptr);
    flat_ = Flatten(*lv_);
  }
  const KsGAEBObj& Info(const char* member) const { return *result_.Root->Child(member); }

  FormatGuard format_{GermanFormatSettings()};
  TestDocument doc_;
  X83Result result_;
  KsGAEBObj* lv_ = nullptr;
  FlatLv flat_;
};

struct AreaRow {
  const char* oz;
  const char* bez;
  int positions;
};

TEST_F(OfficialX83, EveryAreaWithItsFullNumberAndLabel) {
  const AreaRow expected[] = {
      {"001", "Bauhauptgewerke", 0},
      {"001001", "Baustelleneinrichtung", 3},
      {"001002", "Erdarbeiten", 5},
      {"001003", "Maurerarbeiten", 4},
      {"001004", "Betonarbeiten", 3},
      {"002", "Baunebengewerke", 0},
      {"002000", "Baunebengewerk Titel 0", 1},
      {"002001", "Elektroarbeiten", 3},
      {"002002", "Maler- und Fensterarbeiten", 4},
      {"002003", "Heizung", 1},
      {"999", "Stundenlohnarbeiten", 0},
      {"999999", "Stundenlohnarbeiten auf Nachweis", 3},
  };
  ASSERT_EQ(flat_.Areas.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].oz);
    const KsGAEBObj& area = *flat_.Areas[i];
    EXPECT_EQ(area.Text("OZ"), expected[i].oz);
    EXPECT_EQ(area.Text("BEZ"), expected[i].bez);
    EXPECT_EQ(ListCount(area, "POSITION"), expected[i].positions);
  }
  EXPECT_EQ(ListCount(*lv_, "LVBEREICH"), 3);
  EXPECT_EQ(CountItems(*lv_), 12 + 27);
}

struct ItemRow {
  const char* oz;
  const char* menge;  // as the German number format holds it
  const char* me;
  const char* type;
  const char* shortText;
};

TEST_F(OfficialX83, EveryItemWithQuantityUnitShortTextAndType) {
  const ItemRow expected[] = {
      {"0010010010", "1", "psch", "N", "Baustelleneinrichtung einrichten, vorhalten, r\xE4umen"},
      {"00100100101", "1", "Psch", "B", "Betreiben der Wasserhaltungsanlage"},
      {"0010010010A", "1", "PSCH", "B",
       "Betreiben der Wasserhaltungsanlage mit \xDC"
       "berwachung"},
      {"0010020010", "450", "m3", "N", "Boden f\xFCr Baugrube, BK 3"},
      {"0010020020", "7200", "m3", "N",
       "Boden Graben Kanal Tiefe bis 1,45 m l\xF6sen, lagern Bodenklasse 3"},
      {"0010020030", "12345678,012", "m2", "N",
       "Oberboden abtragen, lagern d= 30 cm Bodengruppe 4"},
      {"0010020040", "1245", "m2", "N", "Betonpflaster L/B 100/100 mm H 80 mm  grau"},
      {"0010020050", "1245", "m2", "A", "Betonpflaster L/B 100/100 mm H 80 mm  in BVBS-blau"},
      {"0010030010", "440", "m2", "N", "Kalksandstein-Innenwand KS-R SFK 20 RDK 1,8 D 11,5cm"},
      {"0010030020", "350", "m2", "N", "Kalksandstein-Innenwand KS-R SFK 20 RDK 1,8 D 17,5cm"},
      {"0010030030", "750", "m3", "N",
       "Au\xDF"
       "enwand Porenbeton-Planelement SFK 4 D 36,5cm 0,15W/(mK)"},
      {"0010030040", "783,03", "m3", "N",
       "Au\xDF"
       "enwand VHLz SFK 28 RDK 1,6 D 36,5cm"},
      {"0010040010", "500", "m2", "N", "Schalung Deckenplatte GF-Schalungsplatten H 2-3m"},
      {"0010040020", "500", "m2", "N", "Ortbeton Deckenplatte Stahlbeton C20/25 D 20cm"},
      {"0010040030", "267", "m3", "N",
       "Ortbeton Au\xDF"
       "enwand D 24cm Stahlbeton C35/45"},
      {"0020000000", "1", "Stck", "N", "Baunebengewerk Position 0"},
      {"0020010010", "450000", "m", "N", "Kabel 0.6/1 kV einziehen NYY 3x1.5"},
      {"0020010020", "200000", "m", "N", "Kabel 0.6/1 kV einziehen NYY 4x1.5"},
      {"0020010040", "100", "Stck", "N",
       "Hohlliegenden Putz abschlagen, mit Putz MG PI c beiarbeiten. Die Arbeiten sind wie folgt "
       "durchzuf\xFChren: Hohlliegenden Putz abschlagen, defekte Fugen auskratzen, einen "
       "tragf\xE4higen Unter- grund herstellen. Angefallenen Schutt entsorgen."},
      {"0020020010", "5", "Stck", "N", "Kunststoffkippfenster mit Doppel-Verglasung 1000 x 800 mm"},
      {"0020020020", "8", "Stck", "N", "Fensterarbeiten (Texterg\xE4nzungen des Bieters)"},
      {"0020020030", "3", "Stck", "N", "Kunststoffkippfenster mit Doppel-Verglasung 800 x 600 mm"},
      {"0020020050", "100", "m2", "N",
       "Hohlliegenden Putz abschlagen, mit Putz MG PI c beiarbeiten"},
      {"0020030010", "1", "Stck", "N",
       "Gas-Kombi-Wasserheizer Wassererw\xE4rmer bis 5kW bis 5l bis 85l"},
      {"9999999999", "1", "Std", "N", "Ingenieurstunde"},
      {"9999999999y", "10", "Std", "N", "Meisterstunden"},
      {"9999999999z", "10", "Std", "N", "Helferstunden"},
  };
  ASSERT_EQ(flat_.Positions.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].oz);
    const KsGAEBObj& position = *flat_.Positions[i];
    EXPECT_EQ(position.Text("OZ"), expected[i].oz);
    EXPECT_EQ(position.Text("MENGE"), expected[i].menge);
    EXPECT_EQ(position.Text("ME"), expected[i].me);
    EXPECT_EQ(position.Text("_TARVO_POSTYP"), expected[i].type);
    EXPECT_EQ(position.Text("BEZ"), expected[i].shortText);
    EXPECT_EQ(DescriptionText(position, "KURZTEXT"), expected[i].shortText);
  }
}

TEST_F(OfficialX83, TheFrameAroundTheBillOfQuantities) {
  EXPECT_EQ(Info("GAEBINFO").Text("VERSION"), "3.3");
  EXPECT_EQ(Info("GAEBINFO").Text("VERSJAHR"), "2021");
  EXPECT_EQ(Info("GAEBINFO").Text("VERSMON"), "5");
  EXPECT_EQ(Info("GAEBINFO").Text("DATUM"), "04.04.2024");
  EXPECT_EQ(Info("GAEBINFO").Text("PROGNAME"), "BVBS");
  EXPECT_EQ(Info("PRJINFO").Text("NAME"), "BVBS GAEB Muster");
  EXPECT_EQ(Info("PRJINFO").Text("BEZ"), "BVBS GAEB Musterdatei 3.3");
  EXPECT_EQ(Info("PRJINFO").Text("WAE"), "EUR");
  const KsGAEBObj& vergabe = Info("VERGABE");
  EXPECT_EQ(vergabe.Text("DP"), "83");
  EXPECT_EQ(vergabe.Child("VERGABEINFO")->Text("WAE"), "EUR");
  EXPECT_EQ(vergabe.Child("VERGABEINFO")->Text("ERDATUM"), "04.04.2024");
  EXPECT_EQ(vergabe.Child("VERGABEINFO")->Text("ERUHRZEIT"), "11:11:00");
  EXPECT_EQ(vergabe.Child("AG")->Text("DVNR"), "A-2021-10");
  EXPECT_EQ(vergabe.Child("AG")->Text("VERGNR"), "BVBS-4711");
  EXPECT_EQ(vergabe.Child("AN"), nullptr) << "the tender names no bidder";
  ASSERT_EQ(ListCount(vergabe, "ZUSTEXT"), 1);
  const std::string addText = vergabe.ChildList("ZUSTEXT")->Element(0)->Text("TEXT");
  EXPECT_EQ(addText.rfind("F\xFCr die Zertifizierung von GAEB DA XML Schnittstellen hat der BVBS "
                          "Pr\xFC"
                          "fkriterien\r\nherausgegeben.\r\n\r\n\r\nVersion",
                          0),
            0u)
      << addText;
  const KsGAEBObj& lvInfo = *lv_->Child("LVINFO");
  EXPECT_EQ(lvInfo.Text("NAME"), "BVBS GAEB Bauausf.");
  EXPECT_EQ(lvInfo.Text("BEZ"), "BVBS GAEB Musterdatei Bauausf\xFChrung");
  EXPECT_EQ(OZMask(lvInfo.ChildList("LVGLIED")), "111222PPPPX");
  EXPECT_EQ(lvInfo.Text("ANZEPANTEILE"), "4");
  EXPECT_EQ(lvInfo.Text("BEZEPANTEIL1"), "Lohn");
  EXPECT_EQ(lvInfo.Text("BEZEPANTEIL3"), "Ger\xE4t");
  EXPECT_EQ(lvInfo.Text("BEZZEIT"), "Std");
  ASSERT_EQ(result_.Origin.Breakdown.size(), 4u);
  EXPECT_EQ(result_.Origin.Breakdown[3].Type, "Index");
  EXPECT_EQ(result_.Origin.Breakdown[3].Alignment, "left");
  EXPECT_EQ(result_.Origin.Namespace, "http://www.gaeb.de/GAEB_DA_XML/DA83/3.3");
  EXPECT_EQ(result_.ReplacedCharacters, 0u);
}

TEST_F(OfficialX83, IdentitiesAreKeptForTheAnswer) {
  EXPECT_EQ(lv_->Text(kXmlIdMember), "ID0F921988");
  EXPECT_EQ(flat_.Areas[1]->Text(kXmlIdMember), "ID0F6C7A30");
  EXPECT_EQ(flat_.Areas[1]->Text(kXmlRNoPartMember), "001");
  const KsGAEBObj& indexed = *flat_.Positions[2];
  EXPECT_EQ(indexed.Text(kXmlIdMember), "ID0F9E5AE8");
  EXPECT_EQ(indexed.Text(kXmlRNoPartMember), "0010");
  EXPECT_EQ(indexed.Text(kXmlRNoIndexMember), "A");
  EXPECT_EQ(flat_.Positions[0]->Text(kXmlRNoIndexMember), "");
}

TEST_F(OfficialX83, NotesMarkupsAndTexts) {
  ASSERT_EQ(ListCount(*lv_, "HINWEIS"), 1);
  const KsGAEBObj& note = *lv_->ChildList("HINWEIS")->Element(0);
  EXPECT_EQ(note.Text(kXmlIdMember), "ID0F6780C0");
  // Its detail text is a single blank, so the outline stands in for it.
  EXPECT_EQ(DescriptionText(note, "LANGTEXT"),
            "Hinweistext\r\nHinweistext f\xFCr die Pr\xFC"
            "fkriterien GAEB DA XML 3.3 - "
            "Bauausf\xFChrung");
  const KsGAEBObj& electrical = *flat_.Areas[7];
  EXPECT_EQ(ListCount(electrical, "HINWEIS"), 1);
  ASSERT_EQ(ListCount(electrical, "ZUSCHLPOSITION"), 1);
  const KsGAEBObj& markup = *electrical.ChildList("ZUSCHLPOSITION")->Element(0);
  EXPECT_EQ(markup.Text("OZ"), "0020010030");
  EXPECT_EQ(markup.Text(kXmlIdMember), "ID0F903EC0");
  EXPECT_EQ(DescriptionText(markup, "KURZTEXT"), "Zuschlag auf die vorgenannten Kabelarbeiten");
  EXPECT_EQ(ListCount(*flat_.Areas[11], "HINWEIS"), 2);

  // Paragraphs and line breaks become lines; an empty paragraph an empty line.
  EXPECT_EQ(
      LongText(*flat_.Positions[0]),
      "Baustelleneinrichtung f\xFCr s\xE4mtliche, in der Leistungsbeschreibung aufgef\xFChrten "
      "Leistungen einrichten, vorhalten und r\xE4umen, Vorhaltedauer 12 Wochen, Ger\xFCste mit "
      "mehr als 2 m Arbeitsb\xFChnenh\xF6he \xFC"
      "ber Fu\xDF"
      "boden oder Gel\xE4nde werden "
      "bauseits gestellt.\r\n\r\nNormalposition");
  EXPECT_EQ(LongText(*flat_.Positions[18]),
            "Untergrund vorn\xE4ssen und mit Putz der\r\nMG PI c fachgerecht beiputzen und der\r\n"
            "umgebenden Struktur anpassen.");
  // Text complements of the bidder stand where they belong.
  const std::string complements = LongText(*flat_.Positions[20]);
  EXPECT_NE(complements.find("einer\r\n\r\nBreite von ........... cm.\r\nund einer\r\n"
                             "H\xF6he von  ........... cm."),
            std::string::npos)
      << complements;
  EXPECT_EQ(flat_.Positions[20]->Child("BESCHREIBUNG")->Text("LANGTEXTTB"), "J");
  // Sub-descriptions of a collective position.
  const KsGAEBObj& heater = *flat_.Positions[23];
  ASSERT_EQ(ListCount(heater, "UNTERBESCHR"), 2);
  const KsGAEBObj& sub = *heater.ChildList("UNTERBESCHR")->Element(0);
  EXPECT_EQ(sub.Text("UBNR"), "1");
  EXPECT_EQ(sub.Text("MENGE"), "2");
  EXPECT_EQ(sub.Text("ME"), "Stck");
  EXPECT_EQ(DescriptionText(sub, "KURZTEXT"),
            "Heizger\xE4t f\xFCr raumluftunabh\xE4ngigen Betrieb");
}

TEST_F(OfficialX83, AlternativeAndContingencyNumbersAreCarried) {
  EXPECT_EQ(flat_.Positions[6]->Text("ZZGRUPPENR"), "1");
  EXPECT_EQ(flat_.Positions[6]->Text("ZZLFDNR"), "0");
  EXPECT_EQ(flat_.Positions[7]->Text("ZZLFDNR"), "1");
  EXPECT_EQ(flat_.Positions[1]->Text("BEDARF"), "M");
  // No item asks for its unit price in components, although the BoQ names them.
  for (const KsGAEBObj* position : flat_.Positions) EXPECT_EQ(position->Text("EPAUFGL"), "");
}

TEST_F(OfficialX83, ProgressIsReportedPerAreaAndItem) { EXPECT_EQ(doc_.Count(3), 12 + 27 + 1); }

}  // namespace
