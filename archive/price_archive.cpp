#include "archive/price_archive.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>
#include <system_error>

#include "archive/archive_records.h"
#include "archive/archive_schema.h"
#include "archive/text_key.h"
#include "db/database.h"
#include "db/db_error.h"
#include "db/query.h"

namespace {

std::atomic<int> g_connections{0};

// An existing file must be an SQLite database; anything else (a tender
// picked by mistake, a damaged file) is refused before the engine sees it.
void CheckSqliteFile(const std::string& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) {
    const std::filesystem::path folder = std::filesystem::path(file).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    if (ec)
      throw std::runtime_error("Der Ordner des Preisarchivs " + folder.string() +
                               " kann nicht angelegt werden (" + ec.message() + ").");
    return;
  }
  if (std::filesystem::file_size(file, ec) == 0 && !ec) return;
  std::ifstream in(file, std::ios::binary);
  char head[16] = {};
  in.read(head, sizeof head);
  if (!in || std::memcmp(head, "SQLite format 3", 16) != 0)
    throw std::runtime_error("Die Datei " + file +
                             " ist kein Preisarchiv (keine SQLite-Datenbank oder besch\xE4"
                             "digt); sie bleibt unver\xE4ndert.");
}

void Bind(KsQuery& q, const std::string& name, const std::string& value) {
  QueryParam& p = q.ParamByName(name);
  p.DataType = KsParamType::String;
  p.Value = Variant(value);
}

std::optional<double> Optional(const Variant& v) {
  if (v.IsEmptyOrNull()) return std::nullopt;
  return v.ToFloat();
}

std::string TextOr(const Variant& v) { return v.IsEmptyOrNull() ? std::string() : v.ToString(); }

// The marks of a position row, in their order.
enum PositionColumn {
  kOfferId,
  kNr,
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
  kPositionColumns
};

KsQuery PositionInsert() {
  KsQuery q;
  q.AddLine(
      "insert into ARCHPOS (OFFERID, NR, OZ, SHORTTEXT, LONGTEXT, UNIT, QUANTITY, EP, EPANTEIL1, "
      "EPANTEIL2, EPANTEIL3, EPANTEIL4, EPANTEIL5, EPANTEIL6, CATALOG, TEXTKEY, UNITKEY, "
      "OFFERDATE)");
  q.AddLine(
      "values (:OFFERID, :NR, :OZ, :SHORTTEXT, :LONGTEXT, :UNIT, :QUANTITY, :EP, :EPANTEIL1, "
      ":EPANTEIL2, :EPANTEIL3, :EPANTEIL4, :EPANTEIL5, :EPANTEIL6, :CATALOG, :TEXTKEY, :UNITKEY, "
      ":OFFERDATE)");
  for (int i = 0; i < kPositionColumns; ++i)
    q.Params(i).DataType = i == kOfferId || i == kNr        ? KsParamType::Integer
                           : i >= kQuantity && i < kCatalog ? KsParamType::Float
                                                            : KsParamType::String;
  return q;
}

Variant NumberOrNull(const std::optional<double>& v) { return v ? Variant(*v) : Variant::Null(); }

void SetPosition(KsQuery& q, int nr, const ArchivedPosition& p) {
  q.Params(kNr).Value = Variant(nr);
  q.Params(kOz).Value = Variant(p.Oz);
  q.Params(kShortText).Value = Variant(p.ShortText);
  q.Params(kLongText).Value = Variant(p.LongText);
  q.Params(kUnit).Value = Variant(p.Unit);
  q.Params(kQuantity).Value = NumberOrNull(p.Quantity);
  q.Params(kEp).Value = Variant(p.Ep);
  for (int i = 0; i < 6; ++i)
    q.Params(kFirstComponent + i).Value = NumberOrNull(p.Components[static_cast<size_t>(i)]);
  q.Params(kCatalog).Value = Variant(p.Catalog);
  q.Params(kTextKey).Value = Variant(ArchiveTextKey(p.ShortText));
  q.Params(kUnitKey).Value = Variant(ArchiveUnitKey(p.Unit));
}

[[noreturn]] void Failed(const PriceArchive& archive, const char* what, const std::exception& e) {
  throw std::runtime_error(std::string(what) + " (" + archive.Location().Describe() +
                           "): " + e.what());
}

}  // namespace

