#include "ui/options_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_totals.h"
#include "ui/archive_options.h"
#include "ui/grid_columns_editor.h"
#include "ui/qstring_codec.h"
#include "util/format_ex.h"
#include "util/message_boxes.h"
#include "util/number_text.h"
#include "util/rounding.h"
#include "util/trim.h"

OptionsPage::OptionsPage(KsFieldList& fields, QWidget* parent)
    : QWidget(parent), defaultVatRate_(KsLyxObj::kDefaultVatRate) {
  setObjectName(QStringLiteral("tsOpt"));

  auto* grid = new QGroupBox(QStringLiteral("Anzeige Titel / Positionen"), this);
  grid->setObjectName(QStringLiteral("gbGridFields"));
  auto* explanation = new QLabel(
      QStringLiteral("Hier k\u00F6nnen Sie die Anzeige f\u00FCr die Titel-Positionen Seite "
                     "konfigurieren. Ein H\u00E4kchen vor einer Spalte blendet sie ein, ohne "
                     "H\u00E4kchen wird sie ausgeblendet. Die Reihenfolge der Spalten \u00E4ndern "
                     "Sie per Drag & Drop, indem Sie eine Spalte auf eine andere ziehen."),
      grid);
  explanation->setObjectName(QStringLiteral("lblGridFieldsHint"));
  explanation->setWordWrap(true);
  Columns = new GridColumnsEditor(fields, grid);
  auto* gridLayout = new QVBoxLayout(grid);
  gridLayout->addWidget(explanation);
  gridLayout->addWidget(Columns, 1);

  auto* other = new QGroupBox(QStringLiteral("Sonstiges"), this);
  other->setObjectName(QStringLiteral("gbSonstiges"));
  cboxPrintLTxt = new QCheckBox(QStringLiteral("Langtext drucken"), other);
  cboxPrintLTxt->setObjectName(QStringLiteral("cboxPrintLTxt"));
  cboxPrintLTxt->setChecked(false);
  cboxShowMapiClient =
      new QCheckBox(QStringLiteral("Nachricht anzeigen vor dem E-Mail Verschicken"), other);
  cboxShowMapiClient->setObjectName(QStringLiteral("cboxShowMapiClient"));
  cboxShowMapiClient->setChecked(true);
  eStdMWSt = new QLineEdit(other);
  eStdMWSt->setObjectName(QStringLiteral("eStdMWSt"));
  eStdMWSt->setMaxLength(6);
  eStdMWSt->setAlignment(Qt::AlignRight);
  eStdMWSt->setMaximumWidth(eStdMWSt->fontMetrics().horizontalAdvance(QStringLiteral("100,00")) +
                            16);
  eStdMWSt->setToolTip(
      QStringLiteral("Gilt f\u00FCr jede danach ge\u00F6ffnete Ausschreibung, die keinen "
                     "Mehrwertsteuersatz nennt"));
  connect(eStdMWSt, &QLineEdit::editingFinished, this, &OptionsPage::DefaultVatRateLeft);
  auto* vatCaption = new QLabel(QStringLiteral("Standard-MwSt-Satz in %"), other);
  vatCaption->setBuddy(eStdMWSt);
  auto* vatRow = new QHBoxLayout;
  vatRow->addWidget(vatCaption);
  vatRow->addWidget(eStdMWSt);
  vatRow->addStretch(1);
  eAutoSave = new QSpinBox(other);
  eAutoSave->setRange(0, 3600);
  eAutoSave->setValue(60);
  eAutoSave->setToolTip(
      QStringLiteral("Ungespeicherte \u00C4nderungen werden so oft f\u00FCr eine "
                     "Wiederherstellung nach einem Absturz gesichert; 0 = nie"));
  auto* autoSaveCaption = new QLabel(QStringLiteral("Automatisch sichern alle"), other);
  autoSaveCaption->setBuddy(eAutoSave);
  auto* autoSaveRow = new QHBoxLayout;
  autoSaveRow->addWidget(autoSaveCaption);
  autoSaveRow->addWidget(eAutoSave);
  autoSaveRow->addWidget(new QLabel(QStringLiteral("Sekunden"), other));
  autoSaveRow->addStretch(1);
  auto* otherLayout = new QVBoxLayout(other);
  otherLayout->addWidget(cboxPrintLTxt);
  otherLayout->addWidget(cboxShowMapiClient);
  otherLayout->addLayout(vatRow);
  otherLayout->addLayout(autoSaveRow);
  SetDefaultVatRate(QString::number(KsLyxObj::kDefaultVatRate));

  Archive = new ArchiveOptions(this);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid, 1);
  auto* lower = new QHBoxLayout;
  lower->addWidget(other, 1);
  lower->addWidget(Archive, 1);
  layout->addLayout(lower);
}

bool OptionsPage::SetDefaultVatRate(const QString& text) {
  double rate;
  const bool valid =
      TryReadNumber(Trim(ToCp1252(text)), rate) && rate >= 0 && rate <= kVatRateLimit;
  if (valid) defaultVatRate_ = RoundDec(2, rate);
  eStdMWSt->setText(DefaultVatRateText());
  return valid;
}

QString OptionsPage::DefaultVatRateText() const {
  return FromCp1252(FormatEx("%.2n", {defaultVatRate_}));
}

void OptionsPage::DefaultVatRateLeft() {
  if (!eStdMWSt->isModified()) return;
  eStdMWSt->setModified(false);
  if (!SetDefaultVatRate(eStdMWSt->text()))
    MessageBoxes().ShowMessage(
        "Der Standard-Mehrwertsteuersatz muss eine Zahl zwischen 0 und 100 sein.");
}
