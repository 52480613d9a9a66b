#pragma once

#include <QWidget>
#include <vector>

class KsGAEBObj;
class KsLyxObj;
class QFormLayout;
class QLineEdit;

// Beside the long text of a position: one field to fill in per text
// complement the tender leaves to the bidder, labelled with the client's
// text around the blank ("Breite von ... cm.") and its mark. Hidden for an
// element without any. An answer goes into the document when the field is
// left or Enter is pressed; one the document refuses is shown and the field
// set back.
class ComplementPanel : public QWidget {
  Q_OBJECT
 public:
  ComplementPanel(KsLyxObj& document, QWidget* parent = nullptr);
  void SetDocument(KsLyxObj& document) { document_ = &document; }
  // The fields of the element (nullptr: none).
  void Show(KsGAEBObj* element);
  // The fields in the order of the text (for tests and the focus chain).
  const std::vector<QLineEdit*>& Fields() const { return fields_; }

 signals:
  void Edited();

 private:
  void Take(int index);

  KsLyxObj* document_;
  KsGAEBObj* position_ = nullptr;
  QFormLayout* form_;
  std::vector<QLineEdit*> fields_;
};
