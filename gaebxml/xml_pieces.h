#pragma once

#include <functional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

// An XML file read piece by piece as it comes from its source, so that a
// large file is never held whole with its document tree: the tags of the
// elements that hold others are handed out one by one, and an element below
// them is parsed whole, on its own, by pugixml with the options and the
// reference resolution of ParseXml (xml_parse.h). Only what reads exactly as
// the whole document reads is followed: UTF-8, comments and blanks between
// the elements handed out, no document type declaration, no NUL byte.
// Anything else ends the reading with Unreadable; the file is then read as a
// whole document, which refuses it with line and column or reads it.
class XmlPieces {
 public:
  // The next bytes of the file; empty at its end.
  using Source = std::function<std::string_view()>;
  explicit XmlPieces(Source source) : source_(std::move(source)) {}

  enum class Piece { StartTag, EndTag, End, Unreadable };
  // The next tag between the elements read whole. After a StartTag comes
  // either Next again (the element's content follows piece by piece, up to
  // its EndTag; an empty element "<a/>" gets one too) or Whole.
  Piece Next();
  // The start tag handed out last as an element without content: its name
  // and its attributes, references resolved.
  pugi::xml_node Tag() const { return tag_.document_element(); }
  // The element whose start tag was handed out last, with everything it
  // holds, parsed into `document`; false when it cannot be (the file is then
  // Unreadable).
  bool Whole(pugi::xml_document& document);

 private:
  // Appends the next bytes of the source, dropping what lies before
  // tagStart_ (the tag or element being read); false at the end of the file
  // or at a NUL byte.
  bool More();
  // Makes sure `count` bytes from pos_ on are buffered, if the file has them.
  bool Have(size_t count);
  // Moves pos_ behind the next `what`, reading on as needed; false when the
  // file ends first.
  bool SkipPast(std::string_view what);
  // Moves pos_ behind the '>' that ends the tag beginning at pos_, outside
  // quoted attribute values.
  bool SkipTag();
  bool StartTag(Piece& piece);
  bool EndTag(Piece& piece);
  bool Declaration();

  Source source_;
  std::string buffer_;
  size_t pos_ = 0;
  size_t tagStart_ = 0;  // where what is being read begins; kept when reading on
  bool ended_ = false;   // the source has no more bytes, or handed out a NUL byte
  bool broken_ = false;
  bool begun_ = false;             // the first byte was looked at (BOM, declaration)
  bool rootDone_ = false;          // the document element is closed
  bool pendingEnd_ = false;        // an empty element gets its end tag next
  bool wholeAllowed_ = false;      // Whole may follow (a start tag was handed out last)
  std::vector<std::string> open_;  // names of the elements entered
  pugi::xml_document tag_;
  std::string piece_;
};
