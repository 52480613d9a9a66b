#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <vector>

#include "util/text_pool.h"

// Memory of one element tree (a document's): the members and child tables
// of its objects, and its long texts. Pieces are cut from large blocks of
// pages taken from the system, so reading a large tender does not call the
// allocator per member or per text; a freed piece is kept and reused for the
// next piece of its size. Texts are cut from blocks of their own, so that the
// members of neighbouring elements lie close together for the walks over a
// whole tree (totals, writing, freeing). Every object whose members are kept
// in an arena, and every text in it, holds it, and the blocks go back to the
// system when the last of them is freed and the creator has let go of it.
class Arena final : public std::pmr::memory_resource, public TextPool {
 public:
  // A new arena, held once by the caller.
  static Arena* Create();
  Arena(const Arena&) = delete;
  Arena& operator=(const Arena&) = delete;

  void Hold() { ++holds_; }
  // Frees the arena with its last hold.
  void Release();
  // The tree is being freed as a whole: what is freed from now on is not
  // kept for reuse, so that freeing touches the objects and nothing else.
  void Retire() { retired_ = true; }

  // Bytes taken from the system by all arenas of the process
  // (in a sanitizer build, where every piece is a heap block: the pieces in use).
  static size_t TotalReservedBytes();

  void* TakeText(size_t bytes) override;
  void GiveText(void* p, size_t bytes) noexcept override;

 private:
  Arena() = default;
  ~Arena() override;

  void* do_allocate(size_t bytes, size_t alignment) override;
  void do_deallocate(void* p, size_t bytes, size_t alignment) override;
  bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
    return this == &other;
  }

  static constexpr size_t kGrain = 8;
  static constexpr size_t kMaxKept = 1024;  // larger pieces are not reused
  struct FreePiece {
    FreePiece* next;
  };
  // Where pieces of one kind are cut: the current block and the pieces
  // freed for reuse.
  struct Cutter {
    char* next = nullptr;
    char* end = nullptr;
    size_t blockSize = 0;  // of the last block started here
    std::array<FreePiece*, kMaxKept / kGrain + 1> kept{};
  };
  void* Take(Cutter& cutter, size_t bytes, size_t alignment);
  void Give(Cutter& cutter, void* p, size_t bytes, size_t alignment);
  // Starts a new block of at least `bytes` for the cutter.
  void NewBlock(Cutter& cutter, size_t bytes);

  struct Block {
    void* base;
    size_t size;
  };
  std::vector<Block> blocks_;
  Cutter pieces_;  // members, lists
  Cutter texts_;
  bool retired_ = false;
  size_t reserved_ = 0;
  uint64_t holds_ = 1;
};

// While a scope lives, objects made by ObjClass::CreateObj without an owner
// keep their members in its arena (the document's, while it reads a file);
// objects made with an owner keep them in their owner's. Outside any scope,
// objects without owner keep them on the heap. Scopes nest.
class ArenaScope {
 public:
  explicit ArenaScope(Arena* arena);
  ~ArenaScope();
  ArenaScope(const ArenaScope&) = delete;
  ArenaScope& operator=(const ArenaScope&) = delete;

 private:
  Arena* previous_;
};

Arena* CurrentArena();

// One hold of an arena, let go when this goes.
struct ArenaRelease {
  void operator()(Arena* arena) const { arena->Release(); }
};
using ArenaHold = std::unique_ptr<Arena, ArenaRelease>;
