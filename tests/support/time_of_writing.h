#pragma once

#include <string>

// An offer is stamped with the date and time it was written, in its file
// information, which comes first (GAEBINFO of a D84, GAEBInfo of an X84).
// Two offers saved from the same state are compared without that stamp, so
// that a minute turning between the two saves makes no difference.

inline void ReplaceFirstValue(std::string& text, const std::string& open, const std::string& close,
                              const std::string& placeholder) {
  const size_t from = text.find(open);
  const size_t to = from == std::string::npos ? from : text.find(close, from);
  if (to != std::string::npos)
    text.replace(from + open.size(), to - from - open.size(), placeholder);
}

inline std::string WithoutTimeOfWriting(std::string offer) {
  ReplaceFirstValue(offer, "<Date>", "</Date>", "<date>");
  ReplaceFirstValue(offer, "<Time>", "</Time>", "<time>");
  ReplaceFirstValue(offer, "[DATUM]", "[end]", "<date>");
  ReplaceFirstValue(offer, "[UHRZEIT]", "[end]", "<time>");
  return offer;
}
