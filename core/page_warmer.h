#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

// Faults in fresh pages on a thread of its own, ahead of their first use.
// An arena asks for the pages it will cut pieces from next, so the thread
// that reads a tender finds them mapped and zeroed instead of stopping on a
// page fault every 4 KB. What the pages hold does not change: a page that is
// already in use stays as it is.
//
// Every request names its owner. Before an owner gives its pages back to the
// system it withdraws its requests (Forget), which waits for one in progress.
class PageWarmer {
 public:
  // The one warmer of the process; its thread starts with the first request
  // and lives as long as the process.
  static PageWarmer& Instance();
  PageWarmer(const PageWarmer&) = delete;
  PageWarmer& operator=(const PageWarmer&) = delete;

  // Asks for the whole pages of [from, from + bytes) to be faulted in.
  void Request(const void* owner, void* from, size_t bytes);
  // Drops the owner's waiting requests and waits for the one in progress.
  void Forget(const void* owner);
  // Waits until every request made so far is done or dropped.
  void Wait();

 private:
  PageWarmer() = default;
  void Run();

  struct Pages {
    const void* owner;
    void* from;
    size_t bytes;
  };
  std::mutex mutex_;
  std::condition_variable wake_;  // a request came
  std::condition_variable done_;  // a request was done
  std::deque<Pages> waiting_;
  const void* busy_ = nullptr;  // owner of the request in progress
  bool started_ = false;
  bool supported_ = true;  // the system can fault in pages on request
};
