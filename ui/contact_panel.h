#pragma once

#include <QWidget>

// The maker's contact data at the right of the top bar: logo, name, address,
// telephone and the support address, which asks for a support mail when clicked.
class TContactPanel : public QWidget {
  Q_OBJECT
 public:
  explicit TContactPanel(QWidget* parent = nullptr);

 signals:
  void SupportClicked();
};
