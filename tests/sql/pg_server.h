#pragma once

#include <sys/types.h>

#include <string>

// A PostgreSQL server of its own for this test run: a cluster made with
// initdb in a temporary folder, listening only on a Unix socket in that
// folder. A keeper script in a session of its own creates and starts it,
// and stops it and removes the folder when the run ends or dies. As root
// the server runs as the system user "postgres".
class PgServer {
 public:
  // The server, started on the first call.
  static PgServer& Instance();
  // Stops the server and removes its folder (at the end of the run).
  static void Shutdown();

  bool Running() const { return running_; }
  // Why the server could not start, with the tools' output.
  const std::string& Error() const { return error_; }
  const std::string& SocketDir() const { return dir_; }
  int Port() const { return 5432; }
  const char* UserName() const { return "tarvo"; }

 private:
  PgServer() = default;
  void Start();
  void Stop();

  std::string dir_;
  pid_t keeper_ = -1;
  bool running_ = false;
  std::string error_;
};
