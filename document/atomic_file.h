#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Writes a file so that the file that was there survives every failure: the
// content goes to a new temporary file in the target's directory, which is
// flushed, closed and checked, and only then renamed over the target (an
// atomic replacement on the same file system). On failure the temporary file
// is removed and the reason is raised as std::runtime_error with a German
// message; the target is untouched. Exceptions of `write` pass through after
// the same clean-up.
//
// A symbolic link is followed: the file it names is replaced, the link stays.
// Only a regular file is replaced, and only when it is not write-protected
// (no write permission for the process, or none for anybody when the process
// may write everything); it keeps its permissions and, where allowed, its
// owner. The temporary file has a short name derived from the target's, so
// any target name fits; a temporary file that a killed save left behind is
// recognised by that name and removed by the next save to the same target.
void WriteFileAtomically(const std::string& target,
                         const std::function<void(std::ostream&)>& write);
