#pragma once

#include <memory>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_elements.h"

class KsFileReadGaeb00;

// The two reading passes of an import.

// First pass: reads tokens up to the begin of the award block "VERGABE", the
// end of the root block "GAEB" or the end of the file. Every "ZEICHENSATZ"
// field on the way switches OEM conversion on exactly when its raw value is
// "OEM". True when the award block was found.
bool ScanGaebHeader(KsFileReadGaeb00& reader);

// Second pass: rewinds the document's reader, finds the begin of the root
// block "GAEB" and reads the whole tree below it. Null when the file has no
// root block. Errors of reading (a number field that is not a number) pass on.
std::unique_ptr<KsGGAEB> ReadGaebRoot(GaebDocument& doc);
