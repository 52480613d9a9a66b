#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "gaeb/file_read_gaeb00.h"

// Cuts a GAEB 2000 file into tokens on a thread of its own, a few hundred
// tokens ahead of the thread that reads them: reading the file and cutting
// its lines then costs the reading thread nothing but a copy of each token.
// The tokens come with the reader's counters as they stood after each one,
// and an error of reading with the token it stopped at, so that the reader
// answers exactly as if it had cut the tokens itself.
class TokenReadAhead {
 public:
  // A token as the reading thread gets it: the texts are valid until the
  // next call of Next.
  struct Token {
    TTokenKind kind;
    std::string_view name, value, lastLine;
    int64_t tokenLine, lineCount, filePosition, lineNumber, replaced;
  };

  // Reads from `worker`, a reader that has been given the source.
  explicit TokenReadAhead(std::unique_ptr<KsFileReadGaeb00> worker);
  // Stops the thread.
  ~TokenReadAhead();
  TokenReadAhead(const TokenReadAhead&) = delete;
  TokenReadAhead& operator=(const TokenReadAhead&) = delete;

  // Starts the thread; raises std::system_error when there can be none.
  void Start();
  // The next token; raises what reading raised at this place. After the end
  // of the file: null, as there is nothing more to read.
  const Token* Next();
  // Stops the thread and hands back the reader it read from.
  std::unique_ptr<KsFileReadGaeb00> Finish();

 private:
  struct Stored {
    TTokenKind kind;
    uint32_t nameAt, nameSize, valueAt, valueSize, lineAt, lineSize;
    int64_t tokenLine, lineCount, filePosition, lineNumber, replaced;
  };
  struct Batch {
    std::string text;
    std::vector<Stored> tokens;
    std::exception_ptr error;  // raised after the tokens
    bool last = false;         // the end of the file or an error ends this batch
  };
  void Run();
  void Fill(Batch& batch, std::string& name, std::string& value);
  void Stop();

  std::unique_ptr<KsFileReadGaeb00> worker_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::unique_ptr<Batch>> full_;    // in file order, oldest first
  std::vector<std::unique_ptr<Batch>> empty_;  // for the thread to fill
  std::unique_ptr<Batch> reading_;             // the batch Next hands out from
  size_t next_ = 0;                            // in reading_
  bool stop_ = false;
  Token token_{};
  std::thread thread_;
};
