#include "db/query.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include "db/db_error.h"
#include "db/qt_text.h"
#include "db/qt_values.h"
#include "db/sqlite_statements.h"
#include "db/statement_cache.h"
#include "util/same_text.h"

struct KsQuery::Engine {
  QSqlQuery query;
  bool select = false;
  bool hasRow = false;
  int rowsAffected = 0;
  std::vector<std::string> fieldNames;
};

namespace {

[[noreturn]] void Refused(const QSqlError& error) {
  throw EDatabase("Die Datenbank hat die Anweisung abgelehnt: " + FromQString(error.text()));
}

}  // namespace

KsParamType BoundType(const QueryParam& param) {
  if (param.DataType != KsParamType::Unknown) return param.DataType;
  switch (param.Value.Kind()) {
    case KsVarKind::Integer:
      return KsParamType::Integer;
    case KsVarKind::Float:
    case KsVarKind::Currency:
      return KsParamType::Float;
    case KsVarKind::Boolean:
      return KsParamType::Boolean;
    case KsVarKind::DateTime:
      return KsParamType::DateTime;
    default:
      return KsParamType::String;
  }
}

KsQuery::KsQuery() = default;
KsQuery::~KsQuery() = default;
KsQuery::KsQuery(KsQuery&&) noexcept = default;
KsQuery& KsQuery::operator=(KsQuery&&) noexcept = default;

void KsQuery::AddLine(const std::string& line) {
  lines_.push_back(line);
  paramsRead_ = false;
}

void KsQuery::ClearSQL() {
  lines_.clear();
  paramsRead_ = false;
}

std::string KsQuery::Text() const {
  std::string text;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (i > 0) text += '\n';
    text += lines_[i];
  }
  return text;
}

void KsQuery::ReadParams() {
  if (paramsRead_) return;
  std::vector<QueryParam> read;
  const std::string text = Text();
  marks_ = FindParamMarks(text);
  positional_ = PositionalSql(text, marks_);
  for (const ParamMark& mark : marks_) {
    QueryParam p;
    p.Name = mark.Name;
    if (const QueryParam* old = Lookup(p.Name)) {
      p.DataType = old->DataType;
      p.Value = old->Value;
    }
    read.push_back(std::move(p));
  }
  params_ = std::move(read);
  paramsRead_ = true;
}

int KsQuery::ParamCount() {
  ReadParams();
  return static_cast<int>(params_.size());
}

QueryParam& KsQuery::Params(int i) {
  ReadParams();
  return params_.at(static_cast<size_t>(i));
}

QueryParam* KsQuery::Lookup(const std::string& name) {
  for (QueryParam& p : params_)
    if (SameText(p.Name, name)) return &p;
  return nullptr;
}

QueryParam* KsQuery::FindParam(const std::string& name) {
  ReadParams();
  return Lookup(name);
}

QueryParam& KsQuery::ParamByName(const std::string& name) {
  if (QueryParam* p = FindParam(name)) return *p;
  throw EDatabase("Der Parameter \"" + name + "\" kommt in der Anweisung nicht vor.");
}

void KsQuery::Run(bool open) {
  Close();
  ReadParams();
  QSqlDatabase db = QSqlDatabase::database(ToQString(databaseName_), false);
  if (!db.isValid())
    throw EDatabase("Die Datenbankverbindung \"" + databaseName_ + "\" ist nicht bekannt.");
  if (!db.isOpen())
    throw EDatabase("Die Datenbankverbindung \"" + databaseName_ +
                    "\" ist nicht ge\xF6"
                    "ffnet.");
  auto engine = std::make_unique<Engine>();
  if (!open && !params_.empty()) {
    if (SqliteStatements::TryExec(db, databaseName_, positional_, params_, engine->rowsAffected)) {
      engine_ = std::move(engine);
      return;
    }
    QSqlError error;
    QSqlQuery* statement = StatementCache::Prepared(db, databaseName_, positional_, error);
    if (!statement) Refused(error);
    for (size_t i = 0; i < params_.size(); ++i)
      statement->bindValue(static_cast<int>(i), ToQVariant(params_[i]));
    if (!statement->exec()) Refused(statement->lastError());
    engine->rowsAffected = statement->numRowsAffected();
    statement->finish();
    engine_ = std::move(engine);
    return;
  }
  engine->query = QSqlQuery(db);
  // PostgreSQL's driver streams a forward-only result over the connection,
  // and the next statement on it would cut the rest off (a list's items load
  // their children while the list reads its rows); it reads them all at once.
  engine->query.setForwardOnly(uniDirectional_ && db.driverName() != QLatin1String("QPSQL"));
  engine->query.setNumericalPrecisionPolicy(QSql::LowPrecisionDouble);
  const std::string text = Text();
  bool ok;
  if (params_.empty()) {
    // Some engines prepare only statements that take parameters.
    ok = engine->query.exec(ToQString(text));
  } else {
    ok = engine->query.prepare(ToQString(positional_));
    for (size_t i = 0; ok && i < params_.size(); ++i)
      engine->query.bindValue(static_cast<int>(i), ToQVariant(params_[i]));
    ok = ok && engine->query.exec();
  }
  if (!ok) Refused(engine->query.lastError());
  engine->rowsAffected = engine->query.numRowsAffected();
  engine->select = open && engine->query.isSelect();
  if (engine->select) {
    const QSqlRecord record = engine->query.record();
    for (int i = 0; i < record.count(); ++i)
      engine->fieldNames.push_back(FromQString(record.fieldName(i)));
    engine->hasRow = engine->query.next();
  }
  engine_ = std::move(engine);
}

void KsQuery::OpenQuery() { Run(true); }

void KsQuery::ExecQuery() { Run(false); }

bool KsQuery::Active() const { return engine_ && engine_->select; }

void KsQuery::Close() { engine_.reset(); }

int KsQuery::RowsAffected() const { return engine_ ? engine_->rowsAffected : 0; }

bool KsQuery::Eof() const { return !engine_ || !engine_->hasRow; }

void KsQuery::Next() {
  if (Eof()) return;
  engine_->hasRow = engine_->query.next();
  // The engine may fetch rows as they are read; a failure then ends them early.
  if (!engine_->hasRow && engine_->query.lastError().isValid())
    throw EDatabase("Die Datenbank hat das Lesen abgebrochen: " +
                    FromQString(engine_->query.lastError().text()));
}

int KsQuery::FieldCount() const {
  return engine_ ? static_cast<int>(engine_->fieldNames.size()) : 0;
}

std::string KsQuery::FieldName(int i) const {
  return engine_->fieldNames.at(static_cast<size_t>(i));
}

int KsQuery::FindField(const std::string& name) const {
  if (!engine_) return -1;
  for (size_t i = 0; i < engine_->fieldNames.size(); ++i)
    if (SameText(engine_->fieldNames[i], name)) return static_cast<int>(i);
  return -1;
}

Variant KsQuery::FieldValue(int i) const {
  if (Eof()) throw EDatabase("Die Abfrage steht auf keiner Zeile.");
  return FromQVariant(engine_->query.value(i));
}

Variant KsQuery::FieldDateTime(int i) const {
  if (Eof()) throw EDatabase("Die Abfrage steht auf keiner Zeile.");
  const QVariant value = engine_->query.value(i);
  Variant out;
  if (!value.isNull() && TryQDateTimeValue(value, out)) return out;
  return FromQVariant(value);
}
