#pragma once

#include <QWidget>

class KsLyxObj;
class QLabel;
class QLineEdit;

// The totals under the price grid: "Gesamtsumme" `lblSumme`, the VAT rate
// `eMWSt`, "Mehrwertsteuer" `lblMWStAbs` and "Bruttosumme" `lblBruttoSumme`.
// A changed VAT rate goes into the LV and its gross sum when the entry is left.
// A rate the tender did not give is marked `lblMWStHinweis` until the user
// changes it or confirms it with Enter.
class TotalsPanel : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 185;

  explicit TotalsPanel(KsLyxObj& document, QWidget* parent = nullptr);

  // Sum, VAT rate, VAT amount and gross sum of the LV; empty while nothing is loaded.
  void ShowTotals();
  void SetDocument(KsLyxObj& document) { document_ = &document; }
  void FocusVatRate();

 signals:
  // Enter in the VAT entry: the grid takes the focus.
  void VatEntered();
  // A VAT rate went into the document.
  void VatChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A modified entry goes into the document, confirming the rate; with
  // `confirm` an unmodified one confirms it too. False when it was refused.
  bool ApplyVat(bool confirm);

  KsLyxObj* document_;
  QLabel* lblSumme;
  QLineEdit* eMWSt;
  QLabel* lblMWStAbs;
  QLabel* lblBruttoSumme;
  QLabel* lblMWStHinweis;
};
