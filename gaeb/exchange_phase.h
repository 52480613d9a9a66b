#pragma once

#include <string>

// The name of a GAEB exchange phase as a message shows it behind the number:
// " (Angebotsabgabe)" for "84"; "" for a phase without a name here. The same
// for GAEB 2000, GAEB DA XML and GAEB 90.
std::string ExchangePhaseName(const std::string& phase);
