#pragma once

#include <QDialog>

// The info dialog: product name, version and how to reach the maker.
class TDlgInfoLyx : public QDialog {
  Q_OBJECT

 public:
  explicit TDlgInfoLyx(QWidget* parent = nullptr);
};
