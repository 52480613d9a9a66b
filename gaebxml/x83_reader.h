#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_elements.h"
#include "gaebxml/gaeb_xml_origin.h"
#include "gaebxml/xml_parse.h"

// The outcome of reading a GAEB DA XML tender (X83).
struct X83Result {
  std::unique_ptr<KsGGAEB> Root;  // null when the file was refused
  GaebXmlOrigin Origin;
  std::string Error;  // why it was refused (German, Windows-1252)
  // What became "?" in the tree: characters Windows-1252 lacks, bytes that
  // are no UTF-8, control characters XML does not allow.
  size_t ReplacedCharacters = 0;
  size_t InvalidBytes = 0;
  size_t ControlCharacters = 0;
  // What the import had to change or decide, for the user; "" when nothing.
  std::string Warning;
  // The file is a price submission (X84, phase 84) rather than a tender.
  bool Offer = false;
  // An offer that repeats the tender (every item with its quantity or its
  // text) opens alone; one that answers by ID only needs its tender
  // (x84_answers.h).
  bool CarriesTender = false;
};

// A file to be read: its bytes piece by piece, and all of them again when it
// must be read as a whole document.
struct X83Input {
  std::function<std::string_view()> Pieces;  // the next bytes; empty at the end
  std::function<std::string()> Whole;        // every byte, from the start
};

// Reads an X83 (GAEB DA XML 3.0 to 3.3) into the element tree the GAEB 2000
// reader builds (mapping in gaebxml/x83_mapper.h); an X84 likewise, with
// whatever of the tender it repeats. Malformed XML, entities
// other than the predefined ones, XML that is not GAEB DA XML, another
// version or exchange phase, and numbers that are not numbers are refused
// with a message naming what was found. The file is read piece by piece
// (x83_piecewise.h); one that is refused, or that cannot be followed piece
// by piece, is read again as a whole document, which names the line.
X83Result ReadX83(const X83Input& input, GaebDocument& doc);
X83Result ReadX83File(const std::string& path, GaebDocument& doc);
X83Result ReadX83(std::string_view bytes, GaebDocument& doc);
// The whole document parsed at once, where it lies, and mapped: the same tree
// and the same refusals, with the whole file and its document tree in memory.
X83Result ReadX83Document(XmlSource source, GaebDocument& doc);

// True when the bytes begin, after a byte-order mark and blanks, with "<":
// an XML file rather than a GAEB 2000 one, which begins with "#begin[" or a
// comment line.
bool LooksLikeXml(std::string_view head);
// The same for the first bytes of a file; false when it cannot be read.
bool IsXmlFile(const std::string& path);
