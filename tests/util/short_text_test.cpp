#include "util/short_text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "util/variant.h"

namespace {

TEST(CompactText, KeepsEveryLengthAcrossCopiesAndMoves) {
  std::vector<std::string> texts = {"",
                                    "a",
                                    std::string(14, 'x'),
                                    std::string(15, 'y'),
                                    std::string(16, 'z'),
                                    std::string(100000, 'L'),
                                    std::string("\0\xE4\xFC\x80", 4)};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.size());
    CompactText original(text);
    EXPECT_EQ(original.View(), text);
    CompactText copy(original);
    EXPECT_EQ(copy.View(), text);
    CompactText moved(std::move(copy));
    EXPECT_EQ(moved.View(), text);
    EXPECT_TRUE(copy.View().empty());  // NOLINT: a moved-from text is empty
    CompactText assigned("something else entirely, long enough for the heap");
    assigned = original;
    EXPECT_EQ(assigned.View(), text);
    assigned = CompactText("short");
    EXPECT_EQ(assigned.View(), "short");
    assigned = std::move(original);
    EXPECT_EQ(assigned.View(), text);
  }
}

TEST(CompactText, VariantStaysSmallAndHoldsItsText) {
  EXPECT_LE(sizeof(Variant), 24u);
  const std::string longText(300, 'T');
  Variant v(longText);
  Variant w = v;
  EXPECT_EQ(w.Str(), longText);
  v = Variant("kurz");
  EXPECT_EQ(v.Str(), "kurz");
  EXPECT_EQ(w.ToString(), longText);
}

}  // namespace
