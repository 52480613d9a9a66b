#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/param_marks.h"
#include "util/variant.h"

// What a parameter is bound as; a null keeps its type.
enum class KsParamType : uint8_t {
  Unknown,
  String,
  Integer,
  Boolean,
  Float,
  Date,
  Time,
  DateTime,
  Blob
};

struct QueryParam {
  std::string Name;
  KsParamType DataType = KsParamType::Unknown;
  Variant Value;  // Empty or Null binds a null of DataType
};

// The type a value is bound as: its DataType, or for Unknown the kind of the
// value (a whole number Integer, a float or currency Float, a flag Boolean,
// a date-time DateTime, anything else String).
KsParamType BoundType(const QueryParam& param);

// An SQL statement on a named connection (DbConnection). Parameters are the
// ":name" marks of its text, one per mark, always bound as values. A
// statement that returns rows is opened; the current row's fields are read by
// position after looking them up by name.
class KsQuery {
 public:
  KsQuery();
  ~KsQuery();
  KsQuery(const KsQuery&) = delete;
  KsQuery& operator=(const KsQuery&) = delete;
  KsQuery(KsQuery&&) noexcept;
  KsQuery& operator=(KsQuery&&) noexcept;

  void SetDatabaseName(const std::string& name) { databaseName_ = name; }
  const std::string& DatabaseName() const { return databaseName_; }
  // Rows can be read once, front to back (much cheaper on large results).
  void SetUniDirectional(bool on) { uniDirectional_ = on; }

  // The text, one entry per line. Changing it re-reads the parameters;
  // values already given to a name are kept.
  const std::vector<std::string>& SQL() const { return lines_; }
  void AddLine(const std::string& line);
  void ClearSQL();
  // The lines joined by line feeds.
  std::string Text() const;

  int ParamCount();
  QueryParam& Params(int i);
  // The first parameter of that name (ignoring case), null if none.
  QueryParam* FindParam(const std::string& name);
  // The same, raising EDatabase when there is none.
  QueryParam& ParamByName(const std::string& name);

  // Both raise EDatabase with the engine's text when it refuses the statement.
  void OpenQuery();
  void ExecQuery();
  bool Active() const;
  void Close();
  int RowsAffected() const;

  bool Eof() const;
  void Next();
  int FieldCount() const;
  std::string FieldName(int i) const;
  // Position of the field of that name (ignoring case), -1 if none.
  int FindField(const std::string& name) const;
  Variant FieldValue(int i) const;
  // The value as a date-time: date and time types of the engine and their
  // ISO texts ("2024-05-17", "2024-05-17 08:30:00.000", "08:30") convert;
  // anything else is FieldValue.
  Variant FieldDateTime(int i) const;

 private:
  struct Engine;
  void ReadParams();
  QueryParam* Lookup(const std::string& name);
  void Run(bool open);

  std::string databaseName_;
  bool uniDirectional_ = false;
  std::vector<std::string> lines_;
  std::vector<ParamMark> marks_;
  std::string positional_;  // the text with "?" for each mark
  std::vector<QueryParam> params_;
  bool paramsRead_ = true;
  std::unique_ptr<Engine> engine_;
};
