#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gaeb/file_read_gaeb00.h"
#include "util/batches_ahead.h"

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
    Batch();  // with room for a whole batch
    std::string text;
    std::vector<Stored> tokens;
    std::exception_ptr error;  // raised after the tokens
    bool last = false;         // the end of the file or an error ends this batch
  };
  // On the thread: true when the batch is the last.
  bool Fill(Batch& batch);

  std::unique_ptr<KsFileReadGaeb00> worker_;
  std::string name_, value_;  // of the thread
  BatchesAhead<Batch> batches_;
  Batch* reading_ = nullptr;  // the batch Next hands out from
  size_t next_ = 0;           // in reading_
  Token token_{};
};
