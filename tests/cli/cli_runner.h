#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "tests/support/tender_files.h"

// Runs tarvo-cli in a C locale (the German number format) and collects what
// it wrote and its exit status.
struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
  // err without the lines of what the offer still lacks ("Warnung: ..."),
  // for tests of the command's other messages.
  std::string Errors() const {
    std::string kept;
    for (size_t at = 0; at < err.size();) {
      const size_t end = std::min(err.find('\n', at), err.size() - 1) + 1;
      if (err.compare(at, 9, "Warnung: ") != 0) kept += err.substr(at, end - at);
      at = end;
    }
    return kept;
  }
};

class CliRunner {
 public:
  std::string Path(const std::string& name) const { return dir_.Path(name); }
  std::string Write(const std::string& name, const std::string& content) const {
    return dir_.Write(name, content);
  }
  static std::string Read(const std::string& path) { return ReadFile(path); }

  CliResult Run(const std::vector<std::string>& args) const { return RunWith(args, "", ""); }

  // With standard input read from `input` and standard output written to
  // `output` (then not collected); "" keeps the defaults.
  CliResult RunWith(const std::vector<std::string>& args, const std::string& input,
                    const std::string& output) const {
    const std::string out = output.empty() ? Path(".stdout") : output, err = Path(".stderr");
    const pid_t child = fork();
    if (child == 0) {
      if (!input.empty()) Redirect(input, STDIN_FILENO, O_RDONLY);
      Redirect(out, STDOUT_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
      Redirect(err, STDERR_FILENO, O_WRONLY | O_CREAT | O_TRUNC);
      setenv("LC_ALL", "C", 1);
      // Offers saved by a test go into an archive of the test's own.
      setenv("XDG_DATA_HOME", Path(".data").c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(TARVO_CLI_PATH)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(TARVO_CLI_PATH, argv.data());
      _exit(127);
    }
    CliResult result;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
      result.status = WEXITSTATUS(status);
    if (output.empty()) result.out = Read(out);
    result.err = Read(err);
    return result;
  }

 private:
  static void Redirect(const std::string& path, int target, int flags) {
    const int fd = open(path.c_str(), flags, 0644);
    dup2(fd, target);
    close(fd);
  }

  TempDir dir_;
};
