#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/file_write_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_import.h"
#include "tests/support/format_guard.h"
#include "tests/support/test_document.h"
#include "tests/support/test_files.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

namespace fs = std::filesystem;

std::string ReplaceEvery(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

// Windows-1252 -> code page 850, the inverse of the reader's conversion.
// Raises when a character has no code in code page 850.
std::string ToOem850(const std::string& text) {
  std::array<int, 256> toOem;
  toOem.fill(-1);
  for (int b = 255; b >= 128; --b) {
    std::string c(1, static_cast<char>(b));
    Oem850ToCp1252(c);
    if (c != "?") toOem[static_cast<unsigned char>(c[0])] = b;
  }
  std::string oem = text;
  for (char& c : oem) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 128) continue;
    if (toOem[b] < 0) throw std::runtime_error("no OEM code for byte " + std::to_string(b));
    c = static_cast<char>(toOem[b]);
  }
  return oem;
}

// A tree read the way the document imports a file, with the document that
// its elements report to.
struct ReadTree {
  TestDocument doc;
  std::unique_ptr<KsGGAEB> root;
};

std::unique_ptr<ReadTree> Read(const fs::path& path) {
  auto tree = std::make_unique<ReadTree>();
  KsFileReadGaeb00 reader(path.string(), 1024);
  EXPECT_TRUE(ScanGaebHeader(reader)) << path;
  tree->doc.reader = &reader;
  tree->root = ReadGaebRoot(tree->doc);
  tree->doc.reader = nullptr;
  EXPECT_TRUE(tree->root) << path;
  return tree;
}

std::string Write(KsGAEBObj& root) {
  std::ostringstream out;
  KsFileWriteGaeb00 w(out);
  root.WriteElement(w);
  return out.str();
}

KsCustomObj* Held(const KsMember& m) { return m.Child(); }

std::vector<std::string> Entries(const KsMember& m) {
  return m.Value.Kind() == KsVarKind::StringList ? m.Value.List() : std::vector<std::string>();
}

// What the file format carries of a text read: a text longer than its field
// is cut to the field's size on writing.
std::string Carried(const KsMember& m) {
  std::string t = m.GetAsString();
  const int16_t size = m.FieldDesc->Size;
  const uint8_t type = m.GetFieldType();
  if (type != ftFloat && type != ftCurrency && size > 0 && t.size() > static_cast<size_t>(size))
    t = Trim(t).substr(0, static_cast<size_t>(size));
  return t;
}

// Compares two trees element by element: classes, members in order, texts,
// multi-value entries, children and list sizes. Differences go to `diffs`
// with their path. `throughFile`: b was read from the file written of a.
void Compare(const KsCustomObj* a, const KsCustomObj* b, const std::string& path, bool throughFile,
             std::vector<std::string>& diffs) {
  if (!a || !b) {
    if (a != b) diffs.push_back(path + ": present in one tree only");
    return;
  }
  if (std::string(a->ClassName()) != b->ClassName()) {
    diffs.push_back(path + ": class " + a->ClassName() + " / " + b->ClassName());
    return;
  }
  if (auto* la = dynamic_cast<const KsObjList*>(a)) {
    auto* lb = static_cast<const KsObjList*>(b);
    if (la->Count() != lb->Count()) {
      diffs.push_back(path + ": " + std::to_string(la->Count()) + " / " +
                      std::to_string(lb->Count()) + " entries");
      return;
    }
    for (int i = 0; i < la->Count(); ++i)
      Compare(la->Items(i), lb->Items(i), path + "[" + std::to_string(i) + "]", throughFile, diffs);
    return;
  }
  if (a->Members.Count() != b->Members.Count()) {
    diffs.push_back(path + ": member counts differ");
    return;
  }
  for (int i = 0; i < a->Members.Count(); ++i) {
    const KsMember& ma = a->Members.Get(i);
    const KsMember& mb = b->Members.Get(i);
    const std::string at = path + "/" + ma.Name();
    const uint8_t type = ma.GetFieldType();
    if (type == ftUnknown || type == ftCursor) {
      Compare(Held(ma), Held(mb), at, throughFile, diffs);
    } else if (ma.FieldDesc->IsMultiValue()) {
      if (Entries(ma) != Entries(mb)) diffs.push_back(at + ": entries differ");
    } else if ((throughFile ? Carried(ma) : ma.GetAsString()) != mb.GetAsString()) {
      diffs.push_back(at + ": \"" + ma.GetAsString() + "\" / \"" + mb.GetAsString() + "\"");
    }
  }
}

std::vector<std::string> Differences(const KsGAEBObj& a, const KsGAEBObj& b,
                                     bool throughFile = false) {
  std::vector<std::string> diffs;
  Compare(&a, &b, "GAEB", throughFile, diffs);
  return diffs;
}

class RoundTrip : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AddPositionDisplayFields(); }

  fs::path Temp(const std::string& name) const {
    return fs::path(::testing::TempDir()) /
           (std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
            name);
  }

  FormatGuard format{GermanFormatSettings()};
};

