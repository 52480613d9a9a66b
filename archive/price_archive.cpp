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
#include "archive/archive_rows.h"
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
    // Writers of one archive take turns (readers go on): on PostgreSQL by a
    // lock of the table, on SQLite by a write before anything is read, which
    // takes the file's write lock or waits for another writer. (A read first
    // would leave two writers each waiting for the other to finish reading.)
    if (location_.Kind == ArchiveLocation::Engine::PostgreSQL)
      run("lock table ARCHOFFER in share row exclusive mode");
    else
      run("update ARCHOFFER set POSITIONS = POSITIONS where OFFERFILE = :OFFERFILE");
    // Saved again while it is the archive's latest offer, an offer keeps its
    // number and its rows, and only what changed is written. Otherwise it
    // goes and comes anew as the latest.
    const int kept = LatestOfferNumber(head.OfferFile);
    if (!kept) {
      run("delete from ARCHPOS where OFFERID in (select OFFERID from ARCHOFFER where OFFERFILE "
          "= :OFFERFILE)");
      run("delete from ARCHOFFER where OFFERFILE = :OFFERFILE");
    }
    // The offer's row goes first, with its first position: an offer without
    // priced positions leaves none. Each position is one run of the same
    // prepared statement; nothing of the offer is held but the current row.
    std::unique_ptr<KsArchOffer> record;
    KsQuery write =
        kept ? PositionUpsert(db_->Name(), location_.Kind == ArchiveLocation::Engine::PostgreSQL)
             : PositionInsert(db_->Name());
    int id = kept;
    int nr = 0;
    positions([&](const ArchivedPosition& p) {
      if (!record) {
        record = OfferRecord(head, kept);
        record->StoreToDB();
        id = record->GetMember("OFFERID").GetAsInteger();
      }
      SetPositionRow(write, p, head.Date, id, ++nr);
      write.ExecQuery();
    });
    if (kept) {
      KsQuery rest;
      rest.SetDatabaseName(db_->Name());
      rest.AddLine("delete from ARCHPOS where OFFERID = :OFFERID and NR > :NR");
      rest.ParamByName("OFFERID") = {"OFFERID", KsParamType::Integer, Variant(kept)};
      rest.ParamByName("NR") = {"NR", KsParamType::Integer, Variant(nr)};
      rest.ExecQuery();
      if (!record) run("delete from ARCHOFFER where OFFERFILE = :OFFERFILE");
    }
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

int PriceArchive::LatestOfferNumber(const std::string& offerFile) {
  KsQuery q;
  q.SetDatabaseName(db_->Name());
  q.AddLine("select OFFERID from ARCHOFFER where OFFERFILE = :OFFERFILE");
  q.AddLine("and OFFERID = (select max(OFFERID) from ARCHOFFER)");
  Bind(q, "OFFERFILE", offerFile);
  q.OpenQuery();
  return q.Eof() ? 0 : static_cast<int>(q.FieldValue(0).ToInteger());
}

std::unique_ptr<KsArchOffer> PriceArchive::OfferRecord(const ArchivedOfferHead& head, int kept) {
  std::unique_ptr<KsArchOffer> record(
      static_cast<KsArchOffer*>(KsArchOffer::StaticClass().CreateObj(nullptr, {}, db_.get())));
  if (kept) {
    record->LoadFromDB({Variant(kept)});
  } else {
    KsQuery next;
    next.SetDatabaseName(db_->Name());
    next.AddLine("select coalesce(max(OFFERID), 0) + 1 from ARCHOFFER");
    next.OpenQuery();
    record->ChangePKValues({Variant(static_cast<int>(next.FieldValue(0).ToInteger()))});
  }
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
