#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gaeb/file_read.h"
#include "gaeb/file_read_gaeb00.h"
#include "tests/gaeb/reader_files.h"

namespace {

constexpr size_t kLimit = TFileRead::kMaxLineLength;

std::vector<std::string> AllLines(TFileRead& reader) {
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

// The message of what `read` raises, "" when it raises nothing.
template <class Read>
std::string ErrorOf(Read read) {
  try {
    read();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "";
}

// A named pipe fed by a child process, like a tender piped in by a script.
class FedPipe {
 public:
  explicit FedPipe(const std::string& bytes) {
    path_ = (std::filesystem::temp_directory_path() / "tarvo_pipe_XXXXXX").string();
    path_ = mkdtemp(path_.data());
    path_ += "/angebot.d83";
    mkfifo(path_.c_str(), 0600);
    child_ = fork();
    if (child_ == 0) {
      const int fd = open(path_.c_str(), O_WRONLY);
      for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
      }
      _exit(0);
    }
  }
  ~FedPipe() {
    // A reader that gave up early leaves the writer blocked.
    kill(child_, SIGKILL);
    waitpid(child_, nullptr, 0);
    std::filesystem::remove_all(std::filesystem::path(path_).parent_path());
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  pid_t child_ = -1;
};

// Standard input taken from a file for the scope of the object.
class StandardInputFrom {
 public:
  explicit StandardInputFrom(const std::string& path) : saved_(dup(STDIN_FILENO)) {
    const int fd = open(path.c_str(), O_RDONLY);
    dup2(fd, STDIN_FILENO);
    close(fd);
    clearerr(stdin);
  }
  ~StandardInputFrom() {
    dup2(saved_, STDIN_FILENO);
    close(saved_);
    clearerr(stdin);
  }

 private:
  int saved_;
};

TEST(ReaderBounds, LineLimitHoldsForFilesAndPipes) {
  const std::string fits = "kurz\r\n" + std::string(kLimit, 'x') + "\r\nende";
  const std::string over = "kurz\r\n" + std::string(kLimit + 1, 'x') + "\r\nende";
  TempFile fitsFile(fits), overFile(over);
  {
    TFileRead reader(fitsFile.Path(), 65000);
    EXPECT_EQ(AllLines(reader).size(), 3u);
    FedPipe pipe(fits);
    TFileRead piped(pipe.Path(), 1024);
    EXPECT_EQ(AllLines(piped).size(), 3u);
  }
  TFileRead reader(overFile.Path(), 1024);
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(ErrorOf([&] { reader.ReadLine(line); }),
            "Zeile 2 der Datei " + overFile.Path() + " ist l\xE4nger als 16 MB.");
  FedPipe pipe(over);
  EXPECT_EQ(ErrorOf([&] { TFileRead piped(pipe.Path(), 1024); }),
            "Zeile 2 der Datei " + pipe.Path() + " ist l\xE4nger als 16 MB.");
}

// /dev/zero has no line end: it fails after one line's worth, not at the
// memory limit or never.
TEST(ReaderBounds, EndlessDeviceFailsAtTheFirstLine) {
  EXPECT_EQ(ErrorOf([] { TFileRead reader("/dev/zero", 1024); }),
            "Zeile 1 der Datei /dev/zero ist l\xE4nger als 16 MB.");
}

// A file whose first megabyte shows no GAEB structure is refused at once:
// a device such as /dev/urandom is not read into memory up to the limit,
// and a large file of anything else is not scanned to its end.
TEST(ReaderBounds, NoGaebStructureInTheFirstMegabyteIsRefusedAtOnce) {
  std::string junk(TFileRead::kHeadSize + 4096, 'x');
  for (size_t i = 0; i < junk.size(); i += 97) junk[i] = '\n';
  TempFile file(junk), xml("<?xml version=\"1.0\"?>" + junk);
  FedPipe pipe(junk);
  for (const std::string& name : {file.Path(), pipe.Path(), xml.Path()})
    EXPECT_EQ(ErrorOf([&] { KsFileReadGaeb00 reader(name, 1024); }),
              "Die Datei " + name +
                  " ist keine GAEB-Datei: ihr erstes Megabyte enth\xE4lt weder \"#begin[\" "
                  "(GAEB 2000) noch XML (GAEB DA XML) noch einen Kopfsatz 00 (GAEB 90).");
  // Shorter files, and files that begin as GAEB 2000, GAEB 90 or XML, are left
  // to the reading.
  const std::string late = std::string(TFileRead::kHeadSize - 7, ' ') + "#begin[GAEB]";
  const std::string gaeb90Head = "00        83L" + std::string(58, ' ') + "90000001\r\n";
  for (const std::string& bytes :
       {std::string("kein GAEB"), late, "\xEF\xBB\xBF <?xml?><GAEB>" + junk,
        std::string("\xFF\xFE<\0G\0A\0E\0B\0", 12) + junk, gaeb90Head + junk,
        "T0 Baubeschreibung\n" + junk}) {
    TempFile ok(bytes);
    FedPipe piped(bytes);
    EXPECT_EQ(ErrorOf([&] { KsFileReadGaeb00 reader(ok.Path(), 1024); }), "");
    EXPECT_EQ(ErrorOf([&] { KsFileReadGaeb00 reader(piped.Path(), 1024); }), "");
  }
}

// What cannot be rewound is read into memory once: the import reads a file
// twice.
TEST(ReaderBounds, PipesAndStandardInputRewind) {
  const std::string bytes = "eins\r\nzwei\ndrei";
  const std::vector<std::string> lines = {"eins", "zwei", "drei"};
  TempFile file(bytes);
  FedPipe pipe(bytes);
  StandardInputFrom input(file.Path());
  for (const std::string& name : {pipe.Path(), std::string(TFileRead::kStandardInput)}) {
    SCOPED_TRACE(name);
    TFileRead reader(name, 4);
    reader.ConvertOem = false;
    EXPECT_EQ(reader.FileSize(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(AllLines(reader), lines);
    EXPECT_EQ(reader.LineNumber(), 3);
    ASSERT_TRUE(reader.Rewind(0));
    EXPECT_EQ(reader.LineNumber(), 0);
    EXPECT_EQ(AllLines(reader), lines);
    ASSERT_TRUE(reader.Rewind(6));
    EXPECT_EQ(AllLines(reader), (std::vector<std::string>{"zwei", "drei"}));
    EXPECT_FALSE(reader.Rewind(static_cast<int64_t>(bytes.size()) + 1));
  }
}

TEST(ReaderBounds, StandardInputIsNamedInMessages) {
  TempFile file(std::string(kLimit + 1, 'x'));
  StandardInputFrom input(file.Path());
  EXPECT_EQ(ErrorOf([] {
              TFileRead reader("-", 1024);
              std::string line;
              reader.ReadLine(line);
            }),
            "Zeile 1 der Datei - (Standardeingabe) ist l\xE4nger als 16 MB.");
}

// A read error in the middle is no end of file: the rest of the tender
// would be missing without a word.
TEST(ReaderBounds, ReadErrorIsNoEndOfFile) {
  TFileRead reader("/proc/self/mem", 1024);
  std::string line;
  const std::string error = ErrorOf([&] { reader.ReadLine(line); });
  EXPECT_EQ(error.rfind("Die Datei /proc/self/mem kann nicht gelesen werden. ", 0), 0u) << error;
}

}  // namespace
