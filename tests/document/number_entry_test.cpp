// The grid's rules for numbers that could be misread, shared with the price
// list: an entry like "1.234" is refused, and only the price components the
// tender asks for can be entered.

#include <gtest/gtest.h>

#include "core/member.h"
#include "document/cell_text.h"
#include "document/entry_questions.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "util/entry_error.h"

namespace {

// One area with a position of 2 m at 4,5 and one priced in components; the
// LVINFO holds `more`.
std::string TenderWith(const std::string& more) {
  std::string tender = Tender(Area("01", "Rohbau",
                                   Position("0010", "2", "m", Field("EP", "4,5")) +
                                       Position("0020", "1", "psch", Field("EPAUFGL", "J"))));
  const std::string vat = Field("UST", "19");
  return tender.replace(tender.find(vat), vat.size(), vat + more);
}

using NumberEntryTest = DocumentTest;

TEST_F(NumberEntryTest, AmbiguousThousandsAreRefusedInEitherFormat) {
  ASSERT_TRUE(Load(TenderWith("")));
  KsGAEBObj& position = *doc_.LvAreas->Element(0)->ChildList("POSITION")->Element(0);
  KsMember& ep = position.GetMember("EP");
  const struct {
    bool german;
    const char* typed;
    double ep;  // 0: refused
    std::string refusal;
  } cases[] = {
      {true, "1.234", 0, "Der Wert 1.234 ist mehrdeutig. Bitte 1234 oder 1,234 schreiben."},
      {true, " -12.500 ", 0,
       "Der Wert -12.500 ist mehrdeutig. Bitte -12500 oder -12,500 schreiben."},
      {true, "1,234", 1.234, ""},
      {true, "1.234,5", 1234.5, ""},
      {true, "0.125", 0.125, ""},
      {true, "1234.5", 1234.5, ""},
      {false, "1,234", 0, "Der Wert 1,234 ist mehrdeutig. Bitte 1234 oder 1.234 schreiben."},
      {false, "1.234", 1.234, ""},
      {false, "1,234.5", 1234.5, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    FormatGuard format(c.german ? GermanFormatSettings() : EnglishFormatSettings());
    ApplyCellText(position, ep, "4,5");
    if (c.refusal.empty()) {
      ApplyCellText(position, ep, c.typed);
      EXPECT_EQ(ep.AsFloatOr(-1), c.ep);
      continue;
    }
    // Refused before anything is asked or stored.
    EXPECT_EQ(EntryQuestion(position, "EP", "-" + std::string(c.typed)), "");
    try {
      ApplyCellText(position, ep, c.typed);
      ADD_FAILURE() << "taken";
    } catch (const EntryError& e) {
      EXPECT_EQ(e.what(), c.refusal);
    }
    EXPECT_EQ(ep.AsFloatOr(-1), 4.5);
    EXPECT_EQ(position.GetMember("GB").AsFloatOr(-1), 9.0);
  }
}

// ANZEPANTEILE says how many components the client asks for; where it says
// nothing usable, all six can be entered.
TEST_F(NumberEntryTest, OnlyTheComponentsTheTenderAsksFor) {
  const struct {
    std::string lvInfo;
    int asked;
  } cases[] = {
      {"", 6},
      {Field("ANZEPANTEILE", "3"), 3},
      {Field("ANZEPANTEILE", "1"), 1},
      {Field("ANZEPANTEILE", "6"), 6},
      {Field("ANZEPANTEILE", "0"), 6},
      {Field("ANZEPANTEILE", "9"), 6},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lvInfo);
    ASSERT_TRUE(Load(TenderWith(c.lvInfo)));
    const KsGAEBObjList& positions = *doc_.LvAreas->Element(0)->ChildList("POSITION");
    const KsGAEBObj& breakdown = *positions.Element(1);
    EXPECT_EQ(AskedPriceComponents(breakdown), c.asked);
    for (int k = 1; k <= 6; ++k) {
      const std::string component = "EPANTEIL" + std::to_string(k);
      EXPECT_EQ(IsEnterable(breakdown, component), k <= c.asked) << component;
      EXPECT_FALSE(IsEnterable(*positions.Element(0), component)) << component;
    }
  }
}

}  // namespace
