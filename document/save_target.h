#pragma once

#include <sys/types.h>

#include <string>

// The file a save writes: the target named by the user with its symbolic
// links followed, and what the replacement has to keep of the file there.
struct SaveTarget {
  std::string Name;       // the name as given, as Windows-1252 text for messages
  std::string Path;       // the file that is replaced or created
  std::string Directory;  // the directory of Path
  bool Exists = false;
  mode_t Mode = 0;  // permission bits of the file there, else those of a new file
  uid_t Owner = 0;
  gid_t Group = 0;
};

// Follows the links of `target` and checks that the file there may be
// replaced: raises std::runtime_error with a German message for a directory,
// device, pipe or socket, and for a write-protected file.
SaveTarget CheckSaveTarget(const std::string& target);
