#include "fuzz/cut_check.h"

#include <cstdio>
#include <cstdlib>

void CheckCutsAreRefused(const uint8_t* data, size_t size, size_t endStart, size_t endClose,
                         const std::function<bool(size_t cut)>& opens) {
  if (endStart > endClose || endClose >= size) {
    std::fprintf(stderr, "The end of the root (%zu to %zu) lies outside the %zu bytes.\n", endStart,
                 endClose, size);
    std::abort();
  }
  size_t pick = 0;
  for (size_t i = 0; i < size; ++i) pick = pick * 31 + data[i];
  const size_t cuts[] = {endStart, endClose, endStart == 0 ? 0 : pick % endStart};
  for (const size_t cut : cuts)
    if (opens(cut)) {
      std::fprintf(stderr, "The input cut after %zu of %zu bytes opens as a whole tender.\n", cut,
                   size);
      std::abort();
    }
}
