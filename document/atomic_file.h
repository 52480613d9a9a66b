#pragma once

#include <functional>
#include <iosfwd>
#include <string>

// Writes a file so that the file that was there survives every failure: the
// content goes to a new temporary file in the target's directory, which is
// flushed, closed and checked, and only then renamed over the target (an
// atomic replacement on the same file system). An existing target keeps its
// permissions. On failure the temporary file is removed and the reason is
// raised as std::runtime_error; the target is untouched. Exceptions of
// `write` pass through after the same clean-up.
void WriteFileAtomically(const std::string& target,
                         const std::function<void(std::ostream&)>& write);
