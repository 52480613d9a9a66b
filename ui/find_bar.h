#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;

// The search line above the pages ("Suchen:"): Enter finds the next hit,
// Shift+Enter the previous one, Esc closes it. What was found, or that
// nothing was, shows beside the line.
class FindBar : public QWidget {
  Q_OBJECT
 public:
  explicit FindBar(QWidget* parent = nullptr);

  QString Text() const;
  // Shown with the text selected and the focus in the line.
  void Open();
  void SetResult(const QString& text);

 signals:
  void FindRequested(bool forward);
  void Closed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* eFind;
  QLabel* lblFindResult;
};
