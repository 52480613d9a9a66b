#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/format_guard.h"
#include "tests/support/test_document.h"
#include "util/entry_error.h"
#include "util/variant.h"

namespace {

double Get(const KsGAEBObj& e, const char* member) { return e.Members.Find(member)->GetAsFloat(); }
void Put(KsGAEBObj& e, const char* member, double v) {
  e.Members.FindOrMake(member)->SetAsFloat(v);
}

class TotalsTest : public ::testing::Test {
 protected:
  TotalsTest() { AddPositionDisplayFields(); }

  KsParams Params() { return ImportParams(withDoc ? &doc : nullptr); }

  KsGAEBObj& NewLV(double vat = 16) {
    lv.reset(
        static_cast<KsGAEBObj*>(GaebClasses().CreateObj("GAEBLV", nullptr, Params(), nullptr)));
    info =
        static_cast<KsGAEBObj*>(GaebClasses().CreateObj("GAEBLVINFO", lv.get(), Params(), nullptr));
    lv->Members.FindOrMake("LVINFO")->SetChild(info);
    Put(*info, "UST", vat);
    return *lv;
  }
  KsGAEBObj& Add(KsGAEBObj& parent, const char* list, const std::string& key) {
    return *static_cast<KsGAEBObj*>(
        GaebClasses().CreateObj(key, parent.ChildListOrNew(list), Params(), nullptr));
  }
  KsGAEBObj& Area(KsGAEBObj& parent) { return Add(parent, "LVBEREICH", "GAEBLVBEREICH"); }
  KsGAEBObj& Position(KsGAEBObj& parent, const char* type, double quantity, double price,
                      double discount = 0) {
    KsGAEBObj& p = Add(parent, "POSITION", "GAEBPOSITION");
    p.Members.FindOrMake("_TARVO_POSTYP")->SetAsString(type);
    Put(p, "MENGE", quantity);
    Put(p, "EP", price);
    Put(p, "NACHLASSPROZ", discount);
    return p;
  }
  // Every amount stored afresh, as after an import.
  void RecalculateAll() {
    doc.recalcAll = true;
    CalcAll(*lv);
    doc.recalcAll = false;
    doc.codes.clear();
  }

  FormatGuard german{GermanFormatSettings()};
  TestDocument doc;
  bool withDoc = true;
  std::unique_ptr<KsGAEBObj> lv;
  KsGAEBObj* info = nullptr;
};

struct PositionEdit {
  double quantity, price, discount;
  const char* member;
  const char* text;
  double wantPrice, wantDiscount, wantAmount;
  bool changes;  // the amount changed, so the sums were carried up
};

TEST_F(TotalsTest, PositionEditsRoundStoreAndRecompute) {
  const PositionEdit cases[] = {
      {10, 0, 0, "EP", "12,3456", 12.346, 0, 123.46, true},
      {3, 0, 0, "EP", "10", 10, 0, 30, true},
      {3, 10, 0, "NACHLASSPROZ", "5", 10, 5, 28.5, true},
      {1000, 1.231, 0, "EP", "1,232", 1.232, 0, 1232, true},
      {1000, 1.231, 0, "EP", "1,236", 1.236, 0, 1236, true},
      {1000, 1.231, 0, "EP", "1,2314", 1.231, 0, 1231, false},
      {1, 1, 0, "EP", "1,0005", 1.001, 0, 1, false},
      {1, 0, 0, "EP", "1,005", 1.005, 0, 1.01, true},
      {1, 0, 0, "EP", "2,675", 2.675, 0, 2.68, true},
      {1, 0, 0, "EP", "-1,005", -1.005, 0, -1.01, true},
      {3, 0, 0, "EP", "-2,5", -2.5, 0, -7.5, true},
      {2, 5, 0, "EP", "", 0, 0, 0, true},
      {100, 1, 0, "NACHLASSPROZ", "3,335", 1, 3.34, 96.66, true},
      {100, 1, 5, "NACHLASSPROZ", "5,004", 1, 5, 95, false},
      {4, 10, 0, "NACHLASSPROZ", "100", 10, 100, 0, true},
  };
  for (const PositionEdit& c : cases) {
    SCOPED_TRACE(std::string(c.member) + " <- " + c.text);
    KsGAEBObj& area = Area(NewLV());
    KsGAEBObj& p = Position(area, "N", c.quantity, c.price, c.discount);
    RecalculateAll();
    SetPositionValue(p, c.text, c.member);
    EXPECT_DOUBLE_EQ(Get(p, "EP"), c.wantPrice);
    EXPECT_DOUBLE_EQ(Get(p, "NACHLASSPROZ"), c.wantDiscount);
    EXPECT_DOUBLE_EQ(Get(p, "GB"), c.wantAmount);
    EXPECT_DOUBLE_EQ(Get(area, "SUMME"), c.wantAmount);
    EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), c.wantAmount);
    EXPECT_EQ(doc.Count(8), c.changes ? 1 : 0);
  }
}

