#pragma once

#include <cstddef>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

// XML text as it is handed to the tree: the file's UTF-8 text converted to
// Windows-1252. What cannot be taken over becomes "?" and is counted apart:
// characters Windows-1252 lacks, bytes that are no valid UTF-8, and control
// characters XML 1.0 does not allow (an X84 could not carry them, a
// terminal would obey them).
class TextConverter {
 public:
  std::string operator()(std::string_view utf8);
  size_t Replaced() const { return replaced_; }
  size_t InvalidBytes() const { return invalid_; }
  size_t ControlCharacters() const { return controls_; }

 private:
  size_t replaced_ = 0;
  size_t invalid_ = 0;
  size_t controls_ = 0;
};

// Where a byte offset of the file lies, for messages: 1-based line and
// column (characters, not bytes).
struct TextPosition {
  size_t Line = 1;
  size_t Column = 1;
};
TextPosition PositionAt(std::string_view text, size_t offset);

// The bytes of an XML file held for parsing in place: pugixml's document
// points into `Buffer` and changes it, so messages that name a line count in
// the untouched bytes, which `Original` gives again when they are needed.
struct XmlSource {
  std::string Buffer;
  std::function<std::string()> Original;
};

// How every GAEB DA XML file is parsed: references left as written (they are
// resolved by ResolveReferences), a blank-only text kept where it is an
// element's only content.
inline constexpr unsigned kXmlParseOptions =
    (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_ws_pcdata_single;

// The encoding the XML declaration at the start of `text` names, "" when
// there is none.
std::string_view DeclaredEncoding(std::string_view text);

// Parses the source in place, references resolved (see xml_references.h).
// On failure false, and `error` says in German what is wrong and where: "Die
// Datei ist keine gültige XML-Datei: ... (Zeile 3, Spalte 14)."
bool ParseXml(pugi::xml_document& document, XmlSource& source, std::string& error);