PriceArchive::PriceArchive(const ArchiveLocation& location) : location_(location) {
  RegisterArchiveRecords();
  const std::string place = location.Describe();
  if (location.Kind == ArchiveLocation::Engine::SQLite) CheckSqliteFile(location.File);
  try {
    db_ = std::make_unique<DbConnection>("archive" + std::to_string(++g_connections),
                                         location.Params());
  } catch (const EDatabase& e) {
    throw std::runtime_error("Das Preisarchiv (" + place + ") ist nicht erreichbar: " + e.what());
  }
  EnsureArchiveSchema(*db_, place.c_str());
}

PriceArchive::~PriceArchive() = default;

void PriceArchive::Store(const ArchivedOffer& offer) {
  Store(offer, [&offer](const std::function<void(const ArchivedPosition&)>& take) {
    for (const ArchivedPosition& p : offer.Positions) take(p);
  });
}

void PriceArchive::Store(const ArchivedOfferHead& head, const PositionSource& positions) {
  try {
    db_->StartTransaction();
    const auto run = [this, &head](const char* sql) {
      KsQuery q;
      q.SetDatabaseName(db_->Name());
      q.AddLine(sql);
      if (q.FindParam("OFFERFILE")) Bind(q, "OFFERFILE", head.OfferFile);
      q.ExecQuery();
    };
    // Writers of one archive take turns (readers go on); on SQLite the first
    // delete takes the file's write lock, waiting for another writer.
    if (location_.Kind == ArchiveLocation::Engine::PostgreSQL)
      run("lock table ARCHOFFER in share row exclusive mode");
    run("delete from ARCHPOS where OFFERID in (select OFFERID from ARCHOFFER where OFFERFILE = "
        ":OFFERFILE)");
    run("delete from ARCHOFFER where OFFERFILE = :OFFERFILE");
    // The offer's row goes first, with its first position: an offer without
    // priced positions leaves none. Each position is one run of the same
    // prepared insert; nothing of the offer is held but the current row.
    std::unique_ptr<KsArchOffer> record;
    KsQuery insert = PositionInsert();
    insert.SetDatabaseName(db_->Name());
    int nr = 0;
    positions([&](const ArchivedPosition& p) {
      if (!record) {
        record = NewOfferRecord(head);
        record->StoreToDB();
        insert.Params(kOfferId).Value = record->GetMember("OFFERID").Value;
        insert.Params(kDate).Value = Variant(head.Date);
      }
      SetPosition(insert, ++nr, p);
      insert.ExecQuery();
    });
    if (record) {
      record->GetMember("POSITIONS").SetAsInteger(nr);
      record->StoreToDB();
    }
    db_->Commit();
  } catch (const std::exception& e) {
    try {
      db_->Rollback();
    } catch (const std::exception&) {
    }
    Failed(*this, "Die Preise konnten nicht ins Preisarchiv geschrieben werden", e);
  }
}

std::unique_ptr<KsArchOffer> PriceArchive::NewOfferRecord(const ArchivedOfferHead& head) {
  KsQuery next;
  next.SetDatabaseName(db_->Name());
  next.AddLine("select coalesce(max(OFFERID), 0) + 1 from ARCHOFFER");
  next.OpenQuery();
  const int id = static_cast<int>(next.FieldValue(0).ToInteger());
  next.Close();
  std::unique_ptr<KsArchOffer> record(
      static_cast<KsArchOffer*>(KsArchOffer::StaticClass().CreateObj(nullptr, {}, db_.get())));
  record->ChangePKValues({Variant(id)});
  record->GetMember("OFFERFILE").SetAsString(head.OfferFile);
  record->GetMember("TENDER").SetAsString(head.Tender);
  record->GetMember("LVKEY").SetAsString(head.LvKey);
  record->GetMember("PROJECT").SetAsString(head.Project);
  record->GetMember("CLIENT").SetAsString(head.Client);
  record->GetMember("OFFERDATE").SetAsString(head.Date);
  return record;
}

