#include "document/price_takeover.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/element_values.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/oz_index.h"
#include "document/value_entries.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "tests/support/tender_files.h"
#include "util/entry_error.h"
#include "util/trim.h"

namespace {

const std::string kData = TARVO_TEST_DATA_DIR;

// Prices of LV_Los01 as typed, and what the offer must then hold; the
// amounts worked out by hand: GB = EP * MENGE * (1 - discount), rounded
// half away from zero to the cent.
struct Price {
  const char* oz;
  const char* field;
  const char* value;
};
const Price kPrices[] = {
    {"1.10", "EP", "1234,56"},        // 1 psch: 1234.56
    {"1.20", "EP", "45,5"},           // 2 St: 91.00
    {"2.20", "EP", "12,3450"},        // 29.481 km: 363.942945 -> 363.94
    {"2.60", "EP", "3,333"},          // 800 St: 2666.40
    {"2.60", "NACHLASSPROZ", "2,5"},  // 2666.40 * 0.975 = 2599.74
    {"3.10", "EP", "0,125"},          // 29.481 km: 3.685125 -> 3.69
};
const struct {
  const char* key;
  double gb;
} kAmounts[] = {
    {"1.10", 1234.56}, {"1.20", 91.00}, {"2.20", 363.94}, {"2.60", 2599.74}, {"3.10", 3.69}};
// 1325.56 + 2963.68 + 3.69
constexpr double kLvTotal = 4292.93;
// A GAEB 90 offer holds no discount: 2.60 at 2666.40, the LV at 4359.59.
constexpr double kUndiscounted = 2666.40;
constexpr double kLvTotalUndiscounted = 4359.59;

std::vector<const KsGAEBObj*> AllPositions(const KsLyxObj& document) {
  std::vector<const KsGAEBObj*> positions;
  WalkLv(
      document, [](const KsGAEBObj&, int) {},
      [&positions](const KsGAEBObj& p) { positions.push_back(&p); });
  return positions;
}

class PriceTakeOverTest : public DocumentTest {
 protected:
  // The tender with kPrices typed in, saved as its offer under `offer`.
  std::string PricedOffer(const std::string& tender, const std::string& offer) {
    KsLyxObj priced;
    EXPECT_TRUE(priced.Import(tender)) << priced.LastError;
    const OzIndex index(priced);
    ValueEntries entries;
    for (const Price& price : kPrices) {
      const std::vector<KsGAEBObj*> found = index.Find(price.oz);
      EXPECT_EQ(found.size(), 1u) << price.oz;
      if (!found.empty()) entries.push_back({found[0], price.field, price.value});
    }
    ApplyEntries(priced, entries);
    EXPECT_TRUE(priced.ExportD84(dir_.Path(offer))) << priced.LastError;
    return dir_.Path(offer);
  }

  PriceTakeOver TakeOver(const std::string& offer, PriceTakeOver::Prices prices) {
    KsLyxObj source;
    EXPECT_TRUE(source.ImportPriceSource(offer, doc_)) << source.LastError;
    PriceTakeOver plan = PlanPriceTakeOver(source, "quelle.D84", doc_, prices);
    if (plan.Refusals.empty()) ApplyEntries(doc_, plan.Entries);
    return plan;
  }

  void ExpectPricedAsTyped(bool discounted) {
    const OzIndex index(doc_);
    for (const auto& amount : kAmounts) {
      const std::vector<KsGAEBObj*> found = index.Find(amount.key);
      ASSERT_EQ(found.size(), 1u) << amount.key;
      const bool undiscounted = !discounted && std::string(amount.key) == "2.60";
      EXPECT_DOUBLE_EQ(NumberValue(*found[0], "GB"), undiscounted ? kUndiscounted : amount.gb)
          << amount.key;
    }
    EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMME"),
                     discounted ? kLvTotal : kLvTotalUndiscounted);
  }
};

