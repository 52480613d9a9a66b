#include "ui/totals_panel.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <exception>

#include "document/cell_text.h"
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
  lblMWStHinweis = new QLabel(
      QStringLiteral("Satz aus den Optionen: bitte pr\u00FCfen und mit Enter best\u00E4tigen"),
      this);
  lblMWStHinweis->setObjectName(QStringLiteral("lblMWStHinweis"));
  lblMWStHinweis->setWordWrap(true);
  lblMWStHinweis->setToolTip(
      QStringLiteral("Die Ausschreibung nennt keinen Mehrwertsteuersatz. Der Standardsatz aus "
                     "den Optionen gilt, bis Sie ihn best\u00E4tigen oder \u00E4ndern."));
  QPalette hintColors = lblMWStHinweis->palette();
  hintColors.setColor(QPalette::WindowText, Qt::darkRed);
  lblMWStHinweis->setPalette(hintColors);
  lblMWStHinweis->hide();

  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Gesamtsumme"), this), 0, 0);
  layout->addWidget(lblSumme, 0, 1);
  layout->addWidget(vatCaption, 1, 0);
  layout->addWidget(eMWSt, 1, 1);
  layout->addWidget(lblMWStHinweis, 2, 0, 1, 2);
  layout->addWidget(new QLabel(QStringLiteral("Mehrwertsteuer"), this), 3, 0);
  layout->addWidget(lblMWStAbs, 3, 1);
  layout->addWidget(new QLabel(QStringLiteral("Bruttosumme"), this), 4, 0);
  layout->addWidget(lblBruttoSumme, 4, 1);
  layout->setRowStretch(5, 1);
}

void TotalsPanel::ShowTotals() {
  if (!document_->LvInfo) {
    for (QLabel* label : {lblSumme, lblMWStAbs, lblBruttoSumme}) label->clear();
    eMWSt->clear();
    lblMWStHinweis->hide();
    return;
  }
  lblMWStHinweis->setVisible(document_->VatRateUnconfirmed());
  const KsGAEBObj& info = *document_->LvInfo;
  lblSumme->setText(Money(NumberValue(info, "SUMME")));
  eMWSt->setText(Money(NumberValue(info, "UST")));
  lblMWStAbs->setText(Money(VatAmount(info)));
  lblBruttoSumme->setText(Money(NumberValue(info, "SUMMEBRUTTO")));
}

void TotalsPanel::FocusVatRate() {
  eMWSt->setFocus(Qt::OtherFocusReason);
  eMWSt->selectAll();
}

bool TotalsPanel::ApplyVat(bool confirm) {
  if (!document_->Lv || !document_->LvInfo || (!confirm && !eMWSt->isModified())) return false;
  bool taken = confirm;
  if (eMWSt->isModified()) {
    eMWSt->setModified(false);
    const std::string text = Trim(ToCp1252(eMWSt->text()));
    try {
      // "19.000" is refused before it is asked about, as in the grid.
      RefuseAmbiguousNumber(text);
      const std::string question = VatRateQuestion(text);
      taken = question.empty() || MessageBoxes().AskYesNo(question);
      if (taken) {
        document_->NoteEdit(*document_->LvInfo);
        SetVatRate(*document_->Lv, text);
      }
    } catch (const std::exception& error) {
      MessageBoxes().ShowError(error.what());
      taken = false;
    }
  }
  if (taken) document_->ConfirmVatRate();
  ShowTotals();
  emit VatChanged();
  return taken;
}

bool TotalsPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == eMWSt) {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ApplyVat(true);
        emit VatEntered();
        return true;
      }
    } else if (event->type() == QEvent::FocusOut) {
      ApplyVat(false);
    }
  }
  return QWidget::eventFilter(watched, event);
}
