#include "archive/archive_location.h"

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace {

constexpr const char kServerPrefix[] = "postgresql:";

}  // namespace

ArchiveLocation ArchiveLocation::Default() {
  std::string base;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && data[0] == '/') {
    base = data;
  } else if (const char* home = std::getenv("HOME"); home && home[0]) {
    base = std::string(home) + "/.local/share";
  } else {
    throw std::runtime_error("Der Ordner des Preisarchivs ist unbekannt (HOME ist nicht gesetzt).");
  }
  ArchiveLocation location;
  location.File = base + "/Tarvo_Redurir/Preisarchiv.sqlite";
  return location;
}

ArchiveLocation ArchiveLocation::Parse(const std::string& text) {
  ArchiveLocation location;
  if (text.rfind(kServerPrefix, 0) != 0) {
    location.File = text;
    return location;
  }
  location.Kind = Engine::PostgreSQL;
  std::istringstream words(text.substr(sizeof kServerPrefix - 1));
  for (std::string word; words >> word;) {
    const size_t eq = word.find('=');
    const std::string key = word.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
    if (key == "host") {
      location.Host = value;
    } else if (key == "port") {
      char* end = nullptr;
      const long port = std::strtol(value.c_str(), &end, 10);
      if (value.empty() || *end != 0 || port <= 0 || port > 65535)
        throw std::runtime_error("Der Port \"" + value +
                                 "\" des Preisarchivs ist keine Zahl von 1 bis 65535.");
      location.Port = static_cast<int>(port);
    } else if (key == "dbname") {
      location.Database = value;
    } else if (key == "user") {
      location.User = value;
    } else {
      throw std::runtime_error("Unbekannte Angabe \"" + key +
                               "\" f\xFCr das Preisarchiv (erlaubt: host, port, dbname, user).");
    }
  }
  if (location.Host.empty() || location.Database.empty())
    throw std::runtime_error(
        "F\xFCr ein Preisarchiv auf einem PostgreSQL-Server fehlen host oder dbname.");
  return location;
}

std::string ArchiveLocation::Describe() const {
  if (Kind == Engine::SQLite) return File;
  return "PostgreSQL " + (User.empty() ? "" : User + "@") + Host + ":" + std::to_string(Port) +
         "/" + Database;
}

ConnectionParams ArchiveLocation::Params() const {
  ConnectionParams p;
  if (Kind == Engine::SQLite) {
    p.Driver = "QSQLITE";
    p.DatabaseName = File;
    // Another window or process writing at the same moment is waited for.
    p.Options = "QSQLITE_BUSY_TIMEOUT=10000";
    return p;
  }
  p.Driver = "QPSQL";
  p.HostName = Host;
  p.Port = Port;
  p.DatabaseName = Database;
  p.UserName = User;
  p.Password = Password;
  p.Options = "connect_timeout=5";
  return p;
}
