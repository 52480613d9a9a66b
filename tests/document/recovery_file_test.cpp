#include "document/recovery_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/lyx_obj.h"
#include "tests/support/document_fixture.h"

namespace {

std::string OfferBytes(KsLyxObj& doc, const std::string& path) {
  EXPECT_TRUE(doc.ExportD84(path)) << doc.LastError;
  return ReadFile(path);
}

// The offer without the date and time of writing, which the two saves
// took a moment apart.
std::string WithoutStamp(std::string bytes) {
  for (const char* key : {"[DATUM]", "[UHRZEIT]", "<Date>", "<Time>"}) {
    const size_t at = bytes.find(key);
    if (at == std::string::npos) continue;
    const size_t end = bytes.find('\n', at);
    bytes.erase(at, end == std::string::npos ? std::string::npos : end - at);
  }
  return bytes;
}

struct Tender {
  std::string dir;
  std::string name;
};

std::vector<Tender> RealTenders() {
  std::vector<Tender> tenders;
  for (const char* dir : {"real", "xml-real", "gaeb90"})
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TARVO_TEST_DATA_DIR) + "/" + dir))
      tenders.push_back({dir, entry.path().filename().string()});
  return tenders;
}

class RecoveryRealTest : public DocumentFixture<::testing::TestWithParam<Tender>> {};

