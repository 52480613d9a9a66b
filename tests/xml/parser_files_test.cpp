#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/xml/part_log.h"
#include "xml/entity_path.h"

namespace {

using Parts = std::vector<std::string>;

const std::string kTender =
    std::string(TARVO_TEST_DATA_DIR) + "/xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83";

// Counts of the tender taken with an independent XML reader (Python's expat
// and a count of "/>" endings): 884 elements, 64 of them written empty.
TEST(XmlFiles, RealTenderIsScannedFromStartToEnd) {
  TXmlParser parser;
  ASSERT_TRUE(parser.Open(kTender));
  EXPECT_EQ(parser.SourceName(), kTender);
  EXPECT_EQ(parser.BufferSize(), 100152u);
  std::map<TPartKind, int> counts;
  std::vector<std::string> texts;
  std::string unitLabel;
  TPartKind before = pkNone;
  while (parser.NextPart()) {
    ++counts[parser.PartKind()];
    if (parser.PartKind() == pkText) {
      texts.push_back(parser.PartText());
      if (before == pkStartTag && parser.PartName() == "LblUPComp3") unitLabel = parser.PartText();
    }
    before = parser.PartKind();
  }
  EXPECT_FALSE(parser.Malformed());
  EXPECT_EQ(counts[pkXmlProlog], 1);
  EXPECT_EQ(counts[pkComment], 1);
  EXPECT_EQ(counts[pkStartTag], 820);
  EXPECT_EQ(counts[pkEmptyTag], 64);
  EXPECT_EQ(counts[pkEndTag], 820);
  EXPECT_EQ(parser.TextEncoding(), "UTF-8");
  EXPECT_EQ(unitLabel, "Ger\xE4t");
  const auto has = [&](const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  };
  EXPECT_TRUE(
      has("F\xFCr die Zertifizierung von GAEB DA XML Schnittstellen hat der BVBS "
          "Pr\xFC"
          "fkriterien"));
  EXPECT_TRUE(has("Baustelleneinrichtung f\xFCr s\xE4mtliche, in der Leistungsbeschreibung "));
  EXPECT_TRUE(has("Indexposition mit Index \"A\""));
}

TEST(XmlFiles, OpenFailsForWhatIsNoReadableFile) {
  TempDir dir;
  TXmlParser parser;
  EXPECT_FALSE(parser.Open(dir.Path("missing.xml")));
  EXPECT_FALSE(parser.Open(dir.Dir()));
  EXPECT_EQ(parser.SourceName(), "");
  EXPECT_FALSE(parser.NextPart());
  EXPECT_TRUE(parser.Open(dir.Write("empty.xml", "")));
  EXPECT_FALSE(parser.NextPart());
}

// A folder with a document, entity files beside it and in a subfolder, and
// a file outside the folder that no document may read.
class ExternalFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(root_.Path("docs/sub"));
    secret_ = root_.Write("secret.txt", "SECRET");
    root_.Write("docs/chapter.xml",
                "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><b>Kapitel \xFC</b>");
    root_.Write("docs/sub/unit.txt", "m\xC2\xB2");
    root_.Write("docs/lv.dtd",
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<!ENTITY % more SYSTEM 'sub/more.ent'>\n"
                "<!ATTLIST pos unit CDATA 'St' cur CDATA #FIXED 'EUR'>\n"
                "<!ENTITY firma 'aus der DTD'>\n"
                "%more;\n");
    root_.Write("docs/sub/more.ent", "<!ENTITY more 'mehr'>");
    std::filesystem::create_symlink(secret_, root_.Path("docs/link.txt"));
  }

  Parts ScanDocument(const std::string& text) {
    TXmlParser parser;
    EXPECT_TRUE(parser.Open(root_.Write("docs/doc.xml", text)));
    return ScanAll(parser);
  }

  TempDir root_;
  std::string secret_;
};