TEST_F(TotalsTest, ComponentsMakeTheUnitPrice) {
  KsGAEBObj& p = Position(Area(NewLV()), "N", 10, 0);
  SetPositionValue(p, "1,1111", "EPANTEIL1");
  SetPositionValue(p, "2,2222", "EPANTEIL2");
  EXPECT_DOUBLE_EQ(Get(p, "EPANTEIL1"), 1.111);
  EXPECT_DOUBLE_EQ(Get(p, "EPANTEIL2"), 2.222);
  EXPECT_DOUBLE_EQ(Get(p, "EP"), 3.333);
  EXPECT_DOUBLE_EQ(Get(p, "GB"), 33.33);
  // A change in the third decimal of a component counts like one of EP.
  SetPositionValue(p, "1,112", "EPANTEIL1");
  EXPECT_DOUBLE_EQ(Get(p, "EP"), 3.334);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 33.34);
  SetPositionValue(p, "", "EPANTEIL6");
  EXPECT_DOUBLE_EQ(Get(p, "EP"), 3.334);
}

// Entries as people type them: "." or "," as the decimal separator, thousands
// grouped, in any number format.
TEST_F(TotalsTest, EntriesReadEitherDecimalSeparator) {
  KsGAEBObj& p = Position(Area(NewLV()), "N", 1, 0);
  const struct {
    const char* text;
    double price;
  } cases[] = {{"1234,5", 1234.5},
               {"12.5", 12.5},
               {"1.234,5678", 1234.568},
               {"1,234.5", 1234.5},
               {" 7,25 ", 7.25},
               {"1.234", 1.234},
               {"", 0},
               {"  ", 0},
               {"-3", -3}};
  for (const auto& c : cases) {
    for (const NumberFormat& format : {GermanFormatSettings(), EnglishFormatSettings()}) {
      FormatGuard guard(format);
      SetPositionValue(p, "99", "EP");
      SetPositionValue(p, c.text, "EP");
      EXPECT_DOUBLE_EQ(Get(p, "EP"), c.price) << c.text;
    }
  }
}

TEST_F(TotalsTest, TextThatIsNoNumberRaisesAndStoresNothing) {
  KsGAEBObj& area = Area(NewLV());
  KsGAEBObj& p = Position(area, "N", 2, 5);
  Put(area, "NACHLASSPROZ", 3);
  RecalculateAll();
  for (const char* text : {"abc", "12,5x", "1.2.3", "19 %", "1,2,3", "1.234.567"}) {
    SCOPED_TRACE(text);
    for (const char* member : {"EP", "NACHLASSPROZ", "EPANTEIL1"})
      EXPECT_THROW(SetPositionValue(p, text, member), VariantError);
    for (const char* member : {"NACHLASSPROZ", "NACHLASSABS"})
      EXPECT_THROW(SetAreaDiscount(area, text, member), VariantError);
  }
  EXPECT_DOUBLE_EQ(Get(p, "EP"), 5);
  EXPECT_DOUBLE_EQ(Get(area, "NACHLASSPROZ"), 3);
  EXPECT_DOUBLE_EQ(Get(area, "NACHLASSABS"), 0);
  EXPECT_TRUE(doc.codes.empty());
}

TEST_F(TotalsTest, OtherMemberNamesAreIgnored) {
  KsGAEBObj& area = Area(NewLV());
  KsGAEBObj& p = Position(area, "N", 2, 5);
  RecalculateAll();
  for (const char* member : {"ep", "GB", "MENGE", "EPANTEIL0", "EPANTEIL7", "SUMME"}) {
    SetPositionValue(p, "x", member);
    SetAreaDiscount(area, "x", member);
  }
  SetAreaDiscount(area, "x", "nachlassabs");
  EXPECT_DOUBLE_EQ(Get(p, "GB"), 10);
  EXPECT_TRUE(doc.codes.empty());
}

