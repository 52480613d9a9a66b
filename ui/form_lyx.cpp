#include "ui/form_lyx.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QShowEvent>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "document/lyx_obj.h"
#include "document/offer_check.h"
#include "document/offer_search.h"
#include "gaeb/gaeb_obj.h"
#include "ui/action_icons.h"
#include "ui/archive_options.h"
#include "ui/archive_panel.h"
#include "ui/center_on_screen.h"
#include "ui/contact_panel.h"
#include "ui/field_list.h"
#include "ui/find_bar.h"
#include "ui/grid_columns_editor.h"
#include "ui/help_form.h"
#include "ui/info_dialog.h"
#include "ui/info_pages.h"
#include "ui/lyx_observer_form.h"
#include "ui/options_page.h"
#include "ui/print_command.h"
#include "ui/print_preview.h"
#include "ui/recent_files.h"
#include "ui/send_icon.h"
#include "ui/start_page.h"
#include "ui/tit_pos_page.h"

namespace {

const int kHintDesignHeight = 38;
const int kTreeWidth = 185;

QAction* NewAction(QObject* owner, const char* name, const QString& caption, const QString& hint,
                   const QKeySequence& key = {}) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setToolTip(hint.isEmpty() ? caption : hint);
  action->setStatusTip(hint);
  action->setShortcut(key);
  return action;
}

}  // namespace

TFormLyx::TFormLyx(SettingsStore& settings, WindowDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent),
      settings_(settings),
      dialogs_(dialogs),
      document_(std::make_unique<KsLyxObj>()),
      observer_(std::make_unique<KsLyxObserverForm>(*this)),
      fields_(std::make_unique<KsFieldList>()),
      printTarget_(std::make_unique<QtPrintTarget>(dialogs, this)),
      hintHeight_(kHintDesignHeight) {
  setObjectName(QStringLiteral("FormLyx"));
  setWindowTitle(QStringLiteral("Tarvo Rudarur: Bieter - Preiserfassung"));
  document_->AddObserver(observer_.get());

  CreateActions();
  CreateMenus();
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(CreateTopBar());
  layout->addWidget(findBar_);
  layout->addWidget(CreateClient(), 1);
  startPage_ = new StartPage;
  connect(startPage_, &StartPage::OpenRequested, this, &TFormLyx::OpenFile);
  connect(startPage_, &StartPage::RecentFileChosen, this, &TFormLyx::RecentFileChosen);
  layout->addWidget(startPage_, 1);
  layout->addWidget(CreateHintPanel());
  setCentralWidget(central);

  tsTitPos->Clear();
  tsOpt->Columns->FillColumnList();
  resize(750, 550);
  CenterOnScreen(*this);
  ReadSettings(settings_, SettingsParts());
  ShowStartPage(true);
  setAcceptDrops(true);

  // Looks every second whether the interval has passed; writing costs only
  // while there are unsaved changes.
  auto* autosaveTimer = new QTimer(this);
  connect(autosaveTimer, &QTimer::timeout, this, [this] { SecureOffer(false); });
  autosaveTimer->start(1000);
  typingPause_ = new QTimer(this);
  typingPause_->setSingleShot(true);
  typingPause_->setInterval(kTypingPauseMs);
  connect(typingPause_, &QTimer::timeout, this, [this] { SecureOffer(true); });
  searchPreparation_ = new QTimer(this);
  connect(searchPreparation_, &QTimer::timeout, this, [this] {
    if (!search_ || search_->PrepareSome(kSearchSlice)) searchPreparation_->stop();
  });
}

// The pages refer to the document and the column list, so they go first.
TFormLyx::~TFormLyx() {
  document_->RemoveObserver(observer_.get());
  delete takeCentralWidget();
}

