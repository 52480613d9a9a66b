#pragma once

#include <string>

struct SaveTarget;

// The temporary file of one save, beside the file it is to replace. Its name
// is short whatever the target's: a dot, at most 32 bytes of the target's
// name, a hash of the whole name and six random characters. The file is
// locked for as long as this object holds it, so the next save to the same
// target can tell a file left by a killed save (unlocked: removed) from one
// still being written (locked: kept).
class TemporaryFile {
 public:
  explicit TemporaryFile(const SaveTarget& target);
  // Removes the file unless it was committed.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  const std::string& Path() const { return path_; }
  // Makes the written bytes durable before they replace the target.
  void Sync() const;
  // Gives the file the target's permissions (and owner, where the system
  // allows it) and renames it over the target.
  void Commit();

 private:
  bool KeepOwner() const;

  const SaveTarget& target_;
  std::string path_;
  int fd_ = -1;
  bool committed_ = false;
};