TEST_F(TotalsTest, OnlyNormalAndContingencyPositionsCount) {
  KsGAEBObj& lv = NewLV();
  KsGAEBObj& area = Area(lv);
  for (KsGAEBObj* parent : {&area, &lv}) {
    Position(*parent, "N", 1, 100);
    Position(*parent, "B", 1, 50);
    Position(*parent, "A", 1, 70);
    Position(*parent, "AB", 1, 20);
    Position(*parent, "n", 1, 9);
    Position(*parent, "", 1, 8);
  }
  RecalculateAll();
  EXPECT_DOUBLE_EQ(Get(area, "SUMME"), 150);
  EXPECT_DOUBLE_EQ(Get(*area.ChildList("POSITION")->Element(2), "GB"), 70);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 300);

  // An edit of a position directly under the LV reaches the LV sum at once.
  SetPositionValue(*lv.ChildList("POSITION")->Element(0), "110", "EP");
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 310);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 359.6);
  EXPECT_EQ(doc.codes, std::vector<int>{8});
  SetPositionValue(*lv.ChildList("POSITION")->Element(2), "75", "EP");
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 310);
}

TEST_F(TotalsTest, AreaDiscountsSwitchEachOtherOff) {
  KsGAEBObj& area = Area(NewLV());
  Position(area, "N", 10, 100);
  Position(Area(*lv), "N", 5, 100);
  RecalculateAll();
  struct Step {
    const char* member;
    const char* text;
    double percent, absolute, net, lvSum, gross;
  } steps[] = {
      {"NACHLASSPROZ", "3", 3, 0, 970, 1470, 1705.2},
      {"NACHLASSABS", "25", 0, 25, 975, 1475, 1711},
      {"NACHLASSPROZ", "2,5", 2.5, 0, 975, 1475, 1711},
      {"NACHLASSABS", "", 2.5, 0, 975, 1475, 1711},
      {"NACHLASSABS", "-10,004", 0, -10, 1010, 1510, 1751.6},
      {"NACHLASSPROZ", "0", 0, -10, 1010, 1510, 1751.6},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.member) + " <- " + s.text);
    SetAreaDiscount(area, s.text, s.member);
    EXPECT_DOUBLE_EQ(Get(area, "NACHLASSPROZ"), s.percent);
    EXPECT_DOUBLE_EQ(Get(area, "NACHLASSABS"), s.absolute);
    EXPECT_DOUBLE_EQ(Get(area, "SUMMENACHNL"), s.net);
    EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), s.lvSum);
    EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), s.gross);
  }
  EXPECT_EQ(doc.Count(8), 6);
}

// LV > 1 > 1.1 > 1.1.1, each area with positions of its own and a discount.
TEST_F(TotalsTest, EditDeepDownUpdatesEverySumAbove) {
  KsGAEBObj& a1 = Area(NewLV(19));
  KsGAEBObj& a2 = Area(a1);
  KsGAEBObj& a3 = Area(a2);
  Position(a1, "N", 1, 1000);
  Position(a2, "B", 2, 100);
  Position(a3, "N", 4, 10);
  KsGAEBObj& edited = Position(a3, "N", 1, 0);
  Position(a3, "A", 1, 999);
  Put(a3, "NACHLASSPROZ", 10);
  Put(a2, "NACHLASSABS", 5);
  Put(a1, "NACHLASSPROZ", 50);
  RecalculateAll();
  EXPECT_DOUBLE_EQ(Get(a3, "SUMMENACHNL"), 36);
  EXPECT_DOUBLE_EQ(Get(a2, "SUMME"), 236);

  SetPositionValue(edited, "60", "EP");
  EXPECT_DOUBLE_EQ(Get(a3, "SUMME"), 100);
  EXPECT_DOUBLE_EQ(Get(a3, "SUMMENACHNL"), 90);
  EXPECT_DOUBLE_EQ(Get(a2, "SUMME"), 290);  // keeps its own position
  EXPECT_DOUBLE_EQ(Get(a2, "SUMMENACHNL"), 285);
  EXPECT_DOUBLE_EQ(Get(a1, "SUMME"), 1285);
  EXPECT_DOUBLE_EQ(Get(a1, "SUMMENACHNL"), 642.5);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 642.5);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 764.58);
  EXPECT_EQ(doc.codes, std::vector<int>{8});

  // Recalculated from the area, the sum still holds the area's own positions.
  Put(a2, "SUMME", 0);
  CalcAll(a2);
  EXPECT_DOUBLE_EQ(Get(a2, "SUMME"), 290);
}

