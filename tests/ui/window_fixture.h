#pragma once

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QStringList>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include "tests/support/memory_settings_store.h"
#include "ui/form_lyx.h"
#include "ui/grid_columns_editor.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/tit_pos_page.h"
#include "ui/window_dialogs.h"

// The main window of the tests: its dialogs answered by a script, its
// settings in memory.

inline QString RealTender(const char* name) {
  return QStringLiteral(TARVO_TEST_DATA_DIR "/real/") + QString::fromLatin1(name);
}

// Answers the window's dialogs as a test script says and records what they were given.
class ScriptedDialogs : public WindowDialogs {
 public:
  QString OpenFileName(QWidget*) override {
    ++openCount;
    return openAnswer;
  }
  QString TenderFileName(QWidget*, const QString& directory) override {
    tenderDirectory = directory;
    ++tenderCount;
    return tenderAnswer;
  }
  QString SaveFileName(QWidget*, const QString& directory, const QString& proposedName) override {
    saveDirectory = directory;
    saveProposal = proposedName;
    ++saveCount;
    return saveAnswer;
  }
  // The offer of a GAEB 90 tender: the format chosen is saveGaeb2000.
  QString SaveOfferFileName(QWidget* parent, const QString& directory, const QString& proposedName,
                            bool& gaeb2000) override {
    ++offerSaveCount;
    gaeb2000 = saveGaeb2000;
    return SaveFileName(parent, directory, proposedName);
  }
  QString OpenWorkbookName(QWidget*) override { return workbookAnswer; }
  QString SaveWorkbookName(QWidget*, const QString& proposedName) override {
    workbookProposal = proposedName;
    return workbookAnswer;
  }
  // Prints to a PDF file instead of a printer; no file means the user cancels.
  bool ChoosePrinter(QWidget*, QPrinter& printer) override {
    jobTitle = printer.docName();
    ++printCount;
    if (pdfFile.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfFile);
    return true;
  }

  SaveChanges AskSaveChanges(QWidget*, const QString& question) override {
    savePrompts << question;
    return saveChangesAnswer;
  }
  bool GoOnDespite(QWidget*, const QString& findings) override {
    findingPrompts << findings;
    return goOnAnswer;
  }
  std::optional<QString> InputBox(QWidget*, const QString& title, const QString& prompt,
                                  const QString& value) override {
    inputPrompts << title + "|" + prompt + "|" + value;
    if (inputCancelled) return std::nullopt;
    return inputAnswer;
  }

  SaveChanges saveChangesAnswer = SaveChanges::Cancel;
  QStringList savePrompts;
  bool goOnAnswer = true;
  QStringList findingPrompts;
  QString inputAnswer;
  bool inputCancelled = false;
  QStringList inputPrompts;
  QString openAnswer, saveAnswer, pdfFile, tenderAnswer;
  QString saveDirectory, saveProposal, jobTitle, tenderDirectory;
  // The workbook chosen to export to or to take prices from, and the name proposed.
  QString workbookAnswer, workbookProposal;
  int openCount = 0, saveCount = 0, printCount = 0, offerSaveCount = 0, tenderCount = 0;
  bool saveGaeb2000 = false;
};

// A window with its own store and dialogs; closed (settings written) on request.
struct Window {
  explicit Window(MemorySettingsStore& settings) : form(settings, dialogs) {}

  template <class T>
  T* Find(const char* name) {
    T* child = form.findChild<T*>(QString::fromLatin1(name));
    if (!child) qWarning("no child %s", name);
    return child;
  }
  QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
  QString Value(const char* name) { return Find<QLabel>(name)->text(); }
  QTabWidget* Pages() { return Find<QTabWidget>("pc"); }
  GridColumnsEditor* Columns() { return form.findChild<GridColumnsEditor*>(); }
  TitPosPage* TitPos() { return Find<TitPosPage>("tsTitPos"); }
  QAction* Action(const char* name) { return Find<QAction>(name); }

  // Leaves a field as a Tab to the next control would.
  void Leave(const char* name) {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(Edit(name), &out);
  }
  void ShowPage(const char* name) { Pages()->setCurrentWidget(Find<QWidget>(name)); }

  PriceGrid& Grid() { return *Find<PriceGrid>("sg"); }
  // Types into a cell of the grid and ends the entry with Enter; the window
  // must be shown and active.
  void TypeIntoCell(int row, const char* column, const QString& text) {
    PriceGrid& grid = Grid();
    if (!grid.SelectCell(row, grid.Model().ColumnOf(column))) qWarning("cell not editable");
    QTest::keyClicks(&grid.Editor(), text);
    QTest::keyClick(&grid.Editor(), Qt::Key_Return);
  }
  void ShowActive() {
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form)) qWarning("window not active");
  }

  QStringList TopLevelEntries() {
    QStringList texts;
    auto* tree = Find<QTreeWidget>("tv");
    for (int i = 0; i < tree->topLevelItemCount(); ++i) texts << tree->topLevelItem(i)->text(0);
    return texts;
  }

  ScriptedDialogs dialogs;
  TFormLyx form;
};
