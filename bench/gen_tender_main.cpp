// Writes a synthetic tender for trying the program on large files, in the
// GAEB 2000 format or, with --x83, as GAEB DA XML:
//
//   gen_tender_main FILE POSITIONS [--single-area] [--x83] [--long-line MB]
//
// --long-line gives the first position a long text of one line of MB
// megabytes.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>

#include "bench/tender_generator.h"
#include "bench/x83_tender_writer.h"

int main(int argc, char** argv) {
  bool singleArea = false, x83 = false, usage = argc < 3;
  double longLineMb = 0;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--single-area") == 0)
      singleArea = true;
    else if (std::strcmp(argv[i], "--x83") == 0)
      x83 = true;
    else if (std::strcmp(argv[i], "--long-line") == 0 && i + 1 < argc)
      longLineMb = std::atof(argv[++i]);
    else
      usage = true;
  }
  const int positions = argc >= 3 ? std::atoi(argv[2]) : 0;
  if (usage || positions <= 0) {
    std::fprintf(stderr, "usage: %s FILE POSITIONS [--single-area] [--x83] [--long-line MB]\n",
                 argv[0]);
    return 2;
  }
  try {
    TenderShape shape = singleArea ? SingleAreaTender(positions) : NestedTender(positions);
    shape.LongLineBytes = static_cast<size_t>(longLineMb * 1e6);
    const uint64_t bytes =
        x83 ? WriteSyntheticX83File(argv[1], shape) : WriteSyntheticTenderFile(argv[1], shape);
    std::printf("%s: %d positions, %llu bytes\n", argv[1], positions,
                static_cast<unsigned long long>(bytes));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