void PriceArchive::Select(const std::string& where,
                          const std::vector<std::pair<std::string, std::string>>& values,
                          size_t limit, ArchiveFit fit, bool longTexts,
                          std::vector<ArchiveMatch>& out) {
  KsQuery q;
  q.SetDatabaseName(db_->Name());
  q.AddLine(
      std::string("select p.OFFERID, p.NR, p.OZ, p.SHORTTEXT, ") +
      (longTexts ? "p.LONGTEXT" : "null") +
      ", p.UNIT, p.QUANTITY, p.EP, "
      "p.EPANTEIL1, p.EPANTEIL2, p.EPANTEIL3, p.EPANTEIL4, p.EPANTEIL5, p.EPANTEIL6, p.CATALOG, "
      "o.OFFERFILE, o.TENDER, o.CLIENT, o.OFFERDATE");
  q.AddLine("from ARCHPOS p join ARCHOFFER o on o.OFFERID = p.OFFERID");
  q.AddLine("where " + where);
  q.AddLine("order by p.OFFERDATE desc, p.OFFERID desc, p.NR desc limit :LIMIT");
  for (const auto& [name, value] : values) Bind(q, name, value);
  q.ParamByName("LIMIT").DataType = KsParamType::Integer;
  q.ParamByName("LIMIT").Value = Variant(static_cast<int32_t>(limit));
  q.SetUniDirectional(true);
  q.OpenQuery();
  for (; !q.Eof(); q.Next()) {
    ArchiveMatch m{{}, fit};
    m.Entry.OfferId = static_cast<int>(q.FieldValue(0).ToInteger());
    m.Entry.Nr = static_cast<int>(q.FieldValue(1).ToInteger());
    const bool seen = std::any_of(out.begin(), out.end(), [&m](const ArchiveMatch& other) {
      return other.Entry.OfferId == m.Entry.OfferId && other.Entry.Nr == m.Entry.Nr;
    });
    if (seen) continue;
    ArchivedPosition& p = m.Entry.Position;
    p.Oz = TextOr(q.FieldValue(2));
    p.ShortText = TextOr(q.FieldValue(3));
    p.LongText = TextOr(q.FieldValue(4));
    p.Unit = TextOr(q.FieldValue(5));
    p.Quantity = Optional(q.FieldValue(6));
    p.Ep = q.FieldValue(7).ToFloat();
    for (int i = 0; i < 6; ++i)
      p.Components[static_cast<size_t>(i)] = Optional(q.FieldValue(8 + i));
    p.Catalog = TextOr(q.FieldValue(14));
    m.Entry.OfferFile = TextOr(q.FieldValue(15));
    m.Entry.Tender = TextOr(q.FieldValue(16));
    m.Entry.Client = TextOr(q.FieldValue(17));
    m.Entry.Date = TextOr(q.FieldValue(18));
    out.push_back(std::move(m));
  }
}

std::vector<ArchiveMatch> PriceArchive::Find(const ArchiveQuery& query, size_t limit) {
  std::vector<ArchiveMatch> out;
  const std::string text = ArchiveTextKey(query.ShortText);
  const std::string unit = ArchiveUnitKey(query.Unit);
  const bool longTexts = !query.BestFitOnly;
  const auto wanted = [&] { return !query.BestFitOnly || out.empty(); };
  try {
    if (!query.LvKey.empty() && !query.Oz.empty() && !text.empty())
      Select("o.LVKEY = :LVKEY and p.OZ = :OZ and p.TEXTKEY = :TEXTKEY and p.UNITKEY = :UNITKEY",
             {{"LVKEY", query.LvKey}, {"OZ", query.Oz}, {"TEXTKEY", text}, {"UNITKEY", unit}},
             limit, ArchiveFit::SamePosition, longTexts, out);
    if (!query.Catalog.empty() && wanted())
      Select("p.CATALOG = :CATALOG", {{"CATALOG", query.Catalog}}, limit, ArchiveFit::SameCatalog,
             longTexts, out);
    if (!text.empty() && wanted())
      Select("p.TEXTKEY = :TEXTKEY and p.UNITKEY = :UNITKEY",
             {{"TEXTKEY", text}, {"UNITKEY", unit}}, limit, ArchiveFit::SameText, longTexts, out);
  } catch (const std::exception& e) {
    Failed(*this, "Das Preisarchiv konnte nicht gelesen werden", e);
  }
  return out;
}

std::vector<ArchiveMatch> PriceArchive::FindText(const std::string& text, size_t limit) {
  std::vector<ArchiveMatch> out;
  const std::string key = ArchiveTextKey(text);
  if (key.empty()) return out;
  try {
    Select("p.TEXTKEY = :TEXTKEY", {{"TEXTKEY", key}}, limit, ArchiveFit::SameText, true, out);
  } catch (const std::exception& e) {
    Failed(*this, "Das Preisarchiv konnte nicht gelesen werden", e);
  }
  return out;
}

std::pair<int, int> PriceArchive::Counts() {
  const auto count = [this](const char* sql) {
    KsQuery q;
    q.SetDatabaseName(db_->Name());
    q.AddLine(sql);
    q.OpenQuery();
    return static_cast<int>(q.FieldValue(0).ToInteger());
  };
  return {count("select count(*) from ARCHOFFER"), count("select count(*) from ARCHPOS")};
}
