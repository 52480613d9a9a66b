#include "document/offer_report.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/document_fixture.h"
#include "tests/support/recording_text_device.h"
#include "util/strings.h"

namespace {

// Two nested areas with an absolute and a percentage discount, one position
// of each type (the alternative ones count in no sum), a position discount,
// a thousands separator and long texts of one and two lines.
std::string SmallTender() {
  const std::string earthworks = Area(
      "0102", "Erdarbeiten",
      Field("NACHLASSABS", "25") +
          Position("01020010", "10", "m3",
                   Field("EP", "12,5") + Description("Aushub", "Boden ausheben\r\nund abfahren")) +
          Position("01020020", "2", "St",
                   Field("EP", "50") + Field("BEDARF", "M") + Description("Rohr", "Rohr DN 100")) +
          Position(
              "01020030", "4", "m",
              Field("EP", "20") + Field("ZZLFDNR", "1") + Description("Rinne", "Rinne aus Beton")) +
          Position("01020040", "1", "psch",
                   Field("EP", "30") + Field("BEDARF", "E") + Field("NACHLASSPROZ", "10") +
                       Description("Stundenlohn", "Stundenlohnarbeiten")));
  return Tender(Area("01", "Rohbau",
                     Field("NACHLASSPROZ", "3") +
                         Block("HINWEIS", Description("", "Hinweis zum Rohbau")) + earthworks) +
                Area("02", "Ausbau",
                     Position("02010010", "1000", "m2",
                              Field("EP", "1,5") + Description("Estrich", "Zementestrich"))));
}

// What follows the bill of quantities: every area with its sum, discount
// and net, then the totals and the place for the signature. 0102: 125,00 +
// 100,00 (the alternatives count in no sum) = 225,00 less 25,00 = 200,00;
// 01: 200,00 less 3 % (6,00) = 194,00; 02: 1.000 x 1,50 = 1.500,00; net
// 1.694,00, 19 % VAT 321,86, gross 2.015,86.
const char kSummaryAndTotals[] =
    "Zusammenstellung\n"
    "____________________________________________________________________________________________"
    "________\n"
    "1122PPPPX    Text                                                  Summe      Nachlass       "
    "  Summe\n"
    "                                                                                       nach "
    "Nachlass\n"
    "____________________________________________________________________________________________"
    "________\n"
    "01           Rohbau                                               200,00         -6,00       "
    " 194,00\n"
    "0102           Erdarbeiten                                        225,00        -25,00       "
    " 200,00\n"
    "02           Ausbau                                             1.500,00                    "
    "1.500,00\n"
    "____________________________________________________________________________________________"
    "________\n"
    "\n"
    "Gesamtsumme :    1.694,00\n"
    "19,00% MWSt :      321,86\n"
    "Bruttosumme :    2.015,86\n"
    "\n"
    "\n"
    "________________________________________    ________________________________________\n"
    "Ort, Datum                                  Unterschrift, Stempel\n";

const char kWithoutLongTexts[] =
    "                                                                                             "
    "Seite 1\n"
    "Angebotsdruck kita\n"
    "\n"
    "Kopf 1\n"
    "Kopf 2\n"
    "Titel / Positionen\n"
    "\n"
    "______________________________________________________________________________________________"
    "______\n"
    "1122PPPPX    Text                                            Menge  EH         EP      NL     "
    " Summe\n"
    "______________________________________________________________________________________________"
    "______\n"
    "01           Rohbau\n"
    "0102         Erdarbeiten\n"
    "01020010  N  Aushub\n"
    "                                                            10,000  m3     12,500             "
    "125,00\n"
    "01020020  B  Rohr\n"
    "                                                             2,000  St     50,000             "
    "100,00\n"
    "01020030  A  Rinne\n"
    "                                                             4,000   m     20,000             "
    " 80,00\n"
    "01020040  AB Stundenlohn\n"
    "                                                             1,000psch     30,000  10,00%     "
    " 27,00\n"
    "                                                                      Summe 0102              "
    "225,00\n"
    "                                                                      Nachlass                "
    "-25,00\n"
    "                                                                      Summe nach Nachlass     "
    "200,00\n"
    "                                                                      Summe 01                "
    "200,00\n"
    "                                                                      Nachlass    3,00%:      "
    " -6,00\n"
    "                                                                      Summe nach Nachlass     "
    "194,00\n"
    "02           Ausbau\n"
    "02010010  N  Estrich\n"
    "                                                         1.000,000  m2      1,500           "
    "1.500,00\n"
    "                                                                      Summe 02              "
    "1.500,00\n"
    "\n";

const char kWithLongTexts[] =
    "                                                                                             "
    "Seite 1\n"
    "Angebotsdruck kita\n"
    "\n"
    "Kopf 1\n"
    "Kopf 2\n"
    "Titel / Positionen\n"
    "\n"
    "______________________________________________________________________________________________"
    "______\n"
    "1122PPPPX    Text                                            Menge  EH         EP      NL     "
    " Summe\n"
    "______________________________________________________________________________________________"
    "______\n"
    "01           Rohbau\n"
    "             Hinweis zum Rohbau\n"
    "\n"
    "0102         Erdarbeiten\n"
    "\n"
    "01020010  N  Aushub\n"
    "             Boden ausheben\n"
    "             und abfahren\n"
    "                                                            10,000  m3     12,500             "
    "125,00\n"
    "01020020  B  Rohr\n"
    "             Rohr DN 100\n"
    "                                                             2,000  St     50,000             "
    "100,00\n"
    "01020030  A  Rinne\n"
    "             Rinne aus Beton\n"
    "                                                             4,000   m     20,000             "
    " 80,00\n"
    "01020040  AB Stundenlohn\n"
    "             Stundenlohnarbeiten\n"
    "                                                             1,000psch     30,000  10,00%     "
    " 27,00\n"
    "                                                                      Summe 0102              "
    "225,00\n"
    "                                                                      Nachlass                "
    "-25,00\n"
    "                                                                      Summe nach Nachlass     "
    "200,00\n"
    "                                                                      Summe 01                "
    "200,00\n"
    "                                                                      Nachlass    3,00%:      "
    " -6,00\n"
    "                                                                      Summe nach Nachlass     "
    "194,00\n"
    "02           Ausbau\n"
    "\n"
    "02010010  N  Estrich\n"
    "             Zementestrich\n"
    "                                                         1.000,000  m2      1,500           "
    "1.500,00\n"
    "                                                                      Summe 02              "
    "1.500,00\n"
    "\n";

class OfferReportTest : public DocumentTest {
 protected:
  void SetUp() override { ASSERT_TRUE(Load(SmallTender(), "kita.d83")); }

