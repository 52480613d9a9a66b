#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "db/database.h"
#include "util/variant.h"

enum class Engine { SQLite, PostgreSQL };
inline void PrintTo(Engine e, std::ostream* out) {
  *out << (e == Engine::SQLite ? "SQLite" : "PostgreSQL");
}

// One test's own database with the open connection "main": an SQLite file in
// a temporary folder, or a fresh database on the run's PostgreSQL server.
// Raises when the engine is not available.
class TestDatabase {
 public:
  explicit TestDatabase(Engine engine);
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  Engine engine() const { return engine_; }
  DbConnection& Main() { return *main_; }
  // A further connection to the same database; options as the engine takes them.
  std::unique_ptr<DbConnection> Connect(const std::string& name,
                                        const std::string& options = "") const;
  // Runs each statement on the main connection.
  void Exec(const std::vector<std::string>& statements);
  // The rows of a select, each field as a variant.
  std::vector<std::vector<Variant>> Rows(const std::string& select);
  // The rows as texts, fields joined by "|", null as "<null>".
  std::vector<std::string> Texts(const std::string& select);
  // Type names that differ between the engines.
  std::string BlobType() const { return engine_ == Engine::SQLite ? "blob" : "bytea"; }
  // Where a connection of the test's own to this database goes.
  ConnectionParams Params(const std::string& options) const;

 private:
  Engine engine_;
  std::string folder_;
  std::string name_;
  std::unique_ptr<DbConnection> main_;
};

// Base of the tests that run once per engine.
class EngineTest : public ::testing::TestWithParam<Engine> {
 protected:
  void SetUp() override;
  void TearDown() override { db.reset(); }
  DbConnection& Main() { return db->Main(); }
  std::unique_ptr<TestDatabase> db;
};

// Runs the tests of a suite derived from EngineTest on both engines.
#define TARVO_ON_BOTH_ENGINES(suite)                                          \
  INSTANTIATE_TEST_SUITE_P(SQLite, suite, ::testing::Values(Engine::SQLite)); \
  INSTANTIATE_TEST_SUITE_P(PostgreSQL, suite, ::testing::Values(Engine::PostgreSQL))
