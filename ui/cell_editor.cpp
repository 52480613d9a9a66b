#include "ui/cell_editor.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

#include "document/cell_text.h"
#include "ui/qstring_codec.h"

std::optional<TGridMove> GridMoveForKey(const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers();
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return mods & Qt::ShiftModifier ? TGridMove::PreviousRow : TGridMove::NextEntry;
    case Qt::Key_Down:
      if (mods & Qt::AltModifier) return std::nullopt;
      return TGridMove::NextRow;
    case Qt::Key_Up:
      return TGridMove::PreviousRow;
    case Qt::Key_PageDown:
      return TGridMove::PageDown;
    case Qt::Key_PageUp:
      return TGridMove::PageUp;
    case Qt::Key_End:
      return TGridMove::LastRow;
    case Qt::Key_Home:
      return TGridMove::FirstRow;
    case Qt::Key_Right:
      return TGridMove::NextColumn;
    case Qt::Key_Left:
      return TGridMove::PreviousColumn;
    default:
      return std::nullopt;
  }
}

std::optional<TGridMove> TabMove(const QKeyEvent& event) {
  if (event.modifiers() & Qt::AltModifier) return std::nullopt;
  if (event.key() == Qt::Key_Backtab) return TGridMove::PreviousCell;
  if (event.key() != Qt::Key_Tab) return std::nullopt;
  return event.modifiers() & Qt::ShiftModifier ? TGridMove::PreviousCell : TGridMove::NextCell;
}

std::optional<bool> EmptyEpKey(const QKeyEvent& event) {
  if ((event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier)) !=
      Qt::ControlModifier)
    return std::nullopt;
  if (event.key() == Qt::Key_N) return true;
  if (event.key() == Qt::Key_L) return false;
  return std::nullopt;
}

namespace {
bool IsCancelKey(const QKeyEvent& event) {
  return event.key() == Qt::Key_Escape && event.modifiers() == Qt::NoModifier;
}

// The line edit takes some Ctrl keys for itself (Ctrl+E: to the end of the
// line); a key that is a command of the window goes to the command.
bool IsWindowCommand(const QWidget& editor, const QKeyEvent& event) {
  const QKeySequence typed(event.keyCombination());
  for (const QAction* action : editor.window()->findChildren<QAction*>())
    if (action->isEnabled() && !action->shortcut().isEmpty() && action->shortcut() == typed)
      return true;
  return false;
}
}  // namespace

CellEditor::CellEditor(QWidget* parent) : QLineEdit(parent) {
  setObjectName(QStringLiteral("eEdit"));
  setFrame(false);
  QPalette colors = palette();
  colors.setColor(QPalette::Base, colors.color(QPalette::ToolTipBase));
  colors.setColor(QPalette::Text, colors.color(QPalette::ToolTipText));
  setPalette(colors);
  hide();
}

namespace {
// Keeps a number editor free of letters also where no key filter sees the
// text: pasting, and Alt+letter combinations the line edit inserts itself.
class NumberInputValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& text, int&) const override {
    return CellEditor::IsNumberInput(text) ? Acceptable : Invalid;
  }
};
}  // namespace

void CellEditor::SetNumeric(bool numeric) {
  numeric_ = numeric;
  if (!numberValidator_) numberValidator_ = new NumberInputValidator(this);
  setValidator(numeric ? numberValidator_ : nullptr);
}

bool CellEditor::IsNumberInput(const QString& text) { return IsNumberEntry(ToCp1252(text)); }

bool CellEditor::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Ctrl+N and Ctrl+L act on the grid while the editor has the focus, and
    // Esc cancels the entry rather than closing the window.
    const auto* key = static_cast<QKeyEvent*>(event);
    if (EmptyEpKey(*key) || IsCancelKey(*key)) {
      event->accept();
      return true;
    }
    if (IsWindowCommand(*this, *key)) {
      event->ignore();
      return true;
    }
  } else if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (const auto tab = TabMove(*key)) {
      if (key->modifiers() & Qt::ControlModifier)
        emit LeaveRequested(*tab == TGridMove::NextCell);
      else
        emit MoveRequested(*tab);
      return true;
    }
  }
  return QLineEdit::event(event);
}

void CellEditor::keyPressEvent(QKeyEvent* event) {
  if (const auto next = EmptyEpKey(*event)) {
    emit EmptyEpRequested(*next);
    return;
  }
  if (const auto move = GridMoveForKey(*event)) {
    emit MoveRequested(*move);
    return;
  }
  if (IsCancelKey(*event)) {
    emit EditCancelled();
    return;
  }
  if (event->key() == Qt::Key_Down) {  // Alt+Down: left to the window
    event->ignore();
    return;
  }
  const QString text = event->text();
  const bool typed = !text.isEmpty() && text.at(0).isPrint() &&
                     !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
  if (numeric_ && typed && !IsNumberInput(text)) return;
  QLineEdit::keyPressEvent(event);
}

void CellEditor::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Switching to another program or opening a menu or message box keeps the edit open.
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
    emit EditExit();
}
