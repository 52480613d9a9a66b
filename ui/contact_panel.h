#pragma once

#include <QWidget>

// The maker's contact data at the right of the top bar: logo, name, address,
// telephone and the support address, which asks for a support mail when clicked.
class ContactPanel : public QWidget {
  Q_OBJECT
 public:
  explicit ContactPanel(QWidget* parent = nullptr);

 signals:
  void SupportClicked();
};
