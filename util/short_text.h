#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>

#include "util/text_pool.h"

// The text of a variant in 15 bytes (the variant's kind is the 16th): up to
// 13 characters are kept inside, longer texts in one exact heap block or,
// when a pool is given, in the pool. Elements hold dozens of members, most
// with short or no text, so this keeps a variant at 16 bytes. A copy
// of a pooled text goes to the heap, so that it may outlive the pool's tree;
// a move keeps the pool, which stays alive while it holds the text.
class CompactText {
 public:
  CompactText() noexcept { SetEmpty(); }
  explicit CompactText(std::string_view s) { Assign(s); }
  CompactText(std::string_view s, TextPool* pool) {
    if (pool && s.size() >= static_cast<size_t>(kTag))
      AssignPooled(s, *pool);
    else
      Assign(s);
  }
  CompactText(const CompactText& o) { Assign(o.View()); }
  CompactText(CompactText&& o) noexcept {
    std::memcpy(raw_, o.raw_, sizeof raw_);
    o.SetEmpty();
  }
  CompactText& operator=(const CompactText& o) {
    if (this != &o) {
      CompactText copy(o);
      *this = std::move(copy);
    }
    return *this;
  }
  CompactText& operator=(CompactText&& o) noexcept {
    if (this != &o) {
      Release();
      std::memcpy(raw_, o.raw_, sizeof raw_);
      o.SetEmpty();
    }
    return *this;
  }
  ~CompactText() { Release(); }

  std::string_view View() const {
    if (Inside()) return std::string_view(raw_, static_cast<unsigned char>(raw_[kTag]));
    return std::string_view(Outside(), Length());
  }
  // The pool holding the text; null for a text inside or on the heap.
  TextPool* Pool() const { return Tag() == kPooled ? &TextPool::Of(Outside()) : nullptr; }

 private:
  // Outside: the pointer (bytes 0 to 7) and the length (8 to 11).
  static constexpr int kTag = 14;  // length when inside, kHeap or kPooled when not
  static constexpr unsigned char kHeap = 0x80;
  static constexpr unsigned char kPooled = 0x81;

  unsigned char Tag() const { return static_cast<unsigned char>(raw_[kTag]); }
  bool Inside() const { return Tag() < kHeap; }
  char* Outside() const {
    char* p;
    std::memcpy(&p, raw_, sizeof p);
    return p;
  }
  uint32_t Length() const {
    uint32_t n;
    std::memcpy(&n, raw_ + sizeof(char*), sizeof n);
    return n;
  }
  void SetEmpty() noexcept { raw_[kTag] = 0; }
  void SetOutside(char* p, size_t n, unsigned char tag) {
    const uint32_t length = static_cast<uint32_t>(n);
    std::memcpy(raw_, &p, sizeof p);
    std::memcpy(raw_ + sizeof p, &length, sizeof length);
    raw_[kTag] = static_cast<char>(tag);
  }
  void Release() noexcept {
    if (Tag() == kHeap) {
      delete[] Outside();
    } else if (Tag() == kPooled) {
      TextPool::LetGo(Outside(), Length());
    }
    SetEmpty();
  }
  void Assign(std::string_view s) {
    if (s.size() < static_cast<size_t>(kTag)) {
      if (!s.empty()) std::memcpy(raw_, s.data(), s.size());
      raw_[kTag] = static_cast<char>(s.size());
      return;
    }
    if (s.size() > UINT32_MAX) throw std::length_error("CompactText");
    char* p = new char[s.size()];
    std::memcpy(p, s.data(), s.size());
    SetOutside(p, s.size(), kHeap);
  }
  void AssignPooled(std::string_view s, TextPool& pool) {
    if (s.size() > UINT32_MAX) throw std::length_error("CompactText");
    SetOutside(TextPool::Keep(pool, s), s.size(), kPooled);
  }

  char raw_[kTag + 1];
};
