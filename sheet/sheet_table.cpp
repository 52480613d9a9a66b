#include "sheet/sheet_table.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "document/cell_text.h"
#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/xml_identity.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

// A short text longer than this is cut in the cell (the long text column holds all).
constexpr int kShortTextLength = 255;

std::string Utf8(const std::string& text) { return Cp1252ToUtf8(Trim(text)); }

std::string Joined(const KsGAEBObj* element, const char* first, const char* second) {
  if (!element) return std::string();
  const std::string a = Trim(element->Text(first)), b = Trim(element->Text(second));
  return Cp1252ToUtf8(a.empty() || b.empty() ? a + b : a + " " + b);
}

bool HasMemberValue(const KsGAEBObj& element, const std::string& key) {
  return !Trim(element.Text(key)).empty();
}

class TableBuilder {
 public:
  explicit TableBuilder(const KsLyxObj& document) : document_(document) {}

  std::vector<SheetRow> Rows() {
    AddList(document_.LvAreas, 1);
    AddList(document_.Positions, 1);
    return std::move(rows_);
  }
  int AskedComponents() const { return asked_; }

 private:
  void AddList(const KsGAEBObjList* list, int depth) {
    if (!list) return;
    for (int i = 0; i < list->Count(); ++i) Add(*list->Element(i), depth);
  }

  void Add(const KsGAEBObj& element, int depth) {
    const size_t index = rows_.size();
    SheetRow row;
    row.Element = &element;
    row.Area = IsAreaRow(&element);
    row.Depth = depth;
    row.LastDescendant = index;
    row.Identity = RowIdentity(document_, element);
    const std::string type = Trim(element.Text("_TARVO_POSTYP"));
    row.CountsInSum = row.Area || type == "N" || type == "B";
    if (!row.Area && HasPriceBreakdown(element))
      asked_ = std::max(asked_, AskedPriceComponents(element));
    rows_.push_back(row);
    if (!row.Area) return;
    AddList(element.ChildList("LVBEREICH"), depth + 1);
    AddList(element.ChildList("POSITION"), depth + 1);
    rows_[index].LastDescendant = rows_.size() - 1;
  }

  const KsLyxObj& document_;
  std::vector<SheetRow> rows_;
  int asked_ = 0;
};

std::string ComponentCaption(const KsLyxObj& document, int i) {
  const std::string number = std::to_string(i);
  const std::string label =
      document.LvInfo ? Trim(document.LvInfo->Text("BEZEPANTEIL" + number)) : std::string();
  return label.empty() ? "EP-Anteil " + number : Cp1252ToUtf8(label);
}

std::vector<SheetColumn> Columns(const KsLyxObj& document, int components, bool longTexts) {
  std::vector<SheetColumn> columns = {{kIdentityKey, "Kennung", 24, true},
                                      {kDepthKey, "Ebene", 6, true},
                                      {kShareKey, "Beitrag", 14, true},
                                      {"OZ", "OZ", 14},
                                      {kTypeKey, "Typ", 5},
                                      {kShortTextKey, "Kurztext", 50}};
  if (longTexts) columns.push_back({kLongTextKey, "Langtext", 80});
  columns.push_back({"MENGE", "Menge", 13});
  columns.push_back({"ME", "Einheit", 8});
  columns.push_back({"EP", "EP", 13});
  for (int i = 1; i <= components; ++i)
    columns.push_back({"EPANTEIL" + std::to_string(i), ComponentCaption(document, i), 13});
  columns.push_back({"NACHLASSPROZ", "Nachlass %", 11});
  columns.push_back({"NACHLASSABS", "Nachlass", 13});
  columns.push_back({kAmountKey, "GB", 15});
  columns.push_back({"SUMMENACHNL", "Summe nach Nachlass", 17});
  return columns;
}

}  // namespace

int SheetTable::ColumnOf(const std::string& key) const {
  for (size_t i = 0; i < Columns.size(); ++i)
    if (Columns[i].Key == key) return static_cast<int>(i);
  return -1;
}

std::string RowIdentity(const KsLyxObj& document, const KsGAEBObj& element) {
  std::string identity = Trim(element.Text("OZ"));
  if (document.IsXml()) identity += "|" + Trim(element.Text(kXmlIdMember));
  return identity;
}

