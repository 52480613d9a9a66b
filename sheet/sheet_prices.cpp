#include "sheet/sheet_prices.h"

#include <algorithm>
#include <map>
#include <utility>

#include "core/member.h"
#include "document/cell_text.h"
#include "document/element_values.h"
#include "document/entry_questions.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "sheet/sheet_table.h"
#include "sheet/workbook_reader.h"
#include "util/codec.h"
#include "util/entry_error.h"
#include "util/number_text.h"
#include "util/trim.h"

namespace {

const char* const kInputFields[] = {"EP",        "EPANTEIL1",    "EPANTEIL2",
                                    "EPANTEIL3", "EPANTEIL4",    "EPANTEIL5",
                                    "EPANTEIL6", "NACHLASSPROZ", "NACHLASSABS"};
// No number anyone types is longer; a longer value is refused unread.
constexpr size_t kLongestNumber = 40;
// Positions without a price are named up to this many in the report.
constexpr size_t kNamedUnpriced = 30;

std::string Quoted(const std::string& fileName) { return "\"" + Utf8ToCp1252(fileName) + "\""; }

// Where the sheet's column keys stand, and the columns of the fields.
struct SheetLayout {
  int KeyRow = -1;
  int IdentityColumn = -1;
  int OzColumn = -1;
  std::vector<std::pair<std::string, int>> Fields;  // field, column
};

bool Find(const ReadSheet& sheet, const std::string& text, int& row, int& column) {
  for (const auto& [r, cells] : sheet.Rows)
    for (const auto& [c, cell] : cells)
      if (cell.Text == text) {
        row = r;
        column = c;
        return true;
      }
  return false;
}

SheetLayout Layout(const ReadSheet& sheet) {
  SheetLayout layout;
  int column = 0;
  if (!Find(sheet, kIdentityKey, layout.KeyRow, column)) return layout;
  for (const auto& [c, cell] : sheet.Rows.at(layout.KeyRow)) {
    if (cell.Text == kIdentityKey && layout.IdentityColumn < 0) layout.IdentityColumn = c;
    if (cell.Text == "OZ") layout.OzColumn = c;
    for (const char* field : kInputFields)
      if (cell.Text == field) layout.Fields.emplace_back(field, c);
  }
  return layout;
}

// The text of the cell right of (or below) the one holding `label`.
std::string Beside(const ReadSheet& sheet, const std::string& label, int rowStep, int columnStep) {
  int row = 0, column = 0;
  if (!Find(sheet, label, row, column)) return std::string();
  const ReadCell* cell = sheet.At(row + rowStep, column + columnStep);
  return cell ? cell->Text : std::string();
}

// A number the spreadsheet holds, written as the user would type it.
std::string TypedText(const ReadCell& cell) {
  if (!cell.IsNumber) return Trim(cell.Text);
  const std::string text = FloatToStr(cell.Number);
  return text.find('E') == std::string::npos ? text : FloatToFixed(cell.Number, 6, false);
}

struct Pending {
  KsGAEBObj* Element;
  std::string Field;
  std::string Text;  // converted as the member holds it
  SheetRefusal Where;
};

class TakeOver {
 public:
  TakeOver(KsLyxObj& document, const ReadSheet& sheet, int captionRow, bool confirmed)
      : document_(document), sheet_(sheet), captionRow_(captionRow), confirmed_(confirmed) {}

