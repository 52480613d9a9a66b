#pragma once

#include <pugixml.hpp>
#include <string>

// Formatted text of GAEB DA XML (p, span, br, tables, text complements) as
// plain text, still UTF-8. Paragraphs, table rows and <br/> end a line, the
// cells of a row are parted by two blanks, images are left out. Whitespace
// that only lays out the XML (a run holding a line break or tab) counts as
// one blank; blanks inside a span are kept, non-breaking spaces become blanks.

// As lines joined by CR LF; trailing blanks of each line and empty lines at
// both ends dropped.
std::string PlainTextLines(const pugi::xml_node& node);
// As one line: the lines joined by single blanks, trimmed.
std::string PlainTextLine(const pugi::xml_node& node);
