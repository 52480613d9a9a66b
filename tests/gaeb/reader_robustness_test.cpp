#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "tests/gaeb/reader_files.h"
#include "tests/support/format_guard.h"

namespace {

const char kOpening[] = "#begin[GAEB]\r\n#begin[VERGABE]\r\n#begin[LV]\r\n";
const char kClosing[] = "#end[LV]\r\n#end[VERGABE]\r\n#end[GAEB]\r\n";

std::string Repeat(const std::string& s, int n) {
  std::string out;
  out.reserve(s.size() * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Real files nest about a dozen levels; a hostile one must neither overflow
// the stack nor lose what lies below the cap without a word.
TEST(ReaderRobustness, DeepNestingEndsTheReadNamingTheLine) {
  const std::string begins = Repeat("#begin[LVBEREICH]\r\n", 100000);
  for (const std::string& tail : {Repeat("#end[LVBEREICH]\r\n", 100000), std::string()}) {
    try {
      ImportedFile imported(kOpening + begins + tail);
      FAIL() << "read without complaint";
    } catch (const std::runtime_error& e) {
      // Root, award and LV take three of the 1000 levels; the 998th area is
      // on line 3 + 998.
      EXPECT_EQ(std::string(e.what()).rfind("Zeile 1001 der Datei ", 0), 0u) << e.what();
      EXPECT_NE(std::string(e.what()).find("tiefer als 1000 Ebenen"), std::string::npos);
    }
  }
  ImportedFile fits(kOpening + Repeat("#begin[LVBEREICH]\r\n", 997) +
                    Repeat("#end[LVBEREICH]\r\n", 997) + kClosing);
  EXPECT_NE(fits.root, nullptr);
}

// Skipped blocks nest without recursion: as deep as they come, and the
// position goes on after them.
TEST(ReaderRobustness, NestedUnknownBlocksOfOneName) {
  ImportedFile imported(std::string(kOpening) + "#begin[POSITION]\r\n[OZ]1[end]\r\n" +
                        Repeat("#begin[XYZ]\r\n", 50000) + Repeat("#end[XYZ]\r\n", 50000) +
                        "[ME]m[end]\r\n#end[POSITION]\r\n" + kClosing);
  ASSERT_NE(imported.root, nullptr);
  const KsGAEBObj* lv = imported.root->Child("VERGABE")->Child("LV");
  EXPECT_EQ(lv->ChildList("POSITION")->Element(0)->Text("OZ"), "1");
  EXPECT_EQ(lv->ChildList("POSITION")->Element(0)->Text("ME"), "m");
}

// Deterministic noise with the characters the reader looks for mixed in.
std::string Garbage(size_t size, uint32_t seed) {
  const char special[] = "[]#\r\n";
  std::string out(size, '\0');
  for (char& c : out) {
    seed = seed * 1664525u + 1013904223u;
    const uint32_t r = seed >> 24;
    c = r < 64 ? special[r % 5] : static_cast<char>(r);
  }
  return out;
}

TEST(ReaderRobustness, GarbageAndTruncatedFilesEndTheRead) {
  FormatGuard format(GermanFormatSettings());
  for (uint32_t seed : {1u, 2u, 3u}) {
    try {
      ImportedFile imported(std::string(kOpening) + Garbage(200000, seed));
    } catch (const std::runtime_error&) {
      // A number field holding garbage abandons the read; that is all.
    }
  }
  // Cut short, a tender is refused naming the line it ends in.
  const std::string bytes = ReadFile(RealFile("LV_Los01.P83"));
  for (size_t length = 13; length < bytes.size(); length += 397) {
    const std::string part = bytes.substr(0, length);
    const int lines = static_cast<int>(std::count(part.begin(), part.end(), '\n')) +
                      (part.back() == '\n' ? 0 : 1);
    try {
      ImportedFile imported(part);
      ADD_FAILURE() << length;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()).rfind(
                    "Die Datei endet in Zeile " + std::to_string(lines) + " mitten im Block ", 0),
                0u)
          << e.what();
    }
  }
}

}  // namespace
