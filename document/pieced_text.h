#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <streambuf>
#include <string>
#include <vector>

// A long text kept in pieces of about a megabyte, so that it grows without
// copying what it holds: a recovery file of many megabytes is made on the
// window's thread between two key strokes. Cleared, it keeps its pieces'
// room for the next text, which then needs no fresh memory.
class PiecedText {
 public:
  PiecedText() = default;
  PiecedText(const PiecedText&) = default;
  PiecedText& operator=(const PiecedText&) = default;
  // The text moved from is empty.
  PiecedText(PiecedText&& other) noexcept;
  PiecedText& operator=(PiecedText&& other) noexcept;

  void Append(const char* data, size_t size);
  void Clear();
  size_t Size() const { return size_; }
  // The pieces that hold the text, in order.
  std::span<const std::string> Pieces() const { return {pieces_.data(), used_}; }
  // The whole text at once.
  std::string Joined() const;

 private:
  std::vector<std::string> pieces_;  // the first used_ hold the text, the rest are room
  size_t used_ = 0;
  size_t size_ = 0;
};

// An output stream that appends to a PiecedText.
class PiecedTextStream : public std::ostream {
 public:
  explicit PiecedTextStream(PiecedText& text) : std::ostream(&buffer_), buffer_(text) {}

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(PiecedText& text) : text_(text) {}

   protected:
    std::streamsize xsputn(const char* data, std::streamsize size) override;
    int_type overflow(int_type c) override;

   private:
    PiecedText& text_;
  };
  Buffer buffer_;
};
