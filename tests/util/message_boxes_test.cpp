#include "util/message_boxes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

class RecordingBoxes : public MessageBoxService {
 public:
  MOCK_METHOD(void, ShowMessage, (const std::string&), (override));
  MOCK_METHOD(bool, AskYesNo, (const std::string&), (override));
  MOCK_METHOD(void, ShowError, (const std::string&), (override));
  MOCK_METHOD(void, ShowWarning, (const std::string&), (override));
};

}  // namespace

TEST(MessageBoxes, DefaultWritesUtf8ToStderrAndAnswersNo) {
  testing::internal::CaptureStderr();
  MessageBoxes().ShowMessage(
      "Gr\xF6\xDF"
      "e");
  const bool answer = MessageBoxes().AskYesNo("Speichern?");
  MessageBoxes().ShowError("\x80 fehlt");
  MessageBoxes().ShowWarning("Achtung");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Gr\xC3\xB6\xC3\x9F"
            "e\nSpeichern?\n\xE2\x82\xAC fehlt\nAchtung\n");
  EXPECT_FALSE(answer);
}

TEST(MessageBoxes, InstalledImplementationReceivesTheTexts) {
  RecordingBoxes boxes;
  EXPECT_CALL(boxes, AskYesNo("Weiter?")).WillOnce(testing::Return(true));
  EXPECT_CALL(boxes, ShowError("Fehler"));
  SetMessageBoxes(&boxes);
  EXPECT_TRUE(MessageBoxes().AskYesNo("Weiter?"));
  MessageBoxes().ShowError("Fehler");
  SetMessageBoxes(nullptr);
  EXPECT_NE(&MessageBoxes(), &boxes);
}
