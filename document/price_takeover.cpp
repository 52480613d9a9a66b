#include "document/price_takeover.h"

#include <charconv>
#include <unordered_map>

#include "core/member.h"
#include "document/cell_text.h"
#include "document/entry_questions.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/oz_index.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/xml_identity.h"
#include "util/trim.h"

namespace {

constexpr int kComponents = 6;
// A report names at most this many OZ in a list; the rest are counted.
constexpr size_t kListedOz = 20;

const char* const kComponentNames[kComponents] = {"EPANTEIL1", "EPANTEIL2", "EPANTEIL3",
                                                  "EPANTEIL4", "EPANTEIL5", "EPANTEIL6"};

// A held number of the element; false where the field holds none.
bool HeldNumber(const KsGAEBObj& element, const char* field, double& value) {
  const KsMember* member = element.Members.Find(field);
  return member && !member->Value.IsEmptyOrNull() && !Trim(member->GetAsString()).empty() &&
         member->TryAsFloat(value);
}

// A stored number as the user would type it: every digit it holds, "." as
// the decimal separator (which the entry takes either way). Three decimals
// get a fourth zero, so that "1.234" cannot read as a thousand.
std::string Typed(double value) {
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  std::string text(buffer, written.ptr);
  const size_t dot = text.find('.');
  if (dot != std::string::npos && text.size() - dot - 1 == 3) text += '0';
  return text;
}

std::string Listed(const std::vector<std::string>& oz) {
  std::string text;
  for (size_t i = 0; i < oz.size() && i < kListedOz; ++i) text += (i > 0 ? ", " : "") + oz[i];
  if (oz.size() > kListedOz) text += " und " + std::to_string(oz.size() - kListedOz) + " weitere";
  return text;
}

std::vector<const KsGAEBObj*> PositionsOf(const KsLyxObj& document) {
  std::vector<const KsGAEBObj*> positions;
  WalkLv(
      document, [](const KsGAEBObj&, int) {},
      [&positions](const KsGAEBObj& position) {
        if (IsPositionRow(&position)) positions.push_back(&position);
      });
  return positions;
}

// Plans the values offered for one position of the tender.
class PositionPlan {
 public:
  PositionPlan(const OfferedValues& values, KsGAEBObj& target, const std::string& oz,
               PriceTakeOver& plan)
      : values_(values), target_(target), oz_(oz), plan_(plan) {}

  void Add() {
    if (HasPriceBreakdown(target_))
      AddComponents();
    else if (values_.Ep)
      Enter("EP", Typed(*values_.Ep));
    if (values_.Discount) Enter("NACHLASSPROZ", Typed(*values_.Discount));
  }

 private:
  void AddComponents() {
    bool any = false;
    for (const auto& component : values_.Components) any = any || component.has_value();
    if (!any) {
      if (values_.Ep)
        plan_.Refusals.push_back("Position " + oz_ +
                                 ": die Ausschreibung fragt den Einheitspreis in Anteilen ab "
                                 "(EPANTEIL1 ...), das Angebot nennt nur den Einheitspreis");
      return;
    }
    for (int i = 0; i < kComponents; ++i) {
      const std::optional<double>& value = values_.Components[static_cast<size_t>(i)];
      if (IsEnterable(target_, kComponentNames[i])) {
        Enter(kComponentNames[i], value ? Typed(*value) : std::string());
      } else if (value && *value != 0) {
        plan_.Refusals.push_back("Position " + oz_ + ": " + kComponentNames[i] +
                                 " fragt die Ausschreibung nicht ab");
      }
    }
  }

  void Enter(const char* field, const std::string& text) {
    if (!IsEnterable(target_, field)) {
      plan_.Refusals.push_back("Position " + oz_ + ": " + field + " kann nicht eingegeben werden");
      return;
    }
    if (const std::string question = EntryQuestion(target_, field, text); !question.empty())
      plan_.Questions.push_back("Position " + oz_ + ": " + question);
    plan_.Entries.push_back({&target_, field, text});
  }

  const OfferedValues& values_;
  KsGAEBObj& target_;
  const std::string& oz_;
  PriceTakeOver& plan_;
};

std::optional<double> Held(const KsGAEBObj& element, const char* field) {
  double value;
  if (HeldNumber(element, field, value)) return value;
  return std::nullopt;
}

bool HasValues(const KsGAEBObj& position) {
  double value;
  if (HeldNumber(position, "EP", value) || HeldNumber(position, "NACHLASSPROZ", value)) return true;
  for (const char* component : kComponentNames)
    if (HeldNumber(position, component, value)) return true;
  return false;
}

// Both GAEB DA XML of the one tender: the items are known by their IDs.
bool SameXmlTender(const KsLyxObj& a, const KsLyxObj& b) {
  if (!a.IsXml() || !b.IsXml() || !a.Lv || !b.Lv) return false;
  const std::string id = Trim(a.Lv->Text(kXmlIdMember));
  return !id.empty() && id == Trim(b.Lv->Text(kXmlIdMember));
}

}  // namespace

