#include "document/autosave.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

#include "document/lyx_obj.h"
#include "document/recovery_file.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "tests/support/env_guard.h"
#include "util/codec.h"

namespace {

class AutosaveTest : public DocumentTest {
 protected:
  AutosaveTest() {
    env_.Set("XDG_DATA_HOME", dir_.Path("data"));
    tender_ = std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83";
    EXPECT_TRUE(doc_.Import(tender_));
    save_.Opened(tender_);
  }
  static KsGAEBObj& FirstPosition(KsLyxObj& doc) {
    KsGAEBObj* holder = doc.Lv;
    while (!holder->ChildList("POSITION") || holder->ChildList("POSITION")->Count() == 0)
      holder = holder->ChildList("LVBEREICH")->Element(0);
    return *holder->ChildList("POSITION")->Element(0);
  }
  void Edit(const std::string& ep) {
    KsGAEBObj& position = FirstPosition(doc_);
    doc_.NoteEdit(position);
    position.GetMember("EP").SetValue(Variant(ep));
  }
  // The first position's price in the recovery file.
  std::string SecuredPrice() {
    KsLyxObj restored;
    RecoveryHead head;
    EXPECT_TRUE(restored.Restore(save_.Path(), head)) << restored.LastError;
    return restored.Loaded() ? FirstPosition(restored).GetMember("EP").GetAsString() : "";
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

// Every change undone: the offer is the tender again, and a crash must not
// offer the undone price back.
TEST_F(AutosaveTest, GoesWhenEveryChangeIsUndone) {
  Edit("12,50");
  ASSERT_TRUE(save_.Secure(doc_, 1000));
  save_.Wait();
  const std::string path = save_.Path();
  ASSERT_EQ(access(path.c_str(), F_OK), 0);
  doc_.Undo();
  ASSERT_FALSE(doc_.Modified());
  EXPECT_FALSE(save_.Secure(doc_, 1100, true));
  EXPECT_NE(access(path.c_str(), F_OK), 0);

  // Typed again: secured again.
  Edit("13,00");
  EXPECT_TRUE(save_.Secure(doc_, 1101, true));
  save_.Wait();
  EXPECT_EQ(SecuredPrice(), "13,00");
}

// What is typed while a file is written waits for the next one: the file
// holds the offer as it stood when it was secured, never a part of an edit
// made meanwhile. Each text is made in the room of the one before; a
// shorter one leaves nothing of it behind.
TEST_F(AutosaveTest, TypingDuringAWriteStaysOutOfIt) {
  Edit("12,50");
  ASSERT_TRUE(save_.Secure(doc_, 1000));
  Edit("99,99");
  FirstPosition(doc_).GetMember("BEZ").SetValue(Variant(std::string(300000, 'x')));
  save_.Wait();
  EXPECT_EQ(SecuredPrice(), "12,50");
  ASSERT_TRUE(save_.Secure(doc_, 1001, true));
  save_.Wait();
  EXPECT_EQ(SecuredPrice(), "99,99");
  const auto longer = std::filesystem::file_size(save_.Path());
  FirstPosition(doc_).GetMember("BEZ").SetValue(Variant("kurz"));
  ASSERT_TRUE(save_.Secure(doc_, 1002, true));
  save_.Wait();
  EXPECT_EQ(std::filesystem::file_size(save_.Path()), longer - 300000 + 4);
  EXPECT_EQ(SecuredPrice(), "99,99");
}

// A write that fails is reported in German by Wait (and by the next Secure
// when nobody waited); the file written before stays, and once the cause is
// gone the next write holds the offer.
TEST_F(AutosaveTest, AFailedWriteIsReportedAndTheNextOneWorks) {
  Edit("12,50");
  ASSERT_TRUE(save_.Secure(doc_, 1000));
  save_.Wait();
  const std::string path = save_.Path();
  const std::string moved = path + ".frueher";
  std::filesystem::rename(path, moved);
  std::filesystem::create_directory(path);  // nothing can replace it
  Edit("13,75");
  ASSERT_TRUE(save_.Secure(doc_, 1001, true));
  try {
    save_.Wait();
    ADD_FAILURE() << "the failed write was not reported";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(Utf8ToCp1252(path)), std::string::npos) << e.what();
  }
  ASSERT_TRUE(save_.Secure(doc_, 1002, true));
  EXPECT_THROW(
      {
        while (!save_.Secure(doc_, 1003, true)) std::this_thread::yield();
      },
      std::runtime_error);
  std::filesystem::remove(path);
  ASSERT_TRUE(save_.Secure(doc_, 1004, true));
  save_.Wait();
  EXPECT_EQ(SecuredPrice(), "13,75");
}

TEST_F(AutosaveTest, ZeroTurnsItOff) {
  save_.SetInterval(0);
  Edit("1,00");
  EXPECT_FALSE(save_.Secure(doc_, 1000, true));
  EXPECT_EQ(save_.Path(), "");
}

}  // namespace