TEST_F(TotalsTest, RecalcAllStoresEqualValuesAndCarriesThemUp) {
  KsGAEBObj& area = Area(NewLV());
  KsGAEBObj& p = Position(area, "N", 3, 10, 5);
  p.Members.FindOrMake("GB")->SetValue(Variant("28,5"));
  Put(area, "SUMME", 1);  // stale, and left so while nothing below changes

  CalcAll(p);
  EXPECT_EQ(p.Members.Find("GB")->Value.Kind(), KsVarKind::String);
  EXPECT_DOUBLE_EQ(Get(area, "SUMME"), 1);
  EXPECT_TRUE(doc.codes.empty());

  doc.recalcAll = true;
  p.Members.FindOrMake("GB")->Modified = false;
  CalcAll(p);
  EXPECT_EQ(p.Members.Find("GB")->Value.Kind(), KsVarKind::Float);
  EXPECT_TRUE(p.Members.Find("GB")->Modified);
  EXPECT_DOUBLE_EQ(Get(area, "SUMME"), 28.5);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 33.06);
  EXPECT_EQ(doc.codes, std::vector<int>{8});
}

TEST_F(TotalsTest, WithoutDocumentNothingIsSent) {
  withDoc = false;
  KsGAEBObj& p = Position(Area(NewLV()), "N", 2, 0);
  SetPositionValue(p, "7,5", "EP");
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 15);
  CalcAll(*lv);
  EXPECT_TRUE(doc.codes.empty());
}

TEST_F(TotalsTest, PriceComponentsAndBreakdown) {
  for (const char* name : {"EPANTEIL1", "EPANTEIL6"}) EXPECT_TRUE(IsPriceComponent(name)) << name;
  for (const char* name : {"EPANTEIL0", "EPANTEIL7", "epanteil1", "EPANTEIL", "EPANTEIL12", "EP"})
    EXPECT_FALSE(IsPriceComponent(name)) << name;
  KsGAEBObj& p = Position(Area(NewLV()), "N", 1, 0);
  for (const auto& [flag, breakdown] : std::vector<std::pair<const char*, bool>>{
           {"J", true}, {"j", false}, {"N", false}, {"", false}}) {
    p.Members.FindOrMake("EPAUFGL")->SetAsString(flag);
    EXPECT_EQ(HasPriceBreakdown(p), breakdown) << flag;
  }
}

// Where the client asks for components, EP is their sum and cannot be
// entered itself.
TEST_F(TotalsTest, UnitPriceOfABreakdownComesFromItsComponents) {
  KsGAEBObj& p = Position(Area(NewLV()), "N", 2, 0);
  p.Members.FindOrMake("EPAUFGL")->SetAsString("J");
  SetPositionValue(p, "1,5", "EPANTEIL1");
  SetPositionValue(p, "2", "EPANTEIL3");
  try {
    SetPositionValue(p, "10", "EP");
    ADD_FAILURE() << "EP taken";
  } catch (const EntryError& e) {
    EXPECT_EQ(std::string(e.what()), PriceBreakdownHint());
  }
  EXPECT_DOUBLE_EQ(Get(p, "EP"), 3.5);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 7);
}

TEST_F(TotalsTest, VatRatesLieBetweenZeroAndOneHundred) {
  KsGAEBObj& lv = NewLV(19);
  Position(Area(lv), "N", 1, 100);
  RecalculateAll();
  for (const char* text : {"-0,01", "100,01", "1e3"}) {
    EXPECT_THROW(SetVatRate(lv, text), EntryError) << text;
    EXPECT_DOUBLE_EQ(Get(*info, "UST"), 19);
  }
  SetVatRate(lv, "100");
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 200);
  SetVatRate(lv, "0");
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 100);
}

TEST_F(TotalsTest, EmptyUnitPriceHoldsNoValue) {
  KsGAEBObj& p = Position(Area(NewLV()), "N", 1, 0);
  const struct {
    Variant ep;
    bool empty;
  } cases[] = {
      {Variant(), true},         {Variant::Null(), true},  {Variant(std::string("  ")), true},
      {Variant(0.0), false},     {Variant(0.0004), false}, {Variant(-0.0004), false},
      {Variant("0,001"), false}, {Variant("0"), false},    {Variant("abc"), false},
  };
  for (const auto& c : cases) {
    p.Members.FindOrMake("EP")->Value = c.ep;
    EXPECT_EQ(HasEmptyUnitPrice(p), c.empty) << p.Text("EP");
  }
}

