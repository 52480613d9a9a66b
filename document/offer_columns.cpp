#include "document/offer_columns.h"

#include <algorithm>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_ex.h"

namespace {

std::string Formatted(const char* format, double value) { return FormatEx(format, {value}); }

int Length(const std::string& text) { return static_cast<int>(text.size()); }

// The longest texts found in each column, without the blank in front.
struct Longest {
  int oz = 0;
  int amount = 0;
  int quantity = 0;
  int unit = 0;
  int discount = 0;
  int areaDiscount = 0;

  void Amount(double value) { amount = std::max(amount, Length(AmountText(value))); }

  void List(const KsGAEBObjList* list) {
    if (!list) return;
    for (int i = 0; i < list->Count(); ++i) Element(*list->Element(i));
  }

  void Element(const KsGAEBObj& element) {
    oz = std::max(oz, Length(element.Text("OZ")));
    if (dynamic_cast<const KsGLVBEREICH*>(&element)) {
      const double sum = NumberValue(element, "SUMME");
      const double after = NumberValue(element, "SUMMENACHNL");
      for (const double value : {sum, after, after - sum}) Amount(value);
      areaDiscount = std::max(areaDiscount, Length(AreaDiscountText(element)));
      List(element.ChildList("LVBEREICH"));
      List(element.ChildList("POSITION"));
      return;
    }
    // A position left open keeps the room of a price of 0, so the columns
    // do not narrow as prices are taken back.
    amount = std::max(amount, Length(Formatted("%.3n", NumberValue(element, "EP"))));
    Amount(NumberValue(element, "GB"));
    quantity = std::max(quantity, Length(QuantityText(element)));
    unit = std::max(unit, Length(element.Text("ME")));
    discount = std::max(discount, Length(PositionDiscountText(element)));
  }
};

// A column keeps its width from the layout while everything fits with a
// blank in front; a longer text widens it.
int Widened(int layout, int longest) { return std::max(layout, longest + 1); }

}  // namespace

std::string QuantityText(const KsGAEBObj& position) {
  return Formatted("%.3n", NumberValue(position, "MENGE"));
}

std::string UnitPriceText(const KsGAEBObj& position) {
  if (HasEmptyUnitPrice(position)) return std::string();
  return Formatted("%.3n", NumberValue(position, "EP"));
}

std::string PositionAmountText(const KsGAEBObj& position) {
  if (HasEmptyUnitPrice(position)) return std::string();
  return AmountText(NumberValue(position, "GB"));
}

std::string AmountText(double amount) { return Formatted("%.2n", amount); }

std::string PositionDiscountText(const KsGAEBObj& position) {
  const double percent = NumberValue(position, "NACHLASSPROZ");
  return percent != 0 ? Formatted("%.2n", percent) + "%" : std::string();
}

std::string AreaDiscountText(const KsGAEBObj& area) {
  const double percent = NumberValue(area, "NACHLASSPROZ");
  return percent != 0 ? Formatted("%.2n", percent) + "%: " : std::string();
}

std::string VatRateText(const KsGAEBObj& lvInfo) {
  return Formatted("%4.2n", NumberValue(lvInfo, "UST"));
}

OfferColumnWidths OfferColumns(const KsLyxObj& document) {
  OfferColumnWidths columns;
  if (!document.Loaded()) return columns;
  const KsGAEBObj& lvInfo = *document.LvInfo;
  Longest longest;
  longest.List(document.LvAreas);
  longest.List(document.Positions);
  for (const double total :
       {NumberValue(lvInfo, "SUMME"), NumberValue(lvInfo, "SUMMEBRUTTO"), VatAmount(lvInfo)})
    longest.Amount(total);

  columns.OzMask = OZMask(lvInfo.ChildList("LVGLIED"));
  columns.OzWidth = std::max(Length(columns.OzMask), longest.oz);
  columns.AmountWidth = Widened(Length(lvInfo.Text("SUMMEBRUTTO")) + 4, longest.amount);
  columns.QuantityWidth = Widened(11, longest.quantity);
  // A unit of four letters ("psch") touches its quantity, as laid out; a
  // longer one gets a column of its own with a blank in front.
  columns.UnitWidth = longest.unit > 4 ? longest.unit + 1 : 4;
  columns.DiscountWidth = Widened(8, longest.discount);
  columns.AreaDiscountWidth = Widened(10, longest.areaDiscount);
  columns.VatRateWidth = Length(VatRateText(lvInfo));
  columns.SummaryWidth = std::max(columns.AmountWidth, 14);
  return columns;
}

int OfferColumnWidths::MinPageChars() const {
  const int table =
      OzWidth + 4 + 25 + QuantityWidth + UnitWidth + AmountWidth + DiscountWidth + AmountWidth;
  const int areaSum = 6 + std::max(13, OzWidth) + AmountWidth;
  const int discount = 9 + AreaDiscountWidth + AmountWidth;
  const int afterDiscount = 19 + AmountWidth;
  const int totals = std::max(14, VatRateWidth + 9) + AmountWidth;
  const int summary = OzWidth + 4 + 12 + 3 * SummaryWidth;
  return std::max({table, areaSum, discount, afterDiscount, totals, summary});
}
