#include "document/save_target.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "util/codec.h"

namespace {

// The kernel's own limit of links followed in one path.
constexpr int kMaxLinks = 40;

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string ReadLink(const std::string& path) {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

// The path with its last component resolved until it is no link; a link to
// a file that does not exist yet names the file to create.
std::string FollowLinks(const std::string& target, const std::string& name) {
  std::string path = target;
  for (int links = 0;; ++links) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    const std::string link = ReadLink(path);
    if (links == kMaxLinks || link.empty())
      throw std::runtime_error("Die Verkn\xFCpfung " + name + " f\xFChrt zu keiner Datei.");
    path = link[0] == '/' ? link : DirectoryOf(path) + "/" + link;
  }
}

const char* KindText(mode_t mode) {
  if (S_ISDIR(mode)) return "ein Verzeichnis";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "ein Ger\xE4t";
  if (S_ISFIFO(mode)) return "eine benannte Pipe (FIFO)";
  if (S_ISSOCK(mode)) return "ein Socket";
  return "keine gew\xF6hnliche Datei";
}

// Whoever may not write the file, and even root when nobody may.
bool WriteProtected(const std::string& path, mode_t mode) {
  if (faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
    return errno == EACCES || errno == EPERM || errno == EROFS;
  return (mode & 0222) == 0;
}

mode_t NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

SaveTarget CheckSaveTarget(const std::string& target) {
  SaveTarget result;
  result.Name = Utf8ToCp1252(target);
  result.Path = FollowLinks(target, result.Name);
  result.Directory = DirectoryOf(result.Path);
  struct stat info {};
  result.Exists = lstat(result.Path.c_str(), &info) == 0;
  if (!result.Exists) {
    result.Mode = NewFileMode();
    return result;
  }
  if (!S_ISREG(info.st_mode))
    throw std::runtime_error("Das Ziel " + result.Name + " ist " + KindText(info.st_mode) +
                             ", keine gew\xF6hnliche Datei; es wird nicht ersetzt.");
  if (WriteProtected(result.Path, info.st_mode))
    throw std::runtime_error("Die Datei " + result.Name + " ist schreibgesch\xFCtzt.");
  result.Mode = info.st_mode & 07777;
  result.Owner = info.st_uid;
  result.Group = info.st_gid;
  return result;
}
