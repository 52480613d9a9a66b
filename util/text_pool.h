#pragma once

#include <cstddef>
#include <string_view>

// Where the long texts of one element tree are kept, so that reading a large
// tender does not ask the allocator once per text. A pool stays alive while
// it holds a text. Texts are put in and given back by CompactText alone.
class TextPool {
 protected:
  TextPool() = default;
  ~TextPool() = default;
  TextPool(const TextPool&) = delete;
  TextPool& operator=(const TextPool&) = delete;

 private:
  // Room for `bytes`, aligned for a pointer; the pool is held once more.
  virtual void* TakeText(size_t bytes) = 0;
  // Gives back what TakeText(bytes) returned, and that hold.
  virtual void GiveText(void* p, size_t bytes) noexcept = 0;

  // A copy of `text` in `pool`: its characters, the pool noted in front of them.
  static char* Keep(TextPool& pool, std::string_view text);
  // The pool of characters returned by Keep.
  static TextPool& Of(const char* characters) noexcept;
  // Gives back `size` characters returned by Keep.
  static void LetGo(char* characters, size_t size) noexcept;

  friend class CompactText;
};
