#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class KsFieldList;
class KsField;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// The check list `lGridFields` with the button "Standard": the user's column
// configuration (order, shown, available). Dragging an item onto another
// moves it there.
class GridColumnsEditor : public QWidget {
  Q_OBJECT
 public:
  explicit GridColumnsEditor(KsFieldList& fields, QWidget* parent = nullptr);
  ~GridColumnsEditor() override;

  // Default order and visibility from the catalogue ("Standard").
  void FillColumnList();
  // Columns to show: checked and enabled items in list order.
  std::vector<const KsField*> ShownColumns() const;
  // Sets "available" of a column and the enabled state of its item.
  void SetAvailable(const QString& name, bool available);
  // The settings text "1-OZ;0-BEDARF;..." and its reading (unknown names and
  // repeats skipped).
  QString OptText() const;
  void ApplyOptText(const QString& text);
  int ItemCount() const;
  // The column catalogue the list draws from.
  const KsFieldList& Fields() const { return fields_; }

  // Moves the item at `from` to the place of the item at `to` (what a drop does).
  void MoveItem(int from, int to);
  // The column an item stands for.
  const KsField* ItemField(int index) const;

 private:
  void AddItem(const KsField& field, bool checked);
  bool eventFilter(QObject* watched, QEvent* event) override;

  KsFieldList& fields_;
  QListWidget* lGridFields;
  QPushButton* btnStandard;
};