OfferedValues HeldValues(const KsGAEBObj& position) {
  OfferedValues values;
  values.Ep = Held(position, "EP");
  for (int i = 0; i < kComponents; ++i)
    values.Components[static_cast<size_t>(i)] = Held(position, kComponentNames[i]);
  values.Discount = Held(position, "NACHLASSPROZ");
  return values;
}

void PlanPositionValues(const OfferedValues& values, KsGAEBObj& target, PriceTakeOver& plan) {
  const std::string oz = Trim(target.Text("OZ"));
  PositionPlan(values, target, oz, plan).Add();
}

PriceTakeOver PlanPriceTakeOver(const KsLyxObj& source, const std::string& sourceName,
                                const KsLyxObj& tender, PriceTakeOver::Prices prices) {
  PriceTakeOver plan;
  const OzIndex sourceOz(source);
  const OzIndex tenderOz(tender);
  std::unordered_map<std::string, KsGAEBObj*> byId;
  if (SameXmlTender(source, tender))
    for (const KsGAEBObj* position : PositionsOf(tender))
      if (const std::string id = Trim(position->Text(kXmlIdMember)); !id.empty())
        byId.emplace(id, const_cast<KsGAEBObj*>(position));
  // Which position of the source gave each of the tender its values.
  std::unordered_map<const KsGAEBObj*, std::string> takenFrom;
  int priced = 0;
  for (const KsGAEBObj* position : PositionsOf(source)) {
    if (!HasValues(*position)) continue;
    ++priced;
    const std::string oz = Trim(position->Text("OZ"));
    KsGAEBObj* target = nullptr;
    if (const auto id = byId.find(Trim(position->Text(kXmlIdMember))); id != byId.end()) {
      target = id->second;
    } else {
      std::vector<KsGAEBObj*> found = tenderOz.Find(sourceOz.Key(*position));
      std::erase_if(found, [](const KsGAEBObj* e) { return !IsPositionRow(e); });
      if (found.size() > 1) {
        plan.Refusals.push_back("OZ " + OzIndex::Ambiguous(oz, found));
        continue;
      }
      if (found.empty()) {
        plan.Unmatched.push_back(oz);
        continue;
      }
      target = found.front();
    }
    if (const auto [earlier, first] = takenFrom.emplace(target, oz); !first) {
      plan.Refusals.push_back("Die OZ " + earlier->second + " und " + oz +
                              " des Angebots treffen beide die Position " +
                              Trim(target->Text("OZ")));
      continue;
    }
    if (prices == PriceTakeOver::Prices::Keep && !HasEmptyUnitPrice(*target)) {
      ++plan.Kept;
      continue;
    }
    const size_t before = plan.Entries.size();
    PlanPositionValues(HeldValues(*position), *target, plan);
    if (plan.Entries.size() > before) ++plan.Positions;
  }
  if (priced == 0)
    plan.Refusals.push_back("Das Angebot " + sourceName + " enth\xE4lt keine Preise.");
  else if (plan.Unmatched.size() == static_cast<size_t>(priced))
    plan.Refusals.push_back("Das Angebot " + sourceName +
                            " hat keine OZ mit dem offenen LV gemeinsam (es geh\xF6rt wohl zu "
                            "einem anderen LV).");
  return plan;
}

std::vector<std::string> TakeOverReport(const PriceTakeOver& plan, const KsLyxObj& tender) {
  std::vector<std::string> lines;
  lines.push_back(plan.Positions == 1 ? std::string("1 Position \xFC"
                                                    "bernommen.")
                                      : std::to_string(plan.Positions) +
                                            " Positionen \xFC"
                                            "bernommen.");
  if (plan.Kept > 0)
    lines.push_back(
        std::to_string(plan.Kept) + (plan.Kept == 1 ? " Position hatte" : " Positionen hatten") +
        " schon einen Preis und " + (plan.Kept == 1 ? "behielt ihn." : "behielten ihn."));
  if (!plan.Unmatched.empty())
    lines.push_back(
        "Ohne Gegenst\xFC"
        "ck im LV (OZ des Angebots): " +
        Listed(plan.Unmatched) + ".");
  std::vector<std::string> unpriced;
  for (const KsGAEBObj* position : PositionsOf(tender))
    if (HasEmptyUnitPrice(*position)) unpriced.push_back(Trim(position->Text("OZ")));
  if (unpriced.empty())
    lines.push_back("Jede Position hat einen Einheitspreis.");
  else
    lines.push_back("Ohne Einheitspreis bleiben " + std::to_string(unpriced.size()) +
                    (unpriced.size() == 1 ? " Position: " : " Positionen: ") + Listed(unpriced) +
                    ".");
  return lines;
}
