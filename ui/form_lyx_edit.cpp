#include <QAction>
#include <QMenu>
#include <QTabWidget>
#include <algorithm>
#include <vector>

#include "document/lyx_obj.h"
#include "document/offer_search.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "ui/find_bar.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/qstring_codec.h"
#include "ui/tit_pos_page.h"

namespace {

QAction* EditAction(QObject* owner, const char* name, const QString& caption,
                    const QList<QKeySequence>& keys) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcuts(keys);
  action->setToolTip(caption + QStringLiteral(" (") + keys.value(0).toString() +
                     QStringLiteral(")"));
  return action;
}

// The element the grid's current row shows; nullptr without one.
KsGAEBObj* CurrentRowElement(const PriceGrid& grid) {
  const int row = grid.CurrentRow();
  return row >= 0 ? grid.Model().Element(row) : nullptr;
}

}  // namespace

void TFormLyx::CreateEditActions(QMenu& edit) {
  aUndo = EditAction(this, "aUndo", QStringLiteral("R\u00FCckg\u00E4ngig"),
                     {QKeySequence(QStringLiteral("Ctrl+Z"))});
  connect(aUndo, &QAction::triggered, this, [this] { TakeBackEntry(true); });
  aRedo = EditAction(
      this, "aRedo", QStringLiteral("Wiederherstellen"),
      {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
  connect(aRedo, &QAction::triggered, this, [this] { TakeBackEntry(false); });
  aFind = EditAction(this, "aFind", QStringLiteral("Suchen ..."),
                     {QKeySequence(QStringLiteral("Ctrl+F"))});
  connect(aFind, &QAction::triggered, this, [this] {
    if (document_->Loaded()) findBar_->Open();
  });
  aFindNext = EditAction(this, "aFindNext", QStringLiteral("Weitersuchen"), {Qt::Key_F3});
  connect(aFindNext, &QAction::triggered, this, [this] { FindHit(true); });
  aFindPrevious = EditAction(this, "aFindPrevious", QStringLiteral("R\u00FCckw\u00E4rts suchen"),
                             {QKeySequence(QStringLiteral("Shift+F3"))});
  connect(aFindPrevious, &QAction::triggered, this, [this] { FindHit(false); });

  QAction* first = edit.actions().value(0);
  edit.insertActions(first, {aUndo, aRedo});
  edit.insertSeparator(first);
  edit.insertActions(first, {aFind, aFindNext, aFindPrevious});
  edit.insertSeparator(first);

  findBar_ = new FindBar;
  connect(findBar_, &FindBar::FindRequested, this, &TFormLyx::FindHit);
  connect(findBar_, &FindBar::Closed, this, [this] { tsTitPos->Grid().setFocus(); });
  UpdateEditActions();
}

void TFormLyx::EntryMade() {
  document_->EntryDone();
  UpdateEditActions();
  UpdateTitle();
}

void TFormLyx::UpdateEditActions() {
  aUndo->setEnabled(document_->CanUndo());
  aRedo->setEnabled(document_->CanRedo());
}

void TFormLyx::TakeBackEntry(bool undo) {
  if (undo && tsTitPos->Grid().DropPendingEntry()) return;
  CommitEdits();
  const std::vector<KsGAEBObj*> changed = undo ? document_->Undo() : document_->Redo();
  UpdateEditActions();
  if (changed.empty()) return;
  infoPages_->Fill();
  infoPages_->SetBidderValues(document_->BidderData());
  const auto position = std::ranges::find_if(changed, IsPositionRow);
  if (position != changed.end()) {
    ActivatePage(tsTitPos);
    tsTitPos->ShowPosition(*position);
  }
  tsTitPos->Grid().viewport()->update();
  UpdateTitle();
}

void TFormLyx::FindHit(bool forward) {
  if (!document_->Loaded()) return;
  const QString text = findBar_->Text().trimmed();
  if (text.isEmpty()) {
    findBar_->Open();
    return;
  }
  if (!search_) search_ = std::make_unique<OfferSearch>(*document_);
  PriceGrid& grid = tsTitPos->Grid();
  KsGAEBObj* current = pc->currentWidget() == tsTitPos ? CurrentRowElement(grid) : nullptr;
  const KsGAEBObj* from = !current || current == hitRow_ ? lastHit_ : current;
  const std::string query = ToCp1252(text);
  const OfferSearch::Hit hit = search_->Find(query, from, forward);
  if (!hit.element) {
    findBar_->SetResult(QStringLiteral("\u201E%1\u201C wurde nicht gefunden.").arg(text));
    return;
  }
  lastHit_ = hit.element;
  ActivatePage(tsTitPos);
  tsTitPos->ShowHit(hit.element, text.section(QLatin1Char(' '), 0, 0, QString::SectionSkipEmpty));
  hitRow_ = CurrentRowElement(grid);
  findBar_->SetResult(QStringLiteral("%1: Treffer %2 von %3")
                          .arg(FromCp1252(hit.element->Text("OZ")))
                          .arg(hit.number)
                          .arg(hit.count));
}