  SheetTakeOver Run(const SheetLayout& layout, const SheetTable& table) {
    std::map<std::string, std::vector<const SheetRow*>> rows;
    for (const SheetRow& row : table.Rows) rows[row.Identity].push_back(&row);
    std::map<std::string, int> seen;
    for (const auto& [r, cells] : sheet_.Rows) {
      if (r <= layout.KeyRow + 1) continue;
      const ReadCell* id = sheet_.At(r, layout.IdentityColumn);
      if (!id || Trim(id->Text).empty()) continue;
      const std::string identity = Trim(id->Text);
      const ReadCell* oz = layout.OzColumn >= 0 ? sheet_.At(r, layout.OzColumn) : nullptr;
      SheetRefusal where{r + 1, oz ? Trim(oz->Text) : identity, "Kennung", identity, "", false};
      const auto found = rows.find(identity);
      if (found == rows.end()) {
        Refuse(where, "Die Zeile geh\xF6rt zu keiner Position und keinem LV-Bereich dieses LV");
        continue;
      }
      if (const auto [earlier, first] = seen.try_emplace(identity, r + 1); !first) {
        Refuse(where, "Die Zeile steht schon als Zeile " + std::to_string(earlier->second) +
                          " in der Arbeitsmappe");
        continue;
      }
      if (found->second.size() > 1) {
        Refuse(where, "Die OZ steht im LV mehrfach; nicht zuzuordnen");
        continue;
      }
      for (const auto& [field, column] : layout.Fields)
        Check(*const_cast<KsGAEBObj*>(found->second[0]->Element), field, column, where);
    }
    if (result_.Refused.empty()) Apply();
    std::sort(result_.Refused.begin(), result_.Refused.end(),
              [](const SheetRefusal& a, const SheetRefusal& b) { return a.Row < b.Row; });
    result_.Applied = result_.Refused.empty();
    for (const SheetRow& row : table.Rows)
      if (!row.Area && HasEmptyUnitPrice(*row.Element))
        result_.Unpriced.push_back(Trim(row.Element->Text("OZ")));
    return std::move(result_);
  }

 private:
  void Refuse(SheetRefusal where, const std::string& reason, bool question = false) {
    where.Reason = reason;
    where.Question = question;
    result_.Refused.push_back(std::move(where));
  }

  std::string Caption(int column, const std::string& field) const {
    const ReadCell* caption = sheet_.At(captionRow_, column);
    return caption && !caption->Text.empty() ? caption->Text : field;
  }

  // Reads and checks the cell as the grid checks an entry; the value is
  // entered later, with all the others.
  void Check(KsGAEBObj& element, const std::string& field, int column, SheetRefusal where) {
    const ReadCell* cell = sheet_.At(where.Row - 1, column);
    if (!cell || !IsEnterable(element, field)) return;
    const std::string typed = TypedText(*cell);
    if (typed.empty()) return;
    where.Field = Caption(column, field);
    where.Value = typed.size() > kLongestNumber ? typed.substr(0, kLongestNumber) + "\x85" : typed;
    if (typed.size() > kLongestNumber)
      return Refuse(where, "Der Wert ist zu lang f\xFCr eine Zahl");
    if (cell->Uncomputed)
      return Refuse(where,
                    "Die Formel hat kein berechnetes Ergebnis; bitte die Arbeitsmappe im "
                    "Tabellenprogramm \xF6"
                    "ffnen und speichern");
    std::string text;
    try {
      RefuseAmbiguousNumber(typed);
      text = element.ConvertFieldValue(typed, element.GetMember(field));
    } catch (const EntryError& e) {
      return Refuse(where, e.what());
    } catch (const std::exception&) {
      return Refuse(where, typed + " ist keine Zahl");
    }
    double value = 0;
    if (!Trim(element.Text(field)).empty() && TryReadNumber(text, value) &&
        value == NumberValue(element, field))
      return;
    ++result_.Values;
    pending_.push_back({&element, field, text, std::move(where)});
  }

