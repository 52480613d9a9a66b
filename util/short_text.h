#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string_view>

// The text of a variant in 16 bytes: up to 15 characters are kept inside,
// longer texts in one exact heap block. Elements hold dozens of members, most
// with short or no text, so this keeps a member at 48 bytes instead of 64.
class CompactText {
 public:
  CompactText() noexcept { SetEmpty(); }
  explicit CompactText(std::string_view s) { Assign(s); }
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
    if (!OnHeap()) return std::string_view(raw_, static_cast<unsigned char>(raw_[kTag]));
    char* p;
    uint32_t n;
    std::memcpy(&p, raw_, sizeof p);
    std::memcpy(&n, raw_ + sizeof p, sizeof n);
    return std::string_view(p, n);
  }

 private:
  static constexpr int kTag = 15;  // length when inside, kHeap when not
  static constexpr unsigned char kHeap = 0x80;

  bool OnHeap() const { return static_cast<unsigned char>(raw_[kTag]) == kHeap; }
  void SetEmpty() noexcept { raw_[kTag] = 0; }
  void Release() noexcept {
    if (!OnHeap()) return;
    char* p;
    std::memcpy(&p, raw_, sizeof p);
    delete[] p;
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
    const uint32_t n = static_cast<uint32_t>(s.size());
    std::memcpy(raw_, &p, sizeof p);
    std::memcpy(raw_ + sizeof p, &n, sizeof n);
    raw_[kTag] = static_cast<char>(kHeap);
  }

  alignas(8) char raw_[16];
};
