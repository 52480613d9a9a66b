#include "util/text_pool.h"

#include <cstring>

namespace {

constexpr size_t kNote = sizeof(TextPool*);

}  // namespace

char* TextPool::Keep(TextPool& pool, std::string_view text) {
  auto* block = static_cast<char*>(pool.TakeText(kNote + text.size()));
  TextPool* const noted = &pool;
  std::memcpy(block, &noted, kNote);
  if (!text.empty()) std::memcpy(block + kNote, text.data(), text.size());
  return block + kNote;
}

TextPool& TextPool::Of(const char* characters) noexcept {
  TextPool* pool;
  std::memcpy(&pool, characters - kNote, kNote);
  return *pool;
}

void TextPool::LetGo(char* characters, size_t size) noexcept {
  Of(characters).GiveText(characters - kNote, kNote + size);
}
