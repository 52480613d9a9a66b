// Price lists whose lines could mean something other than what they seem:
// each is refused or taken with a warning, never read as a different price.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"

namespace {

using json = nlohmann::ordered_json;

// Area 01: 0010 (unit price in components, of which the LV asks for
// three), 0020 (2 m at 4,5); area 02: 0030 (3 St).
std::string SmallTender() {
  std::string tender = Tender(Area("01", "Rohbau",
                                   Position("0010", "10", "m", Field("EPAUFGL", "J")) +
                                       Position("0020", "2", "m", Field("EP", "4,5"))) +
                              Area("02", "Ausbau", Position("0030", "3", "St")));
  const std::string vat = Field("UST", "19");
  return tender.replace(tender.find(vat), vat.size(), vat + Field("ANZEPANTEILE", "3"));
}

// Two positions that share their OZ, as a damaged tender may have them.
std::string TenderWithOneOzTwice() {
  return Tender(Area("01", "Rohbau", Position("0010", "1", "m3", Description("Mauerwerk", ""))) +
                Area("02", "Ausbau", Position("0010", "2", "m3", Description("Beton", ""))));
}

class PriceListMeaningTest : public ::testing::Test {
 protected:
  struct Priced {
    CliResult run;
    json offer;
  };
  Priced Price(const std::string& tender, const std::string& list) {
    const std::string out = cli_.Path("angebot.d84");
    std::filesystem::remove(out);
    Priced priced;
    priced.run =
        cli_.Run({"price", cli_.Write("lv.d83", tender), cli_.Write("preise.csv", list), out});
    const CliResult info = cli_.Run({"info", "--json", out});
    if (info.status == 0) priced.offer = json::parse(info.out);
    return priced;
  }
  CliRunner cli_;
};

// In thousandths of a euro, so that no comparison depends on a double.
long long Mills(const json& value) { return std::llround(value.get<double>() * 1000); }

// "1.234" is 1234 to a German who groups thousands with a point and 1,234
// to one who writes a decimal point: refused. Every other way of writing
// the price says which it is.
TEST_F(PriceListMeaningTest, AmbiguousThousandsAreRefused) {
  const struct {
    const char* value;
    long long mills;  // of 0020 afterwards; 4500 where refused
    std::string message;
  } cases[] = {
      {"1.234", 4500, "Zeile 1: Der Wert 1.234 ist mehrdeutig. Bitte 1234 oder 1,234 schreiben.\n"},
      {"12.500", 4500,
       "Zeile 1: Der Wert 12.500 ist mehrdeutig. Bitte 12500 oder 12,500 schreiben.\n"},
      {"-999.000", 4500,
       "Zeile 1: Der Wert -999.000 ist mehrdeutig. Bitte -999000 oder -999,000 schreiben.\n"},
      {"1,234", 1234, ""},
      {"1234", 1234000, ""},
      {"1.234,56", 1234560, ""},
      {"1,234.56", 1234560, ""},
      {"1234.567", 1234567, ""},
      {"0.125", 125, ""},
      {"1.25", 1250, ""},
      {"1.2345", 1235, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const Priced p = Price(SmallTender(), std::string("0020;") + c.value + "\n");
    EXPECT_EQ(p.run.status, c.message.empty() ? 0 : 3);
    EXPECT_EQ(p.run.Errors(), c.message);
    ASSERT_FALSE(p.offer.is_null());
    EXPECT_EQ(Mills(p.offer["positions"][1]["ep"]), c.mills);
  }
  const Priced vat = Price(SmallTender(), "LV;UST;19.000\n");
  EXPECT_EQ(vat.run.Errors(),
            "Zeile 1: Der Wert 19.000 ist mehrdeutig. Bitte 19000 oder 19,000 schreiben.\n");
  EXPECT_EQ(vat.offer["lv"]["ust"], 19.0);
}

// What each list says about the price of 0020 (4,5 in the tender), and
// what it reports.
TEST_F(PriceListMeaningTest, EmptyValuesRepeatsAndComponents) {
  const struct {
    const char* name;
    std::string list;
    int status;
    long long mills;  // EP of 0020 afterwards
    std::string message;
  } cases[] = {
      {"an empty value alone is no price", "0020;\n0020;;\n", 3, 4500,
       "Zeile 1: Kein Preis f\u00fcr 0020 angegeben (zum L\u00f6schen: \"0020;EP;\")\n"
       "Zeile 2: Kein Preis f\u00fcr 0020 angegeben (zum L\u00f6schen: \"0020;EP;\")\n"},
      {"the field named clears it", "0020;EP;\n", 0, 0, ""},
      {"the later line wins after a warning", "0020;5\n0030;7\n0020;EP;6\n", 0, 6000,
       "Zeile 3: Warnung: EP f\u00fcr 0020 stand schon in Zeile 1; es gilt der Wert aus Zeile "
       "3\n"},
      {"each repeat names the line before", "0020;5\n0020;6\n0020;EP;\n", 0, 0,
       "Zeile 2: Warnung: EP f\u00fcr 0020 stand schon in Zeile 1; es gilt der Wert aus Zeile "
       "2\n"
       "Zeile 3: Warnung: EP f\u00fcr 0020 stand schon in Zeile 2; es gilt der Wert aus Zeile "
       "3\n"},
      {"a refused line overrides nothing", "0020;5\n0020;f\u00fcnf\n", 3, 5000,
       "Zeile 2: f\u00fcnf ist keine Zahl\n"},
      {"other fields of the same OZ are no repeat", "0020;5\n0020;NACHLASSPROZ;10\n", 0, 5000, ""},
      {"components the tender asks for", "0010;EPANTEIL3;1\n0010;EPANTEIL1;2\n", 0, 4500, ""},
      {"components it does not ask for", "0010;EPANTEIL4;1\n0010;EPANTEIL6;1\n", 3, 4500,
       "Zeile 1: EPANTEIL4 kann bei 0010 nicht eingegeben werden (das LV fragt nur EPANTEIL1 "
       "bis EPANTEIL3 ab)\n"
       "Zeile 2: EPANTEIL6 kann bei 0010 nicht eingegeben werden (das LV fragt nur EPANTEIL1 "
       "bis EPANTEIL3 ab)\n"},
      {"the VAT rate twice", "LV;UST;16\nlv;UST;7\n", 0, 4500,
       "Zeile 2: Warnung: UST f\u00fcr LV stand schon in Zeile 1; es gilt der Wert aus Zeile "
       "2\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Priced p = Price(SmallTender(), c.list);
    EXPECT_EQ(p.run.status, c.status);
    EXPECT_EQ(p.run.Errors(), c.message);
    ASSERT_FALSE(p.offer.is_null());
    EXPECT_EQ(Mills(p.offer["positions"][1]["ep"]), c.mills);
  }
  const Priced components = Price(SmallTender(), "0010;EPANTEIL3;1\n0010;EPANTEIL1;2\n");
  EXPECT_EQ(Mills(components.offer["positions"][0]["ep"]), 3000);
  const Priced vat = Price(SmallTender(), "LV;UST;16\nLV;UST;7\n");
  EXPECT_EQ(vat.offer["lv"]["ust"], 7.0);
}

// A line must name one place of the LV; with two it is refused, naming both.
TEST_F(PriceListMeaningTest, OneOzForTwoPositionsIsRefused) {
  const Priced p = Price(TenderWithOneOzTwice(), "0010;5\n");
  EXPECT_EQ(p.run.status, 3);
  EXPECT_EQ(p.run.Errors(),
            "Zeile 1: 0010 steht im LV mehrfach: Position \"Mauerwerk\" in LV-Bereich 01 und "
            "Position \"Beton\" in LV-Bereich 02; nicht \u00fcbernommen\n");
  ASSERT_FALSE(p.offer.is_null());
  EXPECT_EQ(p.offer["positions"][0]["ep"], 0.0);
  EXPECT_EQ(p.offer["positions"][1]["ep"], 0.0);
}

// A value, an OZ or a line of 10 MB is quoted with its first 40 characters
// and its length.
TEST_F(PriceListMeaningTest, HugeValuesAreQuotedShortened) {
  const std::string huge(10 << 20, '1');
  const std::string shown = std::string(40, '1') + "\u2026 (10485760 Zeichen)";
  const struct {
    const char* name;
    std::string list;
    std::string message;
  } cases[] = {
      {"value", "0020;" + huge + "\n",
       "Zeile 1: Der Wert " + shown + " ist zu lang f\u00fcr eine Zahl\n"},
      {"OZ", huge + ";5\n", "Zeile 1: Position " + shown + " nicht gefunden\n"},
      {"line", huge + "\n",
       "Zeile 1: \"OZ;Preis\" oder \"OZ;Feld;Wert\" erwartet, gelesen: " + shown + "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Priced p = Price(SmallTender(), c.list);
    EXPECT_EQ(p.run.status, 3);
    EXPECT_EQ(p.run.Errors(), c.message);
  }
}

// Standard input can be read once: not as the tender and the list.
TEST_F(PriceListMeaningTest, TenderAndListBothFromStandardInputIsAUsageError) {
  const CliResult r = cli_.RunWith({"price", "-", "-", cli_.Path("angebot.d84")},
                                   cli_.Write("lv.d83", SmallTender()), "");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("Aufruf:"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(cli_.Path("angebot.d84")));
}

}  // namespace
