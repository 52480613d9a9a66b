#include "document/entry_questions.h"

#include "document/row_kind.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_ex.h"
#include "util/number_text.h"

namespace {
// Above this a rate is no German VAT rate, nor any usual one.
constexpr double kUsualVatRateLimit = 25;
}  // namespace

std::string EntryQuestion(const KsGAEBObj& element, const std::string& memberName,
                          const std::string& text) {
  double value;
  if (!IsPositionRow(&element) || (memberName != "EP" && !IsPriceComponent(memberName)) ||
      !TryReadNumber(text, value) || IsAmbiguousGrouping(text) || value >= 0)
    return std::string();
  return FormatEx(memberName == "EP" ? "Der Einheitspreis %.3n ist negativ. Soll er \xFC"
                                       "bernommen werden?"
                                     : "Der Einheitspreisanteil %.3n ist negativ. Soll er \xFC"
                                       "bernommen werden?",
                  {value});
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
