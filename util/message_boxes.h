#pragma once

#include <string>

// The layers below the window never show anything themselves; where the
// program must tell the user something at once, they go through this
// interface. The window installs message boxes, tests install a recorder.
class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  virtual void ShowMessage(const std::string& text) = 0;  // plain box, OK
  virtual bool AskYesNo(const std::string& text) = 0;     // warning, Yes and No
  virtual void ShowError(const std::string& text) = 0;    // error, OK
  virtual void ShowWarning(const std::string& text) = 0;  // warning, OK
};

// The installed implementation; without one, texts go to stderr and questions answer No.
MessageBoxService& MessageBoxes();
// Installs an implementation (not owned); nullptr restores the default.
void SetMessageBoxes(MessageBoxService* boxes);