  std::string Print(RecordingTextDevice& device, bool longTexts) {
    PrintOffer(doc_, {"Kopf 1", "Kopf 2"}, device, "kita", longTexts);
    return device.Text();
  }
};

TEST_F(OfferReportTest, PrintsTheWholeOffer) {
  const struct {
    const char* name;
    bool longTexts;
    const char* expected;
  } cases[] = {{"without long texts", false, kWithoutLongTexts},
               {"with long texts", true, kWithLongTexts}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingTextDevice device(100);
    EXPECT_EQ(Print(device, c.longTexts), std::string(c.expected) + kSummaryAndTotals);
    // The table's font is measured before anything is printed.
    EXPECT_EQ(device.fontSizes, (std::vector<int>{8, 9, 8}));
    EXPECT_EQ(device.lines[5].fontSize, 9);  // "Titel / Positionen"
    EXPECT_EQ(device.lines[7].fontSize, 8);  // the first rule
    EXPECT_EQ(device.closeCount, 1);
  }
}

// Every page begins with its page head, also where a long text runs over
// the end of a page; apart from the heads the text is that of one long page.
TEST_F(OfferReportTest, EveryPageBeginsWithItsNumber) {
  for (const bool longTexts : {false, true}) {
    SCOPED_TRACE(longTexts ? "with long texts" : "without long texts");
    RecordingTextDevice onePage(100);
    Print(onePage, longTexts);
    RecordingTextDevice paged(100, 8);
    Print(paged, longTexts);

    const int pages = paged.lines.back().page;
    EXPECT_EQ(pages, static_cast<int>((onePage.lines.size() - 1 + 6) / 7));
    std::vector<std::string> content;
    for (int page = 1; page <= pages; ++page) {
      const std::vector<std::string> lines = paged.Page(page);
      ASSERT_FALSE(lines.empty());
      EXPECT_EQ(lines[0], AlignRight("Seite " + std::to_string(page), 100));
      content.insert(content.end(), lines.begin() + 1, lines.end());
    }
    std::vector<std::string> expected;
    for (size_t i = 1; i < onePage.lines.size(); ++i) expected.push_back(onePage.lines[i].text);
    EXPECT_EQ(content, expected);
  }
}

TEST_F(OfferReportTest, AreaWithoutDiscountHasNoDiscountLines) {
  KsGAEBObj& earthworks = *doc_.LvAreas->Element(0)->ChildList("LVBEREICH")->Element(0);
  SetAreaDiscount(earthworks, "0", "NACHLASSABS");
  RecordingTextDevice device(100);
  Print(device, false);
  const std::vector<std::string> lines = device.Page(1);
  const auto sum =
      std::find(lines.begin(), lines.end(), AlignRight("Summe 0102              225,00", 100));
  ASSERT_NE(sum, lines.end());
  EXPECT_EQ(*(sum + 1), AlignRight("Summe 01                225,00", 100));
  EXPECT_EQ(*(sum + 2), AlignRight("Nachlass    3,00%:       -6,75", 100));
  EXPECT_EQ(*(sum + 3), AlignRight("Summe nach Nachlass     218,25", 100));
}

// A position the bidder left open is no bid of 0: its unit price and
// amount stay blank. A price of 0 entered is printed as one.
TEST_F(OfferReportTest, AnOpenPositionPrintsNoPriceAZeroPriceDoes) {
  const KsGAEBObjList& positions =
      *doc_.LvAreas->Element(0)->ChildList("LVBEREICH")->Element(0)->ChildList("POSITION");
  SetPositionValue(*positions.Element(0), "", "EP");
  SetPositionValue(*positions.Element(1), "0", "EP");
  RecordingTextDevice device(100);
  Print(device, false);
  const std::vector<std::string> lines = device.Page(1);
  const auto open = std::find(lines.begin(), lines.end(), "01020010  N  Aushub");
  ASSERT_NE(open, lines.end());
  EXPECT_EQ(*(open + 1), std::string(60, ' ') + "10,000  m3");
  EXPECT_EQ(*(open + 2), "01020020  B  Rohr");
  EXPECT_EQ(*(open + 3), std::string(61, ' ') + "2,000  St      0,000               0,00");
  // 0102 now sums to 0,00, less its 25,00.
  EXPECT_NE(
      std::find(lines.begin(), lines.end(), AlignRight("Summe 0102                0,00", 100)),
      lines.end());
}

}  // namespace

