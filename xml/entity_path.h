#pragma once

#include <optional>
#include <string>

// The file that a system identifier names, for a document read from the file
// sourceName. Only a relative name inside that document's folder is allowed:
// a document that was only attached (a name beginning with "<"), an absolute
// path, a drive, a network share, a ".." step or a link leading out of the
// folder give nothing, so a hostile document cannot read other files of the
// user. Both "/" and "\" separate folders.
std::optional<std::string> ResolveEntityPath(const std::string& sourceName,
                                             const std::string& systemId);
