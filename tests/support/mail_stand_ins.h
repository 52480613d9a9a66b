#pragma once

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/env_guard.h"
#include "tests/support/tender_files.h"

// Stand-ins for sendmail and xdg-email, first on the PATH for the lifetime
// of the object: they keep what they are given in their folder and exit with
// the code the test asks for. The mail cache (the provider's outbox) is in
// that folder too.
class MailStandIns {
 public:
  MailStandIns() {
    Script("sendmail",
           "printf '%s\\n' \"$@\" > \"$dir/sendmail.args\"\n"
           "cat > \"$dir/sendmail.eml\"\n");
    Script("xdg-email",
           "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$dir/xdg-email.args\"\n");
    env_.Set("PATH", dir_.Dir() + ":" + (std::getenv("PATH") ? std::getenv("PATH") : ""));
    env_.Set("XDG_CACHE_HOME", dir_.Path("cache"));
    env_.Set("EMAIL", nullptr);
  }

  // The code the stand-in `program` exits with from now on.
  void ExitWith(const std::string& program, int code) {
    dir_.Write(program + ".exit", std::to_string(code));
  }
  // The stand-in `program` keeps running, as a mail program does that the
  // user has open, until Release.
  void Linger(const std::string& program) { dir_.Write(program + ".linger", ""); }
  void Release(const std::string& program) { std::remove(dir_.Path(program + ".linger").c_str()); }
  // The stand-in `program` takes its input and then never ends, as a sendmail
  // waiting for a mail server that does not answer: it waits for a child that
  // sleeps. Both process ids are in HangingIds once they have started.
  void Hang(const std::string& program) {
    Script(program,
           "cat > /dev/null\nsleep 600 &\necho $$ $! > \"$dir/" + program + ".pids\"\nwait\n");
  }
  std::vector<pid_t> HangingIds(const std::string& program) const {
    std::vector<pid_t> ids;
    std::ifstream in(dir_.Path(program + ".pids"));
    for (pid_t id; in >> id;) ids.push_back(id);
    return ids;
  }
  // Takes a stand-in off the PATH's first folder.
  void Remove(const std::string& program) { std::remove(dir_.Path(program).c_str()); }

  std::string SendmailMessagePath() const { return dir_.Path("sendmail.eml"); }
  std::string SendmailArgs() const { return ReadFile(dir_.Path("sendmail.args")); }
  bool SendmailRan() const { return Exists(dir_.Path("sendmail.args")); }
  bool XdgEmailRan() const { return Exists(dir_.Path("xdg-email.args")); }
  std::vector<std::string> XdgEmailArgs() const {
    std::vector<std::string> args;
    const std::string all = ReadFile(dir_.Path("xdg-email.args"));
    for (size_t start = 0, end; (end = all.find('\0', start)) != std::string::npos; start = end + 1)
      args.push_back(all.substr(start, end - start));
    return args;
  }
  // The arguments that follow each `option`.
  std::vector<std::string> XdgEmailValues(const std::string& option) const {
    const std::vector<std::string> args = XdgEmailArgs();
    std::vector<std::string> values;
    for (size_t i = 0; i + 1 < args.size(); ++i)
      if (args[i] == option) values.push_back(args[++i]);
    return values;
  }
  std::string Outbox() const { return dir_.Path("cache/Tarvo_Redurir/outbox"); }
  const TempDir& Dir() const { return dir_; }

 private:
  static bool Exists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
  }
  void Script(const std::string& name, const std::string& body) {
    const std::string path =
        dir_.Write(name, "#!/bin/sh\ndir=\"" + dir_.Dir() + "\"\n" + body + "while [ -f \"$dir/" +
                             name + ".linger\" ]; do sleep 0.1; done\n[ -f \"$dir/" + name +
                             ".exit\" ] && exit \"$(cat \"$dir/" + name + ".exit\")\"\nexit 0\n");
    chmod(path.c_str(), 0755);
  }

  TempDir dir_;
  EnvGuard env_;
};
