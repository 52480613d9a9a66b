#pragma once

#include <pugixml.hpp>
#include <string>

#include "gaebxml/gaeb_xml_origin.h"

// Decides whether a parsed XML document is a GAEB DA XML tender this program
// reads: root element GAEB in a GAEB DA XML namespace, version 3.0 to 3.3,
// award data of exchange phase 83 with a bill of quantities. On success
// fills the origin's namespace, version and version date; otherwise returns
// false and `error` names what was found (German, Windows-1252).
bool CheckX83(const pugi::xml_document& document, GaebXmlOrigin& origin, std::string& error);
