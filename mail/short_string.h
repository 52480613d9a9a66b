#pragma once

#include <string>
#include <string_view>

// A text of at most 255 characters: longer values are cut when assigned, so
// the field can never hold more than the mail system's short string.
class ShortString {
 public:
  static constexpr size_t kMaxLength = 255;

  ShortString() = default;
  ShortString(std::string_view text) : text_(text.substr(0, kMaxLength)) {}  // NOLINT
  ShortString& operator=(std::string_view text) {
    text_.assign(text.substr(0, kMaxLength));
    return *this;
  }

  const std::string& str() const { return text_; }
  operator const std::string&() const { return text_; }  // NOLINT
  bool empty() const { return text_.empty(); }
  size_t size() const { return text_.size(); }
  const char* c_str() const { return text_.c_str(); }
  bool operator==(std::string_view other) const { return text_ == other; }

 private:
  std::string text_;
};
