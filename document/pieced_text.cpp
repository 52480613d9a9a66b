#include "document/pieced_text.h"

#include <algorithm>
#include <utility>

namespace {

constexpr size_t kPieceSize = size_t{1} << 20;

}  // namespace

PiecedText::PiecedText(PiecedText&& other) noexcept
    : pieces_(std::move(other.pieces_)),
      used_(std::exchange(other.used_, 0)),
      size_(std::exchange(other.size_, 0)) {
  other.pieces_.clear();
}

PiecedText& PiecedText::operator=(PiecedText&& other) noexcept {
  pieces_ = std::move(other.pieces_);
  other.pieces_.clear();
  used_ = std::exchange(other.used_, 0);
  size_ = std::exchange(other.size_, 0);
  return *this;
}

void PiecedText::Append(const char* data, size_t size) {
  if (size == 0) return;
  if (used_ == 0 || pieces_[used_ - 1].capacity() - pieces_[used_ - 1].size() < size) {
    if (used_ == pieces_.size() || pieces_[used_].capacity() < size) {
      std::string piece;
      piece.reserve(std::max(kPieceSize, size));
      pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(used_), std::move(piece));
    }
    ++used_;
  }
  pieces_[used_ - 1].append(data, size);
  size_ += size;
}

void PiecedText::Clear() {
  for (size_t i = 0; i < used_; ++i) pieces_[i].clear();
  used_ = 0;
  size_ = 0;
}

std::string PiecedText::Joined() const {
  std::string text;
  text.reserve(size_);
  for (const std::string& piece : Pieces()) text += piece;
  return text;
}

std::streamsize PiecedTextStream::Buffer::xsputn(const char* data, std::streamsize size) {
  text_.Append(data, static_cast<size_t>(size));
  return size;
}

PiecedTextStream::Buffer::int_type PiecedTextStream::Buffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  const char one = traits_type::to_char_type(c);
  text_.Append(&one, 1);
  return c;
}
