#pragma once

#include <string>
#include <vector>

#include "util/message_boxes.h"

// Installs itself for its lifetime and records every text shown.
class RecordingMessageBoxes : public MessageBoxService {
 public:
  RecordingMessageBoxes() { SetMessageBoxes(this); }
  ~RecordingMessageBoxes() override { SetMessageBoxes(nullptr); }

  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string& text) override {
    questions.push_back(text);
    return answer;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void ShowWarning(const std::string& text) override { warnings.push_back(text); }

  std::vector<std::string> messages, questions, errors, warnings;
  bool answer = false;
};
