#pragma once

#include <functional>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "gaebxml/xml_pieces.h"
#include "util/batches_ahead.h"

// The pieces of an XML file (xml_pieces.h) cut and parsed by pugixml on a
// thread of its own, a few batches ahead of the thread that maps them. Which
// elements are entered and which are parsed whole is decided on that thread
// by `Enter`, so it must give what the reading thread asks for: after a
// StartTag, Whole when it said no, Next when it said yes. Asked otherwise,
// the pieces are Unreadable from then on, and the file is read as a whole
// document.
class XmlPiecesAhead {
 public:
  using Piece = XmlPieces::Piece;
  // Whether an element named `name` (its local name) inside the entered
  // element `parent` ("" for the document element) is entered too;
  // `again`: one of that name was entered there before.
  using Enter = std::function<bool(std::string_view parent, std::string_view name, bool again)>;

  XmlPiecesAhead(XmlPieces::Source source, Enter enter);
  // Stops the thread.
  ~XmlPiecesAhead();
  XmlPiecesAhead(const XmlPiecesAhead&) = delete;
  XmlPiecesAhead& operator=(const XmlPiecesAhead&) = delete;

  // Starts the thread; raises std::system_error when there can be none.
  void Start();
  // As XmlPieces::Next.
  Piece Next();
  // The start tag handed out last, as XmlPieces::Tag; valid until the next
  // call of Next.
  pugi::xml_node Tag() const { return tag_; }
  // The element whose start tag was handed out last, parsed whole; an empty
  // node when it is not one `Enter` left whole or cannot be parsed. Valid
  // until the next call of Next.
  pugi::xml_node Whole();

 private:
  struct Event {
    Piece piece = Piece::Unreadable;
    bool whole = false;  // the element of the StartTag before, parsed whole
    std::unique_ptr<pugi::xml_document> document;
  };
  struct Batch {
    std::vector<Event> events;  // the first `count` are filled; the rest keep their documents
    size_t count = 0;
    bool last = false;  // the end of the file or of its readable part
  };
  struct Open {
    std::string name;
    std::vector<std::string> entered;  // the names of children entered
  };

  // On the thread: true when the batch is the last.
  bool Fill(Batch& batch);
  // Cuts and parses pieces into the batch until it is full or ends the file.
  void CutInto(Batch& batch);
  Event& Add(Batch& batch);
  // The next event the reading thread has not taken; null when there is none.
  Event* Take();

  XmlPieces pieces_;
  Enter enter_;
  std::vector<Open> open_;  // of the thread: the elements entered
  size_t sourceBytes_ = 0;  // of the thread: handed out by the source so far
  BatchesAhead<Batch> batches_;
  Batch* reading_ = nullptr;  // the batch being taken from
  size_t next_ = 0;           // in reading_
  pugi::xml_node tag_;
  bool wholeAllowed_ = false;  // Whole may follow (a start tag was handed out last)
  bool broken_ = false;        // asked otherwise than cut: nothing more is handed out
};
