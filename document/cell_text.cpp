#include "document/cell_text.h"

#include <cmath>
#include <cstdint>

#include "core/member.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_totals.h"
#include "util/entry_error.h"
#include "util/number_text.h"
#include "util/strings.h"
#include "util/trim.h"

namespace {

constexpr int kComponentCount = 6;

// A value the file held as text that is no number (or no 32-bit integer) is
// offered as it stands.
std::string NumberText(const KsMember& member, bool fraction) {
  double value;
  if (!member.TryAsFloat(value)) return member.GetAsString();
  if (fraction) return FloatToStr(value);
  if (!(std::fabs(value) <= INT32_MAX)) return member.GetAsString();
  return std::to_string(member.GetAsInteger());
}
}  // namespace

CellEdit CellEditText(const KsMember& member) {
  CellEdit edit;
  const bool empty = member.Value.IsEmptyOrNull();
  switch (member.GetFieldType()) {
    case ftString:
      edit.Editable = true;
      edit.Text = member.GetAsString();
      break;
    case ftSmallint:
    case ftInteger:
      edit.Editable = true;
      edit.Text = empty ? std::string() : NumberText(member, false);
      break;
    case ftFloat:
    case ftCurrency:
      edit.Editable = true;
      edit.Numeric = true;
      edit.Text = empty ? std::string() : NumberText(member, true);
      break;
    default:
      break;
  }
  return edit;
}

void RefuseAmbiguousNumber(const std::string& text) {
  if (!IsAmbiguousGrouping(text)) return;
  const std::string written = Trim(text);
  const size_t separator = written.find_first_of(".,");
  std::string grouped = written, decimal = written;
  grouped.erase(separator, 1);
  decimal[separator] = FormatSettings().DecimalSeparator;
  throw EntryError("Der Wert " + written + " ist mehrdeutig. Bitte " + grouped + " oder " +
                   decimal + " schreiben.");
}

void ApplyCellText(KsGAEBObj& element, KsMember& member, const std::string& text) {
  switch (member.GetFieldType()) {
    case ftString:
      member.SetAsString(text);
      break;
    case ftSmallint:
    case ftInteger:
      member.SetAsInteger(Variant(text).ToInteger());
      break;
    case ftFloat:
    case ftCurrency:
      RefuseAmbiguousNumber(text);
      if (IsPositionRow(&element))
        SetPositionValue(element, text, member.Name());
      else if (IsAreaRow(&element))
        SetAreaDiscount(element, text, member.Name());
      break;
    default:
      break;
  }
}

bool IsEnterable(const KsGAEBObj& element, const std::string& memberName) {
  if (IsPositionRow(&element)) {
    if (memberName == "NACHLASSPROZ") return true;
    if (memberName == "EP") return !HasPriceBreakdown(element);
    return IsPriceComponent(memberName) && HasPriceBreakdown(element) &&
           memberName.back() - '0' <= AskedPriceComponents(element);
  }
  return IsAreaRow(&element) && (memberName == "NACHLASSPROZ" || memberName == "NACHLASSABS");
}

int AskedPriceComponents(const KsGAEBObj& element) {
  for (const KsGAEBObj* e = element.ParentElement(); e; e = e->ParentElement()) {
    if (const KsGAEBObj* info = e->Child("LVINFO")) {
      const int32_t asked = StrToIntZero(Trim(info->Text("ANZEPANTEILE")));
      return asked >= 1 && asked <= kComponentCount ? asked : kComponentCount;
    }
  }
  return kComponentCount;
}

bool IsNumberEntry(const std::string& typed) {
  for (const char c : typed)
    if ((c < '0' || c > '9') && c != '.' && c != ',' && c != '-') return false;
  return true;
}

bool ShowsZero(const KsGAEBObj& element, const KsMember& member) {
  if (!IsPositionRow(&element)) return false;
  const std::string& name = member.Name();
  if (name == "EP" || IsPriceComponent(name)) return !member.Value.IsEmptyOrNull();
  return name == "GB" && !HasEmptyUnitPrice(element);
}