// A price the bidder left open is no price of 0: typing 0 gives a price of
// 0, a blank entry takes the price back, for EP as for its components.
TEST_F(TotalsTest, AnEmptyPriceIsNoPriceOfZero) {
  KsGAEBObj& area = Area(NewLV());
  KsGAEBObj& p = Position(area, "N", 4, 0);
  KsGAEBObj& q = Position(area, "N", 2, 0);
  q.Members.FindOrMake("EPAUFGL")->SetAsString("J");
  for (KsGAEBObj* position : {&p, &q}) position->Members.FindOrMake("EP")->Value = Variant();
  RecalculateAll();
  struct Step {
    KsGAEBObj* position;
    const char* member;
    const char* text;
    bool empty;
    double price, amount, sum;
  } steps[] = {
      {&p, "EP", "0", false, 0, 0, 0},        {&p, "EP", "", true, 0, 0, 0},
      {&p, "EP", "2,5", false, 2.5, 10, 10},  {&p, "EP", " ", true, 0, 0, 0},
      {&q, "EPANTEIL1", "0", false, 0, 0, 0}, {&q, "EPANTEIL2", "1,25", false, 1.25, 2.5, 2.5},
      {&q, "EPANTEIL2", "", false, 0, 0, 0},  {&q, "EPANTEIL1", "", true, 0, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.member) + " <- '" + s.text + "'");
    SetPositionValue(*s.position, s.text, s.member);
    EXPECT_EQ(HasEmptyUnitPrice(*s.position), s.empty);
    EXPECT_EQ(s.position->Members.Find("EP")->Value.IsEmptyOrNull(), s.empty);
    EXPECT_DOUBLE_EQ(Get(*s.position, "EP"), s.price);
    EXPECT_DOUBLE_EQ(Get(*s.position, "GB"), s.amount);
    EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), s.sum);
  }
}

// Beyond 0 ... 100 % a discount would turn the amount negative or raise it;
// such an entry is refused and leaves everything as it was. An absolute
// discount has no such bound (it is asked about where unusual).
TEST_F(TotalsTest, DiscountPercentagesLieBetweenZeroAndOneHundred) {
  KsGAEBObj& area = Area(NewLV());
  KsGAEBObj& p = Position(area, "N", 10, 10, 5);
  Put(area, "NACHLASSPROZ", 3);
  RecalculateAll();
  for (const char* text : {"-0,01", "100,01", "150", "200", "-5"}) {
    SCOPED_TRACE(text);
    try {
      SetPositionValue(p, text, "NACHLASSPROZ");
      ADD_FAILURE() << "position discount taken";
    } catch (const EntryError& e) {
      EXPECT_EQ(std::string(e.what()), "Der Nachlass muss zwischen 0 und 100 % liegen.");
    }
    EXPECT_THROW(SetAreaDiscount(area, text, "NACHLASSPROZ"), EntryError);
  }
  EXPECT_DOUBLE_EQ(Get(p, "NACHLASSPROZ"), 5);
  EXPECT_DOUBLE_EQ(Get(area, "NACHLASSPROZ"), 3);
  EXPECT_DOUBLE_EQ(Get(area, "SUMMENACHNL"), 92.15);  // 95,00 less 2,85
  EXPECT_TRUE(doc.codes.empty());

  SetAreaDiscount(area, "100", "NACHLASSPROZ");
  EXPECT_DOUBLE_EQ(Get(area, "SUMMENACHNL"), 0);
  SetAreaDiscount(area, "500", "NACHLASSABS");
  EXPECT_DOUBLE_EQ(Get(area, "SUMMENACHNL"), -405);
}

TEST_F(TotalsTest, VatRateEntryRecalculatesTheGrossSum) {
  KsGAEBObj& lv = NewLV(19);
  Position(Area(lv), "N", 1, 1000.03);
  RecalculateAll();
  EXPECT_DOUBLE_EQ(VatAmount(*info), 190.01);
  SetVatRate(lv, "7,5");
  EXPECT_DOUBLE_EQ(Get(*info, "UST"), 7.5);
  EXPECT_DOUBLE_EQ(VatAmount(*info), 75);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 1075.03);
  EXPECT_EQ(doc.codes, std::vector<int>{8});
  EXPECT_THROW(SetVatRate(lv, "19 %"), VariantError);
  EXPECT_DOUBLE_EQ(Get(*info, "UST"), 7.5);
  SetVatRate(lv, "");
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 1000.03);
  info->Members.FindOrMake("UST")->SetValue(Variant("x"));
  EXPECT_DOUBLE_EQ(VatAmount(*info), 0);
}

