#include "ui/grid_columns_editor.h"

#include <QDropEvent>
#include <QListWidget>
#include <QPushButton>
#include <QStringTokenizer>
#include <QVBoxLayout>
#include <set>

#include "ui/field_list.h"
#include "ui/qstring_codec.h"

namespace {
constexpr int kFieldRole = Qt::UserRole;
}

GridColumnsEditor::GridColumnsEditor(KsFieldList& fields, QWidget* parent)
    : QWidget(parent), fields_(fields) {
  btnStandard = new QPushButton(QStringLiteral("Standard"), this);
  btnStandard->setObjectName(QStringLiteral("btnStandard"));
  lGridFields = new QListWidget(this);
  lGridFields->setObjectName(QStringLiteral("lGridFields"));
  lGridFields->setSelectionMode(QAbstractItemView::SingleSelection);
  lGridFields->setDragDropMode(QAbstractItemView::InternalMove);
  lGridFields->setDefaultDropAction(Qt::MoveAction);
  lGridFields->viewport()->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(btnStandard, 0, Qt::AlignLeft);
  layout->addWidget(lGridFields, 1);
  connect(btnStandard, &QPushButton::clicked, this, &GridColumnsEditor::FillColumnList);

  FillColumnList();
}

GridColumnsEditor::~GridColumnsEditor() = default;

void GridColumnsEditor::AddItem(const KsField& field, bool checked) {
  auto* item = new QListWidgetItem(FromCp1252(field.ListText()));
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemIsDragEnabled;
  if (field.Flags & KsField::Available) flags |= Qt::ItemIsEnabled;
  item->setFlags(flags);
  item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  item->setData(kFieldRole, QVariant::fromValue(static_cast<const void*>(&field)));
  lGridFields->addItem(item);
}

void GridColumnsEditor::FillColumnList() {
  lGridFields->clear();
  for (int i = 0; i < fields_.Count(); ++i) {
    const KsField& field = fields_.Items(i);
    AddItem(field, field.Flags & KsField::ShownByDefault);
  }
}

const KsField* GridColumnsEditor::ItemField(int index) const {
  const QListWidgetItem* item = lGridFields->item(index);
  return item ? static_cast<const KsField*>(item->data(kFieldRole).value<const void*>()) : nullptr;
}

std::vector<const KsField*> GridColumnsEditor::ShownColumns() const {
  std::vector<const KsField*> shown;
  for (int i = 0; i < lGridFields->count(); ++i) {
    const QListWidgetItem* item = lGridFields->item(i);
    if (item->checkState() == Qt::Checked && (item->flags() & Qt::ItemIsEnabled))
      shown.push_back(ItemField(i));
  }
  return shown;
}

// The catalogue keeps the flag even while the column is not in the list, so
// "Standard" brings it back in the right state.
void GridColumnsEditor::SetAvailable(const QString& name, bool available) {
  KsField* field = fields_.Find(ToCp1252(name));
  if (!field) return;
  if (available)
    field->Flags |= KsField::Available;
  else
    field->Flags &= ~KsField::Available;
  for (int i = 0; i < lGridFields->count(); ++i) {
    if (ItemField(i) != field) continue;
    QListWidgetItem* item = lGridFields->item(i);
    item->setFlags(available ? item->flags() | Qt::ItemIsEnabled
                             : item->flags() & ~Qt::ItemIsEnabled);
  }
}

QString GridColumnsEditor::OptText() const {
  QString text;
  for (int i = 0; i < lGridFields->count(); ++i) {
    text += lGridFields->item(i)->checkState() == Qt::Checked ? QStringLiteral("1-")
                                                              : QStringLiteral("0-");
    text += FromCp1252(ItemField(i)->Name()) + QLatin1Char(';');
  }
  return text;
}

// A column named twice stays where it was named first, so the list never
// holds more items than the catalogue has columns, whatever the text holds.
void GridColumnsEditor::ApplyOptText(const QString& text) {
  if (text.isEmpty()) return;
  lGridFields->clear();
  std::set<const KsField*> added;
  for (const QStringView line : QStringTokenizer(text, QLatin1Char(';'))) {
    const KsField* field = fields_.Find(ToCp1252(line.mid(2).toString()));
    if (field && added.insert(field).second) AddItem(*field, line.startsWith(QLatin1Char('1')));
  }
}

int GridColumnsEditor::ItemCount() const { return lGridFields->count(); }

void GridColumnsEditor::MoveItem(int from, int to) {
  const int count = lGridFields->count();
  if (from == to || from < 0 || to < 0 || from >= count || to >= count) return;
  QListWidgetItem* item = lGridFields->takeItem(from);
  lGridFields->insertItem(to, item);
  lGridFields->setCurrentItem(item);
}

// Drops are handled here so an item lands exactly on the place of the item it
// was dropped on; drags from anywhere but the list itself are refused.
bool GridColumnsEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched != lGridFields->viewport()) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
      if (static_cast<QDropEvent*>(event)->source() != lGridFields) {
        event->ignore();
        return true;
      }
      return false;
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      if (drop->source() == lGridFields) {
        const QListWidgetItem* target = lGridFields->itemAt(drop->position().toPoint());
        MoveItem(lGridFields->currentRow(),
                 target ? lGridFields->row(target) : lGridFields->count() - 1);
        // The item is already in place: the drag source must not remove anything.
        drop->setDropAction(Qt::IgnoreAction);
        drop->accept();
      } else {
        drop->ignore();
      }
      return true;
    }
    default:
      return false;
  }
}
