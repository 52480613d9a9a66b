#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "tests/support/time_of_writing.h"

namespace {

// What an import read: every position's OZ and EP, the number of areas and
// the LV's sums; and the offer it saves.
struct Read {
  std::string positions;
  int areas = 0;
  std::string sums;
  std::string offer;
  bool operator==(const Read&) const = default;
};

void Collect(const KsGAEBObj& holder, Read& read) {
  if (const KsGAEBObjList* positions = holder.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i)
      read.positions +=
          positions->Element(i)->Text("OZ") + "=" + positions->Element(i)->Text("EP") + ";";
  if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) {
      ++read.areas;
      Collect(*areas->Element(i), read);
    }
}

class Truncation : public DocumentTest {
 protected:
  Read Current() {
    Read read;
    Collect(*doc_.Lv, read);
    read.sums = doc_.LvInfo->Text("SUMME") + "/" + doc_.LvInfo->Text("SUMMEBRUTTO");
    EXPECT_TRUE(doc_.ExportD84(dir_.Path("angebot.d84"))) << doc_.LastError;
    read.offer = WithoutTimeOfWriting(ReadFile(dir_.Path("angebot.d84")));
    return read;
  }
};

// Line "N" of the message that a cut file ends in.
int LastLine(const std::string& bytes) {
  if (bytes.empty()) return 0;
  const int ends = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
  return bytes.back() == '\n' ? ends : ends + 1;
}

// A tender cut in a download or an attachment is never priced as complete:
// every cut of every real tender, at each line end and in the middle of
// every third line, is refused or reads exactly as the whole file.
TEST_F(Truncation, EveryCutOfTheRealTendersIsRefusedOrReadComplete) {
  int refused = 0, complete = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(TARVO_TEST_DATA_DIR) + "/real")) {
    const std::string bytes = ReadFile(entry.path().string());
    SCOPED_TRACE(entry.path().filename().string());
    ASSERT_TRUE(Load(bytes));
    const Read whole = Current();
    ASSERT_GT(whole.areas, 0);
    std::vector<size_t> cuts;
    for (size_t start = 0, line = 0; start < bytes.size(); ++line) {
      const size_t lf = bytes.find('\n', start);
      const size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
      if (line % 3 == 0) cuts.push_back(start + (end - start) / 2);
      cuts.push_back(end);
      start = end;
    }
    for (const size_t cut : cuts) {
      const std::string part = bytes.substr(0, cut);
      if (Load(part, "teil.d83")) {
        ++complete;
        EXPECT_TRUE(Current() == whole) << "cut after " << cut << " bytes";
      } else {
        ++refused;
        EXPECT_FALSE(doc_.Loaded());
        // Cut after the root's begin line: the message says where and in what.
        if (part.find('\n') != std::string::npos) {
          const std::string head =
              "Die Datei endet in Zeile " + std::to_string(LastLine(part)) + " mitten im Block ";
          const std::string tail = "; sie ist unvollst\xE4ndig.";
          const std::string& error = doc_.LastError;
          EXPECT_TRUE(error.rfind(head, 0) == 0 && error.size() > head.size() + tail.size() &&
                      error.substr(error.size() - tail.size()) == tail)
              << "cut after " << cut << " bytes: " << error;
        }
      }
    }
  }
  std::cout << "[ cuts     ] " << refused << " refused, " << complete << " read complete\n";
  EXPECT_GT(refused, 5000);
  EXPECT_LT(complete, 10);
}

// The same for the real GAEB DA XML tenders: each is cut at every N-th line
// end and in the middle of the line after it, some hundreds of cuts per file.
TEST_F(Truncation, EveryCutOfTheRealX83IsRefusedOrReadComplete) {
  const std::string data = TARVO_TEST_DATA_DIR;
  std::vector<std::string> paths;
  for (const auto& entry : std::filesystem::directory_iterator(data + "/xml-real"))
    if (entry.path().extension() == ".X83") paths.push_back(entry.path().string());
  std::sort(paths.begin(), paths.end());
  paths.push_back(data + "/xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83");
  ASSERT_EQ(paths.size(), 3u);
  constexpr size_t kCutsPerFile = 300;
  for (const std::string& path : paths) {
    const std::string bytes = ReadFile(path);
    const std::string name = std::filesystem::path(path).filename().string();
    SCOPED_TRACE(name);
    ASSERT_TRUE(Load(bytes, "lv.X83"));
    const Read whole = Current();
    ASSERT_GT(whole.areas, 0);
    const size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
    const size_t every = std::max<size_t>(1, lines / (kCutsPerFile / 2));
    std::vector<size_t> cuts;
    for (size_t start = 0, line = 0; start < bytes.size(); ++line) {
      const size_t lf = bytes.find('\n', start);
      const size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
      if (line % every == 1 % every) cuts.push_back(start + (end - start) / 2);
      if (line % every == 0 || end == bytes.size()) cuts.push_back(end);
      start = end;
    }
    int refused = 0, complete = 0;
    for (const size_t cut : cuts) {
      const std::string part = bytes.substr(0, cut);
      if (Load(part, "teil.X83")) {
        ++complete;
        EXPECT_TRUE(Current() == whole) << "cut after " << cut << " bytes";
        continue;
      }
      ++refused;
      EXPECT_FALSE(doc_.Loaded());
      // The XML breaks off at the end of the part: the message names its last line.
      const std::string at = "(Zeile " + std::to_string(LastLine(part)) + ", Spalte";
      EXPECT_NE(doc_.LastError.find(at), std::string::npos)
          << "cut after " << cut << " bytes: " << doc_.LastError;
    }
    std::cout << "[ cuts     ] " << name << ": " << refused << " refused, " << complete
              << " read complete\n";
    EXPECT_GT(refused, 250);
    EXPECT_LT(complete, 3);
  }
}

TEST_F(Truncation, TheMessageNamesTheLastLineAndTheInnermostOpenBlock) {
  const std::string whole =
      Tender(Area("01", "Rohbau", Position("0010", "1", "m", Field("EP", "2"))));
  const struct {
    const char* cutBefore;  // the file ends right before this piece
    const char* block;
  } cases[] = {
      {"#end[GAEB]", "GAEB"},           {"#end[VERGABE]", "VERGABE"},   {"#end[LV]", "LV"},
      {"#end[LVBEREICH]", "LVBEREICH"}, {"[EP]2[end]", "POSITION"},     {"2[end]", "POSITION"},
      {"]\r\n#end[GAEB]", "VERGABE"},   {"#end[GAEBINFO]", "GAEBINFO"}, {"#end[LVINFO]", "LVINFO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cutBefore);
    const std::string part = whole.substr(0, whole.rfind(c.cutBefore));
    EXPECT_FALSE(Load(part));
    EXPECT_EQ(doc_.LastError, "Die Datei endet in Zeile " + std::to_string(LastLine(part)) +
                                  " mitten im Block " + c.block + "; sie ist unvollst\xE4ndig.");
  }
}

}  // namespace
