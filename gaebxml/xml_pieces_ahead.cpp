#include "gaebxml/xml_pieces_ahead.h"

#include <algorithm>
#include <utility>

#include "gaebxml/xml_names.h"

namespace {

// A batch ends after this many events or once this much of the file was read
// for it, so that the batches ahead hold a bounded part of the file.
constexpr size_t kBatchEvents = 256;
constexpr size_t kBatchBytes = size_t{2} << 20;

}  // namespace

XmlPiecesAhead::XmlPiecesAhead(XmlPieces::Source source, Enter enter)
    : pieces_([this, source = std::move(source)] {
        const std::string_view block = source();
        sourceBytes_ += block.size();
        return block;
      }),
      enter_(std::move(enter)),
      batches_([this](Batch& batch) { return Fill(batch); }) {}

XmlPiecesAhead::~XmlPiecesAhead() = default;

void XmlPiecesAhead::Start() { batches_.Start(); }

bool XmlPiecesAhead::Fill(Batch& batch) {
  batch.count = 0;
  batch.last = false;
  try {
    CutInto(batch);
  } catch (...) {
    // Out of memory or a failing source: the whole document's reading says why.
    Add(batch).piece = Piece::Unreadable;
    batch.last = true;
  }
  return batch.last;
}

XmlPiecesAhead::Event& XmlPiecesAhead::Add(Batch& batch) {
  if (batch.count == batch.events.size()) batch.events.emplace_back();
  Event& event = batch.events[batch.count++];
  event.whole = false;
  if (!event.document) event.document = std::make_unique<pugi::xml_document>();
  return event;
}

void XmlPiecesAhead::CutInto(Batch& batch) {
  const size_t startBytes = sourceBytes_;
  while (!batches_.Stopping() && batch.count < kBatchEvents &&
         sourceBytes_ - startBytes < kBatchBytes) {
    Event& event = Add(batch);
    event.piece = pieces_.Next();
    if (event.piece == Piece::EndTag) {
      open_.pop_back();
      continue;
    }
    if (event.piece != Piece::StartTag) {
      batch.last = true;
      return;
    }
    event.document->reset();
    event.document->append_copy(pieces_.Tag());
    const std::string name(LocalName(pieces_.Tag()));
    const std::string parent = open_.empty() ? std::string() : open_.back().name;
    std::vector<std::string>* siblings = open_.empty() ? nullptr : &open_.back().entered;
    const bool again =
        siblings && std::find(siblings->begin(), siblings->end(), name) != siblings->end();
    if (enter_(parent, name, again)) {
      if (siblings && !again) siblings->push_back(name);
      open_.push_back(Open{name, {}});
      continue;
    }
    Event& whole = Add(batch);
    if (!pieces_.Whole(*whole.document)) {
      whole.piece = Piece::Unreadable;
      batch.last = true;
      return;
    }
    whole.whole = true;
  }
}

XmlPiecesAhead::Event* XmlPiecesAhead::Take() {
  while (!reading_ || next_ == reading_->count) {
    if (reading_ && reading_->last) return nullptr;
    reading_ = &batches_.TakeNext();
    next_ = 0;
  }
  return &reading_->events[next_++];
}

XmlPiecesAhead::Piece XmlPiecesAhead::Next() {
  tag_ = pugi::xml_node();
  wholeAllowed_ = false;
  Event* event = broken_ ? nullptr : Take();
  if (!event || event->whole) {
    broken_ = true;
    return Piece::Unreadable;
  }
  if (event->piece == Piece::StartTag) {
    tag_ = event->document->document_element();
    wholeAllowed_ = true;
  }
  return event->piece;
}

pugi::xml_node XmlPiecesAhead::Whole() {
  Event* event = wholeAllowed_ && !broken_ ? Take() : nullptr;
  wholeAllowed_ = false;
  if (!event || !event->whole) {
    broken_ = true;
    return pugi::xml_node();
  }
  return event->document->document_element();
}
