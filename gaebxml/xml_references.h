#pragma once

#include <cstddef>
#include <pugixml.hpp>
#include <string>

// pugixml keeps a reference it does not know as text ("&e;"), even one that
// a document type declaration declares, so a file is parsed with its
// references left as written and they are resolved here, in every text and
// attribute value: the five predefined entities and character references (a
// control character among them stays, for the text conversion to count). A
// "&" that begins no reference stays as it is. Any other entity, and a
// character reference that names no character, is refused.
struct ReferenceProblem {
  std::string Text;        // German, Windows-1252, without the place
  bool Malformed = false;  // no XML at all, rather than XML this program does not resolve
  ptrdiff_t Offset = 0;    // where the text or element holding it begins
  size_t LinesInto = 0;    // line breaks of the text before the reference
};

// False at the first reference refused, described in `problem`.
bool ResolveReferences(pugi::xml_document& document, ReferenceProblem& problem);
