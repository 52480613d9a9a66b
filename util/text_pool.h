#pragma once

#include <cstddef>

// Where the long texts of one element tree are kept, so that reading a large
// tender does not ask the allocator once per text. A pool stays alive while
// it holds a text: TakeText holds it once more, GiveText lets go.
class TextPool {
 public:
  // Room for `bytes` characters, aligned for a pointer.
  virtual void* TakeText(size_t bytes) = 0;
  // Gives back what TakeText(bytes) returned.
  virtual void GiveText(void* p, size_t bytes) noexcept = 0;

 protected:
  ~TextPool() = default;
};
