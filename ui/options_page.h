#pragma once

#include <QWidget>

class ArchiveOptions;
class KsFieldList;
class QCheckBox;
class QLineEdit;
class GridColumnsEditor;

// The page "&Optionen": the grid's column configuration and the other options.
class QSpinBox;

class OptionsPage : public QWidget {
  Q_OBJECT
 public:
  explicit OptionsPage(KsFieldList& fields, QWidget* parent = nullptr);

  GridColumnsEditor* Columns = nullptr;
  QCheckBox* cboxPrintLTxt = nullptr;
  QCheckBox* cboxShowMapiClient = nullptr;
  // "Standard-MwSt-Satz in %": the rate of a tender that gives none.
  QLineEdit* eStdMWSt = nullptr;
  // "Automatisch sichern alle ... Sekunden": how often the recovery file of
  // an offer with unsaved changes is written; 0 = never.
  QSpinBox* eAutoSave = nullptr;
  // The price archive: on or off, the file or the team's server.
  ArchiveOptions* Archive = nullptr;

  double DefaultVatRate() const { return defaultVatRate_; }
  // A stored or typed rate; one that is no rate of 0 ... 100 leaves the
  // last one (false).
  bool SetDefaultVatRate(const QString& text);
  QString DefaultVatRateText() const;

 private:
  void DefaultVatRateLeft();

  double defaultVatRate_;
};
