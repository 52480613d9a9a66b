#pragma once

#include "util/message_boxes.h"

// Message boxes of the window program, titled with the application's title
// and parented to the active window.
class QtMessageBoxes : public MessageBoxService {
 public:
  void ShowMessage(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  void ShowError(const std::string& text) override;
  void ShowWarning(const std::string& text) override;
};
