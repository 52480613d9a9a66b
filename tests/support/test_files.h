#pragma once

#include <fstream>
#include <iterator>
#include <string>

// Whole files, byte for byte, for tests: sample files, what the code under
// test wrote, and files a test prepares.

// The file's bytes; "" when it cannot be read.
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Creates the file or replaces its content; false when not every byte was written.
inline bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  out.close();
  return !out.fail();
}