std::string LvKeyOf(const std::vector<std::string>& identities) {
  // FNV-1a, 64 bits: no secret, only a check that the rows are the same.
  uint64_t hash = 14695981039346656037ull;
  for (const std::string& identity : identities) {
    for (const char c : identity + "\n") {
      hash ^= static_cast<unsigned char>(c);
      hash *= 1099511628211ull;
    }
  }
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, hash);
  return text;
}

SheetTable BuildSheetTable(const KsLyxObj& document, bool longTexts) {
  SheetTable table;
  TableBuilder builder(document);
  table.Rows = builder.Rows();
  table.Columns = Columns(document, builder.AskedComponents(), longTexts);
  table.Project = Joined(document.PrjInfo, "NAME", "BEZ");
  table.LvName = Joined(document.LvInfo, "NAME", "BEZ");
  table.Client = Joined(document.Ag, "NAME1", "NAME2");
  std::vector<std::string> identities;
  for (const SheetRow& row : table.Rows) identities.push_back(row.Identity);
  table.LvKey = LvKeyOf(identities);
  if (document.LvInfo) {
    table.VatRate = NumberValue(*document.LvInfo, "UST");
    table.NetTotal = NumberValue(*document.LvInfo, "SUMME");
    table.VatTotal = VatAmount(*document.LvInfo);
    table.GrossTotal = NumberValue(*document.LvInfo, "SUMMEBRUTTO");
  }
  return table;
}

int ColumnDecimals(const std::string& key) {
  if (key == "MENGE" || key == "EP" || IsPriceComponent(key)) return 3;
  if (key == "NACHLASSPROZ" || key == "NACHLASSABS" || key == kAmountKey || key == "SUMMENACHNL" ||
      key == kShareKey)
    return 2;
  if (key == kDepthKey) return 0;
  return -1;
}

std::optional<double> CellNumber(const SheetRow& row, const std::string& key) {
  const KsGAEBObj& element = *row.Element;
  if (key == kDepthKey) return row.Depth;
  if (key == kAmountKey) {
    if (row.Area) return NumberValue(element, "SUMME");
    if (HasEmptyUnitPrice(element)) return std::nullopt;
    return NumberValue(element, "GB");
  }
  if (key == kShareKey) {
    if (row.Area) return NumberValue(element, "SUMMENACHNL");
    return row.CountsInSum && !HasEmptyUnitPrice(element) ? NumberValue(element, "GB") : 0;
  }
  if (key == "SUMMENACHNL") {
    if (!row.Area) return std::nullopt;
    return NumberValue(element, key);
  }
  if (key == "NACHLASSABS" && !row.Area) return std::nullopt;
  if (key == "EP" || IsPriceComponent(key) || key == "MENGE" || key == "NACHLASSPROZ" ||
      key == "NACHLASSABS") {
    if (row.Area && key != "NACHLASSPROZ" && key != "NACHLASSABS") return std::nullopt;
    if (!HasMemberValue(element, key)) return std::nullopt;
    return NumberValue(element, key);
  }
  return std::nullopt;
}

std::string CellText(const SheetRow& row, const std::string& key) {
  const KsGAEBObj& element = *row.Element;
  if (key == kIdentityKey) return Cp1252ToUtf8(row.Identity);
  if (key == "OZ") return Utf8(element.Text("OZ"));
  if (key == kTypeKey) return row.Area ? std::string() : Utf8(element.Text("_TARVO_POSTYP"));
  if (key == kShortTextKey)
    return row.Area ? Utf8(element.Text("BEZ")) : Utf8(ShortText(element, kShortTextLength));
  if (key == kLongTextKey) return Utf8(row.Area ? AreaLongText(element) : LongText(element));
  if (key == "ME") return row.Area ? std::string() : Utf8(element.Text("ME"));
  return std::string();
}

bool IsInputCell(const SheetRow& row, const std::string& key) {
  return (key == "EP" || IsPriceComponent(key) || key == "NACHLASSPROZ" || key == "NACHLASSABS") &&
         IsEnterable(*row.Element, key);
}
