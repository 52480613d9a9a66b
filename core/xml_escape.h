#pragma once

#include <string>
#include <string_view>

// Escaping of member texts in the XML object format: the five markup
// characters become entities and the German umlauts and sharp s their
// two-byte UTF-8 forms; every other byte stays a Windows-1252 byte.
std::string XmlEscape(std::string_view text);
// The same appended to `out`, for a writer that builds one long text.
void AppendXmlEscaped(std::string& out, std::string_view text);

// Undoes XmlEscape in one pass from left to right, so each escape is undone
// once: a written "&amp;lt;" (the text "&lt;") does not become "<".
// Without entities, only the UTF-8 forms are undone (for text whose entities
// the XML parser has already read).
std::string XmlUnescape(std::string_view text, bool entities);
