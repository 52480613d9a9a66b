#include "archive/archive_schema.h"

#include <stdexcept>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/db_error.h"
#include "db/query.h"

namespace {

// What leads from version i to version i + 1; step 0 makes the tables.
// A later version appends its step (an "alter table", a new index) here.
const std::vector<std::vector<std::string>>& Migrations(bool postgres) {
  static const auto make = [](const std::string& real) {
    return std::vector<std::vector<std::string>>{{
        "create table ARCHOFFER (OFFERID integer not null primary key, OFFERFILE text not null "
        "unique, TENDER text, LVKEY text, PROJECT text, CLIENT text, OFFERDATE varchar(10), "
        "POSITIONS integer)",
        "create table ARCHPOS (OFFERID integer not null references ARCHOFFER (OFFERID), NR "
        "integer not null, OZ text, SHORTTEXT text, LONGTEXT text, UNIT text, QUANTITY " +
            real + ", EP " + real + ", EPANTEIL1 " + real + ", EPANTEIL2 " + real + ", EPANTEIL3 " +
            real + ", EPANTEIL4 " + real + ", EPANTEIL5 " + real + ", EPANTEIL6 " + real +
            ", CATALOG text, TEXTKEY text, UNITKEY text, OFFERDATE varchar(10), primary key "
            "(OFFERID, NR))",
        // The latest entries of a catalogue number or text come straight
        // from the index, however many the archive holds.
        "create index ARCHPOSCATALOG on ARCHPOS (CATALOG, OFFERDATE, OFFERID, NR)",
        "create index ARCHPOSTEXT on ARCHPOS (TEXTKEY, UNITKEY, OFFERDATE, OFFERID, NR)",
        "create index ARCHOFFERLV on ARCHOFFER (LVKEY)",
    }};
  };
  static const auto sqlite = make("real");
  static const auto server = make("double precision");
  return postgres ? server : sqlite;
}

void Exec(DbConnection& db, const std::string& sql) {
  KsQuery q;
  q.SetDatabaseName(db.Name());
  q.AddLine(sql);
  q.ExecQuery();
}

// The names of the tables the database holds, in lower case.
std::vector<std::string> Tables(DbConnection& db, bool postgres) {
  KsQuery q;
  q.SetDatabaseName(db.Name());
  q.AddLine(postgres ? "select lower(table_name) from information_schema.tables where "
                       "table_schema = current_schema()"
                     : "select lower(name) from sqlite_master where type = 'table'");
  q.OpenQuery();
  std::vector<std::string> names;
  for (; !q.Eof(); q.Next()) names.push_back(q.FieldValue(0).ToString());
  return names;
}

bool Holds(const std::vector<std::string>& tables, const char* name) {
  for (const std::string& t : tables)
    if (t == name) return true;
  return false;
}

int StoredVersion(DbConnection& db) {
  KsQuery q;
  q.SetDatabaseName(db.Name());
  q.AddLine("select max(VERSION) from ARCHIVEVERSION");
  q.OpenQuery();
  return q.Eof() || q.FieldValue(0).IsEmptyOrNull() ? 0
                                                    : static_cast<int>(q.FieldValue(0).ToInteger());
}

}  // namespace

void EnsureArchiveSchema(DbConnection& db, const char* place) {
  const bool postgres = db.Driver() == "QPSQL";
  const std::string where = std::string(" (") + place + ")";
  std::vector<std::string> tables;
  try {
    tables = Tables(db, postgres);
  } catch (const EDatabase& e) {
    throw std::runtime_error("Das Preisarchiv" + where +
                             " ist besch\xE4"
                             "digt oder keine Datenbank; es bleibt unver\xE4ndert. " +
                             e.what());
  }
  if (!Holds(tables, "archiveversion") && !tables.empty())
    throw std::runtime_error("Die Datenbank" + where +
                             " enth\xE4lt andere Tabellen, aber kein Preisarchiv; sie bleibt "
                             "unver\xE4ndert.");
  if (Holds(tables, "archiveversion") && StoredVersion(db) == kArchiveSchemaVersion) return;

  db.StartTransaction();
  try {
    // Two programs starting on a new archive at once: one makes the tables,
    // the other waits and finds them made.
    if (postgres) {
      KsQuery lock;
      lock.SetDatabaseName(db.Name());
      lock.AddLine("select pg_advisory_xact_lock(727480128)");
      lock.OpenQuery();
    }
    if (!Holds(tables, "archiveversion"))
      Exec(db, "create table if not exists ARCHIVEVERSION (VERSION integer not null)");
    const int version = StoredVersion(db);
    if (version > kArchiveSchemaVersion)
      throw std::runtime_error("Das Preisarchiv" + where + " hat die Version " +
                               std::to_string(version) + ", dieses Programm kennt nur bis " +
                               std::to_string(kArchiveSchemaVersion) +
                               "; es bleibt unver\xE4ndert.");
    const auto& steps = Migrations(postgres);
    for (int v = version; v < kArchiveSchemaVersion; ++v)
      for (const std::string& sql : steps.at(static_cast<size_t>(v))) Exec(db, sql);
    if (version < kArchiveSchemaVersion) {
      Exec(db, "delete from ARCHIVEVERSION");
      KsQuery set;
      set.SetDatabaseName(db.Name());
      set.AddLine("insert into ARCHIVEVERSION (VERSION) values (:VERSION)");
      set.ParamByName("VERSION").Value = Variant(kArchiveSchemaVersion);
      set.ParamByName("VERSION").DataType = KsParamType::Integer;
      set.ExecQuery();
    }
    db.Commit();
  } catch (...) {
    db.Rollback();
    throw;
  }
}