namespace {

// A unit price wider than the columns the gross sum gives must not lose its
// leading digits: the amount columns grow to the widest amount.
TEST_F(OfferReportTest, WideUnitPriceIsPrintedWhole) {
  KsGAEBObj& screed = *doc_.LvAreas->Element(1)->ChildList("POSITION")->Element(0);
  screed.GetMember("MENGE").SetAsString("0");
  SetPositionValue(screed, "1234567,5", "EP");
  RecordingTextDevice device(100);
  Print(device, false);
  const std::vector<std::string> lines = device.Page(1);
  const auto amounts = std::find(lines.begin(), lines.end(), "02010010  N  Estrich") + 1;
  ASSERT_LT(amounts, lines.end());
  EXPECT_NE(amounts->find("  m2 1.234.567,500"), std::string::npos) << *amounts;
  EXPECT_EQ(amounts->size(), 100u);
}

}  // namespace

namespace {

// A device whose page holds fewer characters in the larger head font.
class TwoFontDevice : public RecordingTextDevice {
 public:
  TwoFontDevice(int headChars, int tableChars) : head_(headChars), table_(tableChars) {}
  int PageChars() const override { return fontSize == 9 ? head_ : table_; }

 private:
  int head_, table_;
};

bool LinesFit(const RecordingTextDevice& device, size_t width) {
  return std::all_of(device.lines.begin(), device.lines.end(),
                     [width](const auto& line) { return line.text.size() <= width; });
}

// Each column widens to what is printed in it, and the smallest page that
// holds the table grows with it; at that width every figure is whole, one
// character less is refused before anything is printed.
TEST_F(OfferReportTest, ColumnsWidenToWhatIsPrinted) {
  struct Case {
    const char* name;
    const char* member;
    const char* value;
    int width;
    const char* printed;
  };
  const Case cases[] = {
      {"as laid out", "", "", 83, "  m2      1,500"},
      {"OZ as long as the mask", "OZ", "020100100", 83, "\n020100100 N  Estrich\n"},
      {"OZ longer than the mask", "OZ", "02010010077", 85, "\n02010010077 N  Estrich\n"},
      {"wide quantity", "MENGE", "12345678,5", 87, " 12.345.678,500  m2"},
      {"long unit", "ME",
       "St\xFC"
       "ck",
       85,
       " 1.000,000 St\xFC"
       "ck      1,500"},
      {"wide discount", "NACHLASSPROZ", "1234,5", 85, "      1,500 1.234,50%"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    KsLyxObj doc;
    ASSERT_TRUE(doc.Import(dir_.Write("breit.d83", SmallTender()))) << doc.LastError;
    KsGAEBObj& screed = *doc.LvAreas->Element(1)->ChildList("POSITION")->Element(0);
    // As the reader stores it: a unit longer than its field is kept whole.
    if (*c.member) screed.GetMember(c.member).Value = Variant(std::string(c.value));
    EXPECT_EQ(OfferTableWidth(doc), c.width);

    RecordingTextDevice fits(c.width);
    EXPECT_TRUE(PrintOffer(doc, {"Kopf"}, fits, "breit", false));
    EXPECT_TRUE(LinesFit(fits, static_cast<size_t>(c.width)));
    const std::string text = fits.Text();
    EXPECT_NE(text.find(c.printed), std::string::npos) << text;

    RecordingTextDevice narrow(c.width - 1);
    EXPECT_FALSE(PrintOffer(doc, {"Kopf"}, narrow, "breit", false));
    EXPECT_TRUE(narrow.lines.empty());
    EXPECT_EQ(narrow.closeCount, 1);
  }
}

// Without a numbering layout in the file the OZ column is as wide as the
// longest OZ, and every OZ is printed.
TEST_F(OfferReportTest, WithoutOzMaskEveryOzIsPrinted) {
  const std::string tender = Block(
      "GAEB",
      Block("GAEBINFO", Field("ZEICHENSATZ", "ANSI")) +
          Block("VERGABE",
                Field("DP", "83") +
                    Block("LV",
                          Block("LVINFO", Field("UST", "19")) +
                              Area("01", "Erdbau",
                                   Area("01.02", "Aushub",
                                        Position("01.02.0010", "3", "m3",
                                                 Field("EP", "10") + Description("Boden", "")))))));
  KsLyxObj doc;
  ASSERT_TRUE(doc.Import(dir_.Write("ohne.d83", tender))) << doc.LastError;
  RecordingTextDevice device(80);
  ASSERT_TRUE(PrintOffer(doc, {}, device, "ohne", false));
  EXPECT_EQ(device.Text(),
            "                                                                         Seite 1\n"
            "Angebotsdruck ohne\n"
            "\n"
            "Titel / Positionen\n"
            "\n"
            "________________________________________________________________________________\n"
            "              Text                             Menge  EH      EP      NL   Summe\n"
            "________________________________________________________________________________\n"
            "01            Erdbau\n"
            "01.02         Aushub\n"
            "01.02.0010 N  Boden\n"
            "                                               3,000  m3  10,000           30,00\n"
            "                                                     Summe 01.02           30,00\n"
            "                                                     Summe 01              30,00\n"
            "\n"
            "Zusammenstellung\n"
            "________________________________________________________________________________\n"
            "              Text                             Summe      Nachlass         Summe\n"
            "                                                                   nach Nachlass\n"
            "________________________________________________________________________________\n"
            "01            Erdbau                           30,00                       30,00\n"
            "01.02           Aushub                         30,00                       30,00\n"
            "________________________________________________________________________________\n"
            "\n"
            "Gesamtsumme :    30,00\n"
            "19,00% MWSt :     5,70\n"
            "Bruttosumme :    35,70\n"
            "\n"
            "\n"
            "______________________________________    ______________________________________\n"
            "Ort, Datum                                Unterschrift, Stempel\n");
}

// Long texts are wrapped at blanks to the page width, in the text column;
// a word longer than the column is split, nothing is lost or joined.
TEST_F(OfferReportTest, LongTextsWrapInTheTextColumn) {
  KsGAEBObj& pipe = *doc_.LvAreas->Element(0)
                         ->ChildList("LVBEREICH")
                         ->Element(0)
                         ->ChildList("POSITION")
                         ->Element(1);
  pipe.Child("BESCHREIBUNG")
      ->GetMember("LANGTEXT")
      .SetAsString(
          "{\\rtf1 Rohr DN 100 liefern, verlegen und an vorhandene Leitungen anschlie\\'dfen, "
          "einschlie\\'dflich Formst\\'fccke.\\par\\par Fabrikat:\\tab "
          "https://example.org/rohre/dn100/steinzeug/katalog-2026/datenblatt-und-montage.pdf}");
  RecordingTextDevice device(83);
  ASSERT_TRUE(PrintOffer(doc_, {}, device, "kita", true));
  const std::vector<std::string> lines = device.Page(1);
  const auto title = std::find(lines.begin(), lines.end(), "01020020  B  Rohr");
  ASSERT_NE(title, lines.end());
  const std::vector<std::string> expected = {
      "             Rohr DN 100 liefern, verlegen und an vorhandene Leitungen anschlie\xDF"
      "en,",
      "             einschlie\xDF"
      "lich Formst\xFC"
      "cke.",
      "",
      "             Fabrikat:",
      "             https://example.org/rohre/dn100/steinzeug/katalog-2026/datenblatt-und-",
      "             montage.pdf",
      "                                            2,000  St     50,000             100,00"};
  EXPECT_EQ(std::vector<std::string>(title + 1, title + 1 + static_cast<long>(expected.size())),
            expected);
  EXPECT_TRUE(LinesFit(device, 83));
}

// The head is wrapped at the width of its larger font, the table fills the
// width of its own.
TEST_F(OfferReportTest, HeadAndTableUseTheWidthOfTheirFont) {
  TwoFontDevice device(86, 100);
  const std::string client =
      "Auftraggeber:  Landesbetrieb f\xFCr Hochwasserschutz und "
      "Wasserwirtschaft Sachsen-Anhalt, Vergabestelle S\xFC"
      "d";
  ASSERT_TRUE(PrintOffer(doc_, {client}, device, "kita", false));
  const std::vector<std::string> lines = device.Page(1);
  ASSERT_GE(lines.size(), 8u);
  EXPECT_EQ(lines[0], AlignRight("Seite 1", 86));
  EXPECT_EQ(lines[3],
            "Auftraggeber:  Landesbetrieb f\xFCr Hochwasserschutz und Wasserwirtschaft "
            "Sachsen-Anhalt,");
  EXPECT_EQ(lines[4],
            "               Vergabestelle S\xFC"
            "d");
  EXPECT_EQ(lines[7], std::string(100, '_'));
  EXPECT_EQ(device.lines[3].fontSize, 9);
  EXPECT_EQ(device.lines[7].fontSize, 8);
}

}  // namespace
