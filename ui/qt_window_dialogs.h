#pragma once

#include "ui/window_dialogs.h"

// The real dialogs: Qt's file dialogs, the system's print dialog and a
// message box.
class QtWindowDialogs final : public WindowDialogs {
 public:
  QString OpenFileName(QWidget* parent) override;
  QString TenderFileName(QWidget* parent, const QString& directory) override;
  QString SaveFileName(QWidget* parent, const QString& directory,
                       const QString& proposedName) override;
  QString SaveOfferFileName(QWidget* parent, const QString& directory, const QString& proposedName,
                            bool& gaeb2000) override;
  bool ChoosePrinter(QWidget* parent, QPrinter& printer) override;
  QString OpenWorkbookName(QWidget* parent) override;
  QString SaveWorkbookName(QWidget* parent, const QString& proposedName) override;
  SaveChanges AskSaveChanges(QWidget* parent, const QString& question) override;
  bool GoOnDespite(QWidget* parent, const QString& findings) override;
  std::optional<QString> InputBox(QWidget* parent, const QString& title, const QString& prompt,
                                  const QString& value) override;

 private:
  QString openDirectory_;
};
