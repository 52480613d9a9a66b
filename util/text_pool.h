#pragma once

#include <cstddef>
#include <cstdint>

// Where the long texts of one element tree are kept, so that reading a large
// tender does not ask the allocator once per text. A pool stays alive while
// it holds a text: TakeText holds it once more, GiveText lets go.
//
// Pools are numbered while they live: a text names its pool by the number,
// so that letting go of a text reads nothing of the text itself (freeing a
// tree of many texts touches only its elements).
class TextPool {
 public:
  // Room for `bytes` characters, aligned for a pointer.
  virtual void* TakeText(size_t bytes) = 0;
  // Gives back what TakeText(bytes) returned.
  virtual void GiveText(void* p, size_t bytes) noexcept = 0;

  // Numbers fit 24 bits; a pool beyond that many alive at once is refused.
  static constexpr uint32_t kNumbers = uint32_t{1} << 24;
  uint32_t Number() const { return number_; }
  // The live pool of this number.
  static TextPool& Numbered(uint32_t number);

 protected:
  TextPool();
  ~TextPool();
  TextPool(const TextPool&) = delete;
  TextPool& operator=(const TextPool&) = delete;

 private:
  uint32_t number_;
};
