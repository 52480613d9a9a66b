#pragma once

#include <string>
#include <vector>

#include "tests/support/test_files.h"

// The GAEB 90 samples as lines (without their ends), for tests that change them.

inline const std::string kGaeb90Los01 = std::string(TARVO_TEST_DATA_DIR) + "/gaeb90/LV_Los01.D83";
inline const std::string kGaeb90Los02 = std::string(TARVO_TEST_DATA_DIR) + "/gaeb90/LV_Los02.D83";

inline std::vector<std::string> Gaeb90Lines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string bytes = ReadFile(path);
  size_t start = 0;
  for (size_t lf = bytes.find('\n'); lf != std::string::npos; lf = bytes.find('\n', start)) {
    lines.push_back(bytes.substr(start, lf - start));
    start = lf + 1;
  }
  return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines, const char* end = "\n") {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + end;
  return bytes;
}
