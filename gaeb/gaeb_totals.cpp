#include "gaeb/gaeb_totals.h"

#include <cmath>
#include <optional>
#include <vector>

#include "gaeb/gaeb_elements.h"
#include "util/amount_limit.h"
#include "util/entry_error.h"
#include "util/number_text.h"
#include "util/rounding.h"
#include "util/same_text.h"
#include "util/trim.h"
#include "util/variant.h"

namespace {

constexpr int kPriceDecimals = 3;
constexpr int kQuantityDecimals = 3;
constexpr int kPercentDecimals = 2;
constexpr int kAmountDecimals = 2;
// kAmountLimit in cents: no stored amount reaches it.
constexpr __int128 kLimitCents = 100'000'000'000'000;

using Cents = int64_t;

// "GB der Position 01.0010": which amount a message speaks of.
std::string AmountName(const KsGAEBObj& element, const char* member) {
  const std::string oz = element.Text("OZ");
  if (dynamic_cast<const KsGPOSITION*>(&element))
    return std::string(member) + " der Position " + oz;
  if (dynamic_cast<const KsGLVBEREICH*>(&element))
    return std::string(member) + " des LV-Bereichs " + oz;
  return std::string(member) + " des LV";
}

std::string GroupedCents(__int128 cents) {
  const bool negative = cents < 0;
  if (negative) cents = -cents;
  std::string digits;
  for (__int128 c = cents; c > 0 || digits.size() < 3; c /= 10)
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(c % 10)));
  std::string whole = digits.substr(0, digits.size() - 2);
  for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, ".");
  return (negative ? "-" : "") + whole + "," + digits.substr(digits.size() - 2);
}

[[noreturn]] void RaiseTooLarge(const KsGAEBObj& element, const char* member,
                                const std::string& value) {
  throw EntryError("Der Betrag " + AmountName(element, member) + " w\xE4re " + value + ": " +
                   AmountLimitReason());
}

// An amount about to be stored: below the limit, else the whole change is refused.
Cents Bounded(__int128 cents, const KsGAEBObj& element, const char* member) {
  if (cents >= kLimitCents || cents <= -kLimitCents)
    RaiseTooLarge(element, member, GroupedCents(cents));
  return static_cast<Cents>(cents);
}

// The decimal value of a member in units of 10^-decimals; 0 without the
// member. Text that is no number raises the conversion error.
int64_t UnitsOf(const KsMember* m, int decimals, const KsGAEBObj& element) {
  // No member or no value (most discounts, unpriced positions) is 0.
  if (!m || m->Value.IsEmptyOrNull()) return 0;
  int64_t units;
  // Amounts are mostly held as plain texts: their digits are the units.
  if (m->Value.Kind() == KsVarKind::String && TryPlainNumberUnits(m->Value.Str(), decimals, units))
    return units;
  const double value = m->GetAsFloat();
  if (!ToUnits(value, decimals, units) || !WithinAmountLimit(value))
    RaiseTooLarge(element, m->Name().c_str(), FloatToStr(value));
  return units;
}

// GB = EP x MENGE x (1 - NACHLASSPROZ / 100) to the cent, from EP and MENGE
// at 3 and the percentage at 2 decimals: units of 10^-10, divided down.
__int128 PositionCents(int64_t price, int64_t quantity, int64_t percent,
                       const KsGAEBObj& position) {
  const int64_t remaining = 10000 - percent;
  const long double estimate = static_cast<long double>(price) * quantity * remaining;
  // Far beyond the limit: the exact product need not (and might not) fit.
  if (std::fabs(estimate) >= 1e24L)
    RaiseTooLarge(position, "GB", FloatToStr(static_cast<double>(estimate / 1e10L)));
  return DivideRounded(static_cast<__int128>(price) * quantity * remaining, 8);
}

// amount x percent / 100 to the cent, the percentage at 2 decimals.
__int128 PercentCents(__int128 amount, int64_t percent) {
  return DivideRounded(amount * percent, 4);
}

// With RecalcAll a result is stored even when it equals the stored value; it
// then also replaces a number held as text, so later sums read plain numbers.
void Store(KsMember* m, Cents cents, bool recalcAll) {
  if (!m) return;
  const double value = FromUnits(cents, kAmountDecimals);
  if (recalcAll)
    m->SetValue(Variant(value));
  else
    m->SetAsFloat(value);
}

