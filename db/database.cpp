#include "db/database.h"

#include <QSqlDatabase>
#include <QSqlError>

#include "db/db_error.h"
#include "db/qt_text.h"
#include "db/sqlite_statements.h"
#include "db/statement_cache.h"

namespace {

QSqlDatabase Connection(const std::string& name) {
  return QSqlDatabase::database(ToQString(name), false);
}

[[noreturn]] void Fail(const std::string& what, const QSqlError& error) {
  throw EDatabase(what + ": " + FromQString(error.text()));
}

}  // namespace

DbConnection::DbConnection(const std::string& name, const ConnectionParams& params)
    : name_(name), driver_(params.Driver) {
  const QString qname = ToQString(name);
  if (QSqlDatabase::contains(qname))
    throw EDatabase("Die Datenbankverbindung \"" + name + "\" besteht bereits.");
  QSqlError error;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(ToQString(params.Driver), qname);
    db.setDatabaseName(ToQString(params.DatabaseName));
    db.setHostName(ToQString(params.HostName));
    db.setPort(params.Port);
    db.setUserName(ToQString(params.UserName));
    db.setPassword(ToQString(params.Password));
    db.setConnectOptions(ToQString(params.Options));
    if (db.open()) return;
    error = db.lastError();
  }
  QSqlDatabase::removeDatabase(qname);
  Fail("Die Verbindung \"" + name + "\" zur Datenbank \"" + params.DatabaseName +
           "\" konnte nicht hergestellt werden",
       error);
}

DbConnection::~DbConnection() {
  StatementCache::Drop(name_);
  SqliteStatements::Drop(name_);
  {
    QSqlDatabase db = Connection(name_);
    if (inTransaction_) db.rollback();
    db.close();
  }
  QSqlDatabase::removeDatabase(ToQString(name_));
}

void DbConnection::StartTransaction() {
  if (inTransaction_) throw EDatabase("Es ist bereits eine Transaktion offen.");
  QSqlDatabase db = Connection(name_);
  if (!db.transaction()) Fail("Die Transaktion konnte nicht begonnen werden", db.lastError());
  inTransaction_ = true;
}

void DbConnection::Commit() {
  QSqlDatabase db = Connection(name_);
  if (!inTransaction_) throw EDatabase("Es ist keine Transaktion offen.");
  if (db.commit()) {
    inTransaction_ = false;
    return;
  }
  const QSqlError error = db.lastError();
  db.rollback();
  inTransaction_ = false;
  Fail("Die Transaktion konnte nicht abgeschlossen werden", error);
}

void DbConnection::Rollback() {
  if (!inTransaction_) return;
  inTransaction_ = false;
  QSqlDatabase db = Connection(name_);
  if (!db.rollback())
    Fail(
        "Die Transaktion konnte nicht zur\xFC"
        "ckgenommen werden",
        db.lastError());
}
