#pragma once

#include <cstddef>
#include <string_view>

// How a GAEB 90 file begins, known here so that the tender reader does not
// refuse such a file as one without any GAEB structure.

// Columns of a GAEB 90 record.
constexpr size_t kGaeb90Width = 80;

// True when the first line of the bytes is a GAEB 90 record that may begin a
// file: a head record 00 or a free text T0 ... T9, at most 80 columns long.
bool LooksLikeGaeb90(std::string_view head);

// True when the first line is no such record but the lines after it are
// GAEB 90 records (80 columns, a record type in columns 1-2 and the running
// number in columns 75-80; at least three of them, as far as the bytes go):
// a GAEB 90 file whose first line was garbled.
bool LooksLikeDamagedGaeb90(std::string_view head);
