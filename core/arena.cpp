#include "core/arena.h"

#include <sys/mman.h>

#include <algorithm>
#include <atomic>
#include <new>

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kFirstBlock = size_t{256} << 10;
constexpr size_t kLargestBlock = size_t{16} << 20;
std::atomic<size_t> totalReserved{0};
thread_local Arena* current = nullptr;

size_t RoundUp(size_t n, size_t to) { return (n + to - 1) / to * to; }

void* MapPages(size_t size) {
  void* base = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) throw std::bad_alloc();
  return base;
}

}  // namespace

Arena* Arena::Create() { return new Arena(); }

Arena::~Arena() {
  for (const Block& b : blocks_) munmap(b.base, b.size);
  totalReserved -= reserved_;
}

void Arena::Release() {
  if (--holds_ == 0) delete this;
}

size_t Arena::TotalReservedBytes() { return totalReserved; }

void* Arena::TakeText(size_t bytes) {
  void* p = Take(texts_, bytes, alignof(void*));
  Hold();
  return p;
}

void Arena::GiveText(void* p, size_t bytes) noexcept {
  Give(texts_, p, bytes, alignof(void*));
  Release();
}

void* Arena::do_allocate(size_t bytes, size_t alignment) { return Take(pieces_, bytes, alignment); }

void Arena::do_deallocate(void* p, size_t bytes, size_t alignment) {
  Give(pieces_, p, bytes, alignment);
}

void Arena::NewBlock(Cutter& cutter, size_t bytes) {
  const size_t grown =
      cutter.blockSize == 0 ? kFirstBlock : std::min(cutter.blockSize * 2, kLargestBlock);
  const size_t wanted = std::max(grown, bytes);
  // Plain pages, no huge ones: a huge page needs a whole free 2 MB range, and
  // on a virtual machine those are the ranges the host has taken back; first
  // touching them costs more than the page faults they spare.
  const size_t size = RoundUp(wanted, kPage);
  void* base = MapPages(size);
  blocks_.push_back({base, size});
  reserved_ += size;
  totalReserved += size;
  cutter.blockSize = std::max(cutter.blockSize, std::min(size, kLargestBlock));
  cutter.next = static_cast<char*>(base);
  cutter.end = cutter.next + size;
}

#ifdef __SANITIZE_ADDRESS__

// Every piece is a heap block of its own, so that the sanitizer sees each
// use after free and each piece that is never freed.
void* Arena::Take(Cutter&, size_t bytes, size_t alignment) {
  void* p = ::operator new(bytes, std::align_val_t(alignment));
  reserved_ += bytes;
  totalReserved += bytes;
  return p;
}

void Arena::Give(Cutter&, void* p, size_t bytes, size_t alignment) {
  ::operator delete(p, bytes, std::align_val_t(alignment));
  reserved_ -= bytes;
  totalReserved -= bytes;
}

#else

void* Arena::Take(Cutter& cutter, size_t bytes, size_t alignment) {
  const size_t size = RoundUp(std::max<size_t>(bytes, 1), kGrain);
  if (size <= kMaxKept && alignment <= kGrain) {
    if (FreePiece*& head = cutter.kept[size / kGrain]) {
      FreePiece* piece = head;
      head = piece->next;
      return piece;
    }
  }
  auto start = [&] { return RoundUp(reinterpret_cast<uintptr_t>(cutter.next), alignment); };
  if (!cutter.next || start() + size > reinterpret_cast<uintptr_t>(cutter.end))
    NewBlock(cutter, size + alignment);
  char* p = reinterpret_cast<char*>(start());
  cutter.next = p + size;
  return p;
}

void Arena::Give(Cutter& cutter, void* p, size_t bytes, size_t) {
  const size_t size = RoundUp(std::max<size_t>(bytes, 1), kGrain);
  if (size > kMaxKept || retired_) return;  // stays unused until the arena goes
  auto* piece = static_cast<FreePiece*>(p);
  piece->next = cutter.kept[size / kGrain];
  cutter.kept[size / kGrain] = piece;
}

#endif

ArenaScope::ArenaScope(Arena* arena) : previous_(current) { current = arena; }

ArenaScope::~ArenaScope() { current = previous_; }

Arena* CurrentArena() { return current; }
