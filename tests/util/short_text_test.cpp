#include "util/short_text.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "util/variant.h"

namespace {

TEST(CompactText, KeepsEveryLengthAcrossCopiesAndMoves) {
  std::vector<std::string> texts = {"",
                                    "a",
                                    std::string(13, 'w'),
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
  EXPECT_LE(sizeof(Variant), 16u);
  const std::string longText(300, 'T');
  Variant v(longText);
  Variant w = v;
  EXPECT_EQ(w.Str(), longText);
  v = Variant("kurz");
  EXPECT_EQ(v.Str(), "kurz");
  EXPECT_EQ(w.ToString(), longText);
}

// Hands out heap blocks and checks that each comes back once, at its size.
class CountingPool final : public TextPool {
 public:
  ~CountingPool() { EXPECT_TRUE(out_.empty()) << out_.size() << " texts never given back"; }
  void* TakeText(size_t bytes) override {
    void* p = ::operator new(bytes);
    out_[p] = bytes;
    ++taken_;
    return p;
  }
  void GiveText(void* p, size_t bytes) noexcept override {
    const auto it = out_.find(p);
    EXPECT_NE(it, out_.end()) << "given back twice or never taken";
    if (it == out_.end()) return;
    EXPECT_EQ(it->second, bytes);
    out_.erase(it);
    ::operator delete(p);
  }
  size_t Out() const { return out_.size(); }
  int Taken() const { return taken_; }

 private:
  std::map<void*, size_t> out_;
  int taken_ = 0;
};

// A long text lives in the pool; copies go to the heap (they may outlive the
// pool's tree), moves take the pooled block along, and every block comes back.
TEST(CompactText, PooledTextsComeBackOnceAndCopiesLeaveThePool) {
  CountingPool pool;
  const std::string longText(700, 'L');
  {
    CompactText pooled(longText, &pool);
    EXPECT_EQ(pooled.View(), longText);
    EXPECT_EQ(pooled.Pool(), &pool);
    EXPECT_EQ(pool.Out(), 1u);

    const CompactText copy(pooled);
    EXPECT_EQ(copy.View(), longText);
    EXPECT_EQ(copy.Pool(), nullptr);

    CompactText moved(std::move(pooled));
    EXPECT_EQ(moved.Pool(), &pool);
    EXPECT_EQ(moved.View(), longText);
    EXPECT_EQ(pool.Out(), 1u);

    CompactText assigned(std::string(40, 'a'), &pool);
    assigned = std::move(moved);  // gives back the 40 characters
    EXPECT_EQ(assigned.View(), longText);
    EXPECT_EQ(pool.Out(), 1u);
    assigned = copy;
    EXPECT_EQ(assigned.Pool(), nullptr);
    EXPECT_EQ(pool.Out(), 0u);
  }
  // Short texts stay inside; a missing pool means the heap.
  const CompactText shortText("kurz", &pool);
  const CompactText noPool(longText, nullptr);
  EXPECT_EQ(shortText.View(), "kurz");
  EXPECT_EQ(noPool.View(), longText);
  EXPECT_EQ(pool.Taken(), 2);
}

// With several pools alive, every text finds its own pool and goes back to it.
TEST(CompactText, TextsFindTheirPoolAmongMany) {
  const std::string longText(100, 'P');
  CountingPool first, second;
  std::vector<CompactText> texts;
  for (int i = 0; i < 6; ++i) texts.emplace_back(longText, i % 2 ? &second : &first);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(texts[static_cast<size_t>(i)].Pool(), i % 2 ? &second : &first) << i;
    EXPECT_EQ(texts[static_cast<size_t>(i)].View(), longText) << i;
  }
  for (int i = 0; i < 6; i += 2) texts[static_cast<size_t>(i)] = CompactText();
  EXPECT_EQ(first.Out(), 0u);
  EXPECT_EQ(second.Out(), 3u);
  texts.clear();
  EXPECT_EQ(second.Out(), 0u);
}

TEST(CompactText, VariantCopiesOfPooledTextsAreIndependent) {
  CountingPool pool;
  const std::string longText(64, 'V');
  Variant copy;
  {
    const Variant pooled(longText, &pool);
    copy = pooled;
  }
  EXPECT_EQ(pool.Out(), 0u);
  EXPECT_EQ(copy.Str(), longText);
}

}  // namespace
