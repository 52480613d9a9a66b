#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

// Synthetic GAEB 2000 tenders (exchange phase D83, Windows-1252, German number
// format) for benchmarks: a complete GAEB / GAEBINFO / PRJINFO / VERGABE /
// VERGABEINFO / AG / LV / LVINFO frame around nested LV areas whose leaves
// hold the positions. Each position has an OZ, a short text, a long text of
// about 600 bytes over several lines, MENGE and ME; every third one an EP.
// The same shape and seed always give the same bytes.
struct TenderShape {
  int Positions = 10000;
  // Depth of the LV areas above the positions (1: one level of areas).
  int AreaLevels = 3;
  // Positions per leaf area; the last leaf holds the rest.
  int PositionsPerArea = 100;
  uint64_t Seed = 0x6AEB2000;
  // When not 0, the first position's long text is PastedText of this many
  // bytes (in a GAEB 2000 tender at most 16 MB, what its reader takes).
  size_t LongLineBytes = 0;
};

// Three levels of areas with about 100 positions in each leaf.
TenderShape NestedTender(int positions);
// Every position in one single LV area.
TenderShape SingleAreaTender(int positions);

// A text of about `bytes` bytes as pasted from another program: sentence
// after sentence without line breaks, one line, or lines of 10 MB where it
// is longer. The same size and seed always give the same text.
std::string PastedText(size_t bytes, uint64_t seed);

// Writes the tender; returns the number of bytes written. Raises EObj when
// the stream fails.
uint64_t WriteSyntheticTender(std::ostream& out, const TenderShape& shape);
// The same into a new file; raises EObj when it cannot be created or written.
uint64_t WriteSyntheticTenderFile(const std::string& path, const TenderShape& shape);