  // Positions first, then the areas from the last (the deepest) up, so that
  // an area's discount is asked about against the sum the workbook's
  // prices give it, as it would be after typing them.
  void Apply() {
    std::stable_partition(pending_.begin(), pending_.end(),
                          [](const Pending& entry) { return !IsAreaRow(entry.Element); });
    const auto areas = std::find_if(pending_.begin(), pending_.end(),
                                    [](const Pending& entry) { return IsAreaRow(entry.Element); });
    std::reverse(areas, pending_.end());
    std::map<KsGAEBObj*, std::vector<std::pair<KsMember*, Variant>>> before;
    for (Pending& entry : pending_) {
      KsMember& member = entry.Element->GetMember(entry.Field);
      if (auto [it, first] = before.try_emplace(entry.Element); first) {
        // Noted before the change, as the grid notes an edit.
        document_.NoteEdit(*entry.Element);
        for (const char* field : kInputFields) {
          KsMember& saved = entry.Element->GetMember(field);
          it->second.emplace_back(&saved, saved.Value);
        }
      }
      if (const std::string question = EntryQuestion(*entry.Element, entry.Field, entry.Text);
          !question.empty() && !confirmed_) {
        Refuse(entry.Where, question, true);
        continue;
      }
      try {
        ApplyCellText(*entry.Element, member, entry.Text);
      } catch (const std::exception& e) {
        Refuse(entry.Where, e.what());
      }
    }
    if (result_.Refused.empty()) return;
    // Taken back: the values as they were, and the amounts computed from them.
    for (auto& [element, members] : before) {
      for (auto& [member, value] : members) member->Value = value;
      CalcAll(*element);
    }
  }

  KsLyxObj& document_;
  const ReadSheet& sheet_;
  const int captionRow_;
  const bool confirmed_;
  std::vector<Pending> pending_;
  SheetTakeOver result_;
};

}  // namespace

SheetTakeOver TakeSheetPrices(KsLyxObj& document, const ReadSheet& sheet, bool confirmed,
                              const std::string& fileName) {
  const SheetLayout layout = Layout(sheet);
  if (layout.KeyRow < 0)
    throw SheetError("Die Datei " + Quoted(fileName) +
                     " ist keine vom Programm exportierte LV-Tabelle (die ausgeblendete Zeile "
                     "mit den Feldnamen fehlt); es wurde nichts \xFC"
                     "bernommen.");
  const SheetTable table = BuildSheetTable(document, false);
  if (Trim(Beside(sheet, kLvKeyCaption, 1, 0)) != table.LvKey)
    throw SheetError("Die Arbeitsmappe " + Quoted(fileName) + " geh\xF6rt zu einem anderen LV (\"" +
                     Beside(sheet, "LV:", 0, 1) +
                     "\") als das ge\xF6"
                     "ffnete (\"" +
                     Utf8ToCp1252(table.LvName) +
                     "\"); es wurde nichts \xFC"
                     "bernommen.");
  return TakeOver(document, sheet, layout.KeyRow + 1, confirmed).Run(layout, table);
}

std::vector<std::string> TakeOverReport(const SheetTakeOver& result) {
  std::vector<std::string> lines;
  if (result.Applied) {
    lines.push_back(result.Values == 0
                        ? std::string("Die Arbeitsmappe enth\xE4lt keine neuen Werte.")
                        : "Aus der Arbeitsmappe \xFC"
                          "bernommen: " +
                              std::to_string(result.Values) +
                              (result.Values == 1 ? " Wert." : " Werte."));
  } else {
    lines.push_back(
        "Nichts \xFC"
        "bernommen: " +
        std::to_string(result.Refused.size()) +
        " Wert(e) abgelehnt; die Arbeitsmappe wird nur ganz \xFC"
        "bernommen.");
    for (const SheetRefusal& refusal : result.Refused)
      lines.push_back("Zeile " + std::to_string(refusal.Row) + ", OZ " + refusal.Oz + ", " +
                      refusal.Field + " \"" + refusal.Value + "\": " + refusal.Reason);
  }
  if (!result.Unpriced.empty()) {
    std::string line = "Ohne Einheitspreis: " + std::to_string(result.Unpriced.size()) +
                       (result.Unpriced.size() == 1 ? " Position (" : " Positionen (");
    for (size_t i = 0; i < result.Unpriced.size() && i < kNamedUnpriced; ++i)
      line += (i ? ", " : "") + result.Unpriced[i];
    if (result.Unpriced.size() > kNamedUnpriced)
      line += ", \x85 und " + std::to_string(result.Unpriced.size() - kNamedUnpriced) + " weitere";
    lines.push_back(line + ")");
  }
  return lines;
}
