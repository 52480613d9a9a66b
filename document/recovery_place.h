#pragma once

#include <string>
#include <vector>

// Where recovery files live and who owns them: one file per window (process),
// named after the tender and the process, in
// $XDG_DATA_HOME/Tarvo_Redurir/Wiederherstellung/ (else ~/.local/share/...),
// a folder only the user may enter. The owner holds a lock on a file beside
// it ("<name>.lock") for as long as it lives, so a file whose lock can be
// taken belongs to no running window; a window or a user never takes a file
// whose owner still runs, and the system lets go of the lock of a killed one.

// The folder, created (mode 0700) when missing; raises std::runtime_error
// (German) when it cannot be made.
std::string RecoveryDirectory();

// A recovery file and the lock that makes it this process's (or a claimed
// orphan's). Moving passes the lock on; the destructor lets go of it.
class RecoveryClaim {
 public:
  RecoveryClaim() = default;
  RecoveryClaim(RecoveryClaim&& other) noexcept;
  RecoveryClaim& operator=(RecoveryClaim&& other) noexcept;
  RecoveryClaim(const RecoveryClaim&) = delete;
  RecoveryClaim& operator=(const RecoveryClaim&) = delete;
  ~RecoveryClaim();

  // The file for the tender in this process, locked; raises std::runtime_error
  // (German) when the folder or the lock cannot be made.
  static RecoveryClaim ForTender(const std::string& tenderPath);
  // Every recovery file in the folder whose owner no longer runs, each
  // locked now so that no other window offers it at the same time.
  static std::vector<RecoveryClaim> Orphans();

  bool Held() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }
  // Removes the file and its lock (after a save, a close without saving, or
  // when the user discards it).
  void Remove();

 private:
  RecoveryClaim(std::string path, int fd) : path_(std::move(path)), fd_(fd) {}
  void Release();
  std::string path_;
  int fd_ = -1;
};
