#pragma once

#include <memory>
#include <string>

#include "archive/archive_location.h"
#include "archive/price_archive.h"
#include "tests/sql/test_database.h"
#include "tests/support/format_guard.h"
#include "tests/support/temp_dir.h"
#include "tests/support/tender_files.h"

// A test of the archive on one engine: the test's own database (an SQLite
// file, or a database on the run's server), a folder, the German format.
class ArchiveTest : public EngineTest {
 protected:
  ArchiveTest() { PrepareGaeb(); }
  ArchiveLocation Location() const {
    const ConnectionParams p = db->Params("");
    ArchiveLocation location;
    if (p.Driver == "QPSQL") {
      location.Kind = ArchiveLocation::Engine::PostgreSQL;
      location.Host = p.HostName;
      location.Port = p.Port;
      location.Database = p.DatabaseName;
      location.User = p.UserName;
    } else {
      location.File = p.DatabaseName;
    }
    return location;
  }
  // The location as tarvo-cli's --archive takes it.
  std::string CliLocation() const {
    const ArchiveLocation l = Location();
    if (l.Kind == ArchiveLocation::Engine::SQLite) return l.File;
    return "postgresql:host=" + l.Host + " port=" + std::to_string(l.Port) +
           " dbname=" + l.Database + " user=" + l.User;
  }
  std::unique_ptr<PriceArchive> Open() { return std::make_unique<PriceArchive>(Location()); }

  FormatGuard format_{GermanFormatSettings()};
  TempDir dir_;
};
