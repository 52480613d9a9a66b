#include "archive/archive_rows.h"

#include <optional>

#include "archive/text_key.h"

namespace {

// The columns of a position row but its key, in the order of the marks.
enum Column {
  kOz,
  kShortText,
  kLongText,
  kUnit,
  kQuantity,
  kEp,
  kFirstComponent,
  kCatalog = kFirstComponent + 6,
  kTextKey,
  kUnitKey,
  kDate,
  kColumns,
  kOfferId = kColumns,
  kNr
};

const char* const kNames[kColumns] = {"OZ",        "SHORTTEXT", "LONGTEXT",  "UNIT",
                                      "QUANTITY",  "EP",        "EPANTEIL1", "EPANTEIL2",
                                      "EPANTEIL3", "EPANTEIL4", "EPANTEIL5", "EPANTEIL6",
                                      "CATALOG",   "TEXTKEY",   "UNITKEY",   "OFFERDATE"};

Variant NumberOrNull(const std::optional<double>& v) { return v ? Variant(*v) : Variant::Null(); }

KsQuery Insert(const std::string& connection, const std::string& tail) {
  std::string columns, marks;
  for (const char* name : kNames) {
    columns += std::string(name) + ", ";
    marks += std::string(":") + name + ", ";
  }
  KsQuery q;
  q.SetDatabaseName(connection);
  q.AddLine("insert into ARCHPOS (" + columns + "OFFERID, NR)");
  q.AddLine("values (" + marks + ":OFFERID, :NR)");
  if (!tail.empty()) q.AddLine(tail);
  for (int i = 0; i < kColumns; ++i)
    q.Params(i).DataType =
        i >= kQuantity && i < kCatalog ? KsParamType::Float : KsParamType::String;
  q.Params(kOfferId).DataType = KsParamType::Integer;
  q.Params(kNr).DataType = KsParamType::Integer;
  return q;
}

}  // namespace

KsQuery PositionInsert(const std::string& connection) { return Insert(connection, ""); }

KsQuery PositionUpsert(const std::string& connection, bool postgres) {
  std::string set, differs;
  for (const char* name : kNames) {
    const std::string n = name;
    set += (set.empty() ? "" : ", ") + n + " = excluded." + n;
    differs += (differs.empty() ? "" : " or ") + std::string("ARCHPOS.") + n +
               (postgres ? " is distinct from " : " is not ") + "excluded." + n;
  }
  return Insert(connection, "on conflict (OFFERID, NR) do update set " + set + " where " + differs);
}

void SetPositionRow(KsQuery& q, const ArchivedPosition& p, const std::string& date, int offerId,
                    int nr) {
  q.Params(kOz).Value = Variant(p.Oz);
  q.Params(kShortText).Value = Variant(p.ShortText);
  q.Params(kLongText).Value = Variant(p.LongText);
  q.Params(kUnit).Value = Variant(p.Unit);
  q.Params(kQuantity).Value = NumberOrNull(p.Quantity);
  q.Params(kEp).Value = Variant(p.Ep);
  for (size_t i = 0; i < 6; ++i)
    q.Params(kFirstComponent + static_cast<int>(i)).Value = NumberOrNull(p.Components[i]);
  q.Params(kCatalog).Value = Variant(p.Catalog);
  q.Params(kTextKey).Value = Variant(ArchiveTextKey(p.ShortText));
  q.Params(kUnitKey).Value = Variant(ArchiveUnitKey(p.Unit));
  q.Params(kDate).Value = Variant(date);
  q.Params(kOfferId).Value = Variant(offerId);
  q.Params(kNr).Value = Variant(nr);
}
