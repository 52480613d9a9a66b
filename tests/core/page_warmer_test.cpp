#include "core/page_warmer.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace {

// Pages of [base, base + bytes) that are in memory.
size_t ResidentPages(void* base, size_t bytes) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  std::vector<unsigned char> in((bytes + page - 1) / page);
  if (mincore(base, bytes, in.data()) != 0) return 0;
  size_t n = 0;
  for (unsigned char c : in) n += c & 1;
  return n;
}

TEST(PageWarmer, FaultsInPagesAndLeavesWhatTheyHold) {
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t bytes = 3 * (size_t{1} << 20) + page;
  void* base = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(base, MAP_FAILED);
  auto* bytesAt = static_cast<unsigned char*>(base);
  std::memset(bytesAt + page, 0x5A, page);  // a page in use before the request
  EXPECT_LE(ResidentPages(base, bytes), 2u);

  int owner = 0;
  PageWarmer::Instance().Request(&owner, base, bytes);
  PageWarmer::Instance().Wait();
  if (ResidentPages(base, bytes) == 1) {
    munmap(base, bytes);
    GTEST_SKIP() << "this system cannot fault in pages on request";
  }
  EXPECT_EQ(ResidentPages(base, bytes), bytes / page);
  for (size_t i = 0; i < bytes; ++i) {
    const unsigned char expected = i >= page && i < 2 * page ? 0x5A : 0;
    if (bytesAt[i] != expected) {
      ADD_FAILURE() << "byte " << i << " is " << int(bytesAt[i]);
      break;
    }
  }
  PageWarmer::Instance().Forget(&owner);
  munmap(base, bytes);
}

// After Forget nothing more of the owner's is faulted in, so it may unmap
// its pages at once, while the warmer is still busy with another owner's.
TEST(PageWarmer, ForgottenRequestsAreNotCarriedOut) {
  const size_t bytes = size_t{8} << 20;
  void* mine = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  void* other = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mine, MAP_FAILED);
  ASSERT_NE(other, MAP_FAILED);
  int me = 0, someone = 0;
  PageWarmer::Instance().Request(&someone, other, bytes);
  for (size_t at = 0; at < bytes; at += size_t{1} << 20)
    PageWarmer::Instance().Request(&me, static_cast<char*>(mine) + at, size_t{1} << 20);
  PageWarmer::Instance().Forget(&me);
  const size_t resident = ResidentPages(mine, bytes);
  PageWarmer::Instance().Wait();
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  const size_t otherResident = ResidentPages(other, bytes);
  const size_t mineAfter = ResidentPages(mine, bytes);
  PageWarmer::Instance().Forget(&someone);
  munmap(mine, bytes);
  munmap(other, bytes);
  // Without faulting in on request nothing is carried out at all, forgotten
  // or not: the test would show nothing.
  if (otherResident == 0) GTEST_SKIP() << "this system cannot fault in pages on request";
  EXPECT_EQ(otherResident, bytes / page) << "the request not forgotten is carried out";
  EXPECT_EQ(mineAfter, resident);
}

}  // namespace
