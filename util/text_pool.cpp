#include "util/text_pool.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

// The pools by number, in chunks made as the numbers grow and kept for the
// life of the program, so that finding a pool takes no lock.
constexpr uint32_t kChunkBits = 12;
constexpr uint32_t kChunkSize = uint32_t{1} << kChunkBits;
using Chunk = std::array<std::atomic<TextPool*>, kChunkSize>;

struct Numbers {
  std::array<std::atomic<Chunk*>, TextPool::kNumbers / kChunkSize> chunks{};
  std::mutex guard;  // for the rest
  std::vector<std::unique_ptr<Chunk>> made;
  std::vector<uint32_t> free;
  uint32_t next = 0;
};

// Never destroyed: a pool may go after the program's other statics.
Numbers& AllNumbers() {
  static Numbers* const numbers = new Numbers;
  return *numbers;
}

}  // namespace

TextPool::TextPool() {
  Numbers& n = AllNumbers();
  const std::lock_guard<std::mutex> lock(n.guard);
  if (!n.free.empty()) {
    number_ = n.free.back();
    n.free.pop_back();
  } else {
    if (n.next == kNumbers) throw std::length_error("TextPool");
    number_ = n.next++;
  }
  std::atomic<Chunk*>& chunk = n.chunks[number_ >> kChunkBits];
  if (!chunk.load(std::memory_order_relaxed)) {
    n.made.push_back(std::make_unique<Chunk>());
    chunk.store(n.made.back().get(), std::memory_order_release);
  }
  (*chunk.load(std::memory_order_relaxed))[number_ & (kChunkSize - 1)].store(
      this, std::memory_order_release);
}

TextPool::~TextPool() {
  Numbers& n = AllNumbers();
  const std::lock_guard<std::mutex> lock(n.guard);
  (*n.chunks[number_ >> kChunkBits].load(std::memory_order_relaxed))[number_ & (kChunkSize - 1)]
      .store(nullptr, std::memory_order_relaxed);
  n.free.push_back(number_);
}

TextPool& TextPool::Numbered(uint32_t number) {
  const Chunk* chunk = AllNumbers().chunks[number >> kChunkBits].load(std::memory_order_acquire);
  return *(*chunk)[number & (kChunkSize - 1)].load(std::memory_order_acquire);
}
