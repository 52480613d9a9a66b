#pragma once

#include <QSqlDatabase>
#include <string>
#include <vector>

struct QueryParam;

// Statements that return no rows, run on an SQLite connection straight on
// the engine's own handle, prepared once per connection and text. Binding a
// value through Qt costs more than the engine's insert of it, and a price
// archive stores tens of thousands of rows at a save. A value is bound as Qt
// binds it (the same types, the same text), so a row reads back the same
// whichever way it was written.
class SqliteStatements {
 public:
  // Runs `sql` (positional "?" marks, one per parameter) with the values
  // and gives the rows it changed. False, with nothing run, when the
  // connection is no SQLite one or a value is a date or time (those take
  // Qt's way). Raises EDatabase with the engine's text when it refuses.
  static bool TryExec(const QSqlDatabase& db, const std::string& connection, const std::string& sql,
                      const std::vector<QueryParam>& params, int& rowsAffected);
  // Finalizes the connection's statements; before the connection closes.
  static void Drop(const std::string& connection);
};