// Only normal and contingency positions ("N", "B") make up the sums.
bool CountsInSum(const KsMember* type) {
  if (!type || type->Value.IsEmptyOrNull()) return false;
  if (type->Value.Kind() == KsVarKind::String) {
    const std::string_view t = type->Value.Str();
    return t == "N" || t == "B";
  }
  const std::string t = type->Value.ToString();
  return t == "N" || t == "B";
}

// An entry of the user: empty is 0; otherwise a number as people write it
// (TryReadNumber: "." or "," as the decimal separator, thousands grouped).
// Text that is no number raises the conversion error (VariantError), a
// value at or beyond the amount limit EntryError.
double ParseEntry(const std::string& text) {
  if (Trim(text).empty()) return 0.0;
  double value;
  if (!TryReadNumber(text, value)) throw VariantError(NotANumberText(text));
  if (!WithinAmountLimit(value)) throw EntryError(TooLargeText(text));
  return value;
}

// A price entry: blank leaves the position without a price, which is not a
// price of 0 (the offer must not bid 0 for what the bidder left open).
std::optional<double> ParsePrice(const std::string& text) {
  if (Trim(text).empty()) return std::nullopt;
  return ParseEntry(text);
}

// A discount in percent lies between 0 and 100: beyond, the amount would
// turn negative or grow.
void CheckDiscountPercent(double value) {
  if (value < 0 || value > 100) throw EntryError("Der Nachlass muss zwischen 0 und 100 % liegen.");
}

// A price is changed when it appears, goes, or differs at 3 decimals.
bool StorePrice(KsMember* m, const std::optional<double>& value) {
  if (!m) return false;
  const bool held = !m->Value.IsEmptyOrNull();
  if (!value) {
    if (!held) return false;
    m->SetValue(Variant());
    return true;
  }
  const double v = RoundDec(kPriceDecimals, *value);
  if (held && CompareRounded(kPriceDecimals, v, m->GetAsFloat()) == 0) return false;
  m->SetAsFloat(v);
  return true;
}

const char* const kComponentNames[] = {"EPANTEIL1", "EPANTEIL2", "EPANTEIL3",
                                       "EPANTEIL4", "EPANTEIL5", "EPANTEIL6"};

// The values an entry may change, kept so that an entry refused halfway
// (an amount above it would pass the limit) can be taken back.
class EntryUndo {
 public:
  void Keep(KsMember* m) {
    if (m) kept_.push_back({m, m->Value, m->Modified});
  }
  void Restore() {
    for (auto& k : kept_) {
      k.member->Value = k.value;
      k.member->Modified = k.modified;
    }
  }

 private:
  struct Kept {
    KsMember* member;
    Variant value;
    bool modified;
  };
  std::vector<Kept> kept_;
};

// One run of the calculations, with the member slots it looks values up by.
// The document's RecalcAll flag is read once, from the element the run starts
// at: every element of a tree belongs to the same document.
class Totals {
 public:
  explicit Totals(const KsGAEBObj& start)
      : recalcAll_(start.ImportDoc && start.ImportDoc->RecalcAll()) {}

  // `name` is "EP", "NACHLASSPROZ" or one of the components; no value
  // leaves a price empty (a discount: 0).
  void SetPositionValue(KsGAEBObj& position, const std::optional<double>& value,
                        const std::string& name);
  void SetAreaDiscount(KsGAEBObj& area, double value, bool percent);
  void PositionAmount(KsGAEBObj& position);
  void AreaSum(KsGAEBObj& area);
  void AreaDiscount(KsGAEBObj& area);
  void LVSum(KsGAEBObj& lv);
  void All(KsGAEBObj& element);

