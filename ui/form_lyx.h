#pragma once

#include <QMainWindow>
#include <QString>
#include <QTimer>
#include <memory>
#include <vector>

#include "archive/archive_on_save.h"
#include "document/autosave.h"
#include "ui/lyx_settings.h"

struct OfferFinding;
class KsFieldList;
class KsGAEBObj;
class KsGAEBObjList;
class KsLyxObj;
class KsLyxObserverForm;
class PrintTarget;
class SettingsStore;
class WindowDialogs;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QProgressBar;
class QSplitter;
class QTabWidget;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class FindBar;
class InfoPageSet;
class OfferSearch;
class StartPage;
class OptionsPage;
class RecentFileList;
class TitPosPage;

// The main window: the tree of pages on the left, the six pages, the commands
// open, save as D84, print, empty-price navigation, options, help and info,
// and the progress panel at the bottom. It owns the offer document.
class TFormLyx : public QMainWindow {
  Q_OBJECT
 public:
  // The settings are read here and written when the window closes.
  TFormLyx(SettingsStore& settings, WindowDialogs& dialogs, QWidget* parent = nullptr);
  ~TFormLyx() override;

  KsLyxObj& Document() { return *document_; }
  RecentFileList& RecentFiles() { return *recentFiles_; }
  // LV areas and top-level positions counted while the tree was built: the
  // number of steps of writing.
  int NodeCount() const { return nodeCount_; }

  // aLoad: the open dialog, then LoadFile; unsaved changes are asked about first.
  void OpenFile();
  // Opens a tender and shows it. The file is read into a new document; the
  // shown one is replaced only when that succeeds, so a failed open leaves
  // the previous tender as it was. False when the file could not be opened.
  bool LoadFile(const QString& path);
  // Shows an offer restored from a recovery file (ui/recovery_question.h) as
  // unsaved, exactly as it was secured; the file `claim` holds is the one
  // secured to from now on, until the offer is saved or dropped.
  void ShowRestored(std::unique_ptr<KsLyxObj> offer, RecoveryClaim claim, const RecoveryHead& head);
  // aSave: checks the offer (MayLetOfferGo), then saves it as SaveOffer
  // does; true when it was written.
  bool SaveFile();
  // "Preise übernehmen ...": the prices of an offer chosen in the open dialog
  // entered into the open tender, all or none (document/price_takeover.h);
  // the user says whether prices entered before give way, the report says
  // what was taken and what stays open.
  void TakeOverPrices();
  // "Preise aus Archiv übernehmen ...": every position without a unit price
  // that the archive has a fitting price for gets the last one (or the
  // median, as chosen on the options page), shown first and entered as one
  // step.
  void TakeArchivePrices();
  // Unsaved changes are offered for saving ("Ja" saves as aSave does, "Nein"
  // drops them, "Abbrechen" keeps them); true when the caller may go on.
  bool MayDiscardChanges();
  // Writes the recovery file of unsaved changes when the interval set on the
  // options page has passed, or at once when `force`; a failure is shown
  // once per tender, so that typing goes on. True when written.
  bool SecureOffer(bool force);
  Autosave& AutoSave() { return autosave_; }
  // aPrint: the offer print on a printer or PDF file chosen in the print dialog.
  void aPrintExecute();
  // aSend: the offer as a D84 attachment to the client, by e-mail.
  void aSendExecute();
  // The support label of the contact panel: a request to the maker's support.
  void SupportRequest();

  // The progress panel while a file is read or written: it takes the place of
  // the toolbar and the pages, and of the tree too when hideTree is set. It is
  // painted at once, as nothing else paints until reading or writing ends.
  void BeginProgress(const QString& text, int max, bool hideTree);
  void SetProgressText(const QString& text);
  void SetProgress(int value);
  // One more step; beyond the maximum the bar stays full.
  void StepProgress();
  void EndProgress();
  // The totals panel, when document is the shown one (a file being opened
  // recalculates before the window shows it).
  void ShowTotals(const KsLyxObj& document);

  // Ctrl+Z / Ctrl+Y: the last entry of the offer taken back or made again
  // (an entry still being typed in the grid is dropped first), the totals
  // recomputed and the position shown.
  void TakeBackEntry(bool undo);
  // Ctrl+F opens the search line, F3 / Shift+F3 go to the next and previous
  // hit: the tree, the grid and the long text show it.
  void FindHit(bool forward);
  // Opens a file dropped on the window, after the unsaved-changes question.
  bool OpenDropped(const QString& path);

