#include "core/arena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "util/variant.h"

namespace {

struct Piece {
  void* at;
  size_t bytes;
};

TEST(Arena, PiecesAreAlignedDistinctAndGoBackWithTheLastHold) {
  const size_t before = Arena::TotalReservedBytes();
  Arena* arena = Arena::Create();
  arena->Hold();  // as an object made in it would
  std::vector<Piece> pieces;
  for (const size_t bytes : {1u, 8u, 24u, 48u, 1000u, 5000u, 3000000u}) {
    void* p = arena->allocate(bytes, alignof(std::max_align_t));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % alignof(std::max_align_t), 0u) << bytes;
    std::memset(p, 0xA5, bytes);  // every byte is ours
    pieces.push_back({p, bytes});
  }
  for (size_t i = 0; i < pieces.size(); ++i)
    for (size_t j = i + 1; j < pieces.size(); ++j) {
      const auto* a = static_cast<char*>(pieces[i].at);
      const auto* b = static_cast<char*>(pieces[j].at);
      EXPECT_TRUE(a + pieces[i].bytes <= b || b + pieces[j].bytes <= a) << i << " overlaps " << j;
    }
  EXPECT_GE(Arena::TotalReservedBytes() - before, 3000000u);
  const Piece kept = pieces.back();
  pieces.pop_back();
  for (const Piece& p : pieces) arena->deallocate(p.at, p.bytes, alignof(std::max_align_t));
  arena->Release();
  EXPECT_GT(Arena::TotalReservedBytes(), before) << "the creator still holds it";
  std::memset(kept.at, 0x5A, kept.bytes);  // and what it holds is still there
  arena->deallocate(kept.at, kept.bytes, alignof(std::max_align_t));
  arena->Release();
  EXPECT_EQ(Arena::TotalReservedBytes(), before);
}

// Over many blocks growing up to their largest size, every piece keeps what
// was written to it.
TEST(Arena, PiecesOfLargeBlocksKeepWhatTheyHold) {
  const ArenaHold arena(Arena::Create());
  std::vector<Piece> pieces;
  size_t total = 0;
  for (size_t i = 0; total < (size_t{48} << 20); ++i) {
    const size_t bytes = 16 + (i * 7919) % 3000;
    auto* p = static_cast<unsigned char*>(arena->allocate(bytes, 8));
    std::memset(p, static_cast<int>(i & 0xFF), bytes);
    pieces.push_back({p, bytes});
    total += bytes;
  }
  for (size_t i = 0; i < pieces.size(); ++i) {
    const auto* p = static_cast<const unsigned char*>(pieces[i].at);
    if (p[0] != (i & 0xFF) || p[pieces[i].bytes - 1] != (i & 0xFF)) {
      ADD_FAILURE() << "piece " << i << " lost its bytes";
      break;
    }
  }
  for (const Piece& p : pieces) arena->deallocate(p.at, p.bytes, 8);
}

TEST(Arena, FreedPieceServesTheNextOfItsSize) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "every piece is a heap block of its own here";
#endif
  const ArenaHold arena(Arena::Create());
  void* first = arena->allocate(40, 8);
  arena->deallocate(first, 40, 8);
  EXPECT_EQ(arena->allocate(40, 8), first);
  EXPECT_NE(arena->allocate(40, 8), first);
}

// Texts are cut apart from the other pieces: the members of elements read
// one after another stay side by side however long the texts between them.
TEST(Arena, TextsLieApartFromThePieces) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "every piece is a heap block of its own here";
#endif
  const ArenaHold arena(Arena::Create());
  std::vector<char*> pieces;
  std::vector<std::pair<char*, size_t>> texts;
  for (size_t i = 0; i < 2000; ++i) {
    pieces.push_back(static_cast<char*>(arena->allocate(48, 8)));
    const size_t bytes = 16 + (i * 37) % 900;
    auto* text = static_cast<char*>(arena->TakeText(bytes));
    std::memset(text, 'T', bytes);
    texts.emplace_back(text, bytes);
  }
  size_t adjacent = 0;
  for (size_t i = 1; i < pieces.size(); ++i) adjacent += pieces[i] == pieces[i - 1] + 48;
  // Only a new block may break the row.
  EXPECT_GE(adjacent, pieces.size() - 3);
  std::vector<std::pair<char*, size_t>> all = texts;
  for (char* piece : pieces) all.emplace_back(piece, 48);
  std::sort(all.begin(), all.end());
  for (size_t i = 1; i < all.size(); ++i)
    ASSERT_LE(all[i - 1].first + all[i - 1].second, all[i].first) << "overlap at " << i;
  for (const auto& [text, bytes] : texts) arena->GiveText(text, bytes);
  for (char* piece : pieces) arena->deallocate(piece, 48, 8);
}

// A tree freed as a whole gives nothing back for reuse: freeing touches no
// piece, and what is still held stays as it is.
TEST(Arena, RetiredArenaKeepsNothingForReuse) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "every piece is a heap block of its own here";
#endif
  const ArenaHold arena(Arena::Create());
  auto* held = static_cast<char*>(arena->TakeText(40));
  std::memset(held, 'H', 40);
  void* piece = arena->allocate(40, 8);
  void* text = arena->TakeText(40);
  arena->Retire();
  arena->deallocate(piece, 40, 8);
  arena->GiveText(text, 40);
  EXPECT_NE(arena->allocate(40, 8), piece);
  void* next = arena->TakeText(40);
  EXPECT_NE(next, text);
  EXPECT_EQ(std::string(held, 40), std::string(40, 'H'));
  arena->GiveText(next, 40);
  arena->GiveText(held, 40);
}

// A text kept in an arena holds it: the arena outlives its creator's hold
// while a text moved out of the tree is still alive.
TEST(Arena, TextsHoldTheirArena) {
  const size_t before = Arena::TotalReservedBytes();
  const std::string longText(500, 'T');
  Arena* arena = Arena::Create();
  Variant text(longText, arena);
  Variant kept = std::move(text);
  arena->Release();
  EXPECT_GT(Arena::TotalReservedBytes(), before);
  EXPECT_EQ(kept.Str(), longText);
  kept = Variant();
  EXPECT_EQ(Arena::TotalReservedBytes(), before);
}

TEST(Arena, ScopesNestAndRestoreTheOuterOne) {
  const ArenaHold outer(Arena::Create());
  const ArenaHold inner(Arena::Create());
  EXPECT_EQ(CurrentArena(), nullptr);
  {
    const ArenaScope a(outer.get());
    {
      const ArenaScope b(inner.get());
      EXPECT_EQ(CurrentArena(), inner.get());
    }
    EXPECT_EQ(CurrentArena(), outer.get());
  }
  EXPECT_EQ(CurrentArena(), nullptr);
}

}  // namespace
