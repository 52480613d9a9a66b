#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/test_files.h"
#include "util/trim.h"

// The GAEB 90 samples as lines (without their ends), for tests that change them.

inline const std::string kGaeb90Los01 = std::string(TARVO_TEST_DATA_DIR) + "/gaeb90/LV_Los01.D83";
inline const std::string kGaeb90Los02 = std::string(TARVO_TEST_DATA_DIR) + "/gaeb90/LV_Los02.D83";

inline std::vector<std::string> Gaeb90Lines(const std::string& path) {
  std::vector<std::string> lines;
  const std::string bytes = ReadFile(path);
  size_t start = 0;
  for (size_t lf = bytes.find('\n'); lf != std::string::npos; lf = bytes.find('\n', start)) {
    lines.push_back(bytes.substr(start, lf - start));
    start = lf + 1;
  }
  return lines;
}

inline std::string JoinLines(const std::vector<std::string>& lines, const char* end = "\n") {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + end;
  return bytes;
}

// The OZ cut by the LV's own numbering, each level without blanks and
// leading zeros: "010010" and " 1  10" are both {"1", "10"}.
inline std::vector<std::string> OzLevels(const KsLyxObj& doc, const std::string& oz) {
  std::vector<std::string> levels;
  size_t offset = 0;
  const KsGAEBObjList* glieder = doc.LvInfo->ChildList("LVGLIED");
  for (int i = 0; glieder && i < glieder->Count() && offset < oz.size(); ++i) {
    const size_t length =
        static_cast<size_t>(glieder->Element(i)->Members.Find("LAENGE")->GetAsInteger());
    std::string part = Trim(oz.substr(offset, length));
    offset += length;
    part.erase(0, std::min(part.find_first_not_of('0'), part.empty() ? 0 : part.size() - 1));
    if (!part.empty()) levels.push_back(part);
  }
  return levels;
}
