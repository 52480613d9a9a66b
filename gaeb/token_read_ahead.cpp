#include "gaeb/token_read_ahead.h"

#include <utility>

namespace {

// A batch ends after this many tokens or this much text (a value of any
// length still goes into the batch it begins in).
constexpr size_t kBatchTokens = 1024;
constexpr size_t kBatchText = size_t{256} << 10;

}  // namespace

TokenReadAhead::Batch::Batch() {
  text.reserve(kBatchText + 4096);
  tokens.reserve(kBatchTokens);
}

TokenReadAhead::TokenReadAhead(std::unique_ptr<KsFileReadGaeb00> worker)
    : worker_(std::move(worker)), batches_([this](Batch& batch) { return Fill(batch); }) {}

TokenReadAhead::~TokenReadAhead() = default;

void TokenReadAhead::Start() { batches_.Start(); }

std::unique_ptr<KsFileReadGaeb00> TokenReadAhead::Finish() {
  batches_.Stop();
  return std::move(worker_);
}

bool TokenReadAhead::Fill(Batch& batch) {
  batch.text.clear();
  batch.tokens.clear();
  batch.error = nullptr;
  batch.last = false;
  const auto put = [&batch](std::string_view text, uint32_t& at, uint32_t& size) {
    at = static_cast<uint32_t>(batch.text.size());
    size = static_cast<uint32_t>(text.size());
    batch.text.append(text);
  };
  try {
    while (batch.tokens.size() < kBatchTokens && batch.text.size() < kBatchText) {
      Stored token{};
      worker_->ReadToken(name_, token.kind, value_);
      put(name_, token.nameAt, token.nameSize);
      put(value_, token.valueAt, token.valueSize);
      put(worker_->LastLine(), token.lineAt, token.lineSize);
      token.tokenLine = worker_->TokenLine();
      token.lineCount = worker_->LineCount();
      token.filePosition = worker_->FilePosition();
      token.lineNumber = worker_->LineNumber();
      token.replaced = worker_->ReplacedCharacters();
      batch.tokens.push_back(token);
      if (token.kind == tkEof) {
        batch.last = true;
        break;
      }
    }
  } catch (...) {
    batch.error = std::current_exception();
    batch.last = true;
  }
  return batch.last;
}

const TokenReadAhead::Token* TokenReadAhead::Next() {
  while (!reading_ || next_ == reading_->tokens.size()) {
    if (reading_ && reading_->error) std::rethrow_exception(reading_->error);
    if (reading_ && reading_->last) return nullptr;
    reading_ = &batches_.TakeNext();
    next_ = 0;
  }
  const Stored& t = reading_->tokens[next_++];
  const char* text = reading_->text.data();
  token_ = {t.kind,
            {text + t.nameAt, t.nameSize},
            {text + t.valueAt, t.valueSize},
            {text + t.lineAt, t.lineSize},
            t.tokenLine,
            t.lineCount,
            t.filePosition,
            t.lineNumber,
            t.replaced};
  return &token_;
}
