#pragma once

#include <memory>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_elements.h"

class KsFileReadGaeb00;

// The two reading passes of an import.

// First pass: reads tokens up to the begin of the award block "VERGABE", the
// end of the root block "GAEB" or the end of the file. Every "ZEICHENSATZ"
// field on the way sets the conversion of the lines: "OEM" (code page 850),
// "ANSI" or none (Windows-1252) or "UTF-8", in any letter case; another
// character set raises naming its line, and so does the end of the file
// inside a block. True when the award block was found; `blockSeen`, when
// given, tells whether any block began (a GAEB 2000 file without award data
// rather than a file of another kind).
bool ScanGaebHeader(KsFileReadGaeb00& reader, bool* blockSeen = nullptr);

// Second pass: rewinds the document's reader, finds the begin of the root
// block "GAEB" and reads the whole tree below it. Null when the file has no
// root block. Errors of reading (a number field that is not a number, a
// block cut short or ended by another's end line, anything after the root
// block) pass on.
std::unique_ptr<KsGGAEB> ReadGaebRoot(GaebDocument& doc);
