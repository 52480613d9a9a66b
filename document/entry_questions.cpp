#include "document/entry_questions.h"

#include "document/element_values.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_ex.h"
#include "util/number_text.h"
#include "util/rounding.h"
#include "util/trim.h"

namespace {
// Above this a rate is no German VAT rate, nor any usual one.
constexpr double kUsualVatRateLimit = 25;
// Above this a discount is more often a slip (a price typed into the wrong
// cell) than meant.
constexpr double kUsualDiscountLimit = 50;

std::string PriceQuestion(const std::string& memberName, double value) {
  return FormatEx(memberName == "EP" ? "Der Einheitspreis %.3n ist negativ. Soll er \xFC"
                                       "bernommen werden?"
                                     : "Der Einheitspreisanteil %.3n ist negativ. Soll er \xFC"
                                       "bernommen werden?",
                  {value});
}

std::string PercentQuestion(double percent) {
  return FormatEx(
      "Ein Nachlass von %.2n %% ist ungew\xF6hnlich hoch. Soll er \xFC"
      "bernommen werden?",
      {percent});
}

// Beyond 100 % the entry is refused when applied, not asked about.
bool UnusualPercent(double percent) { return percent > kUsualDiscountLimit && percent <= 100; }

}  // namespace

std::string EntryQuestion(const KsGAEBObj& element, const std::string& memberName,
                          const std::string& text) {
  double value;
  // An ambiguous number is refused when applied, so it is not asked about.
  if (!TryReadNumber(text, value) || IsAmbiguousGrouping(text)) return std::string();
  if (IsPositionRow(&element)) {
    if ((memberName == "EP" || IsPriceComponent(memberName)) && value < 0)
      return PriceQuestion(memberName, value);
    if (memberName == "NACHLASSPROZ" && UnusualPercent(value)) return PercentQuestion(value);
  } else if (IsAreaRow(&element)) {
    if (memberName == "NACHLASSPROZ" && UnusualPercent(value)) return PercentQuestion(value);
    // Compared at the cent the discount is stored with.
    const double sum = NumberValue(element, "SUMME");
    if (memberName == "NACHLASSABS" && CompareRounded(2, value, sum) > 0)
      return FormatEx(
          "Der Nachlass %.2n ist h\xF6her als die Summe %.2n des LV-Bereichs %s. Soll er \xFC"
          "bernommen werden?",
          {value, sum, Trim(element.Text("OZ"))});
    if (memberName == "NACHLASSABS" && CompareRounded(2, value, 0) < 0)
      return FormatEx(
          "Der Nachlass %.2n ist negativ und erh\xF6ht die Summe. Soll er \xFC"
          "bernommen werden?",
          {value});
  }
  return std::string();
}

std::string VatRateQuestion(const std::string& text) {
  double rate;
  if (!TryReadNumber(text, rate) || rate <= kUsualVatRateLimit || rate > kVatRateLimit)
    return std::string();
  return FormatEx(
      "Ein Mehrwertsteuersatz von %.2n %% ist ungew\xF6hnlich hoch. Soll er \xFC"
      "bernommen werden?",
      {rate});
}
