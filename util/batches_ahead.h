#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// Batches filled on a thread of its own, a few ahead of the thread that takes
// them, in the order they were filled. The batches go round: the one taken
// before is given back to be filled again when the next one is taken, so
// their buffers are made once. The filling thread stops after the last batch
// or when Stop is asked.
template <class Batch>
class BatchesAhead {
 public:
  // Batches in all: one being read, the others filled or being filled.
  static constexpr size_t kBatches = 4;

  // `fill` runs on the thread and fills a batch; it returns true when that
  // batch is the last, and must not raise (what fails goes into the batch).
  explicit BatchesAhead(std::function<bool(Batch&)> fill) : fill_(std::move(fill)) {
    for (size_t i = 0; i < kBatches; ++i) empty_.push_back(std::make_unique<Batch>());
  }
  // Stops the thread.
  ~BatchesAhead() { Stop(); }
  BatchesAhead(const BatchesAhead&) = delete;
  BatchesAhead& operator=(const BatchesAhead&) = delete;

  // Starts the thread; raises std::system_error when there can be none.
  void Start() {
    thread_ = std::thread([this] { Run(); });
  }
  // Gives back the batch taken before and waits for the next one. Not to be
  // asked again once the last batch was taken.
  Batch& TakeNext() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (reading_) {
      empty_.push_back(std::move(reading_));
      changed_.notify_all();
    }
    changed_.wait(lock, [this] { return !full_.empty(); });
    reading_ = std::move(full_.front());
    full_.pop_front();
    return *reading_;
  }
  // Stops the thread; what it had filled is not handed out any more.
  void Stop() {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stop_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }
  // For `fill`: Stop was asked, a long batch may end early.
  bool Stopping() const { return stop_.load(std::memory_order_relaxed); }

 private:
  void Run() {
    for (;;) {
      std::unique_ptr<Batch> batch;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return stop_ || !empty_.empty(); });
        if (stop_) return;
        batch = std::move(empty_.back());
        empty_.pop_back();
      }
      const bool last = fill_(*batch);
      {
        const std::lock_guard<std::mutex> lock(mutex_);
        full_.push_back(std::move(batch));
      }
      changed_.notify_all();
      if (last) return;
    }
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Batch>> full_;    // in the order filled, oldest first
  std::vector<std::unique_ptr<Batch>> empty_;  // for the thread to fill
  std::unique_ptr<Batch> reading_;             // taken last
  std::function<bool(Batch&)> fill_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
