#pragma once

#include <stdexcept>

// Raised by the text formatters for a format they cannot apply (unknown
// conversion, missing argument, date outside the calendar).
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
