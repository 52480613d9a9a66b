#pragma once

#include <pugixml.hpp>
#include <string>

#include "gaebxml/gaeb_xml_origin.h"

// Decides whether a parsed XML document is a GAEB DA XML file this program
// reads: root element GAEB in the namespace of version 3.0 (".../200407") or
// of phase 83 or 84 in version 3.1 to 3.3 (".../DA83/3.3", ".../DA84/3.3"),
// award data of exchange phase 83 (a tender) or 84 (an offer) with a bill of
// quantities; a namespace that names another phase than DP is refused.
// `phase` gets "83" or "84". The namespace decides the version; a
// GAEBInfo/Version that names another one is reported in `warning` and
// otherwise ignored. On success fills the origin's namespace and version;
// otherwise returns false and `error` names what was found (German,
// Windows-1252).
bool CheckX83(const pugi::xml_document& document, GaebXmlOrigin& origin, std::string& phase,
              std::string& error, std::string& warning);
