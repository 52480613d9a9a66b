#include <cstdint>
#include <cstdlib>
#include <string>

#include "gaeb/rtf_to_plain.h"

// RtfToPlain runs on every long text a tender brings, so it must take any
// bytes: no exception, no crash, and a result the views can show. An escaping
// exception or a broken promise aborts, which the fuzzer reports.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string plain = RtfToPlain(text);
  const size_t start = text.find("{\\rtf");
  if (start == std::string::npos) {
    if (plain != text) std::abort();
    return 0;
  }
  // Every construct yields at most as many characters as it takes, no NUL
  // (it would cut the text short), and no line break after the last line.
  if (plain.size() > size - start) std::abort();
  if (plain.find('\0') != std::string::npos) std::abort();
  if (plain.size() >= 2 && plain.compare(plain.size() - 2, 2, "\r\n") == 0) std::abort();
  return 0;
}