void TFormLyx::CreateActions() {
  aLoad = NewAction(this, "aLoad", QStringLiteral("\u00D6ffnen"),
                    QStringLiteral("Datei \u00F6ffnen"), Qt::Key_F4);
  aLoad->setIcon(ActionIcon(TActionIcon::Open));
  connect(aLoad, &QAction::triggered, this, &TFormLyx::OpenFile);

  aSave = NewAction(this, "aSave", QStringLiteral("Speichern"), QStringLiteral("Datei speichern"),
                    Qt::Key_F12);
  aSave->setIcon(ActionIcon(TActionIcon::Save));
  connect(aSave, &QAction::triggered, this, &TFormLyx::SaveFile);

  aPrint =
      NewAction(this, "aPrint", QStringLiteral("Drucken"), QStringLiteral("Drucken"), Qt::Key_F9);
  aPrint->setIcon(ActionIcon(TActionIcon::Print));
  connect(aPrint, &QAction::triggered, this, &TFormLyx::aPrintExecute);

  aPreview = NewAction(this, "aPreview", QStringLiteral("Druckvorschau ..."),
                       QStringLiteral("Druckvorschau"), QKeySequence(QStringLiteral("Shift+F9")));
  connect(aPreview, &QAction::triggered, this, [this] {
    CommitEdits();
    PreviewOfferCommand(*document_, tsOpt->cboxPrintLTxt->isChecked(), this);
  });

  aSend = NewAction(this, "aSend", QStringLiteral("E-Mail senden"),
                    QStringLiteral("Als E-Mail versenden"), QKeySequence(QStringLiteral("Ctrl+E")));
  aSend->setIcon(MailIcon());
  connect(aSend, &QAction::triggered, this, &TFormLyx::aSendExecute);

  aToogleOpt = NewAction(this, "aToogleOpt", QStringLiteral("Optionen anzeigen"),
                         QStringLiteral("Optionen anzeigen"));
  connect(aToogleOpt, &QAction::triggered, this, [this] { pc->setCurrentWidget(tsOpt); });

  // The menu shows the previous empty price as the "last" one.
  aLastEmpEP =
      NewAction(this, "aLastEmpEP", QStringLiteral("letzter leerer EP"),
                QStringLiteral("letzter leerer EP"), QKeySequence(QStringLiteral("Ctrl+L")));
  aLastEmpEP->setIcon(ActionIcon(TActionIcon::PreviousEmpty));
  connect(aLastEmpEP, &QAction::triggered, this, [this] { tsTitPos->PreviousEmptyEP(); });

  aNextEmpEP =
      NewAction(this, "aNextEmpEP", QStringLiteral("n\u00E4chster leerer EP"),
                QStringLiteral("n\u00E4chster leerer EP"), QKeySequence(QStringLiteral("Ctrl+N")));
  aNextEmpEP->setIcon(ActionIcon(TActionIcon::NextEmpty));
  connect(aNextEmpEP, &QAction::triggered, this, [this] { tsTitPos->NextEmptyEP(); });

  aHelp = NewAction(this, "aHelp", QStringLiteral("Hilfe"), QStringLiteral("Hilfe"), Qt::Key_F1);
  aHelp->setIcon(ActionIcon(TActionIcon::Help));
  connect(aHelp, &QAction::triggered, this, [this] { TFormHelp(this).exec(); });

  aInfo = NewAction(this, "aInfo", QStringLiteral("Info"), QString());
  connect(aInfo, &QAction::triggered, this, [this] { TDlgInfoLyx(this).exec(); });

  aTakeOver = NewAction(this, "aTakeOver", QStringLiteral("Preise \u00FCbernehmen ..."), QString());
  connect(aTakeOver, &QAction::triggered, this, &TFormLyx::TakeOverPrices);
  aArchivePrices = NewAction(this, "aArchivePrices",
                             QStringLiteral("Preise aus Archiv \u00FCbernehmen ..."), QString());
  connect(aArchivePrices, &QAction::triggered, this, &TFormLyx::TakeArchivePrices);

  mEnd = NewAction(this, "mEnd", QStringLiteral("Beenden"), QString(), Qt::Key_Escape);
  connect(mEnd, &QAction::triggered, this, &QWidget::close);
}

