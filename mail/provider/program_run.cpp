#include "mail/provider/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <mutex>

extern char** environ;

namespace {

bool IsExecutable(const std::string& path) { return access(path.c_str(), X_OK) == 0; }

// Programs left running; each is collected once it has ended, so that none
// stays behind as a zombie.
std::mutex leftMutex;
std::vector<pid_t> left;

void CollectLeft() {
  std::lock_guard<std::mutex> lock(leftMutex);
  std::erase_if(left, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

void Leave(pid_t pid) {
  std::lock_guard<std::mutex> lock(leftMutex);
  left.push_back(pid);
}

int ExitStatus(int status) { return WIFEXITED(status) ? WEXITSTATUS(status) : -1; }

int Wait(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0)
    if (errno != EINTR) return -1;
  return ExitStatus(status);
}

// The program's result when it ends within `patience`; nothing while it runs.
std::optional<int> WaitAtMost(pid_t pid, std::chrono::milliseconds patience) {
  constexpr std::chrono::milliseconds kStep(50);
  const timespec step{0, std::chrono::nanoseconds(kStep).count()};
  for (std::chrono::milliseconds waited(0);; waited += kStep) {
    int status = 0;
    const pid_t ended = waitpid(pid, &status, WNOHANG);
    if (ended == pid) return ExitStatus(status);
    if (ended < 0 && errno != EINTR) return -1;
    if (waited >= patience) return std::nullopt;
    nanosleep(&step, nullptr);
  }
}

// Ends a program that leads a process group of its own, and so whatever it
// started (a sendmail hands the message on to helpers): asked to stop first,
// forced when it does not, then collected. Its group id is not given to
// another process while any member lives, so the last signal reaches only
// what it left behind.
void End(pid_t pid) {
  constexpr std::chrono::seconds kGrace(1);
  kill(-pid, SIGTERM);
  if (!WaitAtMost(pid, kGrace)) {
    kill(-pid, SIGKILL);
    Wait(pid);
  }
  kill(-pid, SIGKILL);
}

}  // namespace

std::string FindProgram(const std::string& name, const std::vector<std::string>& fallbacks) {
  const char* path = std::getenv("PATH");
  const std::string list = path ? path : "";
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(':', start);
    if (end == std::string::npos) end = list.size();
    const std::string dir = list.substr(start, end - start);
    if (!dir.empty() && IsExecutable(dir + "/" + name)) return dir + "/" + name;
    start = end + 1;
  }
  for (const std::string& fallback : fallbacks)
    if (IsExecutable(fallback)) return fallback;
  return {};
}

int RunProgram(const std::string& program, const std::vector<std::string>& args, int input,
               std::optional<std::chrono::milliseconds> patience, Overdue overdue) {
  CollectLeft();
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input >= 0)
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
  else
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  // A program that may have to be ended gets a process group of its own.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (overdue == Overdue::kEnd) {
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
  }
  pid_t pid = 0;
  const int spawned =
      posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  if (!patience) return Wait(pid);
  if (const std::optional<int> status = WaitAtMost(pid, *patience)) return *status;
  if (overdue == Overdue::kEnd) {
    End(pid);
    return kEnded;
  }
  Leave(pid);
  return kStillRunning;
}
