#include "core/page_warmer.h"

#include <sys/mman.h>

#include <algorithm>
#include <cerrno>
#include <system_error>
#include <thread>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older C libraries do not name it
#endif

namespace {

// Pages are faulted in by this much at a time, so that the thread never
// holds up the process's own changes to its memory for long.
constexpr size_t kSlice = size_t{256} << 10;

}  // namespace

PageWarmer& PageWarmer::Instance() {
  // Never destroyed: arenas may outlive the end of main.
  static PageWarmer* const warmer = new PageWarmer();
  return *warmer;
}

void PageWarmer::Request(const void* owner, void* from, size_t bytes) {
  const std::lock_guard<std::mutex> lock(mutex_);
  if (!supported_ || bytes == 0) return;
  if (!started_) {
    try {
      std::thread([this] { Run(); }).detach();
    } catch (const std::system_error&) {
      supported_ = false;  // without a thread, pages are faulted in where they are used
      return;
    }
    started_ = true;
  }
  waiting_.push_back({owner, from, bytes});
  wake_.notify_one();
}

void PageWarmer::Forget(const void* owner) {
  std::unique_lock<std::mutex> lock(mutex_);
  waiting_.erase(std::remove_if(waiting_.begin(), waiting_.end(),
                                [owner](const Pages& p) { return p.owner == owner; }),
                 waiting_.end());
  done_.wait(lock, [&] { return busy_ != owner; });
}

void PageWarmer::Wait() {
  std::unique_lock<std::mutex> lock(mutex_);
  done_.wait(lock, [&] { return waiting_.empty() && busy_ == nullptr; });
}

void PageWarmer::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return !waiting_.empty(); });
    Pages pages = waiting_.front();
    waiting_.pop_front();
    busy_ = pages.owner;
    lock.unlock();
    bool supported = true;
    auto* at = static_cast<char*>(pages.from);
    for (size_t done = 0; done < pages.bytes && supported; done += kSlice) {
      const size_t slice = std::min(kSlice, pages.bytes - done);
      // Fails on a system without it (before Linux 5.14); anything else
      // (no memory left) is left to the first real use of the page.
      supported = madvise(at + done, slice, MADV_POPULATE_WRITE) == 0 || errno != EINVAL;
    }
    lock.lock();
    if (!supported) {
      supported_ = false;
      waiting_.clear();
    }
    busy_ = nullptr;
    done_.notify_all();
  }
}