TEST_F(ExternalFiles, EntitiesBesideTheOpenedFileAreRead) {
  const std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
      "<!DOCTYPE lv SYSTEM \"lv.dtd\" [\n"
      "<!ENTITY chapter SYSTEM \"chapter.xml\">\n"
      "<!ENTITY unit SYSTEM \"sub\\unit.txt\">\n"
      "<!ENTITY firma 'intern'>\n"
      "]><lv><pos a='&unit;'>&chapter; \xC3\xA4 &unit; &firma; &more;</pos></lv>";
  // The text before the chapter's markup is empty; the chapter's own
  // encoding applies to it alone.
  EXPECT_EQ(ScanDocument(doc),
            (Parts{"<?xml?>", "<!DOCTYPE lv>", "<lv>", "<pos a=m\xB2 unit=St cur=EUR>",
                   "text(pos)=", "<?xml?>", "<b>", "text(b)=Kapitel \xFC", "</b>",
                   "text(b)= \xE4 m\xB2 intern mehr", "</pos>", "</lv>"}));
}

TEST_F(ExternalFiles, EntitiesOutsideTheFolderAreRefused) {
  const std::string doc =
      "<!DOCTYPE r [\n"
      "<!ENTITY abs SYSTEM \"" +
      secret_ +
      "\">\n"
      "<!ENTITY up SYSTEM \"../secret.txt\">\n"
      "<!ENTITY upback SYSTEM \"sub\\..\\..\\secret.txt\">\n"
      "<!ENTITY drive SYSTEM \"C:secret.txt\">\n"
      "<!ENTITY share SYSTEM \"\\\\server\\secret.txt\">\n"
      "<!ENTITY link SYSTEM \"link.txt\">\n"
      "<!ENTITY missing SYSTEM \"missing.txt\">\n"
      "]><r a='&abs;&up;'>&abs; &up; &upback; &drive; &share; &link; &missing;</r>";
  EXPECT_EQ(ScanDocument(doc), (Parts{"<!DOCTYPE r>", "<r a=&abs;&up;>",
                                      "text(r)=abs up upback drive share link missing", "</r>"}));
}

// An attached document reads no file, even one right beside the working folder.
TEST_F(ExternalFiles, AttachedDocumentsReadNoFiles) {
  const std::string docs = root_.Path("docs");
  const std::string doc = "<!DOCTYPE lv SYSTEM \"" + docs +
                          "/lv.dtd\" [\n"
                          "<!ENTITY chapter SYSTEM \"" +
                          docs +
                          "/chapter.xml\">\n"
                          "<!ENTITY rel SYSTEM \"chapter.xml\">\n"
                          "]><lv><pos a='&chapter;'>&chapter;&rel;</pos></lv>";
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(docs);
  const Parts parts = ScanText(doc);
  std::filesystem::current_path(cwd);
  EXPECT_EQ(parts, (Parts{"<!DOCTYPE lv>", "<lv>", "<pos a=&chapter;>", "text(pos)=chapterrel",
                          "</pos>", "</lv>"}));
}

TEST_F(ExternalFiles, ResolvedPathsStayInTheFolder) {
  const std::string doc = root_.Path("docs/doc.xml");
  const std::string docs = std::filesystem::canonical(root_.Path("docs")).string();
  const struct {
    std::string source, id;
    std::string expected;  // empty: refused
  } cases[] = {
      {doc, "chapter.xml", docs + "/chapter.xml"},
      {doc, "sub/unit.txt", docs + "/sub/unit.txt"},
      {doc, "sub\\unit.txt", docs + "/sub/unit.txt"},
      {doc, "./sub/./unit.txt", docs + "/sub/unit.txt"},
      {doc, "", ""},
      {doc, "sub", ""},
      {doc, "../secret.txt", ""},
      {doc, "sub/../chapter.xml", ""},
      {doc, secret_, ""},
      {doc, "C:\\x.xml", ""},
      {doc, "\\\\server\\x.xml", ""},
      {doc, "link.txt", ""},
      {"<REFERENCE>", "chapter.xml", ""},
      {"", "chapter.xml", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ResolveEntityPath(c.source, c.id).value_or(""), c.expected) << c.id;
}

}  // namespace
