#include "ui/options_page.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/grid_columns_editor.h"

OptionsPage::OptionsPage(KsFieldList& fields, QWidget* parent) : QWidget(parent) {
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
  auto* otherLayout = new QVBoxLayout(other);
  otherLayout->addWidget(cboxPrintLTxt);
  otherLayout->addWidget(cboxShowMapiClient);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid, 1);
  layout->addWidget(other);
}
