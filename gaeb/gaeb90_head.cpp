#include "gaeb/gaeb90_head.h"

bool LooksLikeGaeb90(std::string_view head) {
  const std::string_view first = head.substr(0, head.find('\n'));
  if (first.size() < 2 || first.size() > kGaeb90Width + 1) return false;
  if (first.size() == kGaeb90Width + 1 && first.back() != '\r') return false;
  return first.substr(0, 2) == "00" || (first[0] == 'T' && first[1] >= '0' && first[1] <= '9');
}
