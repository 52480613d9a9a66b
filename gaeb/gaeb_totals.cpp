#include "gaeb/gaeb_totals.h"

#include "gaeb/gaeb_elements.h"
#include "util/number_text.h"
#include "util/rounding.h"
#include "util/same_text.h"
#include "util/variant.h"

namespace {

constexpr int kPriceDecimals = 3;
constexpr int kAmountDecimals = 2;

// A member found by name once per call and then, in every further element of
// the same layout, at the same index: elements of one table share their
// descriptor, so a sum over thousands of positions needs no name lookups.
class MemberSlot {
 public:
  explicit MemberSlot(const char* name) : name_(name) {}

  KsMember* In(const KsCustomObj& element) {
    const KsMemberList& members = element.Members;
    if (desc_ && index_ < members.Count()) {
      KsMember& m = members.Items(index_);
      if (m.FieldDesc == desc_) return &m;
    }
    for (int i = 0; i < members.Count(); ++i) {
      KsMember& m = members.Items(i);
      if (m.FieldDesc && SameText(m.FieldDesc->Name, name_)) {
        index_ = i;
        desc_ = m.FieldDesc;
        return &m;
      }
    }
    return nullptr;
  }

  // Starts loading the member of an element that comes later.
  void Prefetch(const KsCustomObj& element) const {
    const KsMemberList& members = element.Members;
    if (desc_ && index_ < members.Count()) __builtin_prefetch(&members.Items(index_));
  }

