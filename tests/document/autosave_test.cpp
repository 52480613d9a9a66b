#include "document/autosave.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "document/lyx_obj.h"
#include "document/recovery_file.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "tests/support/env_guard.h"

namespace {

class AutosaveTest : public DocumentTest {
 protected:
  AutosaveTest() {
    env_.Set("XDG_DATA_HOME", dir_.Path("data"));
    tender_ = std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83";
    EXPECT_TRUE(doc_.Import(tender_));
    save_.Opened(tender_);
  }
  void Edit(const std::string& ep) {
    KsGAEBObj* holder = doc_.Lv;
    while (!holder->ChildList("POSITION") || holder->ChildList("POSITION")->Count() == 0)
      holder = holder->ChildList("LVBEREICH")->Element(0);
    KsGAEBObj& position = *holder->ChildList("POSITION")->Element(0);
    doc_.NoteEdit(position);
    position.GetMember("EP").SetValue(Variant(ep));
  }
  EnvGuard env_;
  std::string tender_;
  Autosave save_{60};
};

// Written only while there is something unsaved, at most once a minute
// unless forced (a pause in typing), and gone after a save.
TEST_F(AutosaveTest, WritesWhileUnsavedAndGoesWithTheSave) {
  EXPECT_FALSE(save_.Secure(doc_, 1000)) << "nothing changed";
  Edit("12,50");
  EXPECT_TRUE(save_.Secure(doc_, 1000));
  save_.Wait();
  const std::string path = save_.Path();
  EXPECT_NE(path.find("/Tarvo_Redurir/Wiederherstellung/LV_Los01.P83."), std::string::npos);
  EXPECT_FALSE(save_.Secure(doc_, 1059));
  EXPECT_TRUE(save_.Secure(doc_, 1059, true));
  save_.Wait();
  EXPECT_TRUE(save_.Secure(doc_, 1119));
  save_.Wait();

  RecoveredOffer offer;
  std::string error;
  ASSERT_TRUE(ReadRecoveryFile(path, nullptr, offer, error)) << error;
  EXPECT_EQ(offer.Head.TenderPath, tender_);
  EXPECT_EQ(offer.Head.SavedAt, 1119);
  EXPECT_GT(offer.Head.TenderSize, 0);
  EXPECT_EQ(offer.Head.TenderHash.size(), 16u);

  save_.Discard();
  EXPECT_NE(access(path.c_str(), F_OK), 0);
}

TEST_F(AutosaveTest, ZeroTurnsItOff) {
  save_.SetInterval(0);
  Edit("1,00");
  EXPECT_FALSE(save_.Secure(doc_, 1000, true));
  EXPECT_EQ(save_.Path(), "");
}

}  // namespace
