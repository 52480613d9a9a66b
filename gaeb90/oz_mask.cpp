#include "gaeb90/oz_mask.h"

bool OzMask::Parse(std::string_view mask) {
  AreaLengths.clear();
  PositionLength = IndexLength = 0;
  size_t i = 0;
  char level = '1';
  while (i < mask.size() && mask[i] == level) {
    size_t length = 0;
    while (i < mask.size() && mask[i] == level) ++i, ++length;
    AreaLengths.push_back(length);
    ++level;
  }
  while (i < mask.size() && mask[i] == 'P') ++i, ++PositionLength;
  if (i < mask.size() && mask[i] == 'I') ++i, IndexLength = 1;
  for (; i < mask.size(); ++i)
    if (mask[i] != '0' && mask[i] != ' ') return false;
  return PositionLength > 0;
}

std::vector<std::string> OzMask::Split(std::string_view columns) const {
  std::vector<std::string> parts;
  size_t offset = 0;
  const auto take = [&](size_t length) {
    parts.emplace_back(offset < columns.size() ? columns.substr(offset, length) : "");
    offset += length;
  };
  for (size_t length : AreaLengths) take(length);
  take(PositionLength);
  take(IndexLength);
  return parts;
}

size_t OzMask::Width() const {
  size_t width = PositionLength + IndexLength;
  for (size_t length : AreaLengths) width += length;
  return width;
}
