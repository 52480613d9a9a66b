// Writes a synthetic GAEB 2000 tender for trying the program on large files:
//
//   gen_tender_main FILE POSITIONS [--single-area]

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "bench/tender_generator.h"

int main(int argc, char** argv) {
  const bool singleArea = argc == 4 && std::strcmp(argv[3], "--single-area") == 0;
  const int positions = argc >= 3 ? std::atoi(argv[2]) : 0;
  if ((argc != 3 && !singleArea) || positions <= 0) {
    std::fprintf(stderr, "usage: %s FILE POSITIONS [--single-area]\n", argv[0]);
    return 2;
  }
  try {
    const uint64_t bytes = WriteSyntheticTenderFile(
        argv[1], singleArea ? SingleAreaTender(positions) : NestedTender(positions));
    std::printf("%s: %d positions, %llu bytes\n", argv[1], positions,
                static_cast<unsigned long long>(bytes));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
