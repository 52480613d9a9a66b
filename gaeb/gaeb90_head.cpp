#include "gaeb/gaeb90_head.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsRecordType(std::string_view line) {
  return line.size() >= 2 && (IsDigit(line[0]) || line[0] == 'T') && IsDigit(line[1]);
}

// A whole record as the writers of the samples write it, without its line end.
bool IsFullRecord(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.size() != kGaeb90Width || !IsRecordType(line)) return false;
  for (char c : line.substr(74))
    if (!IsDigit(c)) return false;
  return true;
}

}  // namespace

bool LooksLikeGaeb90(std::string_view head) {
  const std::string_view first = head.substr(0, head.find('\n'));
  if (first.size() < 2 || first.size() > kGaeb90Width + 1) return false;
  if (first.size() == kGaeb90Width + 1 && first.back() != '\r') return false;
  return first.substr(0, 2) == "00" || (first[0] == 'T' && IsDigit(first[1]));
}

bool LooksLikeDamagedGaeb90(std::string_view head) {
  if (LooksLikeGaeb90(head)) return false;
  size_t lf = head.find('\n');
  if (lf == std::string_view::npos) return false;
  // The records checked: up to five whole lines after the first.
  constexpr int kLooked = 5, kNeeded = 3;
  int records = 0;
  for (head.remove_prefix(lf + 1); records < kLooked; head.remove_prefix(lf + 1), ++records) {
    lf = head.find('\n');
    if (lf == std::string_view::npos) break;
    if (!IsFullRecord(head.substr(0, lf))) return false;
  }
  return records >= kNeeded;
}