// The prices of the GAEB 2000 offer, and of the GAEB 90 one, taken into the
// same LV as GAEB DA XML (and as GAEB 2000 or GAEB 90) give the amounts
// typing gave.
TEST_F(PriceTakeOverTest, TheSameLvInAnotherFormatGetsTheSameAmounts) {
  const std::string d84 = PricedOffer(kData + "/real/LV_Los01.P83", "los01.D84");
  std::filesystem::copy_file(kData + "/gaeb90/LV_Los01.D83", dir_.Path("LV_Los01.D83"));
  const std::string gaeb90 = PricedOffer(dir_.Path("LV_Los01.D83"), "LV_Los01.D84");
  const struct {
    std::string offer;
    std::string tender;
    bool discounted;
  } cases[] = {{d84, kData + "/xml-real/LV_Los01.X83", true},
               {d84, kData + "/gaeb90/LV_Los01.D83", true},
               {gaeb90, kData + "/real/LV_Los01.P83", false},
               {gaeb90, kData + "/xml-real/LV_Los01.X83", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offer + " -> " + c.tender);
    ASSERT_TRUE(doc_.Import(c.tender)) << doc_.LastError;
    const PriceTakeOver plan = TakeOver(c.offer, PriceTakeOver::Prices::Keep);
    ASSERT_TRUE(plan.Refusals.empty()) << plan.Refusals.front();
    EXPECT_EQ(plan.Positions, 5);
    EXPECT_TRUE(plan.Unmatched.empty());
    EXPECT_TRUE(plan.Questions.empty());
    EXPECT_TRUE(doc_.Modified());
    ExpectPricedAsTyped(c.discounted);
    const std::vector<std::string> report = TakeOverReport(plan, doc_);
    ASSERT_EQ(report.size(), 2u);
    EXPECT_EQ(report[0],
              "5 Positionen \xFC"
              "bernommen.");
    EXPECT_EQ(report[1].substr(0, 38), "Ohne Einheitspreis bleiben 8 Positione");
  }
}

// An X84 answers by item ID only: beside its X83 it gives its prices to the
// same LV as GAEB 2000; under another name it still gives them to its own
// X83, whose IDs it answers.
TEST_F(PriceTakeOverTest, AnX84GivesItsPricesToTheSameLv) {
  std::filesystem::copy_file(kData + "/xml-real/LV_Los01.X83", dir_.Path("LV_Los01.X83"));
  const std::string beside = PricedOffer(dir_.Path("LV_Los01.X83"), "LV_Los01.X84");
  std::filesystem::copy_file(beside, dir_.Path("angebot.X84"));
  const struct {
    std::string offer;
    std::string tender;
  } cases[] = {{beside, kData + "/real/LV_Los01.P83"},
               {beside, kData + "/gaeb90/LV_Los01.D83"},
               {dir_.Path("angebot.X84"), kData + "/xml-real/LV_Los01.X83"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.offer + " -> " + c.tender);
    ASSERT_TRUE(doc_.Import(c.tender)) << doc_.LastError;
    const PriceTakeOver plan = TakeOver(c.offer, PriceTakeOver::Prices::Keep);
    ASSERT_TRUE(plan.Refusals.empty()) << plan.Refusals.front();
    EXPECT_EQ(plan.Positions, 5);
    ExpectPricedAsTyped(true);
  }
  // Without its tender, an X84 gives nothing to another format's tender.
  ASSERT_TRUE(doc_.Import(kData + "/real/LV_Los01.P83")) << doc_.LastError;
  KsLyxObj source;
  EXPECT_FALSE(source.ImportPriceSource(dir_.Path("angebot.X84"), doc_));
  EXPECT_TRUE(source.TenderMissing());
}

// Prices already entered stay when the user keeps them and give way when
// the user replaces them.
TEST_F(PriceTakeOverTest, EnteredPricesAreKeptOrReplaced) {
  const std::string offer = PricedOffer(kData + "/real/LV_Los01.P83", "los01.D84");
  for (const auto prices : {PriceTakeOver::Prices::Keep, PriceTakeOver::Prices::Replace}) {
    ASSERT_TRUE(doc_.Import(kData + "/xml-real/LV_Los01.X83")) << doc_.LastError;
    KsGAEBObj& first = *OzIndex(doc_).Find("1.10").front();
    ApplyEntries(doc_, {{&first, "EP", "7"}});
    const PriceTakeOver plan = TakeOver(offer, prices);
    const bool keep = prices == PriceTakeOver::Prices::Keep;
    EXPECT_EQ(plan.Kept, keep ? 1 : 0);
    EXPECT_EQ(plan.Positions, keep ? 4 : 5);
    EXPECT_DOUBLE_EQ(NumberValue(first, "GB"), keep ? 7.00 : 1234.56);
    EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMME"), keep ? 4292.93 - 1234.56 + 7 : kLvTotal);
    if (keep) {
      EXPECT_EQ(TakeOverReport(plan, doc_)[1],
                "1 Position hatte schon einen Preis und behielt ihn.");
    }
  }
}

