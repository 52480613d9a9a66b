#include "document/recovery_place.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "util/codec.h"

namespace {

constexpr const char* kSuffix = ".wiederherstellung.xml";

void MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
    throw std::runtime_error(
        "Der Ordner " + Utf8ToCp1252(path) +
        " f\xFCr die Wiederherstellung kann nicht angelegt werden: " + std::strerror(errno));
}

// The lock file's descriptor, locked without waiting; -1 when another holds
// it. A lock file its owner removed while it was being taken (the owner saved
// or discarded) is no lock any more: only the file now under the name counts.
int Lock(const std::string& lockPath) {
  const int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  struct stat held {
  }, named{};
  if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &held) != 0 ||
      stat(lockPath.c_str(), &named) != 0 || held.st_ino != named.st_ino ||
      held.st_dev != named.st_dev) {
    close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

std::string RecoveryDirectory() {
  const char* data = std::getenv("XDG_DATA_HOME");
  std::string base;
  if (data && data[0] == '/') {
    base = data;
  } else {
    const char* home = std::getenv("HOME");
    if (!home || !home[0])
      throw std::runtime_error(
          "Der Ordner f\xFCr die Wiederherstellung ist unbekannt (HOME ist nicht gesetzt).");
    base = std::string(home) + "/.local";
    MakeFolder(base);
    base += "/share";
  }
  MakeFolder(base);
  MakeFolder(base + "/Tarvo_Redurir");
  const std::string folder = base + "/Tarvo_Redurir/Wiederherstellung";
  MakeFolder(folder);
  chmod(folder.c_str(), 0700);
  return folder;
}

RecoveryClaim::RecoveryClaim(RecoveryClaim&& other) noexcept
    : path_(std::move(other.path_)), fd_(std::exchange(other.fd_, -1)) {}

RecoveryClaim& RecoveryClaim::operator=(RecoveryClaim&& other) noexcept {
  if (this != &other) {
    Release();
    path_ = std::move(other.path_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

RecoveryClaim::~RecoveryClaim() { Release(); }

void RecoveryClaim::Release() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

RecoveryClaim RecoveryClaim::ForTender(const std::string& tenderPath) {
  const std::string name = std::filesystem::path(tenderPath).filename().string();
  const std::string stem =
      RecoveryDirectory() + "/" + (name.empty() ? "lv" : name) + "." + std::to_string(getpid());
  // A file of an earlier process with the same number (after a restart) is
  // an orphan kept for later, never written over: the next free name is taken.
  for (int n = 1; n <= 100; ++n) {
    const std::string path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + kSuffix;
    const int fd = Lock(path + ".lock");
    if (fd < 0) continue;
    if (access(path.c_str(), F_OK) != 0) return RecoveryClaim(path, fd);
    close(fd);
  }
  throw std::runtime_error("Die Wiederherstellungsdatei " + Utf8ToCp1252(stem + kSuffix) +
                           " kann nicht gesperrt werden.");
}

std::vector<RecoveryClaim> RecoveryClaim::Orphans() {
  std::vector<RecoveryClaim> orphans;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(RecoveryDirectory(), ec)) {
    const std::string path = entry.path().string();
    if (!path.ends_with(kSuffix) || !entry.is_regular_file(ec)) continue;
    const int fd = Lock(path + ".lock");
    if (fd < 0) continue;
    // Removed by its owner between the listing and the lock: nothing to offer.
    if (access(path.c_str(), F_OK) != 0) {
      unlink((path + ".lock").c_str());
      close(fd);
      continue;
    }
    orphans.push_back(RecoveryClaim(path, fd));
  }
  return orphans;
}

void RecoveryClaim::Remove() {
  if (path_.empty()) return;
  unlink(path_.c_str());
  unlink((path_ + ".lock").c_str());
  Release();
}
