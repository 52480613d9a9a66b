#pragma once

#include <QObject>
#include <map>
#include <span>
#include <string_view>
#include <vector>

#include "document/lyx_obj.h"

class KsGAEBObj;
class KsMember;
struct EntryField;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QWidget;

// The pages "&GAEB- / Projekt-Info", "&Vergabe-Info", "&Auftraggeber" and
// "Auftrag&nehmer": read-only values of the tender (blue, beside black
// captions) and the editable award and bidder fields, each bound to its
// document member through the table in ui/info_fields.h.
class InfoPageSet : public QObject {
  Q_OBJECT
 public:
  // Creates the four pages as the first pages of pc.
  InfoPageSet(KsLyxObj& document, QTabWidget& pc);

  QWidget* tsGAEBPrjInfo = nullptr;
  QWidget* tsVergabeInfo = nullptr;
  QWidget* tsAG = nullptr;
  QWidget* tsAN = nullptr;

  // The read-only values and the three award fields from the document; a
  // missing value shows as an empty text.
  void Fill();
  // The bidder fields in the order of KsLyxObj::kBidderFields.
  KsLyxObj::BidderValues BidderValues() const;
  void SetBidderValues(const KsLyxObj::BidderValues& values);
  // Stores the bound field that has the focus as leaving it would; commands
  // that act on the document run this first, so a typed value is never lost.
  void CommitFocusedField();
  // The field of the bidder's address member ("NAME1", "STRASSE" ...) takes the focus.
  void FocusAddressField(const std::string& member);
  // The document the fields write into, after another file was opened.
  void SetDocument(KsLyxObj& document) { document_ = &document; }

 signals:
  // A field's text went into the document.
  void Edited();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPrjInfoPage();
  void BuildVergabeInfoPage();
  void BuildAgPage();
  void BuildAnPage();
  QLabel* AddValue(const char* key, QLabel* value);
  void BindRows(QGroupBox* group, std::span<const EntryField> bindings);
  // The bound field of kBidderFields[index].
  QLineEdit* BidderField(size_t index) const;
  QLineEdit* FieldOf(std::string_view element, std::string_view member) const;
  KsGAEBObj* Owner(const EntryField& binding) const;
  void SetValue(const char* key, const std::string& text);

  void FieldLeft(QLineEdit& field);
  void OfferDateLeft(QLineEdit& field);
  void Store(KsGAEBObj& owner, KsMember& member, const QString& text);
  bool BoundPageActive() const;

  KsLyxObj* document_;
  QTabWidget& pc_;
  std::map<std::string, QLabel*> values_;
  std::vector<QLabel*> captions_;  // only while the pages are built
  QLabel* lblZertifikat_ = nullptr;
  QLineEdit* eAngebDatum_ = nullptr;
  std::map<const QLineEdit*, const EntryField*> bound_;
};
