#pragma once

#include <QWidget>

class KsFieldList;
class QCheckBox;
class TGridColumnsEditor;

// The page "&Optionen": the grid's column configuration and the other options.
class TOptionsPage : public QWidget {
  Q_OBJECT
 public:
  explicit TOptionsPage(KsFieldList& fields, QWidget* parent = nullptr);

  TGridColumnsEditor* Columns = nullptr;
  QCheckBox* cboxPrintLTxt = nullptr;
  QCheckBox* cboxShowMapiClient = nullptr;
};