 private:
  void SetUnitPrice(KsGAEBObj& position, const std::optional<double>& value);
  // Whether GB was stored; `amount` is the GB the position holds afterwards.
  bool StorePositionAmount(KsGAEBObj& position, Cents& amount);
  bool StoreAreaSum(KsGAEBObj& area, __int128 sum);
  void StoreAreaDiscount(KsGAEBObj& area);
  // Sum of GB over the counting positions of the element's POSITION list.
  __int128 PositionsSum(const KsGAEBObj& element);
  // The same while storing every position's GB.
  __int128 StorePositionAmounts(const KsGAEBObj& element);
  // Sum of SUMMENACHNL over the element's LVBEREICH list.
  __int128 AreasSum(const KsGAEBObj& element);
  // Bottom-up below an LV or area; for an area, whether its SUMME was stored.
  bool Subtree(KsGAEBObj& element);
  // The amount of `element` changed: its parent area or LV follows.
  void CarryUp(const KsGAEBObj& element);
  Cents AmountOf(std::string_view member, const KsGAEBObj& element) {
    return UnitsOf(element.Members.Find(member), kAmountDecimals, element);
  }

  const bool recalcAll_;
};

void Totals::SetPositionValue(KsGAEBObj& position, const std::optional<double>& value,
                              const std::string& name) {
  if (name == "EP") {
    SetUnitPrice(position, value);
  } else if (name == "NACHLASSPROZ") {
    const double v = RoundDec(kPercentDecimals, value.value_or(0));
    KsMember* m = position.Members.FindOrMake("NACHLASSPROZ");
    if (m && CompareRounded(kPercentDecimals, v, m->GetAsFloat()) != 0) {
      m->SetAsFloat(v);
      PositionAmount(position);
    }
  } else if (StorePrice(position.Members.FindOrMake(name), value)) {
    // The unit price is the sum of the components given; without any it is empty.
    bool given = false;
    int64_t sum = 0;
    for (const char* component : kComponentNames) {
      const KsMember* m = position.Members.Find(component);
      if (!m || m->Value.IsEmptyOrNull()) continue;
      given = true;
      sum += UnitsOf(m, kPriceDecimals, position);
    }
    SetUnitPrice(position,
                 given ? std::optional<double>(FromUnits(sum, kPriceDecimals)) : std::nullopt);
  }
}

// Unit prices are kept at 3 decimals, so a change in the third one counts.
void Totals::SetUnitPrice(KsGAEBObj& position, const std::optional<double>& value) {
  if (StorePrice(position.Members.FindOrMake("EP"), value)) PositionAmount(position);
}

// At most one of the two discounts is in force: setting one switches the other off.
void Totals::SetAreaDiscount(KsGAEBObj& area, double value, bool percent) {
  KsMember* set =
      percent ? area.Members.FindOrMake("NACHLASSPROZ") : area.Members.FindOrMake("NACHLASSABS");
  KsMember* other =
      percent ? area.Members.FindOrMake("NACHLASSABS") : area.Members.FindOrMake("NACHLASSPROZ");
  const double v = RoundDec(kAmountDecimals, value);
  if (set) set->SetAsFloat(v);
  if (other && CompareRounded(kAmountDecimals, v, 0) != 0) other->SetAsFloat(0);
  AreaDiscount(area);
}

void Totals::PositionAmount(KsGAEBObj& position) {
  Cents amount;
  if (StorePositionAmount(position, amount)) CarryUp(position);
}

bool Totals::StorePositionAmount(KsGAEBObj& position, Cents& amount) {
  const Cents g = Bounded(
      PositionCents(UnitsOf(position.Members.Find("EP"), kPriceDecimals, position),
                    UnitsOf(position.Members.Find("MENGE"), kQuantityDecimals, position),
                    UnitsOf(position.Members.Find("NACHLASSPROZ"), kPercentDecimals, position),
                    position),
      position, "GB");
  KsMember* gb = position.Members.FindOrMake("GB");
  amount = 0;
  if (!gb) return false;
  if (!recalcAll_) {
    amount = AmountOf("GB", position);
    if (g == amount) return false;
  }
  Store(gb, g, recalcAll_);
  amount = g;
  return true;
}

void Totals::AreaSum(KsGAEBObj& area) {
  if (StoreAreaSum(area, PositionsSum(area) + AreasSum(area))) AreaDiscount(area);
}

bool Totals::StoreAreaSum(KsGAEBObj& area, __int128 s) {
  const Cents sum = Bounded(s, area, "SUMME");
  KsMember* m = area.Members.FindOrMake("SUMME");
  if (!m) return false;
  if (!recalcAll_ && sum == AmountOf("SUMME", area)) return false;
  Store(m, sum, recalcAll_);
  return true;
}

