#include <gtest/gtest.h>

#include <string>

#include "core/arena.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/format_guard.h"
#include "tests/support/tender_files.h"

namespace {

// Enough positions that their tree needs more than the arena's first block.
std::string LargeTender() {
  std::string positions;
  for (int i = 1; i <= 4000; ++i)
    positions += Position(std::to_string(10000 + i), "1", "m",
                          Description("Wand", "Mauerwerk aus Kalksandstein, 24 cm"));
  return Tender(positions);
}

class DocumentMemoryTest : public ::testing::Test {
 protected:
  void SetUp() override { PrepareGaeb(); }
  // Memory of the element trees now alive, beyond what was alive before.
  size_t TreeBytes() const { return Arena::TotalReservedBytes() - before_; }

  FormatGuard format_{GermanFormatSettings()};
  TempDir dir_;
  size_t before_ = Arena::TotalReservedBytes();
};

// Opening a file replaces the tree; the old one's memory goes back at once,
// and closing the document leaves nothing behind.
TEST_F(DocumentMemoryTest, ReplacedAndClosedTreesGiveTheirMemoryBack) {
  const std::string small = dir_.Write("small.d83", Tender(Position("0010", "1", "m")));
  const std::string large = dir_.Write("large.d83", LargeTender());
  {
    KsLyxObj doc;
    ASSERT_TRUE(doc.Import(large)) << doc.LastError;
    const size_t largeBytes = TreeBytes();
    EXPECT_GT(largeBytes, 0u);
    ASSERT_TRUE(doc.Import(large)) << doc.LastError;
    EXPECT_EQ(TreeBytes(), largeBytes) << "the first tree is still alive";
    ASSERT_TRUE(doc.Import(small)) << doc.LastError;
    EXPECT_LT(TreeBytes(), largeBytes);
    EXPECT_GT(TreeBytes(), 0u);
  }
  EXPECT_EQ(TreeBytes(), 0u);
}

// Every element of a document lives in the document's arena, however deep.
TEST_F(DocumentMemoryTest, ElementsLiveInTheirDocumentsArena) {
  const std::string large = dir_.Write("large.d83", LargeTender());
  KsLyxObj first, second;
  ASSERT_TRUE(first.Import(large)) << first.LastError;
  ASSERT_TRUE(second.Import(large)) << second.LastError;
  ASSERT_NE(first.Positions, nullptr);
  ASSERT_GT(first.Positions->Count(), 1);
  const Arena* arena = first.Positions->HomeArena();
  ASSERT_NE(arena, nullptr);
  EXPECT_NE(second.Positions->HomeArena(), arena);
  const KsGAEBObj* last = first.Positions->Element(first.Positions->Count() - 1);
  for (const KsCustomObj* obj : {static_cast<const KsCustomObj*>(first.Lv),
                                 static_cast<const KsCustomObj*>(first.Positions->Element(0)),
                                 static_cast<const KsCustomObj*>(last),
                                 static_cast<const KsCustomObj*>(last->Child("BESCHREIBUNG"))}) {
    ASSERT_NE(obj, nullptr);
    EXPECT_EQ(obj->HomeArena(), arena) << obj->ClassName();
  }
}

// A text taken out of a document, copied or moved, stays readable after the
// document is gone; the document's memory goes back once nothing holds it.
TEST_F(DocumentMemoryTest, TextsTakenOutOutliveTheirDocument) {
  const std::string large = dir_.Write("large.d83", LargeTender());
  Variant copied, moved;
  {
    KsLyxObj doc;
    ASSERT_TRUE(doc.Import(large)) << doc.LastError;
    KsGAEBObj* description = doc.Positions->Element(0)->Child("BESCHREIBUNG");
    ASSERT_NE(description, nullptr);
    KsMember& longText = description->GetMember("LANGTEXT");
    copied = longText.Value;
    moved = std::move(longText.Value);
  }
  EXPECT_EQ(copied.ToString(), "Mauerwerk aus Kalksandstein, 24 cm");
  EXPECT_EQ(moved.ToString(), copied.ToString());
  EXPECT_GT(TreeBytes(), 0u) << "the moved text holds its document's arena";
  moved = Variant();
  EXPECT_EQ(TreeBytes(), 0u);
}

// An element made outside any document comes from the heap and is freed there.
TEST_F(DocumentMemoryTest, ElementOutsideADocumentUsesTheHeap) {
  std::unique_ptr<KsCustomObj> position(
      GaebClasses().CreateObj("GAEBPOSITION", nullptr, {}, nullptr));
  EXPECT_EQ(position->HomeArena(), nullptr);
  EXPECT_EQ(TreeBytes(), 0u);
}

}  // namespace