 protected:
  void showEvent(QShowEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  // Undo, redo and the search, with the search line.
  void CreateEditActions(QMenu& edit);
  // An entry went into the document: it becomes one step of the history.
  void EntryMade();
  void UpdateEditActions();
  // With no tender open the start page takes the place of the tree and pages.
  void ShowStartPage(bool shown);
  // Datei: Exportieren (XLSX, CSV) and the prices of a returned workbook.
  void AddSheetMenu(QMenu& file);
  void ExportSheet(bool csv);
  void TakeWorkbookPrices();
  QWidget* CreateTopBar();
  QWidget* CreateClient();
  QWidget* CreateHintPanel();
  LyxSettingsParts SettingsParts();
  // Makes `incoming` the shown document: the pages are bound to it and
  // filled, the old one goes.
  void TakeDocument(std::unique_ptr<KsLyxObj> incoming);

  // Saves the offer as D84 (X84) under a name chosen in the save dialog;
  // true when it was written.
  bool SaveOffer();
  // What is missing in the offer, asked about before it leaves: true when
  // there is nothing or the user goes on; otherwise the first finding is shown.
  bool MayLetOfferGo(const std::vector<OfferFinding>& findings);
  void GoToFinding(const OfferFinding& finding);
  // Before sending: "Vor dem Senden speichern?" while there are unsaved
  // changes; true when the mail may go (saved, or sent as shown).
  bool MaySendUnsaved();
  void FormShow();
  void BuildTree();
  QTreeWidgetItem* AddAreaEntries(QTreeWidgetItem* parent, const KsGAEBObjList* areas);
  void tvChange(QTreeWidgetItem* current);
  // Selects the tree entry of an area the page chose to show, without showing
  // it again.
  void SelectTreeEntry(KsGAEBObj* area);
  void ActivatePage(QWidget* page);
  void PageChanged();
  void RecentFileChosen(const QString& path);
  void FontSizeClicked();
  void CommitEdits();
  // Commands that need a tender say so when none is loaded (false then).
  bool TenderLoadedOrSaySo();
  // The file's name, "*" while the offer differs from it, and the program.
  void UpdateTitle();
  void SetHintHeight(int height);
  void RepaintHint();

  // After this long without an entry the offer is secured, whatever the interval.
  static constexpr int kTypingPauseMs = 3000;
  Autosave autosave_{60};
  QTimer* typingPause_ = nullptr;
  bool autosaveFailureShown_ = false;
  // Every save enters the offer's prices into the archive (Optionen).
  ArchiveOnSave archiveOnSave_;
  void EnterIntoArchive(const std::string& offerFile);
  SettingsStore& settings_;
  WindowDialogs& dialogs_;
  std::unique_ptr<KsLyxObj> document_;
  std::unique_ptr<KsLyxObserverForm> observer_;
  std::unique_ptr<KsFieldList> fields_;
  std::unique_ptr<PrintTarget> printTarget_;
  QString currentFile_;  // last opened or saved
  QString offerFile_;    // the offer last saved or opened, "" for a tender
  std::unique_ptr<OfferSearch> search_;
  // Prepares the search of an opened tender while the user does nothing, a
  // slice at a time, so that the first search of a large LV answers at once.
  QTimer* searchPreparation_ = nullptr;
  static constexpr size_t kSearchSlice = 1000;  // elements per slice
  KsGAEBObj* lastHit_ = nullptr;
  KsGAEBObj* hitRow_ = nullptr;  // the grid's row element right after the hit
  int nodeCount_ = 0;
  int hintHeight_ = 0;
  bool shownOnce_ = false;
  bool pageFromTree_ = false;

  QAction* aLoad = nullptr;
  QAction* aSave = nullptr;
  QAction* aTakeOver = nullptr;
  QAction* aArchivePrices = nullptr;
  QAction* aPrint = nullptr;
  QAction* aPreview = nullptr;
  QAction* aSend = nullptr;
  QAction* aToogleOpt = nullptr;
  QAction* aLastEmpEP = nullptr;
  QAction* aNextEmpEP = nullptr;
  QAction* aUndo = nullptr;
  QAction* aRedo = nullptr;
  QAction* aFind = nullptr;
  QAction* aFindNext = nullptr;
  QAction* aFindPrevious = nullptr;
  QAction* aHelp = nullptr;
  QAction* aInfo = nullptr;
  QAction* mEnd = nullptr;
  QAction* mmBreakBeforeFiles = nullptr;
  QAction* mmBreakAfterFiles = nullptr;
  QAction* mFontNormal = nullptr;
  QAction* mFontLarge = nullptr;

  QToolBar* paToolBar = nullptr;
  QTreeWidget* tv = nullptr;
  QSplitter* splitter = nullptr;
  QTabWidget* pc = nullptr;
  InfoPageSet* infoPages_ = nullptr;
  TitPosPage* tsTitPos = nullptr;
  OptionsPage* tsOpt = nullptr;
  QWidget* paHint = nullptr;
  QLabel* lblProgBar = nullptr;
  QProgressBar* progBar = nullptr;
  RecentFileList* recentFiles_ = nullptr;
  FindBar* findBar_ = nullptr;
  StartPage* startPage_ = nullptr;
};