// Money in integers, independent of the code under test: a value given in
// units of 10^-from, rounded half away from zero to units of 10^-to.
long long Scale(__int128 value, int from, int to) {
  __int128 p = 1;
  for (int i = to; i < from; ++i) p *= 10;
  const __int128 m = value < 0 ? -value : value;
  const __int128 q = (m + p / 2) / p;
  return static_cast<long long>(value < 0 ? -q : q);
}

struct MoneyCase {
  double quantity;
  const char* price;
  const char* percent;
  long long cents;
};

// GB from the decimal values typed, exact to the cent, for both signs.
TEST_F(TotalsTest, PositionAmountsAreExactToTheCent) {
  const MoneyCase cases[] = {
      {1.037, "1,027", "0", 106},      // exactly 1,064999
      {25, "1201,011", "0", 3002528},  // exactly 30.025,275
      {1, "1,005", "0", 101},
      {1, "1,004", "0", 100},
      {1, "2,675", "0", 268},
      {3, "0,1", "0", 30},
      {2.675, "1", "0", 268},
      {1.005, "1", "0", 101},
      {0.001, "0,001", "0", 0},
      {999.999, "999999,999", "0", 99999899900},
      {1, "999999999,125", "0", 99999999913},
      {1, "999999999,124", "0", 99999999912},
      {123.457, "87,643", "3,5", 1044144},
      {1, "10,01", "50", 501},  // exactly 5,005
      {100, "10", "33,33", 66670},
      {7.333, "3,333", "12,5", 2139},
  };
  for (const MoneyCase& c : cases) {
    for (const int sign : {1, -1}) {
      SCOPED_TRACE(std::to_string(sign * c.quantity) + " x " + c.price + " less " + c.percent);
      KsGAEBObj& area = Area(NewLV(0));
      KsGAEBObj& p = Position(area, "N", sign * c.quantity, 0);
      SetPositionValue(p, c.percent, "NACHLASSPROZ");
      SetPositionValue(p, c.price, "EP");
      const long long want = sign * c.cents;
      EXPECT_EQ(std::llround(Get(p, "GB") * 100), want);
      EXPECT_EQ(std::llround(Get(area, "SUMME") * 100), want);
      EXPECT_EQ(std::llround(Get(*info, "SUMMEBRUTTO") * 100), want);
    }
  }
}

// Discount amounts, nets, VAT and gross sums, each rounded where computed;
// the gross sum is always the net plus the VAT amount.
TEST_F(TotalsTest, DiscountsAndVatAreRoundedWhereComputed) {
  const struct {
    const char* price;  // one position of quantity 1 makes the area's sum
    const char* member;
    const char* discount;
    double vat;
    long long net, vatCents, gross;
  } cases[] = {
      {"1000,03", "NACHLASSPROZ", "3", 19, 97003, 18431, 115434},
      {"1001,8", "NACHLASSPROZ", "2,5", 19, 97675, 18558, 116233},
      {"1000,5", "NACHLASSPROZ", "3", 19, 97048, 18439, 115487},
      {"1000,5", "NACHLASSABS", "0,5", 19, 100000, 19000, 119000},
      {"-1000,5", "NACHLASSPROZ", "3", 19, -97048, -18439, -115487},
      {"100", "NACHLASSPROZ", "0", 7.5, 10000, 750, 10750},
      {"0,07", "NACHLASSPROZ", "0", 7, 7, 0, 7},
      {"0,08", "NACHLASSPROZ", "0", 19, 8, 2, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.price) + " " + c.member + " " + c.discount);
    KsGAEBObj& lv = NewLV(c.vat);
    KsGAEBObj& area = Area(lv);
    KsGAEBObj& p = Position(area, "N", 1, 0);
    SetPositionValue(p, c.price, "EP");
    SetAreaDiscount(area, c.discount, c.member);
    EXPECT_EQ(std::llround(Get(area, "SUMMENACHNL") * 100), c.net);
    EXPECT_EQ(std::llround(Get(*info, "SUMME") * 100), c.net);
    EXPECT_EQ(std::llround(VatAmount(*info) * 100), c.vatCents);
    EXPECT_EQ(std::llround(Get(*info, "SUMMEBRUTTO") * 100), c.gross);
  }
  // Two areas of 1.000,50 less 3 % (30,015): the LV adds the rounded nets.
  KsGAEBObj& lv = NewLV(0);
  for (int i = 0; i < 2; ++i) {
    KsGAEBObj& area = Area(lv);
    SetPositionValue(Position(area, "N", 1, 0), "1000,5", "EP");
    SetAreaDiscount(area, "3", "NACHLASSPROZ");
  }
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 1940.96);
}