void Totals::AreaDiscount(KsGAEBObj& area) {
  StoreAreaDiscount(area);
  CarryUp(area);
}

// An absolute discount wins; a percentage gives a discount amount rounded to
// the cent, and the net is the sum less that amount.
void Totals::StoreAreaDiscount(KsGAEBObj& area) {
  const Cents sum = AmountOf("SUMME", area);
  const Cents absolute = AmountOf("NACHLASSABS", area);
  const __int128 net = absolute != 0
                           ? static_cast<__int128>(sum) - absolute
                           : sum - PercentCents(sum, UnitsOf(area.Members.Find("NACHLASSPROZ"),
                                                             kPercentDecimals, area));
  Store(area.Members.FindOrMake("SUMMENACHNL"), Bounded(net, area, "SUMMENACHNL"), recalcAll_);
}

void Totals::LVSum(KsGAEBObj& lv) {
  const __int128 s = AreasSum(lv) + PositionsSum(lv);
  if (KsGAEBObj* info = lv.Child("LVINFO")) {
    const Cents sum = Bounded(s, *info, "SUMME");
    KsMember* rate = info->Members.FindOrMake("UST");
    const int64_t percent = UnitsOf(rate, kPercentDecimals, *info);
    // The rate is held at the 2 decimals the VAT amount is computed with, so
    // the file carries the rate the amount follows from.
    if (rate && rate->GetAsFloat() != FromUnits(percent, kPercentDecimals))
      rate->SetAsFloat(FromUnits(percent, kPercentDecimals));
    const __int128 vat = PercentCents(sum, percent);
    const Cents gross = Bounded(sum + vat, *info, "SUMMEBRUTTO");
    Store(info->Members.FindOrMake("SUMME"), sum, recalcAll_);
    Store(info->Members.FindOrMake("SUMMEBRUTTO"), gross, recalcAll_);
  }
  if (lv.ImportDoc) lv.ImportDoc->NotifyObservers(gcTotalsChanged);
}

__int128 Totals::PositionsSum(const KsGAEBObj& element) {
  __int128 s = 0;
  if (const KsGAEBObjList* positions = element.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) {
      const KsGAEBObj& position = *positions->Element(i);
      if (CountsInSum(position.Members.Find("_TARVO_POSTYP"))) s += AmountOf("GB", position);
    }
  return s;
}

__int128 Totals::StorePositionAmounts(const KsGAEBObj& element) {
  __int128 s = 0;
  if (const KsGAEBObjList* positions = element.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) {
      KsGAEBObj& position = *positions->Element(i);
      Cents amount;
      StorePositionAmount(position, amount);
      if (CountsInSum(position.Members.Find("_TARVO_POSTYP"))) s += amount;
    }
  return s;
}

__int128 Totals::AreasSum(const KsGAEBObj& element) {
  __int128 s = 0;
  if (const KsGAEBObjList* areas = element.ChildList("LVBEREICH"))
    for (const KsCustomObj* a : areas->ItemsList)
      s += AmountOf("SUMMENACHNL", static_cast<const KsGAEBObj&>(*a));
  return s;
}

void Totals::CarryUp(const KsGAEBObj& element) {
  KsGAEBObj* parent = element.ParentElement();
  if (dynamic_cast<KsGLVBEREICH*>(parent))
    AreaSum(*parent);
  else if (dynamic_cast<KsGLV*>(parent))
    LVSum(*parent);
}

void Totals::All(KsGAEBObj& element) {
  if (dynamic_cast<KsGPOSITION*>(&element)) {
    PositionAmount(element);
  } else if (dynamic_cast<KsGLVBEREICH*>(&element)) {
    if (Subtree(element)) CarryUp(element);
  } else if (dynamic_cast<KsGLV*>(&element)) {
    Subtree(element);
    LVSum(element);
  }
}

// Every amount below is computed once, children before their parent, so the
// whole tree costs one visit per element.
bool Totals::Subtree(KsGAEBObj& element) {
  const __int128 positions = StorePositionAmounts(element);
  if (const KsGAEBObjList* areas = element.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) Subtree(*areas->Element(i));
  if (!dynamic_cast<KsGLVBEREICH*>(&element)) return false;
  if (!StoreAreaSum(element, positions + AreasSum(element))) return false;
  StoreAreaDiscount(element);
  return true;
}

