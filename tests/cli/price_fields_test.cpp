#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/member.h"
#include "document/cell_text.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/format_guard.h"
#include "tests/support/time_of_writing.h"

namespace {

using json = nlohmann::ordered_json;

// Area 01: 0010 (10 m, unit price in components), 0020 (2,5 m);
// area 02: 0030 (3 St).
std::string SmallTender() {
  return Tender(
      Area("01", "Rohbau",
           Position("0010", "10", "m", Field("EPAUFGL", "J")) + Position("0020", "2,5", "m")) +
      Area("02", "Ausbau", Position("0030", "3", "St")));
}

const char kPrices[] =
    "0010;EPANTEIL1;1,005\n"
    "0010;epanteil2;2.5\n"
    "0020;4,125\n"
    "0020;NACHLASSPROZ;10\n"
    "01;NACHLASSPROZ;3\n"
    "0030;EP;7\n"
    "02;NACHLASSABS;1,5\n"
    "LV;UST;16\n"
    "0020;EPANTEIL1;1\n"
    "0030;NACHLASSABS;1\n"
    "01;EP;5\n"
    "02;UST;5\n"
    "0099;NACHLASSPROZ;1\n";

long long Cents(const json& value) { return std::llround(value.get<double>() * 100); }

class PriceFieldsTest : public ::testing::Test {
 protected:
  CliRunner cli_;
};

// Every value the grid takes can come from the price list. The amounts,
// worked out by hand in cents:
//   0010: EP = 1,005 + 2,5 = 3,505; GB = 10 * 3,505 = 35,05
//   0020: GB = 2,5 * 4,125 * 0,9 = 9,28125 -> 9,28
//   01:   SUMME 44,33; discount 3 % = 1,3299 -> 1,33; net 43,00
//   0030: GB 21,00;  02: SUMME 21,00, net 21,00 - 1,50 = 19,50
//   LV:   SUMME 62,50; VAT 16 % = 10,00; gross 72,50
TEST_F(PriceFieldsTest, EveryValueTheGridTakes) {
  const std::string out = cli_.Path("angebot.d84");
  const CliResult r =
      cli_.Run({"price", cli_.Write("lv.d83", SmallTender()), cli_.Write("p.csv", kPrices), out});
  EXPECT_EQ(r.status, 3);
  EXPECT_EQ(r.Errors(),
            "Zeile 9: EPANTEIL1 kann bei 0020 nicht eingegeben werden (keine EP-Aufgliederung)\n"
            "Zeile 10: NACHLASSABS kann bei 0030 nicht eingegeben werden\n"
            "Zeile 11: EP kann bei 01 nicht eingegeben werden\n"
            "Zeile 12: Der Mehrwertsteuersatz gilt f\u00fcr das LV: \"LV;UST;Satz\" erwartet\n"
            "Zeile 13: Position oder LV-Bereich 0099 nicht gefunden\n");
  const CliResult info = cli_.Run({"info", "--json", out});
  ASSERT_EQ(info.status, 0) << info.err;
  const json offer = json::parse(info.out);
  const json& p = offer["positions"];
  EXPECT_EQ(p[0]["ep"], 3.505);
  EXPECT_EQ(Cents(p[0]["gb"]), 3505);
  EXPECT_EQ(p[1]["ep"], 4.125);
  EXPECT_EQ(Cents(p[1]["gb"]), 928);
  EXPECT_EQ(Cents(p[2]["gb"]), 2100);
  const json& a = offer["areas"];
  EXPECT_EQ(Cents(a[0]["summe"]), 4433);
  EXPECT_EQ(a[0]["nachlassproz"], 3.0);
  EXPECT_EQ(Cents(a[0]["summenachnl"]), 4300);
  EXPECT_EQ(Cents(a[1]["nachlassabs"]), 150);
  EXPECT_EQ(Cents(a[1]["summenachnl"]), 1950);
  EXPECT_EQ(Cents(offer["lv"]["summe"]), 6250);
  EXPECT_EQ(offer["lv"]["ust"], 16.0);
  EXPECT_EQ(Cents(offer["lv"]["summebrutto"]), 7250);
}

// The same entries typed into the grid (and the VAT field) give the same
// file, byte for byte.
TEST_F(PriceFieldsTest, SameFileAsTypedInTheGrid) {
  const std::string tender = cli_.Write("lv.d83", SmallTender());
  const std::string fromList = cli_.Path("liste.d84");
  ASSERT_EQ(cli_.Run({"price", tender, cli_.Write("p.csv", kPrices), fromList}).status, 3);

  PrepareGaeb();
  FormatGuard format(GermanFormatSettings());
  KsLyxObj document;
  ASSERT_TRUE(document.Import(tender)) << document.LastError;
  const auto positions = [&](int area) {
    return document.LvAreas->Element(area)->ChildList("POSITION");
  };
  const struct {
    KsGAEBObj* element;
    const char* member;
    const char* typed;
  } typed[] = {
      {positions(0)->Element(0), "EPANTEIL1", "1,005"},
      {positions(0)->Element(0), "EPANTEIL2", "2,5"},
      {positions(0)->Element(1), "EP", "4,125"},
      {positions(0)->Element(1), "NACHLASSPROZ", "10"},
      {document.LvAreas->Element(0), "NACHLASSPROZ", "3"},
      {positions(1)->Element(0), "EP", "7"},
      {document.LvAreas->Element(1), "NACHLASSABS", "1,5"},
  };
  for (const auto& t : typed) ApplyCellText(*t.element, t.element->GetMember(t.member), t.typed);
  SetVatRate(*document.Lv, "16");
  const std::string fromGrid = cli_.Path("grid.d84");
  ASSERT_TRUE(document.ExportD84(fromGrid)) << document.LastError;
  EXPECT_EQ(WithoutTimeOfWriting(CliRunner::Read(fromList)),
            WithoutTimeOfWriting(CliRunner::Read(fromGrid)));
}

// Where the grid asks before it takes a value, a script answers with --yes;
// without it the value stays as it was. EP of a position priced in
// components, and a discount beyond 100 %, are refused as in the grid.
TEST_F(PriceFieldsTest, QuestionsOfTheGridAreAnsweredByYes) {
  const std::string tender = cli_.Write("lv.d83", SmallTender());
  const std::string prices =
      cli_.Write("p.csv",
                 "0020;-4,5\n0010;EPANTEIL1;-1\nLV;UST;30\n0010;EP;5\n01;NACHLASSPROZ;60\n"
                 "02;NACHLASSABS;100\n0030;NACHLASSPROZ;150\n");
  const std::string out = cli_.Path("angebot.d84");
  const CliResult asked = cli_.Run({"price", tender, prices, out});
  EXPECT_EQ(asked.status, 3);
  const std::string notTaken =
      " Soll er \u00fcbernommen werden? Ohne --yes nicht \u00fcbernommen.\n";
  const std::string refusedEp =
      "Zeile 4: EP kann bei 0010 nicht eingegeben werden (EP ist die Summe von EPANTEIL1 bis "
      "EPANTEIL6)\n";
  const std::string refusedDiscount = "Zeile 7: Der Nachlass muss zwischen 0 und 100 % liegen.\n";
  EXPECT_EQ(asked.Errors(),
            "Zeile 1: Der Einheitspreis -4,500 ist negativ." + notTaken +
                "Zeile 2: Der Einheitspreisanteil -1,000 ist negativ." + notTaken +
                "Zeile 3: Ein Mehrwertsteuersatz von 30,00 % ist ungew\u00f6hnlich hoch." +
                notTaken + refusedEp +
                "Zeile 5: Ein Nachlass von 60,00 % ist ungew\u00f6hnlich hoch." + notTaken +
                "Zeile 6: Der Nachlass 100,00 ist h\u00f6her als die Summe 0,00 des LV-Bereichs "
                "02." +
                notTaken + refusedDiscount);
  json offer = json::parse(cli_.Run({"info", "--json", out}).out);
  EXPECT_EQ(offer["positions"][1]["ep"], 0.0);
  EXPECT_EQ(offer["lv"]["ust"], 19.0);
  EXPECT_EQ(Cents(offer["areas"][0]["summenachnl"]), 0);
  EXPECT_EQ(Cents(offer["areas"][1]["summenachnl"]), 0);

  const CliResult confirmed = cli_.Run({"price", "--yes", tender, prices, out});
  EXPECT_EQ(confirmed.status, 3);
  EXPECT_EQ(confirmed.Errors(), refusedEp + refusedDiscount);
  offer = json::parse(cli_.Run({"info", "--json", out}).out);
  EXPECT_EQ(offer["positions"][0]["ep"], -1.0);
  EXPECT_EQ(offer["positions"][1]["ep"], -4.5);
  EXPECT_EQ(offer["lv"]["ust"], 30.0);
  // 01: -10,00 - 11,25 = -21,25, less 60 % (-12,75) = -8,50; 02: 0,00 less 100,00.
  EXPECT_EQ(Cents(offer["areas"][0]["summenachnl"]), -850);
  EXPECT_EQ(Cents(offer["areas"][1]["summenachnl"]), -10000);
}

}  // namespace
