#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Why a file is read in none of the formats the program reads, from its
// first bytes: the message names the formats read and the line where the
// file first fails to look like any of them.

// A GAEB 90 file whose first line is no head record (see LooksLikeDamagedGaeb90).
std::string DamagedGaeb90Text(std::string_view head, const std::string& displayName);

// A file that begins with no GAEB 2000 block, no XML and no GAEB 90 record:
// `text` is its first line that is not blank, `line` its number (0 when the
// file holds none).
std::string UnknownFormatText(int64_t line, std::string_view text, const std::string& displayName);
