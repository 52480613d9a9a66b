#pragma once

#include "ui/window_dialogs.h"

// The real dialogs: Qt's file dialogs and the system's print dialog.
class KsQtWindowDialogs final : public KsWindowDialogs {
 public:
  QString OpenFileName(QWidget* parent) override;
  QString SaveFileName(QWidget* parent, const QString& directory,
                       const QString& proposedName) override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;

 private:
  QString openDirectory_;
};
