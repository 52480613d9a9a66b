#include "util/message_boxes.h"

#include <iostream>

#include "util/codec.h"

namespace {

// Without a window there is nobody to answer, so questions get the safe No.
class StderrMessageBoxes : public MessageBoxService {
 public:
  void ShowMessage(const std::string& text) override { Write(text); }
  bool AskYesNo(const std::string& text) override {
    Write(text);
    return false;
  }
  void ShowError(const std::string& text) override { Write(text); }
  void ShowWarning(const std::string& text) override { Write(text); }

 private:
  static void Write(const std::string& text) { std::cerr << Cp1252ToUtf8(text) << std::endl; }
};

StderrMessageBoxes& DefaultBoxes() {
  static StderrMessageBoxes boxes;
  return boxes;
}

MessageBoxService*& Installed() {
  static MessageBoxService* boxes = nullptr;
  return boxes;
}

}  // namespace

MessageBoxService& MessageBoxes() {
  MessageBoxService* boxes = Installed();
  return boxes ? *boxes : DefaultBoxes();
}

void SetMessageBoxes(MessageBoxService* boxes) { Installed() = boxes; }
