#include "ui/totals_panel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <exception>

#include "document/element_values.h"
#include "document/entry_questions.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "ui/qstring_codec.h"
#include "util/format_ex.h"
#include "util/message_boxes.h"
#include "util/trim.h"

namespace {

// "100,00": the highest rate with its two decimals.
constexpr int kVatMaxLength = 6;

QString Money(double value) { return FromCp1252(FormatEx("%.2n", {Variant(value)})); }

QLabel* ValueLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return label;
}

}  // namespace

TotalsPanel::TotalsPanel(KsLyxObj& document, QWidget* parent)
    : QWidget(parent), document_(&document) {
  // 185 pixels hold the sums of most offers; a wider sum widens the panel
  // rather than being cut.
  setMinimumWidth(kWidth);
  setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
  lblSumme = ValueLabel("lblSumme", this);
  lblMWStAbs = ValueLabel("lblMWStAbs", this);
  lblBruttoSumme = ValueLabel("lblBruttoSumme", this);
  eMWSt = new QLineEdit(this);
  eMWSt->setObjectName(QStringLiteral("eMWSt"));
  eMWSt->setMaxLength(kVatMaxLength);
  eMWSt->setAlignment(Qt::AlignRight);
  eMWSt->installEventFilter(this);
  auto* vatCaption = new QLabel(QStringLiteral("&MWSt in %"), this);
  vatCaption->setBuddy(eMWSt);

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Gesamtsumme"), this), 0, 0);
  layout->addWidget(lblSumme, 0, 1);
  layout->addWidget(vatCaption, 1, 0);
  layout->addWidget(eMWSt, 1, 1);
  layout->addWidget(new QLabel(QStringLiteral("Mehrwertsteuer"), this), 2, 0);
  layout->addWidget(lblMWStAbs, 2, 1);
  layout->addWidget(new QLabel(QStringLiteral("Bruttosumme"), this), 3, 0);
  layout->addWidget(lblBruttoSumme, 3, 1);
  layout->setRowStretch(4, 1);
}

void TotalsPanel::ShowTotals() {
  if (!document_->LvInfo) {
    for (QLabel* label : {lblSumme, lblMWStAbs, lblBruttoSumme}) label->clear();
    eMWSt->clear();
    return;
  }
  const KsGAEBObj& info = *document_->LvInfo;
  lblSumme->setText(Money(NumberValue(info, "SUMME")));
  eMWSt->setText(Money(NumberValue(info, "UST")));
  lblMWStAbs->setText(Money(VatAmount(info)));
  lblBruttoSumme->setText(Money(NumberValue(info, "SUMMEBRUTTO")));
}

void TotalsPanel::ApplyVat() {
  if (!eMWSt->isModified()) return;
  eMWSt->setModified(false);
  if (!document_->Lv || !document_->LvInfo) return;
  const std::string text = Trim(ToCp1252(eMWSt->text()));
  const std::string question = VatRateQuestion(text);
  if (question.empty() || MessageBoxes().AskYesNo(question)) {
    document_->NoteEdit(*document_->LvInfo);
    try {
      SetVatRate(*document_->Lv, text);
    } catch (const std::exception& error) {
      MessageBoxes().ShowError(error.what());
    }
  }
  ShowTotals();
  emit VatChanged();
}

bool TotalsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == eMWSt) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ApplyVat();
        emit VatEntered();
        return true;
      }
    } else if (event->type() == QEvent::FocusOut) {
      ApplyVat();
    }
  }
  return QWidget::eventFilter(watched, event);
}
