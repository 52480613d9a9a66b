#pragma once

#include <string>
#include <vector>

// One level of the numbering (BoQBkdn) as the tender wrote it.
struct BoQBkdnLevel {
  std::string Type;  // "BoQLevel", "Lot", "Item", "Index"
  std::string Length;
  std::string Num;
  std::string Alignment;
};

// What the price submission takes over from the tender it answers, beyond
// the element tree: the namespace and version to answer in, and the
// numbering as declared.
struct GaebXmlOrigin {
  std::string Namespace;  // namespace URI of the tender, e.g. ".../DA83/3.3"
  std::string Version;    // "3.0" to "3.3"
  std::string VersDate;   // GAEBInfo/VersDate as read, may be empty
  std::vector<BoQBkdnLevel> Breakdown;
};
