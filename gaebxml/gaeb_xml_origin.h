#pragma once

#include <string>
#include <string_view>
#include <vector>

// Every GAEB DA XML namespace begins so: 3.0 has one for all phases
// (".../200407"), later versions one per phase and version (".../DA83/3.3").
inline constexpr std::string_view kGaebXmlNamespacePrefix = "http://www.gaeb.de/GAEB_DA_XML/";

// One level of the numbering (BoQBkdn) as the tender wrote it.
struct BoQBkdnLevel {
  std::string Type;  // "BoQLevel", "Lot", "Item", "Index"
  std::string Length;
  std::string Num;
  std::string Alignment;
};

// What the price submission takes over from the tender it answers, beyond
// the element tree: the version to answer in (its namespace follows from
// it), and the numbering as declared.
struct GaebXmlOrigin {
  std::string Namespace;  // namespace URI of the tender, e.g. ".../DA83/3.3"
  std::string Version;    // "3.0" to "3.3", as the namespace names it
  std::string VersDate;   // GAEBInfo/VersDate as read (Windows-1252), may be empty
  std::vector<BoQBkdnLevel> Breakdown;
};
