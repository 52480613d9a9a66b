#include "document/recovery_place.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "tests/support/env_guard.h"
#include "tests/support/temp_dir.h"

namespace {

class RecoveryPlaceTest : public ::testing::Test {
 protected:
  RecoveryPlaceTest() { env_.Set("XDG_DATA_HOME", dir_.Path("data")); }
  TempDir dir_;
  EnvGuard env_;
};

TEST_F(RecoveryPlaceTest, FolderIsTheUsersOnly) {
  const std::string folder = RecoveryDirectory();
  EXPECT_EQ(folder, dir_.Path("data") + "/Tarvo_Redurir/Wiederherstellung");
  struct stat info {};
  ASSERT_EQ(stat(folder.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700);
}

TEST_F(RecoveryPlaceTest, WithoutXdgDataHomeTheFolderIsUnderHome) {
  env_.Set("XDG_DATA_HOME", nullptr);
  env_.Set("HOME", dir_.Path("home"));
  mkdir(dir_.Path("home").c_str(), 0700);
  EXPECT_EQ(RecoveryDirectory(),
            dir_.Path("home") + "/.local/share/Tarvo_Redurir/Wiederherstellung");
}

// A file whose owner runs is nobody else's; when the owner is killed, the
// next window may take it, and only one window at a time.
TEST_F(RecoveryPlaceTest, OnlyFilesOfDeadOwnersAreOffered) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RecoveryClaim claim = RecoveryClaim::ForTender("/irgendwo/LV_Los01.P83");
    FILE* f = std::fopen(claim.Path().c_str(), "w");
    std::fclose(f);
    if (write(ready[1], "x", 1) != 1) _exit(1);
    pause();
    _exit(0);
  }
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  EXPECT_TRUE(RecoveryClaim::Orphans().empty());

  RecoveryClaim own = RecoveryClaim::ForTender("/irgendwo/LV_Los01.P83");
  EXPECT_NE(own.Path().find("LV_Los01.P83." + std::to_string(getpid())), std::string::npos);
  std::fclose(std::fopen(own.Path().c_str(), "w"));
  EXPECT_TRUE(RecoveryClaim::Orphans().empty()) << "this process's own file";

  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  std::vector<RecoveryClaim> orphans = RecoveryClaim::Orphans();
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_NE(orphans[0].Path().find("." + std::to_string(child) + "."), std::string::npos);
  EXPECT_TRUE(RecoveryClaim::Orphans().empty()) << "claimed by the first who asked";
  orphans[0].Remove();
  EXPECT_NE(access(own.Path().c_str(), F_OK), -1);
  own.Remove();
  EXPECT_EQ(access(own.Path().c_str(), F_OK), -1);
  close(ready[0]);
  close(ready[1]);
}

}  // namespace

namespace {

// After a restart a new process may get the number of one that was killed:
// its file is an orphan to be asked about, never written over.
TEST_F(RecoveryPlaceTest, AnEarlierProcessWithTheSameNumberKeepsItsFile) {
  const std::string earlier =
      RecoveryDirectory() + "/LV_Los01.P83." + std::to_string(getpid()) + ".wiederherstellung.xml";
  FILE* f = std::fopen(earlier.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("alt", f);
  std::fclose(f);
  RecoveryClaim own = RecoveryClaim::ForTender("/irgendwo/LV_Los01.P83");
  EXPECT_NE(own.Path(), earlier);
  EXPECT_NE(own.Path().find("." + std::to_string(getpid()) + "-2.wiederherstellung.xml"),
            std::string::npos)
      << own.Path();
  std::vector<RecoveryClaim> orphans = RecoveryClaim::Orphans();
  ASSERT_EQ(orphans.size(), 1u);
  EXPECT_EQ(orphans[0].Path(), earlier);
}

}  // namespace
