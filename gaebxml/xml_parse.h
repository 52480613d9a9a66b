#pragma once

#include <cstddef>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>

// XML text as it is handed to the tree: the file's UTF-8 text converted to
// Windows-1252, counting the characters Windows-1252 lacks (they become "?").
class TextConverter {
 public:
  std::string operator()(std::string_view utf8);
  size_t Replaced() const { return replaced_; }

 private:
  size_t replaced_ = 0;
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

// Parses the source in place. On failure false, and `error` says in German
// what is wrong and where: "Die Datei ist keine gültige XML-Datei: ... (Zeile
// 3, Spalte 14)."
bool ParseXml(pugi::xml_document& document, XmlSource& source, std::string& error);
