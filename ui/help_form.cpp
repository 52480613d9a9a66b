#include "ui/help_form.h"

#include <QPalette>
#include <QTextEdit>
#include <QVBoxLayout>

#include "ui/center_on_screen.h"
#include "ui/help_guide.h"

TFormHelp::TFormHelp(QWidget* parent) : QDialog(parent), reLTxt(new QTextEdit(this)) {
  setWindowTitle(QStringLiteral("Hilfe"));
  reLTxt->setObjectName(QStringLiteral("reLTxt"));
  reLTxt->setReadOnly(true);
  reLTxt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  reLTxt->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette palette = reLTxt->palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  reLTxt->setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(reLTxt);

  resize(800, 600);
  CenterOnScreen(*this);
}

// The guide is loaded afresh on every showing, replacing whatever the view held.
void TFormHelp::showEvent(QShowEvent* event) {
  reLTxt->clear();
  reLTxt->setHtml(HelpGuideHtml());
  QDialog::showEvent(event);
}
