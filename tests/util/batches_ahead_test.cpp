#include "util/batches_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

namespace {

struct Numbers {
  std::vector<int> values;
};

}  // namespace

// Five hundred batches pass through the few there are, each once, in the
// order filled; the batches taken go round and are filled again.
TEST(BatchesAhead, HandsOutEveryBatchInOrderThroughAFew) {
  int filled = 0;
  std::set<const Numbers*> seen;
  BatchesAhead<Numbers> ahead([&filled](Numbers& batch) {
    batch.values.clear();
    for (int i = 0; i < 10; ++i) batch.values.push_back(filled * 10 + i);
    return ++filled == 500;
  });
  ahead.Start();
  int expected = 0;
  for (int taken = 0; taken < 500; ++taken) {
    const Numbers& batch = ahead.TakeNext();
    seen.insert(&batch);
    for (int v : batch.values) ASSERT_EQ(v, expected++);
  }
  EXPECT_EQ(expected, 5000);
  EXPECT_EQ(seen.size(), BatchesAhead<Numbers>::kBatches);
}

// A reader that stops early (a damaged file) leaves a thread that is waiting
// for a batch to fill, or is filling a long one, and both end.
TEST(BatchesAhead, StopsWhileTheThreadWaitsOrFills) {
  {
    BatchesAhead<Numbers> ahead([](Numbers&) { return false; });
    ahead.Start();
    ahead.TakeNext();
  }  // the thread waits for the batch taken, which never comes back
  {
    std::atomic<bool> started{false};
    BatchesAhead<Numbers>* self = nullptr;
    BatchesAhead<Numbers> longFill([&](Numbers&) {
      started = true;
      while (!self->Stopping()) std::this_thread::yield();
      return true;
    });
    self = &longFill;
    longFill.Start();
    while (!started) std::this_thread::yield();
    longFill.Stop();
  }
  {
    BatchesAhead<Numbers> never([](Numbers&) { return true; });
  }  // never started
}
