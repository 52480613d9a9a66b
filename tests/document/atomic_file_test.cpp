#include "document/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <ostream>
#include <stdexcept>

#include "tests/support/tender_files.h"

namespace {

constexpr uid_t kNobody = 65534;

// Saves "neu"; the error message, "" on success.
std::string Save(
    const std::string& target,
    const std::function<void(std::ostream&)>& write = [](std::ostream& out) { out << "neu"; }) {
  try {
    WriteFileAtomically(target, write);
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

struct stat StatOf(const std::string& path) {
  struct stat info {};
  lstat(path.c_str(), &info);
  return info;
}

// Runs `run` in a child process, as the unprivileged user when we are root;
// its exit status.
int InChild(const std::function<int()>& run, bool unprivileged) {
  const pid_t child = fork();
  if (child == 0) {
    if (unprivileged && geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(99);
    _exit(run());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool BindSocket(const std::string& path) {
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (fd < 0 || path.size() >= sizeof address.sun_path) return false;
  path.copy(address.sun_path, path.size());
  const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return bound;
}

class AtomicFileTest : public ::testing::Test {
 protected:
  TempDir dir_;
};

// Names with "ä" show that messages carry the names as Windows-1252 text.
TEST_F(AtomicFileTest, OnlyWritableRegularFilesAreReplaced) {
  const std::string fifo = dir_.Path("R\u00e4hre");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  const std::string socketPath = dir_.Path("s\u00e4");
  ASSERT_TRUE(BindSocket(socketPath));
  const std::string folder = dir_.Path("Ordner \u00e4");
  std::filesystem::create_directory(folder);
  const std::string readOnly = dir_.Write("alt \u00e4.d84", "alt");
  chmod(readOnly.c_str(), 0444);
  const std::string ownerReadOnly = dir_.Write("nur ich.d84", "alt");
  chmod(ownerReadOnly.c_str(), 0400);
  const std::string device = dir_.Path("ger\u00e4t");
  const bool haveDevice = mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
  const std::string refused = ", keine gew\xF6hnliche Datei; es wird nicht ersetzt.";
  struct Case {
    std::string target;
    std::string message;
  };
  std::vector<Case> cases = {
      {fifo, "Das Ziel " + dir_.Path("R\xE4hre") + " ist eine benannte Pipe (FIFO)" + refused},
      {socketPath, "Das Ziel " + dir_.Path("s\xE4") + " ist ein Socket" + refused},
      {folder, "Das Ziel " + dir_.Path("Ordner \xE4") + " ist ein Verzeichnis" + refused},
      {readOnly, "Die Datei " + dir_.Path("alt \xE4.d84") + " ist schreibgesch\xFCtzt."},
      {ownerReadOnly, "Die Datei " + ownerReadOnly + " ist schreibgesch\xFCtzt."},
  };
  if (haveDevice)
    cases.push_back({device, "Das Ziel " + dir_.Path("ger\xE4t") + " ist ein Ger\xE4t" + refused});
  const std::vector<std::string> entries = dir_.Entries();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target);
    const struct stat before = StatOf(c.target);
    EXPECT_EQ(Save(c.target), c.message);
    const struct stat after = StatOf(c.target);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(dir_.Entries(), entries);
  }
  EXPECT_EQ(ReadFile(readOnly), "alt");
}

// offer.d84 -> /shared/offers/offer.d84: the shared file gets the content,
// the link stays a link, and the temporary file stood beside the shared file.
TEST_F(AtomicFileTest, LinksAreSavedThrough) {
  std::filesystem::create_directory(dir_.Path("ablage"));
  const std::string shared = dir_.Write("ablage/angebot.d84", "alt");
  const struct {
    const char* name;
    std::string link;
    std::string pointsTo;
    std::string file;  // what receives the content
  } cases[] = {
      {"absolute", dir_.Path("absolut.d84"), shared, shared},
      {"relative", dir_.Path("relativ.d84"), "ablage/angebot.d84", shared},
      {"chain", dir_.Path("kette.d84"), "absolut.d84", shared},
      {"to a file yet to be made", dir_.Path("neu.d84"), "ablage/neu.d84",
       dir_.Path("ablage/neu.d84")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(symlink(c.pointsTo.c_str(), c.link.c_str()), 0);
    std::filesystem::remove(dir_.Path("ablage/neu.d84"));
    const std::string content = std::string("Inhalt ") + c.name;
    EXPECT_EQ(Save(c.link, [&](std::ostream& out) { out << content; }), "");
    EXPECT_TRUE(S_ISLNK(StatOf(c.link).st_mode));
    EXPECT_EQ(ReadFile(c.file), content);
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path("ablage")))
      EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
  }
  ASSERT_EQ(symlink("ablage", dir_.Path("ordner").c_str()), 0);
  EXPECT_NE(Save(dir_.Path("ordner")).find("ist ein Verzeichnis"), std::string::npos);
  ASSERT_EQ(symlink("schleife", dir_.Path("schleife").c_str()), 0);
  EXPECT_EQ(Save(dir_.Path("schleife")),
            "Die Verkn\xFCpfung " + dir_.Path("schleife") + " f\xFChrt zu keiner Datei.");
}

TEST_F(AtomicFileTest, ReplacedFileKeepsPermissionsAndOwner) {
  const bool root = geteuid() == 0;
  for (const mode_t mode : {0600, 0640, 0604, 0664, 0751}) {
    SCOPED_TRACE(mode);
    const std::string target = dir_.Write("angebot.d84", "alt");
    chmod(target.c_str(), mode);
    if (root) {
      ASSERT_EQ(chown(target.c_str(), kNobody, kNobody), 0);
    }
    EXPECT_EQ(Save(target), "");
    const struct stat after = StatOf(target);
    EXPECT_EQ(after.st_mode & 07777, mode);
    if (root) {
      EXPECT_EQ(after.st_uid, kNobody);
      EXPECT_EQ(after.st_gid, kNobody);
    }
    EXPECT_EQ(ReadFile(target), "neu");
  }
}

// The unprivileged user's own write protection counts as well.
TEST_F(AtomicFileTest, UnprivilegedUserIsRefusedAWriteProtectedFile) {
  const std::string shared = dir_.Path("gemeinsam");
  chmod(dir_.Dir().c_str(), 0711);
  std::filesystem::create_directory(shared);
  chmod(shared.c_str(), 0777);
  const std::string target = shared + "/angebot.d84";
  for (const mode_t mode : {0444, 0644}) {
    SCOPED_TRACE(mode);
    WriteFile(target, "alt");
    chmod(target.c_str(), mode);
    if (geteuid() == 0) {
      ASSERT_EQ(chown(target.c_str(), kNobody, kNobody), 0);
    }
    const std::string message = shared + "/meldung";
    const int status = InChild(
        [&] {
          const std::string error = Save(target);
          WriteFile(message, error);
          return error.empty() ? 0 : 1;
        },
        true);
    if (mode == 0444) {
      EXPECT_EQ(status, 1);
      EXPECT_EQ(ReadFile(message), "Die Datei " + target + " ist schreibgesch\xFCtzt.");
      EXPECT_EQ(ReadFile(target), "alt");
    } else {
      EXPECT_EQ(status, 0) << ReadFile(message);
      EXPECT_EQ(ReadFile(target), "neu");
    }
  }
}

TEST_F(AtomicFileTest, LongestNamesFit) {
  std::string umlauts;
  for (int i = 0; i < 125; ++i) umlauts += "\u00e4";
  for (const std::string& name : {std::string(251, 'a') + ".d84", umlauts + ".d84"}) {
    SCOPED_TRACE(name.size());
    const std::string target = dir_.Path(name);
    EXPECT_EQ(Save(target), "");
    EXPECT_EQ(ReadFile(target), "neu");
    EXPECT_EQ(dir_.Entries(), std::vector<std::string>{name});
    std::filesystem::remove(target);
  }
}

// A save killed in the middle leaves its temporary file; the next save to
// the same target removes it, one to another target leaves it.
TEST_F(AtomicFileTest, LeftoverOfAKilledSaveIsRemovedByTheNextSave) {
  const std::string target = dir_.Write("angebot.d84", "alt");
  const std::string other = dir_.Path("angebot.d84.bak");
  for (const std::string& killed : {target, other}) {
    const int status = InChild(
        [&] {
          Save(killed, [](std::ostream& out) {
            out << std::string(1 << 20, 'x') << std::flush;
            raise(SIGKILL);
          });
          return 0;
        },
        false);
    ASSERT_EQ(status, 128 + SIGKILL);
  }
  ASSERT_EQ(dir_.Entries().size(), 3u);
  EXPECT_EQ(Save(target), "");
  const std::vector<std::string> entries = dir_.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1], "angebot.d84");
  EXPECT_EQ(entries[0].rfind(".angebot.d84.bak.", 0), 0u) << entries[0];
  EXPECT_EQ(ReadFile(target), "neu");
}

// Two saves to one target at the same time: the second leaves the first one's
// temporary file alone, and both end well.
TEST_F(AtomicFileTest, SaveInProgressKeepsItsTemporaryFile) {
  const std::string target = dir_.Write("angebot.d84", "alt");
  int started[2], proceed[2];
  ASSERT_EQ(pipe(started), 0);
  ASSERT_EQ(pipe(proceed), 0);
  const pid_t child = fork();
  if (child == 0) {
    const std::string error = Save(target, [&](std::ostream& out) {
      out << "erster" << std::flush;
      char c = 0;
      if (write(started[1], "s", 1) != 1 || read(proceed[0], &c, 1) != 1) _exit(2);
    });
    _exit(error.empty() ? 0 : 1);
  }
  char c = 0;
  ASSERT_EQ(read(started[0], &c, 1), 1);
  EXPECT_EQ(Save(target, [](std::ostream& out) { out << "zweiter"; }), "");
  EXPECT_EQ(ReadFile(target), "zweiter");
  EXPECT_EQ(dir_.Entries().size(), 2u);
  ASSERT_EQ(write(proceed[1], "p", 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadFile(target), "erster");
  EXPECT_EQ(dir_.Entries(), std::vector<std::string>{"angebot.d84"});
  for (int fd : {started[0], started[1], proceed[0], proceed[1]}) close(fd);
}

}  // namespace
