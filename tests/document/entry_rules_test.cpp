#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/cell_text.h"
#include "document/entry_questions.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/format_guard.h"
#include "tests/support/tender_files.h"

namespace {

class EntryRulesTest : public ::testing::Test {
 protected:
  void SetUp() override { PrepareGaeb(); }

  std::unique_ptr<KsGAEBObj> New(const char* key) {
    return std::unique_ptr<KsGAEBObj>(
        dynamic_cast<KsGAEBObj*>(GaebClasses().CreateObj(key, nullptr, {}, nullptr)));
  }

  FormatGuard format_{GermanFormatSettings()};
};

TEST_F(EntryRulesTest, WhatTheGridLetsTheUserEnter) {
  auto position = New("GAEBPOSITION");
  auto area = New("GAEBLVBEREICH");
  const struct {
    const char* member;
    bool position, breakdown, area;
  } cases[] = {
      {"EP", true, false, false},          {"NACHLASSPROZ", true, true, true},
      {"EPANTEIL1", false, true, false},   {"EPANTEIL6", false, true, false},
      {"NACHLASSABS", false, false, true}, {"GB", false, false, false},
      {"MENGE", false, false, false},      {"SUMME", false, false, false},
  };
  for (const auto& c : cases) {
    position->Members.FindOrMake("EPAUFGL")->SetAsString("");
    EXPECT_EQ(IsEnterable(*position, c.member), c.position) << c.member;
    position->Members.FindOrMake("EPAUFGL")->SetAsString("J");
    EXPECT_EQ(IsEnterable(*position, c.member), c.breakdown) << c.member;
    EXPECT_EQ(IsEnterable(*area, c.member), c.area) << c.member;
  }
}

TEST_F(EntryRulesTest, NumberEntriesTakeEitherSeparator) {
  for (const char* typed : {"", "12", "12,5", "12.5", "1.234,5", "-3", "1.2.3"})
    EXPECT_TRUE(IsNumberEntry(typed)) << typed;
  for (const char* typed : {"a", "12 ", "19 %", "1e5", "+3", "12\xE4"})
    EXPECT_FALSE(IsNumberEntry(typed)) << typed;
}

TEST_F(EntryRulesTest, NegativeUnitPricesAreAskedFor) {
  auto position = New("GAEBPOSITION");
  auto area = New("GAEBLVBEREICH");
  const struct {
    KsGAEBObj* element;
    const char* member;
    const char* text;
    std::string question;
  } cases[] = {
      {position.get(), "EP", "-5,5",
       "Der Einheitspreis -5,500 ist negativ. Soll er \xFC"
       "bernommen werden?"},
      {position.get(), "EP", "-1.234,5",
       "Der Einheitspreis -1.234,500 ist negativ. Soll er \xFC"
       "bernommen werden?"},
      {position.get(), "EPANTEIL2", "-0.5",
       "Der Einheitspreisanteil -0,500 ist negativ. Soll er \xFC"
       "bernommen werden?"},
      {position.get(), "EP", "5,5", ""},
      {position.get(), "EP", "0", ""},
      {position.get(), "EP", "-abc", ""},          // refused when applied
      {position.get(), "NACHLASSPROZ", "-5", ""},  // refused when applied
  };
  for (const auto& c : cases)
    EXPECT_EQ(EntryQuestion(*c.element, c.member, c.text), c.question) << c.member << c.text;
}

// Discounts are asked about like prices: a percentage above 50 (up to 100;
// beyond it is refused when applied), an absolute discount above the area's
// sum or below 0.
TEST_F(EntryRulesTest, UnusualDiscountsAreAskedFor) {
  auto position = New("GAEBPOSITION");
  auto area = New("GAEBLVBEREICH");
  area->Members.FindOrMake("OZ")->SetAsString("01.02");
  area->Members.FindOrMake("SUMME")->SetAsFloat(1234.5);
  const std::string high =
      " % ist ungew\xF6hnlich hoch. Soll er \xFC"
      "bernommen werden?";
  const struct {
    KsGAEBObj* element;
    const char* member;
    const char* text;
    std::string question;
  } cases[] = {
      {position.get(), "NACHLASSPROZ", "50", ""},
      {position.get(), "NACHLASSPROZ", "50,01", "Ein Nachlass von 50,01" + high},
      {position.get(), "NACHLASSPROZ", "100", "Ein Nachlass von 100,00" + high},
      {position.get(), "NACHLASSPROZ", "200", ""},
      {area.get(), "NACHLASSPROZ", "75", "Ein Nachlass von 75,00" + high},
      {area.get(), "NACHLASSPROZ", "150", ""},
      {area.get(), "NACHLASSPROZ", "3", ""},
      {area.get(), "NACHLASSABS", "1234,5", ""},
      {area.get(), "NACHLASSABS", "1234,504", ""},
      {area.get(), "NACHLASSABS", "1.234,51",
       "Der Nachlass 1.234,51 ist h\xF6her als die Summe 1.234,50 des LV-Bereichs 01.02. Soll er "
       "\xFC"
       "bernommen werden?"},
      {area.get(), "NACHLASSABS", "-10",
       "Der Nachlass -10,00 ist negativ und erh\xF6ht die Summe. Soll er \xFC"
       "bernommen werden?"},
      {area.get(), "NACHLASSABS", "", ""},
      {area.get(), "EP", "-5", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EntryQuestion(*c.element, c.member, c.text), c.question) << c.member << c.text;
}

TEST_F(EntryRulesTest, UnusualVatRatesAreAskedFor) {
  const struct {
    const char* text;
    std::string question;
  } cases[] = {
      {"19", ""},
      {"25", ""},
      {"25,01",
       "Ein Mehrwertsteuersatz von 25,01 % ist ungew\xF6hnlich hoch. Soll er \xFC"
       "bernommen werden?"},
      {"100",
       "Ein Mehrwertsteuersatz von 100,00 % ist ungew\xF6hnlich hoch. Soll er \xFC"
       "bernommen werden?"},
      {"100,01", ""},  // refused when applied
      {"19 %", ""},
      {"-30", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(VatRateQuestion(c.text), c.question) << c.text;
}

}  // namespace
