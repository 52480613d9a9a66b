#include "tests/sql/test_database.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "db/query.h"
#include "tests/sql/pg_server.h"

namespace {

int g_counter = 0;
std::unique_ptr<DbConnection> g_admin;  // on the server's own database, makes the test databases

// Closes the server connection and stops the server when the run ends.
class ServerEnvironment : public ::testing::Environment {
 public:
  void TearDown() override {
    g_admin.reset();
    PgServer::Shutdown();
  }
};
[[maybe_unused]] auto* const g_environment =
    ::testing::AddGlobalTestEnvironment(new ServerEnvironment);

ConnectionParams ServerParams(const std::string& database) {
  const PgServer& server = PgServer::Instance();
  if (!server.Running()) throw std::runtime_error(server.Error());
  ConnectionParams p;
  p.Driver = "QPSQL";
  p.HostName = server.SocketDir();
  p.Port = server.Port();
  p.UserName = server.UserName();
  p.DatabaseName = database;
  return p;
}

std::string Text(const Variant& v) { return v.IsNull() ? "<null>" : v.ToString(); }

}  // namespace

TestDatabase::TestDatabase(Engine engine) : engine_(engine) {
  const std::string id = std::to_string(getpid()) + "_" + std::to_string(++g_counter);
  if (engine == Engine::SQLite) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvo-sql-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("kein tempor\xE4res Verzeichnis");
    folder_ = pattern;
    name_ = folder_ + "/test.db";
  } else {
    if (!g_admin) g_admin = std::make_unique<DbConnection>("admin", ServerParams("postgres"));
    name_ = "tarvo_" + id;
    KsQuery create;
    create.SetDatabaseName("admin");
    create.AddLine("create database " + name_);
    create.ExecQuery();
  }
  main_ = std::make_unique<DbConnection>("main", Params(""));
}

TestDatabase::~TestDatabase() {
  main_.reset();
  if (!folder_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
}

ConnectionParams TestDatabase::Params(const std::string& options) const {
  ConnectionParams p;
  if (engine_ == Engine::SQLite) {
    p.DatabaseName = name_;
  } else {
    p = ServerParams(name_);
  }
  p.Options = options;
  return p;
}

std::unique_ptr<DbConnection> TestDatabase::Connect(const std::string& name,
                                                    const std::string& options) const {
  return std::make_unique<DbConnection>(name, Params(options));
}

void TestDatabase::Exec(const std::vector<std::string>& statements) {
  for (const std::string& sql : statements) {
    KsQuery q;
    q.SetDatabaseName(main_->Name());
    q.AddLine(sql);
    q.ExecQuery();
  }
}

std::vector<std::vector<Variant>> TestDatabase::Rows(const std::string& select) {
  KsQuery q;
  q.SetDatabaseName(main_->Name());
  q.AddLine(select);
  q.OpenQuery();
  std::vector<std::vector<Variant>> rows;
  for (; !q.Eof(); q.Next()) {
    rows.emplace_back();
    for (int i = 0; i < q.FieldCount(); ++i) rows.back().push_back(q.FieldValue(i));
  }
  return rows;
}

std::vector<std::string> TestDatabase::Texts(const std::string& select) {
  std::vector<std::string> texts;
  for (const auto& row : Rows(select)) {
    std::string line;
    for (size_t i = 0; i < row.size(); ++i) line += (i > 0 ? "|" : "") + Text(row[i]);
    texts.push_back(line);
  }
  return texts;
}

void EngineTest::SetUp() {
  try {
    db = std::make_unique<TestDatabase>(GetParam());
  } catch (const std::exception& e) {
    FAIL() << "Datenbank nicht verf\xFC"
              "gbar: "
           << e.what();
  }
}
