#pragma once

#include <string>

#include "db/database.h"

// Where the price archive is: an SQLite file (one desk) or a database on a
// PostgreSQL server (a team). The password is kept only here and in the
// settings store; Describe never shows it.
struct ArchiveLocation {
  enum class Engine { SQLite, PostgreSQL };
  Engine Kind = Engine::SQLite;
  std::string File;  // SQLite
  std::string Host;  // PostgreSQL: a server name, or the folder of its Unix socket
  int Port = 5432;
  std::string Database;
  std::string User;
  std::string Password;  // "" leaves it to the engine's own (PGPASSWORD, ~/.pgpass)

  // The user's own archive: Preisarchiv.sqlite in
  // $XDG_DATA_HOME/Tarvo_Redurir/ (else ~/.local/share/Tarvo_Redurir/).
  // Raises std::runtime_error (German) when neither is known.
  static ArchiveLocation Default();
  // The archive as the command line names it: "postgresql:host=H port=P
  // dbname=D user=U" (any order, port 5432 when missing), or a file.
  // Raises std::runtime_error (German) for a server without host or dbname.
  static ArchiveLocation Parse(const std::string& text);
  // For messages: the file, or "PostgreSQL user@host:port/database".
  std::string Describe() const;
  ConnectionParams Params() const;
};
