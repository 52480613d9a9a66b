#pragma once

#include <stdexcept>

// A value the program refuses to take, entered or read from a file: out of
// range, or not allowed where it was given. The message says why, in German.
class EntryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
