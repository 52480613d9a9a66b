#include "db/statement_cache.h"

#include <QSqlError>
#include <map>
#include <memory>

#include "db/qt_text.h"

namespace {

using Statements = std::map<std::string, std::unique_ptr<QSqlQuery>>;

std::map<std::string, Statements>& Cache() {
  static std::map<std::string, Statements> cache;
  return cache;
}

}  // namespace

QSqlQuery* StatementCache::Prepared(const QSqlDatabase& db, const std::string& connection,
                                    const std::string& sql, QSqlError& error) {
  Statements& statements = Cache()[connection];
  if (auto found = statements.find(sql); found != statements.end()) return found->second.get();
  auto query = std::make_unique<QSqlQuery>(db);
  if (!query->prepare(ToQString(sql))) {
    error = query->lastError();
    return nullptr;
  }
  if (statements.size() >= kMaxPerConnection) statements.clear();
  return statements.emplace(sql, std::move(query)).first->second.get();
}

void StatementCache::Drop(const std::string& connection) { Cache().erase(connection); }
