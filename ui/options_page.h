#pragma once

#include <QWidget>

class KsFieldList;
class QCheckBox;
class GridColumnsEditor;

// The page "&Optionen": the grid's column configuration and the other options.
class OptionsPage : public QWidget {
  Q_OBJECT
 public:
  explicit OptionsPage(KsFieldList& fields, QWidget* parent = nullptr);

  GridColumnsEditor* Columns = nullptr;
  QCheckBox* cboxPrintLTxt = nullptr;
  QCheckBox* cboxShowMapiClient = nullptr;
};
