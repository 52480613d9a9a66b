#include "gaebxml/xml_pieces.h"

#include <cstring>

#include "gaebxml/xml_parse.h"
#include "gaebxml/xml_references.h"
#include "util/same_text.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// One element's XML parsed as ParseXml parses a whole file.
bool ParseElement(pugi::xml_document& document, std::string_view xml) {
  if (!document.load_buffer(xml.data(), xml.size(), kXmlParseOptions, pugi::encoding_utf8))
    return false;
  ReferenceProblem problem;
  return document.document_element() && ResolveReferences(document, problem);
}

}  // namespace

bool XmlPieces::More() {
  if (ended_) return false;
  if (tagStart_ > 0) {
    buffer_.erase(0, tagStart_);
    pos_ -= tagStart_;
    tagStart_ = 0;
  }
  const std::string_view block = source_();
  if (block.empty() || std::memchr(block.data(), '\0', block.size())) {
    broken_ = !block.empty();
    ended_ = true;
    return false;
  }
  buffer_.append(block);
  return true;
}

bool XmlPieces::Have(size_t count) {
  while (buffer_.size() - pos_ < count)
    if (!More()) return false;
  return true;
}

bool XmlPieces::SkipPast(std::string_view what) {
  size_t from = pos_;
  for (;;) {
    const size_t at = buffer_.find(what, from);
    if (at != std::string::npos) {
      pos_ = at + what.size();
      return true;
    }
    // The last bytes may begin what the next ones end.
    const size_t tail = what.size() - 1;
    const size_t checked = buffer_.size() - pos_ > tail ? buffer_.size() - pos_ - tail : 0;
    if (!More()) return false;
    from = pos_ + checked;
  }
}

bool XmlPieces::SkipTag() {
  char quote = 0;
  for (size_t at = pos_ + 1;; ++at) {
    if (at == buffer_.size()) {
      const size_t offset = at - pos_;
      if (!More()) return false;
      at = pos_ + offset;
    }
    const char c = buffer_[at];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      pos_ = at + 1;
      return true;
    }
  }
}

bool XmlPieces::Declaration() {
  if (Have(3) && buffer_.compare(pos_, 3, "\xEF\xBB\xBF") == 0) pos_ += 3;
  if (!Have(6) || buffer_.compare(pos_, 5, "<?xml") != 0 || !IsBlank(buffer_[pos_ + 5]))
    return true;
  tagStart_ = pos_;
  if (!SkipPast("?>")) return false;
  const std::string_view declared =
      DeclaredEncoding(std::string_view(buffer_).substr(tagStart_, pos_ - tagStart_));
  // Other encodings are converted or detected by the whole document's reading.
  return declared.empty() || SameText(declared, "UTF-8");
}

bool XmlPieces::StartTag(Piece& piece) {
  tagStart_ = pos_;
  if (!SkipTag()) return false;
  piece_.assign(buffer_, tagStart_, pos_ - tagStart_);
  const bool empty = piece_.size() > 2 && piece_[piece_.size() - 2] == '/';
  if (!empty) piece_.insert(piece_.size() - 1, "/");
  if (!ParseElement(tag_, piece_)) return false;
  if (empty)
    pendingEnd_ = true;
  else
    open_.emplace_back(Tag().name());
  wholeAllowed_ = true;
  piece = Piece::StartTag;
  return true;
}

bool XmlPieces::EndTag(Piece& piece) {
  if (open_.empty()) return false;
  tagStart_ = pos_;
  if (!SkipPast(">")) return false;
  std::string_view tag = std::string_view(buffer_).substr(tagStart_ + 2, pos_ - tagStart_ - 3);
  while (!tag.empty() && IsBlank(tag.back())) tag.remove_suffix(1);
  if (tag != open_.back()) return false;
  open_.pop_back();
  rootDone_ = open_.empty();
  piece = Piece::EndTag;
  return true;
}

XmlPieces::Piece XmlPieces::Next() {
  if (broken_) return Piece::Unreadable;
  wholeAllowed_ = false;
  if (pendingEnd_) {
    pendingEnd_ = false;
    rootDone_ = open_.empty();
    return Piece::EndTag;
  }
  if (!begun_) {
    begun_ = true;
    if (!Declaration()) return Piece::Unreadable;
  }
  Piece piece = Piece::Unreadable;
  for (;;) {
    while (pos_ < buffer_.size() && IsBlank(buffer_[pos_])) ++pos_;
    tagStart_ = pos_;
    if (pos_ == buffer_.size()) {
      if (More()) continue;
      return rootDone_ && !broken_ ? Piece::End : Piece::Unreadable;
    }
    if (buffer_[pos_] != '<' || !Have(2)) return Piece::Unreadable;
    if (Have(4) && buffer_.compare(pos_, 4, "<!--") == 0) {
      pos_ += 4;
      if (!SkipPast("-->")) return Piece::Unreadable;
      continue;
    }
    const char second = buffer_[pos_ + 1];
    if (second == '/') return EndTag(piece) ? piece : Piece::Unreadable;
    if (second == '!' || second == '?' || rootDone_) return Piece::Unreadable;
    return StartTag(piece) ? piece : (broken_ = true, Piece::Unreadable);
  }
}

bool XmlPieces::Whole(pugi::xml_document& document) {
  if (!wholeAllowed_) return false;
  wholeAllowed_ = false;
  if (pendingEnd_) {
    pendingEnd_ = false;
  } else {
    open_.pop_back();
    for (size_t depth = 1; depth > 0;) {
      const void* found = std::memchr(buffer_.data() + pos_, '<', buffer_.size() - pos_);
      if (!found) {
        pos_ = buffer_.size();
        if (!More()) return broken_ = true, false;
        continue;
      }
      pos_ = static_cast<size_t>(static_cast<const char*>(found) - buffer_.data());
      if (!Have(2)) return broken_ = true, false;
      bool skipped;
      if (Have(4) && buffer_.compare(pos_, 4, "<!--") == 0) {
        skipped = SkipPast("-->");
      } else if (Have(9) && buffer_.compare(pos_, 9, "<![CDATA[") == 0) {
        skipped = SkipPast("]]>");
      } else if (buffer_[pos_ + 1] == '?') {
        skipped = SkipPast("?>");
      } else if (buffer_[pos_ + 1] == '!') {
        skipped = false;
      } else if (buffer_[pos_ + 1] == '/') {
        skipped = SkipPast(">");
        --depth;
      } else {
        skipped = SkipTag();
        if (skipped && buffer_[pos_ - 2] != '/') ++depth;
      }
      if (!skipped) return broken_ = true, false;
    }
  }
  const bool parsed =
      ParseElement(document, std::string_view(buffer_).substr(tagStart_, pos_ - tagStart_));
  rootDone_ = open_.empty();
  if (!parsed) broken_ = true;
  return parsed;
}