// No amount reaches 10^12: an entry that would make one is refused whole,
// whichever amount above it would pass the limit. (A percentage cannot:
// one outside 0 ... 100 is refused before.)
TEST_F(TotalsTest, AmountsStayBelowTheLimit) {
  KsGAEBObj& lv = NewLV(0);
  KsGAEBObj& area = Area(lv);
  KsGAEBObj& first = Position(area, "N", 1, 0);
  KsGAEBObj& second = Position(area, "N", 2, 0);
  SetPositionValue(first, "999999999999,99", "EP");
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 999999999999.99);
  SetPositionValue(first, "600000000000", "EP");
  doc.codes.clear();
  const struct {
    KsGAEBObj* element;
    const char* member;
    const char* text;
  } refused[] = {
      {&second, "EP", "1000000000000"},  // the entry itself
      {&second, "EP", "-1e308"},         // the entry itself
      {&second, "EP", "500000000000"},   // GB 1.000.000.000.000,00
      {&second, "EP", "200000000000"},   // the area's sum
      {&second, "EPANTEIL1", "500000000000"},
      {&area, "NACHLASSABS", "-400000000000"},
  };
  for (const auto& r : refused) {
    SCOPED_TRACE(std::string(r.member) + " <- " + r.text);
    bool raised = false;
    try {
      if (r.element == &area)
        SetAreaDiscount(area, r.text, r.member);
      else
        SetPositionValue(*r.element, r.text, r.member);
    } catch (const EntryError& e) {
      raised = true;
      EXPECT_NE(std::string(e.what()).find("1.000.000.000.000"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(raised);
    EXPECT_DOUBLE_EQ(Get(second, "EP"), 0);
    EXPECT_DOUBLE_EQ(Get(second, "EPANTEIL1"), 0);
    EXPECT_DOUBLE_EQ(Get(second, "GB"), 0);
    EXPECT_DOUBLE_EQ(Get(area, "NACHLASSABS"), 0);
    EXPECT_DOUBLE_EQ(Get(area, "NACHLASSPROZ"), 0);
    EXPECT_DOUBLE_EQ(Get(area, "SUMME"), 600000000000);
    EXPECT_DOUBLE_EQ(Get(area, "SUMMENACHNL"), 600000000000);
    EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 600000000000);
  }
  SetPositionValue(second, "199999999999,995", "EP");  // GB 399.999.999.999,99
  EXPECT_DOUBLE_EQ(Get(*info, "SUMME"), 999999999999.99);
  EXPECT_THROW(SetVatRate(lv, "0,01"), EntryError);  // the gross sum
  EXPECT_DOUBLE_EQ(Get(*info, "UST"), 0);
  EXPECT_DOUBLE_EQ(Get(*info, "SUMMEBRUTTO"), 999999999999.99);

  // Recalculating a tree that holds too much raises rather than storing it.
  Put(first, "MENGE", 2);
  doc.recalcAll = true;
  EXPECT_THROW(CalcAll(lv), EntryError);
  doc.recalcAll = false;
}

// The generator's values in the units they were made in, so that the
// reference needs nothing of the code under test.
struct GeneratedPosition {
  long long quantityMilli, priceMilli, percentCenti;
  bool counts;
};

struct Reference {
  std::map<const KsGAEBObj*, GeneratedPosition> positions;
  std::map<const KsGAEBObj*, std::pair<long long, long long>> discounts;  // percent, absolute

  static long long Cents(double stored) { return std::llround(stored * 100); }

  // Checks every element below; returns the sum of the counting positions'
  // amounts and of the areas' nets, in cents.
  long long Check(const KsGAEBObj& e) {
    long long sum = 0;
    // A list nothing was built into is not made.
    const KsGAEBObjList* ps = e.ChildList("POSITION");
    for (int i = 0; ps && i < ps->Count(); ++i) {
      const GeneratedPosition& g = positions.at(ps->Element(i));
      const long long gb = Scale(
          static_cast<__int128>(g.priceMilli) * g.quantityMilli * (10000 - g.percentCenti), 10, 2);
      EXPECT_EQ(Cents(Get(*ps->Element(i), "GB")), gb);
      if (g.counts) sum += gb;
    }
    const KsGAEBObjList* as = e.ChildList("LVBEREICH");
    for (int i = 0; as && i < as->Count(); ++i) {
      const KsGAEBObj& a = *as->Element(i);
      const long long areaSum = Check(a);
      EXPECT_EQ(Cents(Get(a, "SUMME")), areaSum);
      const auto [percent, absolute] = discounts[&a];
      const long long net = absolute != 0
                                ? areaSum - absolute
                                : areaSum - Scale(static_cast<__int128>(areaSum) * percent, 4, 0);
      EXPECT_EQ(Cents(Get(a, "SUMMENACHNL")), net);
      sum += net;
      ++areaCount;
    }
    return sum;
  }
  int areaCount = 0;
};

TEST_F(TotalsTest, CalcAllMatchesAnIndependentRecomputation) {
  std::mt19937 rng(20240611);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  const char* types[] = {"N", "N", "N", "B", "A", "AB"};
  KsGAEBObj& root = NewLV(19);
  Reference ref;
  std::vector<std::pair<KsGAEBObj*, int>> open = {{&root, 0}};
  while (!open.empty()) {
    auto [parent, depth] = open.back();
    open.pop_back();
    for (int i = uniform(2, 14); i > 0; --i) {
      const GeneratedPosition g{uniform(-2000, 4000000), uniform(-500, 900000),
                                uniform(0, 3) == 0 ? uniform(0, 1000) : 0, false};
      const char* type = types[uniform(0, 5)];
      KsGAEBObj& p = Position(*parent, type, g.quantityMilli / 1000.0, g.priceMilli / 1000.0,
                              g.percentCenti / 100.0);
      ref.positions[&p] = {g.quantityMilli, g.priceMilli, g.percentCenti,
                           std::string(type) == "N" || std::string(type) == "B"};
    }
    if (depth < 4) {
      for (int i = uniform(depth == 0 ? 2 : 0, 3); i > 0; --i) {
        KsGAEBObj& a = Area(*parent);
        if (uniform(0, 2) == 0) {
          ref.discounts[&a].first = uniform(0, 1500);
          Put(a, "NACHLASSPROZ", ref.discounts[&a].first / 100.0);
        } else if (uniform(0, 2) == 0) {
          ref.discounts[&a].second = uniform(-1000, 50000);
          Put(a, "NACHLASSABS", ref.discounts[&a].second / 100.0);
        }
        open.push_back({&a, depth + 1});
      }
    }
  }
  ASSERT_GT(ref.positions.size(), 100u);

  doc.recalcAll = true;
  CalcAll(root);
  EXPECT_EQ(doc.codes, std::vector<int>{8});
  const long long sum = ref.Check(root);
  EXPECT_GT(ref.areaCount, 20);
  const long long vat = Scale(static_cast<__int128>(sum) * 1900, 4, 0);
  EXPECT_EQ(Reference::Cents(Get(*info, "SUMME")), sum);
  EXPECT_EQ(std::llround(VatAmount(*info) * 100), vat);
  EXPECT_EQ(Reference::Cents(Get(*info, "SUMMEBRUTTO")), sum + vat);

  // Without RecalcAll the incremental rules lead to the same values.
  doc.recalcAll = false;
  KsGAEBObj* deepest = &root;
  while (deepest->ChildList("LVBEREICH") && deepest->ChildList("LVBEREICH")->Count() > 0)
    deepest = deepest->ChildList("LVBEREICH")->Element(0);
  KsGAEBObj& p = Position(*deepest, "N", 3.5, 0);
  ref.positions[&p] = {3500, 123457, 0, true};
  SetPositionValue(p, "123,457", "EP");
  KsGAEBObj& changed = *deepest->ChildList("POSITION")->Element(0);
  ref.positions[&changed].quantityMilli = 7777123;
  Put(changed, "MENGE", 7777.123);
  CalcAll(*deepest);
  const long long again = ref.Check(root);
  EXPECT_EQ(Reference::Cents(Get(*info, "SUMME")), again);
  EXPECT_EQ(Reference::Cents(Get(*info, "SUMMEBRUTTO")),
            again + Scale(static_cast<__int128>(again) * 1900, 4, 0));
}

}  // namespace
