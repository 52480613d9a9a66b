#include "ui/frozen_column.h"

#include <QHeaderView>
#include <QScrollBar>

FrozenColumn::FrozenColumn(QTableView& table) : QTableView(&table), table_(table) {
  setObjectName(QStringLiteral("frozenColumn"));
  setModel(table.model());
  setItemDelegate(table.itemDelegate());
  setSelectionModel(table.selectionModel());
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFrameShape(table.frameShape());
  setPalette(table.palette());
  setFont(table.font());
  setWordWrap(false);
  setVerticalScrollMode(table.verticalScrollMode());
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(table.verticalHeader()->minimumSectionSize());
  verticalHeader()->setDefaultSectionSize(table.verticalHeader()->defaultSectionSize());
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  setCornerButtonEnabled(false);
  hide();

  connect(table.verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(),
          &QScrollBar::setValue);
  connect(table.horizontalScrollBar(), &QScrollBar::valueChanged, this, &FrozenColumn::Follow);
  connect(table.horizontalHeader(), &QHeaderView::sectionResized, this, &FrozenColumn::Follow);
  connect(table.model(), &QAbstractItemModel::modelReset, this, &FrozenColumn::Follow);
  connect(table.model(), &QAbstractItemModel::layoutChanged, this, &FrozenColumn::Follow);
}

void FrozenColumn::SetFrozen(bool frozen) {
  frozen_ = frozen;
  Follow();
}

void FrozenColumn::Follow() {
  const int columns = model()->columnCount();
  const bool inSight = table_.horizontalScrollBar()->value() == 0;
  if (!frozen_ || columns == 0 || inSight) {
    hide();
    return;
  }
  for (int column = 1; column < columns; ++column) setColumnHidden(column, true);
  setColumnHidden(0, false);
  const int width = table_.columnWidth(0);  // rows all have the table's default height
  setColumnWidth(0, width);
  horizontalHeader()->setFixedHeight(table_.horizontalHeader()->height());
  const int left = table_.frameWidth() +
                   (table_.verticalHeader()->isVisible() ? table_.verticalHeader()->width() : 0);
  setGeometry(left, table_.frameWidth(), width + frameWidth() * 2,
              table_.viewport()->height() + table_.horizontalHeader()->height());
  verticalScrollBar()->setValue(table_.verticalScrollBar()->value());
  show();
  raise();
}
