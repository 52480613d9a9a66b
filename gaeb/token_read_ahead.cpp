#include "gaeb/token_read_ahead.h"

#include <utility>

namespace {

// Batches in all: one being read, the others filled or being filled.
constexpr size_t kBatches = 4;
// A batch ends after this many tokens or this much text (a value of any
// length still goes into the batch it begins in).
constexpr size_t kBatchTokens = 1024;
constexpr size_t kBatchText = size_t{256} << 10;

}  // namespace

TokenReadAhead::TokenReadAhead(std::unique_ptr<KsFileReadGaeb00> worker)
    : worker_(std::move(worker)) {
  for (size_t i = 0; i < kBatches; ++i) {
    auto batch = std::make_unique<Batch>();
    batch->text.reserve(kBatchText + 4096);
    batch->tokens.reserve(kBatchTokens);
    empty_.push_back(std::move(batch));
  }
}

TokenReadAhead::~TokenReadAhead() { Stop(); }

void TokenReadAhead::Start() {
  thread_ = std::thread([this] { Run(); });
}

void TokenReadAhead::Stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
}

std::unique_ptr<KsFileReadGaeb00> TokenReadAhead::Finish() {
  Stop();
  return std::move(worker_);
}

void TokenReadAhead::Run() {
  std::string name, value;
  for (;;) {
    std::unique_ptr<Batch> batch;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait(lock, [this] { return stop_ || !empty_.empty(); });
      if (stop_) return;
      batch = std::move(empty_.back());
      empty_.pop_back();
    }
    Fill(*batch, name, value);
    const bool last = batch->last;
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      full_.push_back(std::move(batch));
    }
    changed_.notify_all();
    if (last) return;
  }
}

void TokenReadAhead::Fill(Batch& batch, std::string& name, std::string& value) {
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
      worker_->ReadToken(name, token.kind, value);
      put(name, token.nameAt, token.nameSize);
      put(value, token.valueAt, token.valueSize);
      put(worker_->LastLine(), token.lineAt, token.lineSize);
      token.tokenLine = worker_->TokenLine();
      token.lineCount = worker_->LineCount();
      token.filePosition = worker_->FilePosition();
      token.lineNumber = worker_->LineNumber();
      token.replaced = worker_->ReplacedCharacters();
      batch.tokens.push_back(token);
      if (token.kind == tkEof) {
        batch.last = true;
        return;
      }
    }
  } catch (...) {
    batch.error = std::current_exception();
    batch.last = true;
  }
}

const TokenReadAhead::Token* TokenReadAhead::Next() {
  while (!reading_ || next_ == reading_->tokens.size()) {
    if (reading_ && reading_->error) std::rethrow_exception(reading_->error);
    if (reading_ && reading_->last) return nullptr;
    std::unique_lock<std::mutex> lock(mutex_);
    if (reading_) {
      empty_.push_back(std::move(reading_));
      changed_.notify_all();
    }
    changed_.wait(lock, [this] { return !full_.empty(); });
    reading_ = std::move(full_.front());
    full_.pop_front();
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
