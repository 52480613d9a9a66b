#pragma once

#include <stdexcept>

// Error of the database engine (connection, statement, transaction). The
// message is German; the engine's own text follows it.
class EDatabase : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
