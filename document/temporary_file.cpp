#include "document/temporary_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "document/save_target.h"
#include "util/codec.h"

namespace {

constexpr size_t kNameBytes = 32;
constexpr std::string_view kRandomPart = "XXXXXX";
// Attempts to create a file that stays ours while a concurrent save cleans up.
constexpr int kAttempts = 4;

// "<text> (<the system's reason>)"
std::string Reason(const std::string& text, int error) {
  return text + " (" + std::strerror(error) + ")";
}

std::string InDirectory(const std::string& dir, std::string_view name) {
  return (dir == "/" ? std::string() : dir) + "/" + std::string(name);
}

// FNV-1a, 64 bits: tells apart the temporary files of targets whose names
// share their first bytes.
uint64_t NameHash(std::string_view name) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

// Everything of the temporary name but the random part.
std::string NamePrefix(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  const std::string_view base = slash == std::string::npos
                                    ? std::string_view(path)
                                    : std::string_view(path).substr(slash + 1);
  size_t length = std::min(base.size(), kNameBytes);
  // Not in the middle of a UTF-8 character.
  while (length > 0 && length < base.size() &&
         (static_cast<unsigned char>(base[length]) & 0xC0) == 0x80)
    --length;
  char hash[17];
  std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(NameHash(base)));
  return "." + std::string(base.substr(0, length)) + "." + hash + ".";
}

bool SameFile(int fd, const std::string& path) {
  struct stat open {
  }, named{};
  return fstat(fd, &open) == 0 && stat(path.c_str(), &named) == 0 && open.st_dev == named.st_dev &&
         open.st_ino == named.st_ino;
}

// Temporary files of the target that nobody holds locked: a save was killed.
void RemoveLeftovers(const std::string& dir, const std::string& prefix) {
  DIR* entries = opendir(dir.c_str());
  if (!entries) return;
  while (const dirent* entry = readdir(entries)) {
    const std::string_view name = entry->d_name;
    if (name.size() != prefix.size() + kRandomPart.size() ||
        name.substr(0, prefix.size()) != prefix)
      continue;
    const std::string path = InDirectory(dir, name);
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        SameFile(fd, path))
      unlink(path.c_str());
    close(fd);
  }
  closedir(entries);
}

}  // namespace

TemporaryFile::TemporaryFile(const SaveTarget& target) : target_(target) {
  const std::string& dir = target.Directory;
  const std::string prefix = NamePrefix(target.Path);
  RemoveLeftovers(dir, prefix);
  for (int attempt = 1;; ++attempt) {
    std::string name = InDirectory(dir, prefix + std::string(kRandomPart));
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
      const int error = errno;
      throw std::runtime_error(Reason(
          "Im Verzeichnis " + Utf8ToCp1252(dir) + " kann keine Datei angelegt werden", error));
    }
    // Where the file system has no locks, nobody can remove the file either.
    if (flock(fd, LOCK_EX) != 0 || SameFile(fd, name) || attempt == kAttempts) {
      path_ = name;
      fd_ = fd;
      return;
    }
    // Another save took it for a leftover between creation and lock.
    close(fd);
  }
}

TemporaryFile::~TemporaryFile() {
  if (!committed_) unlink(path_.c_str());
  close(fd_);
}

void TemporaryFile::Sync() const {
  if (fsync(fd_) != 0) {
    const int error = errno;
    throw std::runtime_error(
        Reason("Die Datei " + target_.Name + " kann nicht gesichert werden", error));
  }
}

// Only root may give a file away; others can keep the group when they are in
// it. Whether the file now has the target's group.
bool TemporaryFile::KeepOwner() const {
  struct stat info {};
  if (!target_.Exists || fstat(fd_, &info) != 0) return true;
  if (info.st_uid == target_.Owner && info.st_gid == target_.Group) return true;
  return fchown(fd_, target_.Owner, target_.Group) == 0 ||
         fchown(fd_, static_cast<uid_t>(-1), target_.Group) == 0;
}

void TemporaryFile::Commit() {
  // Group permissions are not handed to another group than the target's.
  const mode_t mode = KeepOwner() ? target_.Mode : target_.Mode & ~mode_t{070};
  if (fchmod(fd_, mode) != 0 || std::rename(path_.c_str(), target_.Path.c_str()) != 0) {
    const int error = errno;
    throw std::runtime_error(
        Reason("Die Datei " + target_.Name + " kann nicht ersetzt werden", error));
  }
  committed_ = true;
  // The new name is durable only once the directory is; a failure here
  // leaves the saved file in place, so it is not reported.
  const int dir = open(target_.Directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
}
