#pragma once

#include <QDialog>

class QTextEdit;

// The help window with the built-in user guide; shown modally from "Hilfe".
class TFormHelp : public QDialog {
  Q_OBJECT

 public:
  explicit TFormHelp(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTextEdit* reLTxt;
};
