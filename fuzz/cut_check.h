#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

// A tender cut short is never taken for a whole one. Each reader requires its
// file to end with the end of the outermost element, so every cut before the
// last character of that end (the "]" of "#end[GAEB]", the ">" of "</GAEB>")
// leaves the root open and must be refused. The fuzz target knows where that
// end lies in its input: `endStart` is where it begins, `endClose` its last
// character. Checked are a cut at each of them and one before `endStart`
// that the input picks; `opens(n)` answers whether the first n bytes are
// taken as a whole tender. A cut that is taken aborts, naming the cut.
void CheckCutsAreRefused(const uint8_t* data, size_t size, size_t endStart, size_t endClose,
                         const std::function<bool(size_t cut)>& opens);
