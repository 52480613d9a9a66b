#include "ui/find_bar.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

FindBar::FindBar(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("paFind"));
  auto* caption = new QLabel(QStringLiteral("Suchen:"), this);
  eFind = new QLineEdit(this);
  eFind->setObjectName(QStringLiteral("eFind"));
  eFind->setPlaceholderText(QStringLiteral("OZ oder Text, z. B. 03.0120 oder Bauzaun"));
  eFind->setClearButtonEnabled(true);
  eFind->installEventFilter(this);
  caption->setBuddy(eFind);
  auto* previous = new QToolButton(this);
  previous->setText(QStringLiteral("Zur\u00FCck"));
  previous->setToolTip(QStringLiteral("Vorheriger Treffer (Umschalt+F3)"));
  auto* next = new QToolButton(this);
  next->setText(QStringLiteral("Weiter"));
  next->setToolTip(QStringLiteral("N\u00E4chster Treffer (F3)"));
  auto* close = new QToolButton(this);
  close->setText(QStringLiteral("\u00D7"));
  close->setToolTip(QStringLiteral("Suche schlie\u00DFen (Esc)"));
  lblFindResult = new QLabel(this);
  lblFindResult->setObjectName(QStringLiteral("lblFindResult"));
  connect(previous, &QToolButton::clicked, this, [this] { emit FindRequested(false); });
  connect(next, &QToolButton::clicked, this, [this] { emit FindRequested(true); });
  connect(close, &QToolButton::clicked, this, [this] {
    hide();
    emit Closed();
  });

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(4, 2, 4, 2);
  layout->addWidget(caption);
  layout->addWidget(eFind, 1);
  layout->addWidget(previous);
  layout->addWidget(next);
  layout->addWidget(lblFindResult, 1);
  layout->addWidget(close);
  hide();
}

QString FindBar::Text() const { return eFind->text(); }

void FindBar::Open() {
  show();
  eFind->setFocus(Qt::ShortcutFocusReason);
  eFind->selectAll();
}

void FindBar::SetResult(const QString& text) { lblFindResult->setText(text); }

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
  // Esc closes the search, not the window.
  if (watched == eFind && event->type() == QEvent::ShortcutOverride &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    event->accept();
    return true;
  }
  if (watched == eFind && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      emit FindRequested(!(key->modifiers() & Qt::ShiftModifier));
      return true;
    }
    if (key->key() == Qt::Key_Escape) {
      hide();
      emit Closed();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
