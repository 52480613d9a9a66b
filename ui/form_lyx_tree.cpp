#include <QKeyEvent>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "ui/cell_editor.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/one_line.h"
#include "ui/options_page.h"
#include "ui/price_grid.h"
#include "ui/qstring_codec.h"
#include "ui/tit_pos_page.h"

namespace {

const QString kPrjInfoEntry = QStringLiteral("GAEB- / Projekt-Info");
const QString kVergabeInfoEntry = QStringLiteral("Vergabe-Info");
const QString kAgEntry = QStringLiteral("Auftraggeber");
const QString kAnEntry = QStringLiteral("Auftragnehmer");
const QString kOptEntry = QStringLiteral("Optionen");

KsGAEBObj* EntryElement(const QTreeWidgetItem& entry) {
  return static_cast<KsGAEBObj*>(entry.data(0, Qt::UserRole).value<void*>());
}

}  // namespace

// The fixed entries, the LV areas at every depth (positions get none) and
// "Optionen"; the first LV area is selected.
void TFormLyx::BuildTree() {
  nodeCount_ = 0;
  tv->clear();
  for (const QString& text : {kPrjInfoEntry, kVergabeInfoEntry, kAgEntry, kAnEntry})
    new QTreeWidgetItem(tv, {text});
  QTreeWidgetItem* first = AddAreaEntries(nullptr, document_->LvAreas);
  if (document_->Positions) nodeCount_ += document_->Positions->Count();
  new QTreeWidgetItem(tv, {kOptEntry});
  if (first) tv->setCurrentItem(first);
}

QTreeWidgetItem* TFormLyx::AddAreaEntries(QTreeWidgetItem* parent, const KsGAEBObjList* areas) {
  if (!areas) return nullptr;
  QTreeWidgetItem* first = nullptr;
  for (int i = 0; i < areas->Count(); ++i) {
    KsGAEBObj* area = areas->Element(i);
    auto* entry = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tv);
    const QString text = FromCp1252(area->Text("OZ") + " " + area->Text("BEZ"));
    entry->setText(0, OneLine(text));
    if (entry->text(0) != text) entry->setToolTip(0, text);
    entry->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(area)));
    ++nodeCount_;
    if (!first) first = entry;
    AddAreaEntries(entry, area->ChildList("LVBEREICH"));
  }
  return first;
}

void TFormLyx::tvChange(QTreeWidgetItem* current) {
  if (!current) return;
  const QString text = current->text(0);
  if (text == kPrjInfoEntry) {
    ActivatePage(infoPages_->tsGAEBPrjInfo);
  } else if (text == kVergabeInfoEntry) {
    ActivatePage(infoPages_->tsVergabeInfo);
  } else if (text == kAgEntry) {
    ActivatePage(infoPages_->tsAG);
  } else if (text == kAnEntry) {
    ActivatePage(infoPages_->tsAN);
  } else if (text == kOptEntry) {
    ActivatePage(tsOpt);
  } else {
    ActivatePage(tsTitPos);
    if (KsGAEBObj* element = EntryElement(*current)) tsTitPos->ShowArea(element);
  }
}

// A number typed in the tree while an area is shown is the price of the
// grid's current cell, as if the grid had the focus; other keys still move
// through the tree.
bool TFormLyx::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tv && event->type() == QEvent::KeyPress && pc->currentWidget() == tsTitPos) {
    const auto* key = static_cast<QKeyEvent*>(event);
    PriceGrid& grid = tsTitPos->Grid();
    if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && !key->text().isEmpty() &&
        CellEditor::IsNumberInput(key->text()) && grid.StartEntry(key->text()))
      return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TFormLyx::SelectTreeEntry(KsGAEBObj* area) {
  QTreeWidgetItem* entry = nullptr;
  for (QTreeWidgetItemIterator it(tv); *it && !entry; ++it)
    if (EntryElement(**it) == area) entry = *it;
  const QSignalBlocker quiet(tv);
  tv->setCurrentItem(entry);
  if (entry) tv->scrollToItem(entry);
}

// A page chosen in the tree skips the handling of choosing its tab.
void TFormLyx::ActivatePage(QWidget* page) {
  pageFromTree_ = true;
  pc->setCurrentWidget(page);
  pageFromTree_ = false;
}

// A page chosen by its tab selects its tree entry too; "Titel-Positionen"
// does so through the area it shows.
void TFormLyx::PageChanged() {
  if (pageFromTree_) return;
  QWidget* page = pc->currentWidget();
  if (page == tsTitPos) {
    tsTitPos->ActivateFromTab();
    return;
  }
  const std::pair<QWidget*, QString> entries[] = {{infoPages_->tsGAEBPrjInfo, kPrjInfoEntry},
                                                  {infoPages_->tsVergabeInfo, kVergabeInfoEntry},
                                                  {infoPages_->tsAG, kAgEntry},
                                                  {infoPages_->tsAN, kAnEntry},
                                                  {tsOpt, kOptEntry}};
  for (const auto& [entryPage, text] : entries) {
    if (entryPage != page) continue;
    const QList<QTreeWidgetItem*> found = tv->findItems(text, Qt::MatchExactly);
    const QSignalBlocker quiet(tv);
    if (!found.isEmpty()) tv->setCurrentItem(found.constFirst());
  }
}