void TFormLyx::CreateMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
  file->setObjectName(QStringLiteral("mmDatei"));
  file->addAction(aLoad);
  file->addAction(aSave);
  file->addSeparator();
  file->addAction(aTakeOver);
  file->addAction(aArchivePrices);
  AddSheetMenu(*file);
  file->addSeparator();
  file->addAction(aPreview);
  file->addAction(aPrint);
  file->addSeparator();
  file->addAction(aSend);
  mmBreakBeforeFiles = file->addSeparator();
  mmBreakBeforeFiles->setObjectName(QStringLiteral("mmBreakBeforeFiles"));
  mmBreakAfterFiles = file->addSeparator();
  mmBreakAfterFiles->setObjectName(QStringLiteral("mmBreakAfterFiles"));
  file->addAction(mEnd);
  recentFiles_ = new RecentFileList(*file, *mmBreakAfterFiles, this);
  connect(recentFiles_, &RecentFileList::Chosen, this, &TFormLyx::RecentFileChosen);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&Ansicht"));
  view->setObjectName(QStringLiteral("mmAnsicht"));
  view->addAction(aToogleOpt);
  QMenu* fontSize = view->addMenu(QStringLiteral("Schriftgr\u00F6\u00DFe Langtext"));
  fontSize->setObjectName(QStringLiteral("mmFontSize"));
  mFontNormal = fontSize->addAction(QStringLiteral("normal"));
  mFontNormal->setObjectName(QStringLiteral("mFontNormal"));
  mFontLarge = fontSize->addAction(QStringLiteral("gro\u00DF"));
  mFontLarge->setObjectName(QStringLiteral("mFontLarge"));
  for (QAction* item : {mFontNormal, mFontLarge}) {
    item->setCheckable(true);
    connect(item, &QAction::triggered, this, [this, item] {
      (item == mFontNormal ? mFontLarge : mFontNormal)->setChecked(!item->isChecked());
      FontSizeClicked();
    });
  }
  mFontNormal->setChecked(true);

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Bearbeiten"));
  edit->setObjectName(QStringLiteral("mmBearbeiten"));
  edit->addAction(aLastEmpEP);
  edit->addAction(aNextEmpEP);
  CreateEditActions(*edit);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Hilfe"));
  help->setObjectName(QStringLiteral("mmHilfe"));
  help->addAction(aHelp);
  help->addSeparator();
  help->addAction(aInfo);
}

QWidget* TFormLyx::CreateTopBar() {
  auto* bar = new QWidget;
  bar->setObjectName(QStringLiteral("paTop"));
  bar->setMinimumHeight(34);
  paToolBar = new QToolBar(bar);
  paToolBar->setObjectName(QStringLiteral("paToolBar"));
  paToolBar->setIconSize(QSize(24, 24));
  paToolBar->setMovable(false);
  paToolBar->setFloatable(false);
  paToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  paToolBar->addAction(aLoad);
  paToolBar->addAction(aSave);
  paToolBar->addSeparator();
  paToolBar->addAction(aPrint);
  paToolBar->addAction(aSend);
  paToolBar->addSeparator();
  paToolBar->addAction(aLastEmpEP);
  paToolBar->addAction(aNextEmpEP);

  auto* layout = new QHBoxLayout(bar);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(paToolBar);
  layout->addStretch(1);
  auto* contact = new ContactPanel(bar);
  connect(contact, &ContactPanel::SupportClicked, this, &TFormLyx::SupportRequest);
  layout->addWidget(contact);
  return bar;
}

QWidget* TFormLyx::CreateClient() {
  splitter = new QSplitter(Qt::Horizontal);
  splitter->setObjectName(QStringLiteral("splitter"));
  splitter->setChildrenCollapsible(false);

  tv = new QTreeWidget(splitter);
  tv->setObjectName(QStringLiteral("tv"));
  tv->setHeaderHidden(true);
  // Long LV area names scroll rather than being cut off.
  tv->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tv->header()->setStretchLastSection(false);
  tv->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tv->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(tv, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { tvChange(current); });
  tv->installEventFilter(this);

  pc = new QTabWidget(splitter);
  pc->setObjectName(QStringLiteral("pc"));
  infoPages_ = new InfoPageSet(*document_, *pc);
  tsOpt = new OptionsPage(*fields_);
  tsTitPos = new TitPosPage(*document_, *fields_, *tsOpt->Columns);
  tsTitPos->Archive().SetLocationSource([this]() -> std::optional<ArchiveLocation> {
    if (!tsOpt->Archive->Enabled()) return std::nullopt;
    return tsOpt->Archive->Location();
  });
  tsTitPos->setObjectName(QStringLiteral("tsTitPos"));
  connect(tsTitPos, &TitPosPage::Edited, this, &TFormLyx::EntryMade);
  connect(tsTitPos, &TitPosPage::AreaShown, this, &TFormLyx::SelectTreeEntry);
  connect(infoPages_, &InfoPageSet::Edited, this, &TFormLyx::EntryMade);
  pc->addTab(tsTitPos, QStringLiteral("&Titel-Positionen"));
  pc->addTab(tsOpt, QStringLiteral("&Optionen"));
  connect(pc, &QTabWidget::currentChanged, this, &TFormLyx::PageChanged);

  splitter->setStretchFactor(0, 0);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({kTreeWidth, 1000});
  return splitter;
}

