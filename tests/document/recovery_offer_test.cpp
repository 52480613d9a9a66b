#include "document/recovery_offer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include "document/cell_text.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "tests/support/typing_script.h"
#include "util/trim.h"

namespace {

class RecoveryOfferTest : public DocumentTest {
 protected:
  RecoveryOfferTest() {
    tender_ = dir_.Write("LV_Los01.P83",
                         ReadFile(std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83"));
    EXPECT_TRUE(doc_.Import(tender_)) << doc_.LastError;
  }
  void Enter(KsGAEBObj& element, const char* member, const std::string& text) {
    doc_.NoteEdit(element);
    ApplyCellText(element, element.GetMember(member), text);
  }
  // The recovery file of the open offer, with the stamp of the tender now.
  std::string Secured() {
    RecoveryHead head;
    head.TenderPath = tender_;
    head.SavedAt = 1765260000;
    const TenderStamp stamp = StampOf(tender_);
    head.TenderSize = stamp.Size;
    head.TenderMTime = stamp.MTime;
    head.TenderHash = stamp.Hash;
    WriteRecoveryFile(dir_.Path("sicherung.xml"), doc_, head);
    return dir_.Path("sicherung.xml");
  }
  std::string tender_;
};

// Typed prices, a discount and a bidder field count one each; the amounts
// and sums they change do not.
TEST_F(RecoveryOfferTest, CountsTheEntriesThatDifferFromTheTender) {
  const std::vector<KsGAEBObj*> positions = typing_script::Positions(doc_);
  ASSERT_GE(positions.size(), 3u);
  Enter(*positions[0], typing_script::PriceMember(*positions[0]), "12,50");
  Enter(*positions[2], typing_script::PriceMember(*positions[2]), "7");
  Enter(*positions[2], "NACHLASSPROZ", "3");
  KsGAEBObj& address = *doc_.An->Child("ADRESSE");
  doc_.NoteEdit(address);
  address.GetMember("NAME1").SetAsString("Muster Bau GmbH");

  KsLyxObj offer;
  const RecoveryFinding finding = InspectRecovery(Secured(), offer);
  ASSERT_EQ(finding.Error, "");
  EXPECT_EQ(finding.Tender, TenderState::Unchanged);
  EXPECT_EQ(finding.Differences, 4);
  EXPECT_EQ(finding.LvName, Trim(doc_.LvInfo->Text("NAME") + " " + doc_.LvInfo->Text("BEZ")));

  // The tender as read holds no price where none was given: counted from
  // its side, the entries only the offer holds differ all the same.
  KsLyxObj tender;
  ASSERT_TRUE(tender.Import(tender_));
  EXPECT_EQ(DifferingEntries(tender, offer), 4);

  KsLyxObj other;
  ASSERT_TRUE(other.Import(std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los02.P83"));
  EXPECT_EQ(DifferingEntries(offer, other), -1) << "another LV";
}

// Changed in a byte with size and time put back, or gone: reported, and the
// recovery file restores the offer all the same.
TEST_F(RecoveryOfferTest, ATenderChangedOrGoneIsReported) {
  const std::vector<KsGAEBObj*> positions = typing_script::Positions(doc_);
  Enter(*positions[0], typing_script::PriceMember(*positions[0]), "12,50");
  const std::string file = Secured();
  struct stat before {};
  ASSERT_EQ(stat(tender_.c_str(), &before), 0);
  std::string bytes = ReadFile(tender_);
  const size_t at = bytes.find("LV_Los01") != std::string::npos ? bytes.find("LV_Los01") : 100;
  bytes[at] = bytes[at] == 'X' ? 'Y' : 'X';
  dir_.Write("LV_Los01.P83", bytes);
  const utimbuf times{before.st_atime, before.st_mtime};
  ASSERT_EQ(utime(tender_.c_str(), &times), 0);

  KsLyxObj changed;
  RecoveryFinding finding = InspectRecovery(file, changed);
  ASSERT_EQ(finding.Error, "");
  EXPECT_EQ(finding.Tender, TenderState::Changed);
  const std::string text = RecoveryQuestionText(finding);
  EXPECT_NE(text.find("Die Ausschreibung " + tender_ +
                      " wurde seit dem \xD6"
                      "ffnen ge\xE4ndert."),
            std::string::npos)
      << text;

  ASSERT_EQ(std::remove(tender_.c_str()), 0);
  KsLyxObj gone;
  finding = InspectRecovery(file, gone);
  ASSERT_EQ(finding.Error, "");
  EXPECT_EQ(finding.Tender, TenderState::Gone);
  EXPECT_EQ(finding.Differences, -1);
  EXPECT_EQ(RecoveryQuestionText(finding).find("abweichende"), std::string::npos);
  EXPECT_NE(RecoveryQuestionText(finding).find(" ist nicht mehr vorhanden."), std::string::npos);
  KsGAEBObj& priced = *typing_script::Positions(gone)[0];
  EXPECT_EQ(priced.GetMember(typing_script::PriceMember(priced)).GetAsFloat(), 12.5);
  EXPECT_TRUE(gone.ExportD84(dir_.Path("Angebot.D84"))) << gone.LastError;
}

TEST_F(RecoveryOfferTest, ADamagedFileNamesItselfAndIsNotOffered) {
  const std::string file = dir_.Write("kaputt.xml", "<TARVO_WIEDERHERSTELLUNG Version=\"1\">");
  KsLyxObj offer;
  const RecoveryFinding finding = InspectRecovery(file, offer);
  EXPECT_FALSE(offer.Loaded());
  EXPECT_EQ(RecoveryQuestionText(finding),
            "Die Wiederherstellungsdatei " + file +
                " ist besch\xE4"
                "digt (der Kopf fehlt).\n\nSie kann nicht wiederhergestellt werden. \"Verwerfen\" "
                "l\xF6scht sie, \"Sp\xE4ter\" beh\xE4lt sie bis zum n\xE4"
                "chsten Start.");
}

}  // namespace
