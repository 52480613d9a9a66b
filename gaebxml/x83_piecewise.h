#pragma once

#include <string>

#include "gaeb/gaeb_document.h"
#include "gaebxml/x83_reader.h"
#include "gaebxml/xml_pieces.h"

// Reads an X83 or X84 piece by piece (xml_pieces.h) into the tree the whole
// document's reading builds: what lies before the bill's body (GAEBInfo,
// PrjInfo, the award data, BoQInfo) is kept as a small document and checked
// and mapped as a whole file is, then every area, item and note is mapped as
// it comes and dropped. The pieces are cut and parsed on a thread of their
// own (xml_pieces_ahead.h); the mapping runs on the calling thread. Fills Root, Origin, Offer,
// CarriesTender and the counts of `result`, and `versionWarning` as CheckX83 does. False when the
// file is refused or holds something whose mapping depends on what comes
// later than the body (a BoQInfo behind it, an Itemlist inside an Itemlist):
// it is then read as a whole document, which gives the same tree or refuses
// it with the message that names the line.
bool ReadX83Piecewise(XmlPieces::Source source, GaebDocument& doc, X83Result& result,
                      std::string& versionWarning);