 private:
  const char* name_;
  int index_ = 0;
  const KsFieldDesc* desc_ = nullptr;
};

// A walk over many positions is bound by memory latency, not by arithmetic:
// the position a few places ahead, and then its members, are requested early.
constexpr int kObjectAhead = 8;
constexpr int kMembersAhead = 4;

template <class... Slots>
void PrefetchAhead(const KsGAEBObjList& list, int i, const Slots&... slots) {
  if (i + kObjectAhead < list.Count()) __builtin_prefetch(list.Element(i + kObjectAhead));
  if (i + kMembersAhead < list.Count()) (slots.Prefetch(*list.Element(i + kMembersAhead)), ...);
}

double FloatOf(const KsMember* m) { return m ? m->GetAsFloat() : 0.0; }

// With RecalcAll a result is stored even when it equals the stored value; it
// then also replaces a number held as text, so later sums read plain numbers.
void Store(KsMember* m, double value, bool recalcAll) {
  if (!m) return;
  if (recalcAll)
    m->SetValue(KsVariant(value));
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

// An entry of the user in the user's number format: empty is 0; anything
// else that is not a number raises the conversion error (KsVariantError).
double ParseEntry(const std::string& text) {
  if (text.empty()) return 0.0;
  return StrToFloat(text);
}

const char* const kComponentNames[] = {"EPANTEIL1", "EPANTEIL2", "EPANTEIL3",
                                       "EPANTEIL4", "EPANTEIL5", "EPANTEIL6"};

// One run of the calculations, with the member slots it looks values up by.
// The document's RecalcAll flag is read once, from the element the run starts
// at: every element of a tree belongs to the same document.
class Totals {
 public:
  explicit Totals(const KsGAEBObj& start)
      : recalcAll_(start.ImportDoc && start.ImportDoc->RecalcAll()) {}

  // `name` is "EP", "NACHLASSPROZ" or one of the components.
  void SetPositionValue(KsGAEBObj& position, double value, const std::string& name);
  void SetAreaDiscount(KsGAEBObj& area, double value, bool percent);
  void PositionAmount(KsGAEBObj& position);
  void AreaSum(KsGAEBObj& area);
  void AreaDiscount(KsGAEBObj& area);
  void LVSum(KsGAEBObj& lv);
  void All(KsGAEBObj& element);

 private:
  void SetUnitPrice(KsGAEBObj& position, double value);
  // Whether GB was stored; `amount` is the GB the position holds afterwards.
  bool StorePositionAmount(KsGAEBObj& position, double& amount);
  bool StoreAreaSum(KsGAEBObj& area, long double sum);
  void StoreAreaDiscount(KsGAEBObj& area);
  // Sum of GB over the counting positions of the element's POSITION list.
  long double PositionsSum(const KsGAEBObj& element);
  // The same while storing every position's GB.
  long double StorePositionAmounts(const KsGAEBObj& element);
  // Sum of SUMMENACHNL over the element's LVBEREICH list.
  long double AreasSum(const KsGAEBObj& element);
  // Bottom-up below an LV or area; for an area, whether its SUMME was stored.
  bool Subtree(KsGAEBObj& element);
  // The amount of `element` changed: its parent area or LV follows.
  void CarryUp(const KsGAEBObj& element);

  MemberSlot ep_{"EP"};
  MemberSlot menge_{"MENGE"};
  MemberSlot positionDiscount_{"NACHLASSPROZ"};
  MemberSlot gb_{"GB"};
  MemberSlot type_{"_TARVO_POSTYP"};
  MemberSlot areaSum_{"SUMME"};
  MemberSlot areaPercent_{"NACHLASSPROZ"};
  MemberSlot areaAbsolute_{"NACHLASSABS"};
  MemberSlot areaNet_{"SUMMENACHNL"};
  const bool recalcAll_;
};

void Totals::SetPositionValue(KsGAEBObj& position, double value, const std::string& name) {
  if (name == "EP") {
    SetUnitPrice(position, value);
  } else if (name == "NACHLASSPROZ") {
    const double v = RoundDec(kAmountDecimals, value);
    KsMember* m = positionDiscount_.In(position);
    if (m && CompareRounded(kAmountDecimals, v, m->GetAsFloat()) != 0) {
      m->SetAsFloat(v);
      PositionAmount(position);
    }
  } else {
    const double v = RoundDec(kPriceDecimals, value);
    KsMember* m = position.Members.Find(name);
    if (m && CompareRounded(kPriceDecimals, v, m->GetAsFloat()) != 0) {
      m->SetAsFloat(v);
      long double sum = 0;
      for (const char* component : kComponentNames)
        sum += FloatOf(position.Members.Find(component));
      SetUnitPrice(position, static_cast<double>(sum));
    }
  }
}

// Unit prices are kept at 3 decimals, so a change in the third one counts.
void Totals::SetUnitPrice(KsGAEBObj& position, double value) {
  const double v = RoundDec(kPriceDecimals, value);
  KsMember* m = ep_.In(position);
  if (m && CompareRounded(kPriceDecimals, v, m->GetAsFloat()) != 0) {
    m->SetAsFloat(v);
    PositionAmount(position);
  }
}

// At most one of the two discounts is in force: setting one switches the other off.
void Totals::SetAreaDiscount(KsGAEBObj& area, double value, bool percent) {
  KsMember* set = percent ? areaPercent_.In(area) : areaAbsolute_.In(area);
  KsMember* other = percent ? areaAbsolute_.In(area) : areaPercent_.In(area);
  const double v = RoundDec(kAmountDecimals, value);
  if (set) set->SetAsFloat(v);
  if (other && CompareRounded(kAmountDecimals, v, 0) != 0) other->SetAsFloat(0);
  AreaDiscount(area);
}

void Totals::PositionAmount(KsGAEBObj& position) {
  double amount;
  if (StorePositionAmount(position, amount)) CarryUp(position);
}

bool Totals::StorePositionAmount(KsGAEBObj& position, double& amount) {
  const long double ep = FloatOf(ep_.In(position));
  const long double menge = FloatOf(menge_.In(position));
  const long double discount = FloatOf(positionDiscount_.In(position));
  const double g =
      RoundDec(kAmountDecimals, static_cast<double>(ep * menge * (1 - discount / 100)));
  KsMember* gb = gb_.In(position);
  amount = 0;
  if (!gb) return false;
  if (!recalcAll_) {
    amount = gb->GetAsFloat();
    if (CompareRounded(kAmountDecimals, g, amount) == 0) return false;
  }
  Store(gb, g, recalcAll_);
  amount = g;
  return true;
}

void Totals::AreaSum(KsGAEBObj& area) {
  if (StoreAreaSum(area, PositionsSum(area) + AreasSum(area))) AreaDiscount(area);
}

bool Totals::StoreAreaSum(KsGAEBObj& area, long double s) {
  const double sum = RoundDec(kAmountDecimals, static_cast<double>(s));
  KsMember* m = areaSum_.In(area);
  if (!m) return false;
  if (!recalcAll_ && CompareRounded(kAmountDecimals, sum, m->GetAsFloat()) == 0) return false;
  Store(m, sum, recalcAll_);
  return true;
}

void Totals::AreaDiscount(KsGAEBObj& area) {
  StoreAreaDiscount(area);
  CarryUp(area);
}

void Totals::StoreAreaDiscount(KsGAEBObj& area) {
  const long double sum = FloatOf(areaSum_.In(area));
  const double absolute = FloatOf(areaAbsolute_.In(area));
  const long double net = CompareRounded(kAmountDecimals, absolute, 0) != 0
                              ? sum - absolute
                              : (1 - FloatOf(areaPercent_.In(area)) / 100.0L) * sum;
  Store(areaNet_.In(area), static_cast<double>(net), recalcAll_);
}

void Totals::LVSum(KsGAEBObj& lv) {
  const long double s = AreasSum(lv) + PositionsSum(lv);
  if (KsGAEBObj* info = lv.Child("LVINFO")) {
    const long double vat = FloatOf(info->Members.Find("UST"));
    Store(info->Members.Find("SUMME"), RoundDec(kAmountDecimals, static_cast<double>(s)),
          recalcAll_);
    Store(info->Members.Find("SUMMEBRUTTO"),
          RoundDec(kAmountDecimals, static_cast<double>(s * (vat / 100 + 1))), recalcAll_);
  }
  if (lv.ImportDoc) lv.ImportDoc->NotifyObservers(gcTotalsChanged);
}

long double Totals::PositionsSum(const KsGAEBObj& element) {
  long double s = 0;
  if (const KsGAEBObjList* positions = element.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) {
      const KsGAEBObj& position = *positions->Element(i);
      PrefetchAhead(*positions, i, type_, gb_);
      if (CountsInSum(type_.In(position))) s += FloatOf(gb_.In(position));
    }
  return s;
}

long double Totals::StorePositionAmounts(const KsGAEBObj& element) {
  long double s = 0;
  if (const KsGAEBObjList* positions = element.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) {
      KsGAEBObj& position = *positions->Element(i);
      PrefetchAhead(*positions, i, type_, menge_, ep_, positionDiscount_, gb_);
      double amount;
      StorePositionAmount(position, amount);
      if (CountsInSum(type_.In(position))) s += amount;
    }
  return s;
}

long double Totals::AreasSum(const KsGAEBObj& element) {
  long double s = 0;
  if (const KsGAEBObjList* areas = element.ChildList("LVBEREICH"))
    for (const KsCustomObj* a : areas->ItemsList) s += FloatOf(areaNet_.In(*a));
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
  const long double positions = StorePositionAmounts(element);
  if (const KsGAEBObjList* areas = element.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) Subtree(*areas->Element(i));
  if (!dynamic_cast<KsGLVBEREICH*>(&element)) return false;
  if (!StoreAreaSum(element, positions + AreasSum(element))) return false;
  StoreAreaDiscount(element);
  return true;
}

}  // namespace

void SetPositionValue(KsGAEBObj& position, const std::string& text, const std::string& memberName) {
  if (memberName != "EP" && memberName != "NACHLASSPROZ" && !IsPriceComponent(memberName)) return;
  Totals(position).SetPositionValue(position, ParseEntry(text), memberName);
}

void SetAreaDiscount(KsGAEBObj& area, const std::string& text, const std::string& memberName) {
  const bool percent = memberName == "NACHLASSPROZ";
  if (!percent && memberName != "NACHLASSABS") return;
  Totals(area).SetAreaDiscount(area, ParseEntry(text), percent);
}

void CalcPositionAmount(KsGAEBObj& position) { Totals(position).PositionAmount(position); }

void CalcAreaSum(KsGAEBObj& area, bool /*withPositions*/) { Totals(area).AreaSum(area); }

void CalcAreaDiscount(KsGAEBObj& area) { Totals(area).AreaDiscount(area); }

void CalcLVSum(KsGAEBObj& lv) { Totals(lv).LVSum(lv); }

void CalcAll(KsGAEBObj& element) { Totals(element).All(element); }

void SetVatRate(KsGAEBObj& lv, const std::string& text) {
  const double rate = ParseEntry(text);
  KsGAEBObj* info = lv.Child("LVINFO");
  KsMember* vat = info ? info->Members.Find("UST") : nullptr;
  if (!vat) return;
  vat->SetAsFloat(RoundDec(kAmountDecimals, rate));
  CalcLVSum(lv);
}

double VatAmount(const KsGAEBObj& lvInfo) {
  const KsMember* sum = lvInfo.Members.Find("SUMME");
  const KsMember* vat = lvInfo.Members.Find("UST");
  const double s = sum ? sum->AsFloatOr(0) : 0;
  const double rate = vat ? vat->AsFloatOr(0) : 0;
  return RoundDec(kAmountDecimals, rate * s / 100);
}

bool IsPriceComponent(const std::string& name) {
  return name.size() == 9 && name.compare(0, 8, "EPANTEIL") == 0 && name[8] >= '1' &&
         name[8] <= '6';
}

bool HasPriceBreakdown(const KsGAEBObj& position) { return position.Text("EPAUFGL") == "J"; }

bool HasEmptyUnitPrice(const KsGAEBObj& position) {
  const KsMember* ep = position.Members.Find("EP");
  double value = 0;
  if (ep && !ep->TryAsFloat(value)) return false;
  return RoundDec(kPriceDecimals, value) == 0;
}
