#include "document/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <vector>

#include "util/codec.h"

namespace {

// "<text> (<the system's reason>)"
std::string Reason(const std::string& text, int error) {
  return text + " (" + std::strerror(error) + ")";
}

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Mode for the new file: that of the target it replaces, else what a newly
// created file would get under the process's umask.
mode_t TargetMode(const std::string& target) {
  struct stat info {};
  if (stat(target.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

// The temporary file: created exclusively (mkstemp), removed unless committed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& target) {
    const std::string dir = DirectoryOf(target);
    std::string pattern = (dir == "/" ? "" : dir) + "/." + BaseNameOf(target) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0) {
      const int error = errno;
      throw std::runtime_error(
          Reason("Im Verzeichnis " + dir + " kann keine Datei angelegt werden", error));
    }
    close(fd);
    path_ = name.data();
  }
  ~TemporaryFile() {
    if (!committed_) std::remove(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& Path() const { return path_; }

  // Makes the written bytes durable before they replace the target.
  void Sync() const {
    const int fd = open(path_.c_str(), O_RDONLY);
    if (fd < 0 || fsync(fd) != 0) {
      const int error = errno;
      if (fd >= 0) close(fd);
      throw std::runtime_error(
          Reason("Die Datei " + Utf8ToCp1252(path_) + " kann nicht gesichert werden", error));
    }
    close(fd);
  }

  void CommitAs(const std::string& target, mode_t mode) {
    chmod(path_.c_str(), mode);
    if (std::rename(path_.c_str(), target.c_str()) != 0) {
      const int error = errno;
      throw std::runtime_error(Reason("Die Datei " + target + " kann nicht ersetzt werden", error));
    }
    committed_ = true;
  }

 private:
  std::string path_;
  bool committed_ = false;
};

}  // namespace

void WriteFileAtomically(const std::string& target,
                         const std::function<void(std::ostream&)>& write) {
  const mode_t mode = TargetMode(target);
  TemporaryFile temp(target);
  {
    std::ofstream out(temp.Path(), std::ios::binary | std::ios::trunc);
    if (!out) {
      const int error = errno;
      throw std::runtime_error(Reason("Die Datei " + target +
                                          " kann nicht ge\xF6"
                                          "ffnet werden",
                                      error));
    }
    write(out);
    out.flush();
    out.close();
    if (out.fail()) {
      const int error = errno;
      throw std::runtime_error(
          Reason("Die Datei " + target + " konnte nicht vollst\xE4ndig geschrieben werden", error));
    }
  }
  temp.Sync();
  temp.CommitAs(target, mode);
}