QWidget* TFormLyx::CreateHintPanel() {
  paHint = new QWidget;
  paHint->setObjectName(QStringLiteral("paHint"));
  paHint->setFixedHeight(kHintDesignHeight);
  lblProgBar = new QLabel(QStringLiteral("..."), paHint);
  lblProgBar->setObjectName(QStringLiteral("lblProgBar"));
  progBar = new QProgressBar(paHint);
  progBar->setObjectName(QStringLiteral("progBar"));
  progBar->setRange(0, 100);
  progBar->setValue(0);
  progBar->setTextVisible(false);
  progBar->setMaximumHeight(14);
  auto* layout = new QVBoxLayout(paHint);
  layout->setContentsMargins(4, 1, 4, 2);
  layout->setSpacing(1);
  layout->addWidget(lblProgBar);
  layout->addWidget(progBar);
  return paHint;
}

LyxSettingsParts TFormLyx::SettingsParts() {
  return {*tsOpt->Columns,
          *infoPages_,
          *tsOpt->cboxPrintLTxt,
          *tsOpt->cboxShowMapiClient,
          *mFontNormal,
          *mFontLarge,
          *tsTitPos,
          *recentFiles_,
          *document_,
          *tsOpt};
}

void TFormLyx::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous() && !shownOnce_) {
    shownOnce_ = true;
    FormShow();
  }
}

void TFormLyx::FormShow() {
  tsTitPos->BuildColumns();
  nodeCount_ = 0;
  if (paHint->height() > 0) hintHeight_ = paHint->height();
  tsTitPos->SetLongTextFontSize(mFontNormal->isChecked() ? 8 : 10);
}

// Every way of closing ends here: "Beenden", Esc and the window's close box.
void TFormLyx::closeEvent(QCloseEvent* event) {
  if (!MayDiscardChanges()) {
    event->ignore();
    return;
  }
  WriteSettings(settings_, SettingsParts());
  autosave_.Discard();
  QMainWindow::closeEvent(event);
}

void TFormLyx::FontSizeClicked() {
  tsTitPos->SetLongTextFontSize(mFontNormal->isChecked() ? 8 : 10);
}

void TFormLyx::CommitEdits() {
  tsTitPos->CommitEdit();
  infoPages_->CommitFocusedField();
}

void TFormLyx::aPrintExecute() {
  CommitEdits();
  if (!MayLetOfferGo(CheckOffer(*document_))) return;
  PrintOfferCommand(*document_, tsOpt->cboxPrintLTxt->isChecked(), *printTarget_);
}

void TFormLyx::SetHintHeight(int height) {
  paHint->setFixedHeight(height);
  paHint->setVisible(height > 0);
}

void TFormLyx::RepaintHint() {
  if (QLayout* layout = centralWidget()->layout()) layout->activate();
  paHint->repaint();
}

void TFormLyx::BeginProgress(const QString& text, int max, bool hideTree) {
  paToolBar->hide();
  if (hideTree) tv->hide();
  pc->hide();
  progBar->setRange(0, max);
  lblProgBar->setText(text);
  progBar->setValue(0);
  SetHintHeight(hintHeight_);
  RepaintHint();
}

void TFormLyx::SetProgressText(const QString& text) {
  lblProgBar->setText(text);
  RepaintHint();
}

void TFormLyx::SetProgress(int value) {
  // Reading reports every element; the bar is drawn again only when it has
  // moved by half a percent, so that drawing does not take longer than reading.
  const int64_t step = (static_cast<int64_t>(progBar->maximum()) - progBar->minimum()) / 200;
  if (value != progBar->maximum() && std::abs(int64_t{value} - progBar->value()) < step) return;
  progBar->setValue(value);
}

void TFormLyx::StepProgress() {
  progBar->setValue(std::min(progBar->value() + 1, progBar->maximum()));
}

void TFormLyx::EndProgress() {
  progBar->setValue(progBar->maximum());
  paToolBar->show();
  tv->show();
  pc->show();
  SetHintHeight(0);
  RepaintHint();
}

void TFormLyx::ShowTotals(const KsLyxObj& document) {
  if (&document != document_.get()) return;
  tsTitPos->ShowTotals();
  // Totals follow every entry: the offer is secured once the typing pauses.
  if (document_->Modified()) typingPause_->start();
}
