#pragma once

#include <memory>
#include <string>

// Where a connection goes. Driver names are those of the engine: "QSQLITE"
// (DatabaseName is a file or ":memory:") or "QPSQL" (HostName is a server or
// the directory of its Unix socket).
struct ConnectionParams {
  std::string Driver = "QSQLITE";
  std::string DatabaseName;
  std::string HostName;
  int Port = -1;
  std::string UserName;
  std::string Password;
  std::string Options;  // engine options, "KEY=value;KEY=value"
};

// An open, named connection. Queries find it by its name. The transaction
// flag is the connection's own: it is set by StartTransaction and cleared by
// Commit and Rollback.
class DbConnection {
 public:
  // Opens the connection; raises EDatabase when the name is taken or the
  // engine cannot connect.
  DbConnection(const std::string& name, const ConnectionParams& params);
  ~DbConnection();
  DbConnection(const DbConnection&) = delete;
  DbConnection& operator=(const DbConnection&) = delete;

  const std::string& Name() const { return name_; }
  const std::string& Driver() const { return driver_; }
  bool InTransaction() const { return inTransaction_; }
  void StartTransaction();
  // A commit the engine refuses leaves no transaction behind: it is rolled
  // back before the error is raised.
  void Commit();
  // Nothing happens when no transaction is open.
  void Rollback();

 private:
  std::string name_;
  std::string driver_;
  bool inTransaction_ = false;
};
