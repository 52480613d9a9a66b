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
  for (const char* dir : {"real", "xml-real"})
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

}  // namespace
