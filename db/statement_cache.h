#pragma once

#include <QSqlDatabase>
#include <QSqlQuery>
#include <string>

// Statements that return no rows, prepared once per connection and text: a
// list store runs the same insert or update for every item, and preparing it
// anew each time costs as much as running it. The program is single-threaded,
// like the engine's connections.
class StatementCache {
 public:
  // Enough for the statements of every table a store touches; a program that
  // builds more different texts starts afresh rather than growing without end.
  static constexpr size_t kMaxPerConnection = 64;
  // The statement prepared on the connection, or null when the engine refuses
  // it (the refusal is then in error).
  static QSqlQuery* Prepared(const QSqlDatabase& db, const std::string& connection,
                             const std::string& sql, QSqlError& error);
  // Forgets the connection's statements; before the connection closes.
  static void Drop(const std::string& connection);
};
