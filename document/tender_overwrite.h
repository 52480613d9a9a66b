#pragma once

#include <string>

class KsLyxObj;

// Saving the offer under the name of the tender it was read from. The window
// and the command line decide by the same rule; a file name is the file
// system's bytes (UTF-8).
enum class TenderOverwrite {
  None,      // another file, or the file read is an offer already
  Replaces,  // a D84 over the D83/P83 it came from: it carries all of it, but ask
  Destroys,  // the offer cannot carry the tender (an X84 over the X83, also the
             // X83 an X84 read back was entered into, a GAEB 90 tender, or a
             // tender the import had to change): refused
};

// True when both names lead to one existing file (links and other spellings included).
bool SameFile(const std::string& a, const std::string& b);

// A price submission already: exchange phase 84 (an X84 read back among
// them), or a GAEB 2000 file saved by this program before its offers said so
// (those kept the tender's phase 83). An X83 never is one.
bool IsOffer(const KsLyxObj& document);

TenderOverwrite CheckTenderOverwrite(const KsLyxObj& document, const std::string& tender,
                                     const std::string& target);

// The window's German text for Replaces (a question) and Destroys (a refusal),
// naming the target's file name; "" for None.
std::string TenderOverwriteText(TenderOverwrite kind, const std::string& target);