// Runs an entry; when it is refused halfway, the kept values come back and
// `recompute` restores what was derived from them.
template <class Apply, class Recompute>
void AsOneEntry(EntryUndo& undo, Apply apply, Recompute recompute) {
  try {
    apply();
  } catch (const EntryError&) {
    undo.Restore();
    recompute();
    throw;
  }
}

}  // namespace

void SetPositionValue(KsGAEBObj& position, const std::string& text, const std::string& memberName) {
  if (memberName != "EP" && memberName != "NACHLASSPROZ" && !IsPriceComponent(memberName)) return;
  // A breakdown and its unit price never contradict each other.
  if (memberName == "EP" && HasPriceBreakdown(position)) throw EntryError(PriceBreakdownHint());
  const bool discount = memberName == "NACHLASSPROZ";
  const std::optional<double> value = discount ? ParseEntry(text) : ParsePrice(text);
  if (discount) CheckDiscountPercent(*value);
  EntryUndo undo;
  undo.Keep(position.Members.FindOrMake(memberName));
  undo.Keep(position.Members.FindOrMake("EP"));
  AsOneEntry(
      undo, [&] { Totals(position).SetPositionValue(position, value, memberName); },
      [&] { Totals(position).PositionAmount(position); });
}

void SetAreaDiscount(KsGAEBObj& area, const std::string& text, const std::string& memberName) {
  const bool percent = memberName == "NACHLASSPROZ";
  if (!percent && memberName != "NACHLASSABS") return;
  const double value = ParseEntry(text);
  if (percent) CheckDiscountPercent(value);
  EntryUndo undo;
  undo.Keep(area.Members.FindOrMake("NACHLASSPROZ"));
  undo.Keep(area.Members.FindOrMake("NACHLASSABS"));
  AsOneEntry(
      undo, [&] { Totals(area).SetAreaDiscount(area, value, percent); },
      [&] { Totals(area).AreaDiscount(area); });
}

void CalcAll(KsGAEBObj& element) { Totals(element).All(element); }

void SetVatRate(KsGAEBObj& lv, const std::string& text) {
  const double rate = ParseEntry(text);
  if (rate < 0 || rate > kVatRateLimit)
    throw EntryError("Der Mehrwertsteuersatz muss zwischen 0 und 100 % liegen.");
  KsGAEBObj* info = lv.Child("LVINFO");
  KsMember* vat = info ? info->Members.FindOrMake("UST") : nullptr;
  if (!vat) return;
  EntryUndo undo;
  undo.Keep(vat);
  AsOneEntry(
      undo,
      [&] {
        vat->SetAsFloat(RoundDec(kPercentDecimals, rate));
        Totals(lv).LVSum(lv);
      },
      [] {});
}

double VatAmount(const KsGAEBObj& lvInfo) {
  const KsMember* sum = lvInfo.Members.Find("SUMME");
  const KsMember* vat = lvInfo.Members.Find("UST");
  int64_t cents, rate;
  if (!sum || !vat || !ToUnits(sum->AsFloatOr(0), kAmountDecimals, cents) ||
      !ToUnits(vat->AsFloatOr(0), kPercentDecimals, rate))
    return 0;
  return FromUnits(static_cast<int64_t>(PercentCents(cents, rate)), kAmountDecimals);
}

bool IsPriceComponent(const std::string& name) {
  return name.size() == 9 && name.compare(0, 8, "EPANTEIL") == 0 && name[8] >= '1' &&
         name[8] <= '6';
}

bool HasPriceBreakdown(const KsGAEBObj& position) {
  const KsMember* m = position.Members.Find("EPAUFGL");
  return m && m->Value.Kind() == KsVarKind::String && m->Value.Str() == "J";
}

std::string PriceBreakdownHint() {
  return "Der Einheitspreis dieser Position ist die Summe ihrer Anteile EP 1 bis EP 6. Bitte "
         "geben Sie die Anteile ein; der Einheitspreis ergibt sich daraus.";
}

bool HasEmptyUnitPrice(const KsGAEBObj& position) {
  const KsMember* ep = position.Members.Find("EP");
  if (!ep || ep->Value.IsEmptyOrNull()) return true;
  return ep->Value.Kind() == KsVarKind::String && Trim(ep->Value.Str()).empty();
}