// The recovery file of every real tender gives back the offer byte for byte.
TEST_P(RecoveryRealTest, GivesTheSameOffer) {
  const std::string tender =
      std::string(TARVO_TEST_DATA_DIR) + "/" + GetParam().dir + "/" + GetParam().name;
  ASSERT_TRUE(doc_.Import(tender)) << doc_.LastError;
  const std::string original = OfferBytes(doc_, dir_.Path("original") + doc_.OfferExtension());
  RecoveryHead head;
  head.TenderPath = tender;
  head.Xml = doc_.IsXml();
  if (doc_.XmlOrigin()) head.Origin = *doc_.XmlOrigin();
  head.SavedAt = 1700000000;
  head.VatUnconfirmed = doc_.VatRateUnconfirmed();
  if (doc_.Gaeb90Source()) {
    head.Gaeb90 = true;
    head.Gaeb90Source = *doc_.Gaeb90Source();
  }
  const std::string file = dir_.Path("recovery.xml");
  WriteRecoveryFile(file, doc_, head);
  struct stat info {};
  ASSERT_EQ(stat(file.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600);

  KsLyxObj restored;
  RecoveryHead read;
  ASSERT_TRUE(restored.Restore(file, read)) << restored.LastError;
  EXPECT_EQ(read.TenderPath, tender);
  EXPECT_EQ(read.SavedAt, 1700000000);
  EXPECT_TRUE(restored.Modified());
  EXPECT_EQ(restored.IsXml(), doc_.IsXml());
  EXPECT_EQ(restored.IsGaeb90(), doc_.IsGaeb90());
  const std::string again = OfferBytes(restored, dir_.Path("restored") + restored.OfferExtension());
  EXPECT_TRUE(WithoutStamp(original) == WithoutStamp(again)) << "the offers differ";
}

INSTANTIATE_TEST_SUITE_P(Real, RecoveryRealTest, ::testing::ValuesIn(RealTenders()),
                         [](const auto& info) {
                           std::string name = info.param.dir + "_" + info.param.name;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

class RecoveryBadFileTest : public DocumentTest {
 protected:
  // The recovery file of a real tender, written once.
  std::string Written() {
    EXPECT_TRUE(doc_.Import(std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83"));
    RecoveryHead head;
    head.TenderPath = "/irgendwo/LV_Los01.P83";
    head.SavedAt = 1700000000;
    WriteRecoveryFile(dir_.Path("gut.xml"), doc_, head);
    return ReadFile(dir_.Path("gut.xml"));
  }
  // Restores `bytes` into a document that holds a tender: refused with a
  // German message about the file, the open offer kept.
  void ExpectRefused(const std::string& bytes, const std::string& reason) {
    KsLyxObj doc;
    ASSERT_TRUE(doc.Import(std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los02.P83"));
    const std::string path = dir_.Write("schlecht.xml", bytes);
    RecoveryHead head;
    EXPECT_FALSE(doc.Restore(path, head));
    EXPECT_EQ(doc.LastError, "Die Wiederherstellungsdatei " + path + " " + reason + ".");
    EXPECT_TRUE(doc.Loaded());
    EXPECT_EQ(doc.FileName(), "LV_Los02.P83");
  }
};

// A file cut anywhere (a crash of the disk, not of the program: the
// program's own writing is atomic) is refused, never read in part.
TEST_F(RecoveryBadFileTest, CutFilesAreRefused) {
  const std::string whole = Written();
  int cuts = 0;
  for (size_t cut = 0; cut < whole.size(); cut += 1000, ++cuts) {
    SCOPED_TRACE(cut);
    KsLyxObj doc;
    RecoveryHead head;
    EXPECT_FALSE(doc.Restore(dir_.Write("teil.xml", whole.substr(0, cut)), head));
    EXPECT_TRUE(doc.LastError.starts_with("Die Wiederherstellungsdatei ")) << doc.LastError;
    EXPECT_FALSE(doc.Loaded());
  }
  EXPECT_GT(cuts, 20);
}

TEST_F(RecoveryBadFileTest, ForeignAndEditedFilesAreRefused) {
  const std::string good = Written();
  const auto edited = [&](const std::string& from, const std::string& to) {
    std::string bytes = good;
    const size_t at = bytes.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? bytes : bytes.replace(at, from.size(), to);
  };
  const struct {
    std::string bytes;
    std::string reason;
  } cases[] = {
      {"", "ist keine Wiederherstellungsdatei dieses Programms"},
      {ReadFile(std::string(TARVO_TEST_DATA_DIR) + "/xml-real/LV_Los01.X83"),
       "ist keine Wiederherstellungsdatei dieses Programms"},
      {ReadFile(std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83"),
       "ist keine Wiederherstellungsdatei dieses Programms"},
      {edited("Version=\"1\"", "Version=\"2\""),
       "ist keine Wiederherstellungsdatei dieses Programms"},
      {edited("<FORMAT>GAEB2000", "<FORMAT>GAEB91"),
       "ist besch\xE4"
       "digt (unbekanntes Format GAEB91)"},
      {edited("<FORMAT>GAEB2000", "<FORMAT>GAEB90"),
       "ist besch\xE4"
       "digt (der Kopf ist unvollst\xE4ndig)"},
      {edited("<ZEIT>1700000000", "<ZEIT>gestern"),
       "ist besch\xE4"
       "digt (keine Zahl: gestern)"},
      {edited("<OZ>", "<OZX>"),
       "ist besch\xE4"
       "digt (unbekanntes Feld OZX in GAEBLVBEREICH)"},
      {edited("<SUMME Typ=\"F\">0<", "<SUMME Typ=\"F\">0x<"),
       "ist besch\xE4"
       "digt (Wert von SUMME in GAEBLVBEREICH)"},
      {edited("<SUMME Typ=\"F\">", "<SUMME Typ=\"Q\">"),
       "ist besch\xE4"
       "digt (Wert von SUMME in GAEBLVBEREICH)"},
      {edited("<OBJLIST_GAEBPOSITION Count=\"", "<OBJLIST_GAEBPOSITION Count=\"9"),
       "ist besch\xE4"
       "digt (die Anzahl in GAEBPOSITION)"},
      {edited("<OBJ_GAEBLVINFO>", "<OBJ_GAEBLVINFO><OBJ_GAEBGAEB/>"),
       "ist besch\xE4"
       "digt (in OBJ_GAEBLVINFO)"},
      {edited("  <ENDE/>\r\n", ""), "ist unvollst\xE4ndig"},
      {edited("</OBJ_GAEBLV>", "</OBJ_GAEBAN>"),
       "ist besch\xE4"
       "digt (in OBJ_GAEBLV)"},
      {good.substr(0, 100) + std::string(1, '\0') + good.substr(100),
       "ist besch\xE4"
       "digt (sie enth\xE4lt Nullbytes)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reason);
    ExpectRefused(c.bytes, c.reason);
  }
}

}  // namespace