// An offer the tender cannot take leaves the tender as it was: another LV,
// a discount the entry refuses (after other values of the offer were
// entered), a damaged file, an offer without prices.
TEST_F(PriceTakeOverTest, WhatCannotBeTakenLeavesTheTenderUnchanged) {
  const std::string los01 = PricedOffer(kData + "/real/LV_Los01.P83", "los01.D84");
  ASSERT_TRUE(doc_.Import(kData + "/xml-real/LV_Los02.X83")) << doc_.LastError;
  KsLyxObj source;
  ASSERT_TRUE(source.ImportPriceSource(los01, doc_));
  PriceTakeOver plan = PlanPriceTakeOver(source, "los01.D84", doc_, PriceTakeOver::Prices::Keep);
  EXPECT_EQ(plan.Unmatched.size(), 5u);
  EXPECT_EQ(plan.Refusals, std::vector<std::string>{
                               "Das Angebot los01.D84 hat keine OZ mit dem offenen LV gemeinsam "
                               "(es geh\xF6rt wohl zu einem anderen LV)."});

  const std::string tooHigh = Tender(
      Area("01", "Rohbau",
           Position("01010010", "3", "m", Field("EP", "10")) +
               Position("01010020", "1", "m", Field("EP", "5") + Field("NACHLASSPROZ", "150"))));
  ASSERT_TRUE(source.ImportPriceSource(dir_.Write("hoch.D84", tooHigh), doc_)) << source.LastError;
  ASSERT_TRUE(Load(Tender(
      Area("01", "Rohbau",
           Position("01010010", "3", "m") + Position("01010020", "1", "m", Field("EP", "2"))))));
  const std::vector<const KsGAEBObj*> positions = AllPositions(doc_);
  plan = PlanPriceTakeOver(source, "hoch.D84", doc_, PriceTakeOver::Prices::Replace);
  ASSERT_TRUE(plan.Refusals.empty());
  ASSERT_EQ(plan.Entries.size(), 3u);
  try {
    ApplyEntries(doc_, plan.Entries);
    ADD_FAILURE() << "150 % taken";
  } catch (const EntryError& e) {
    EXPECT_EQ(std::string(e.what()).substr(0, 24), "01010020, NACHLASSPROZ: ");
  }
  EXPECT_TRUE(positions[0]->Members.Find("EP") == nullptr ||
              positions[0]->Members.Find("EP")->Value.IsEmptyOrNull());
  EXPECT_DOUBLE_EQ(NumberValue(*positions[1], "EP"), 2);
  EXPECT_DOUBLE_EQ(NumberValue(*positions[1], "GB"), 2);
  EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMME"), 2);
  EXPECT_FALSE(doc_.Modified());

  EXPECT_FALSE(source.ImportPriceSource(dir_.Write("kaputt.D84", "#begin[GAEB]\r\n#begin["), doc_));
  EXPECT_NE(source.LastError.find("unvollst\xE4ndig"), std::string::npos) << source.LastError;

  ASSERT_TRUE(
      source.ImportPriceSource(dir_.Write("leer.D84", Tender(Position("0010", "1", "m"))), doc_));
  plan = PlanPriceTakeOver(source, "leer.D84", doc_, PriceTakeOver::Prices::Keep);
  EXPECT_EQ(plan.Refusals,
            std::vector<std::string>{"Das Angebot leer.D84 enth\xE4lt keine Preise."});
}

// A negative price is asked about, as the grid asks; the question names
// the position.
TEST_F(PriceTakeOverTest, NegativePricesAreAskedAbout) {
  KsLyxObj source;
  ASSERT_TRUE(source.ImportPriceSource(
      dir_.Write("minus.D84",
                 Tender(Area("01", "Rohbau", Position("01010010", "3", "m", Field("EP", "-4"))))),
      doc_));
  ASSERT_TRUE(Load(Tender(Area("01", "Rohbau", Position("01010010", "3", "m")))));
  const PriceTakeOver plan =
      PlanPriceTakeOver(source, "minus.D84", doc_, PriceTakeOver::Prices::Keep);
  EXPECT_EQ(plan.Questions,
            std::vector<std::string>{"Position 01010010: Der Einheitspreis -4,000 ist negativ. "
                                     "Soll er \xFC"
                                     "bernommen werden?"});
  ApplyEntries(doc_, plan.Entries);
  EXPECT_DOUBLE_EQ(NumberValue(*doc_.LvInfo, "SUMME"), -12);
}

}  // namespace
