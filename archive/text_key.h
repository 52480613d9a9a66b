#pragma once

#include <string>

// The forms of a short text and a unit under which the archive finds an
// earlier position again. Two short texts an estimator would call the same
// item get the same key: letter case, umlauts written as ae/oe/ue, "ß" as
// "ss", punctuation and blanks do not count, nor do filler words ("und",
// "inkl.", "einschl.", ...), and the common abbreviations count as the word
// ("herst." = "herstellen", "vorh." = "vorhalten", "entf." = "entfernen").
// Text is Windows-1252.
std::string ArchiveTextKey(const std::string& shortText);
// "m2" = "m²" = "qm", "St" = "Stk" = "Stück", "psch" = "pauschal", ...;
// case and punctuation do not count.
std::string ArchiveUnitKey(const std::string& unit);