std::vector<fs::path> RealFiles() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(fs::path(TARVO_TEST_DATA_DIR) / "real"))
    if (entry.is_regular_file()) files.push_back(entry.path());
  return files;
}

TEST_F(RoundTrip, EveryRealFileReadsBackAsWritten) {
  const std::vector<fs::path> files = RealFiles();
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.filename().string());
    auto first = Read(file);
    ASSERT_TRUE(first->root);
    const std::string written = Write(*first->root);
    EXPECT_EQ(written.find("#end[GAEB]"), written.rfind("#end[GAEB]"));
    const fs::path copy = Temp(file.filename().string());
    WriteFile(copy, written);

    auto second = Read(copy);
    ASSERT_TRUE(second->root);
    EXPECT_EQ(Differences(*first->root, *second->root, true), std::vector<std::string>());
    EXPECT_EQ(Write(*second->root), written);
    fs::remove(copy);
  }
}

TEST_F(RoundTrip, CrLfCopyReadsLikeTheOriginal) {
  const fs::path original = fs::path(TARVO_TEST_DATA_DIR) / "real" / "LV_Los02.P83";
  const std::string bytes = ReadFile(original);
  ASSERT_EQ(bytes.find('\r'), std::string::npos);
  const fs::path copy = Temp("crlf.P83");
  WriteFile(copy, ReplaceEvery(bytes, "\n", "\r\n"));

  auto lf = Read(original);
  auto crlf = Read(copy);
  ASSERT_TRUE(lf->root && crlf->root);
  EXPECT_EQ(Differences(*lf->root, *crlf->root), std::vector<std::string>());
  EXPECT_EQ(Write(*crlf->root), Write(*lf->root));
  fs::remove(copy);
}

// An OEM file is converted on reading and written in ANSI, declared as ANSI:
// its written file equals that of the ANSI original, so reading it back does
// not convert a second time.
TEST_F(RoundTrip, OemCopyIsWrittenAsAnsi) {
  const fs::path original = fs::path(TARVO_TEST_DATA_DIR) / "real" / "LV_Los01.P83";
  const std::string bytes = ReadFile(original);
  const std::string ansiMark = "[Zeichensatz]ANSI[end]";
  ASSERT_NE(bytes.find(ansiMark), std::string::npos);
  const fs::path copy = Temp("oem.P83");
  WriteFile(copy, ToOem850(ReplaceEvery(bytes, ansiMark, "[Zeichensatz]OEM[end]")));

  auto ansi = Read(original);
  auto oem = Read(copy);
  ASSERT_TRUE(ansi->root && oem->root);
  KsGAEBObj* info = oem->root->Child("GAEBINFO");
  ASSERT_TRUE(info);
  EXPECT_EQ(info->Text("ZEICHENSATZ"), "OEM");
  info->Members.FindOrMake("ZEICHENSATZ")->Value = Variant("ANSI");
  EXPECT_EQ(Differences(*ansi->root, *oem->root), std::vector<std::string>());
  info->Members.FindOrMake("ZEICHENSATZ")->Value = Variant("OEM");

  const std::string written = Write(*oem->root);
  EXPECT_EQ(written, Write(*ansi->root));
  EXPECT_EQ(info->Text("ZEICHENSATZ"), "OEM");
  EXPECT_NE(written.find("\xFC"), std::string::npos);
  fs::remove(copy);
}

// Long texts keep their lines, blank lines and inner indentation through
// writing and reading again; the writer's indentation is not added to them.
TEST_F(RoundTrip, MultiLineLongTextKeepsItsIndentation) {
  const std::string text =
      "Zeile 1\r\n  einger\xFC"
      "ckt\r\n\r\n\t- Tabulator\r\nletzte Zeile";
  const fs::path file = Temp("langtext.P83");
  {
    std::ofstream out(file, std::ios::binary);
    KsFileWriteGaeb00 w(out);
    w.WriteBegin("GAEB");
    w.WriteBegin("GAEBINFO");
    w.WriteField("ZEICHENSATZ", "ANSI");
    w.WriteEnd("GAEBINFO");
    w.WriteBegin("VERGABE");
    w.WriteBegin("LV");
    w.WriteBegin("POSITION");
    w.WriteBegin("BESCHREIBUNG");
    w.WriteField("LANGTEXT", text);
    w.WriteEnd("BESCHREIBUNG");
    w.WriteEnd("POSITION");
    w.WriteEnd("LV");
    w.WriteEnd("VERGABE");
    w.WriteEnd("GAEB");
  }
  EXPECT_NE(ReadFile(file).find("     [LANGTEXT]Zeile 1\r\n       einger\xFC"), std::string::npos);
  auto tree = Read(file);
  ASSERT_TRUE(tree->root);
  KsGAEBObj* lv = tree->root->Child("VERGABE")->Child("LV");
  KsGAEBObj* position = lv->ChildList("POSITION")->Element(0);
  EXPECT_EQ(position->Child("BESCHREIBUNG")->Text("LANGTEXT"), text);
  fs::remove(file);
}

}  // namespace
