#include "db/sqlite_statements.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QVariant>
#include <map>
#include <memory>

#include "db/db_error.h"
#include "db/query.h"
#include "db/statement_cache.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

struct Finalize {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;
using Statements = std::map<std::string, Statement, std::less<>>;

std::map<std::string, Statements, std::less<>>& Cache() {
  static std::map<std::string, Statements, std::less<>> cache;
  return cache;
}

sqlite3* Handle(const QSqlDatabase& db) {
  if (db.driverName() != QLatin1String("QSQLITE")) return nullptr;
  const QVariant handle = db.driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(handle.constData());
}

const std::string kRefused = "Die Datenbank hat die Anweisung abgelehnt: ";

[[noreturn]] void Refused(sqlite3* engine) { throw EDatabase(kRefused + sqlite3_errmsg(engine)); }

// Qt converts a date or time into a text of its own making; those values go
// its way.
bool NeedsQt(const QueryParam& p) {
  if (p.Value.IsEmptyOrNull()) return false;
  const KsParamType type = BoundType(p);
  return type == KsParamType::Date || type == KsParamType::Time || type == KsParamType::DateTime;
}

// The text as the engine stores it: the program's code page in UTF-8.
int BindText(sqlite3_stmt* s, int i, std::string_view text, std::string& utf8) {
  utf8.clear();
  AppendCp1252AsUtf8(utf8, text);
  return sqlite3_bind_text(s, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

int Bind(sqlite3_stmt* s, int i, const QueryParam& p, std::string& utf8) {
  const Variant& v = p.Value;
  if (v.IsEmptyOrNull()) return sqlite3_bind_null(s, i);
  switch (BoundType(p)) {
    case KsParamType::Integer:
      return sqlite3_bind_int(s, i, v.ToInteger());
    case KsParamType::Boolean:
      return sqlite3_bind_int(s, i, v.ToBoolean() ? 1 : 0);
    case KsParamType::Float:
      return sqlite3_bind_double(s, i, v.ToFloat());
    case KsParamType::Blob: {
      const std::string bytes = v.ToString();
      return sqlite3_bind_blob(s, i, bytes.data(), static_cast<int>(bytes.size()),
                               SQLITE_TRANSIENT);
    }
    default:
      if (v.Kind() == KsVarKind::String) return BindText(s, i, v.Str(), utf8);
      return BindText(s, i, v.ToString(), utf8);
  }
}

}  // namespace

bool SqliteStatements::TryExec(const QSqlDatabase& db, const std::string& connection,
                               const std::string& sql, const std::vector<QueryParam>& params,
                               int& rowsAffected) {
  sqlite3* engine = Handle(db);
  if (!engine) return false;
  for (const QueryParam& p : params)
    if (NeedsQt(p)) return false;
  Statements& statements = Cache()[connection];
  auto found = statements.find(sql);
  if (found == statements.end()) {
    sqlite3_stmt* prepared = nullptr;
    const char* rest = nullptr;
    if (sqlite3_prepare_v2(engine, sql.c_str(), static_cast<int>(sql.size()) + 1, &prepared,
                           &rest) != SQLITE_OK) {
      sqlite3_finalize(prepared);
      Refused(engine);
    }
    // One statement at a time, as through Qt: a second one would be left
    // unrun without a word.
    if (!prepared || !TrimmedView(rest ? rest : "").empty()) {
      sqlite3_finalize(prepared);
      throw EDatabase(kRefused + "keine oder mehr als eine Anweisung.");
    }
    if (statements.size() >= StatementCache::kMaxPerConnection) statements.clear();
    found = statements.emplace(sql, Statement(prepared)).first;
  }
  sqlite3_stmt* s = found->second.get();
  if (sqlite3_bind_parameter_count(s) != static_cast<int>(params.size()))
    throw EDatabase("Die Anweisung hat nicht so viele Parameter wie Werte.");
  std::string utf8;
  for (size_t i = 0; i < params.size(); ++i)
    if (Bind(s, static_cast<int>(i) + 1, params[i], utf8) != SQLITE_OK) {
      sqlite3_clear_bindings(s);
      Refused(engine);
    }
  int step = sqlite3_step(s);
  while (step == SQLITE_ROW) step = sqlite3_step(s);
  const std::string refusal = step == SQLITE_DONE ? std::string() : sqlite3_errmsg(engine);
  // Reset at once: a statement left running would keep the transaction from
  // its commit.
  sqlite3_reset(s);
  sqlite3_clear_bindings(s);
  if (step != SQLITE_DONE) throw EDatabase(kRefused + refusal);
  rowsAffected = sqlite3_changes(engine);
  return true;
}

void SqliteStatements::Drop(const std::string& connection) {
  if (auto found = Cache().find(connection); found != Cache().end()) Cache().erase(found);
}
