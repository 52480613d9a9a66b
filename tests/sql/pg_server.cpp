#include "tests/sql/pg_server.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::unique_ptr<PgServer> g_server;

// Arguments: folder, folder of the binaries, pid to outlive, user prefix.
// Prints "ready" or "failed" (a reader gone by then does not stop it), then
// waits until the test process is gone or the file "stop" appears. The
// cluster is thrown away, so it goes without durability and starts quicker.
const char* const kKeeper = R"(
trap '' PIPE HUP INT TERM
dir=$1; bin=$2; parent=$3; as=$4
cd "$dir" || { echo failed; exit 1; }
log=$dir/setup.log
if $as "$bin/initdb" -D "$dir/data" -A trust -U tarvo -E UTF8 --locale=C --no-sync >>"$log" 2>&1 &&
   $as "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 -o "-c listen_addresses='' \
-k $dir -p 5432 -c fsync=off -c synchronous_commit=off -c full_page_writes=off \
-c max_connections=40 -c shared_buffers=16MB" start >>"$log" 2>&1
then echo ready; else cat "$log" "$dir/server.log" 2>/dev/null; echo failed; fi
exec >/dev/null 2>&1
while kill -0 "$parent" && [ ! -e "$dir/stop" ]; do sleep 0.2; done
$as "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop
rm -rf "$dir"
)";

// The folder on the PATH that holds all the programs, or "".
std::string InPath(std::initializer_list<const char*> programs) {
  const char* path = std::getenv("PATH");
  if (!path) return "";
  std::stringstream parts(path);
  for (std::string dir; std::getline(parts, dir, ':');) {
    bool all = !dir.empty();
    for (const char* program : programs)
      all = all && access((dir + "/" + program).c_str(), X_OK) == 0;
    if (all) return dir;
  }
  return "";
}

// The folder of initdb and pg_ctl: TARVO_PG_BINDIR, the PATH, or the newest
// version under Debian's /usr/lib/postgresql.
std::string FindBinDir() {
  if (const char* dir = std::getenv("TARVO_PG_BINDIR")) return dir;
  if (std::string dir = InPath({"pg_ctl", "initdb"}); !dir.empty()) return dir;
  std::string best;
  int bestVersion = -1;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const int version = std::atoi(entry.path().filename().c_str());
    if (version > bestVersion && access((entry.path() / "bin/pg_ctl").c_str(), X_OK) == 0) {
      bestVersion = version;
      best = (entry.path() / "bin").string();
    }
  }
  return best;
}

}  // namespace

PgServer& PgServer::Instance() {
  if (!g_server) {
    g_server.reset(new PgServer());
    g_server->Start();
  }
  return *g_server;
}

void PgServer::Shutdown() {
  if (g_server) g_server->Stop();
  g_server.reset();
}

void PgServer::Start() {
  const std::string bin = FindBinDir();
  if (bin.empty()) {
    error_ = "initdb und pg_ctl nicht gefunden (Paket postgresql oder TARVO_PG_BINDIR)";
    return;
  }
  std::string pattern = (fs::temp_directory_path() / "tarvo-pg-XXXXXX").string();
  if (!mkdtemp(pattern.data())) {
    error_ = "kein tempor\xE4res Verzeichnis";
    return;
  }
  dir_ = pattern;
  std::string as;
  if (geteuid() == 0) {
    const passwd* pg = getpwnam("postgres");
    if (!pg || chown(dir_.c_str(), pg->pw_uid, pg->pw_gid) != 0) {
      error_ = "als root braucht der Server den Systembenutzer postgres";
      fs::remove_all(dir_);
      return;
    }
    // A root whose PATH lacks the sbin folders still finds it there.
    std::string runuser = InPath({"runuser"});
    if (runuser.empty()) runuser = "/usr/sbin";
    as = runuser + "/runuser -u postgres --";
  }
  int out[2];
  if (pipe(out) != 0) {
    error_ = "keine Pipe";
    return;
  }
  const std::string parent = std::to_string(getpid());
  keeper_ = fork();
  if (keeper_ == 0) {
    setsid();
    dup2(out[1], 1);
    const int null = open("/dev/null", O_RDWR);
    dup2(null, 0);
    dup2(null, 2);
    close(out[0]);
    execlp("sh", "sh", "-c", kKeeper, "keeper", dir_.c_str(), bin.c_str(), parent.c_str(),
           as.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  std::string said;
  char buffer[4096];
  for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    said.append(buffer, static_cast<size_t>(n));
    if (said.ends_with("ready\n") || said.ends_with("failed\n")) break;
  }
  close(out[0]);
  running_ = said == "ready\n";
  if (!running_) error_ = "PostgreSQL startet nicht:\n" + said;
}

void PgServer::Stop() {
  if (keeper_ <= 0) return;
  std::ofstream(dir_ + "/stop").flush();
  int status;
  while (waitpid(keeper_, &status, 0) < 0 && errno == EINTR) {
  }
  keeper_ = -1;
  running_ = false;
}
