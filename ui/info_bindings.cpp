#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QTabWidget>

#include "gaeb/gaeb_obj.h"
#include "ui/info_fields.h"
#include "ui/info_pages.h"
#include "ui/qstring_codec.h"
#include "util/date_time.h"
#include "util/message_boxes.h"

namespace {

// A date alone, as the offer date holds it; a time after the date is refused.
bool IsDate(const QString& text) {
  double date;
  return !text.contains(QLatin1Char(' ')) && TryStrToDateTime(ToCp1252(text), date);
}

}  // namespace

// Focus that leaves for a menu, a message box or another window comes back;
// only a move to another control of the window counts as leaving a field.
bool InfoPageSet::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
        reason != Qt::MenuBarFocusReason) {
      auto* field = static_cast<QLineEdit*>(watched);
      if (field == eAngebDatum_)
        OfferDateLeft(*field);
      else
        FieldLeft(*field);
    }
  }
  return QObject::eventFilter(watched, event);
}

void InfoPageSet::CommitFocusedField() {
  auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  if (!field) return;
  if (field == eAngebDatum_)
    OfferDateLeft(*field);
  else if (bound_.count(field))
    FieldLeft(*field);
}

bool InfoPageSet::BoundPageActive() const {
  return pc_.currentWidget() == tsVergabeInfo || pc_.currentWidget() == tsAN;
}

void InfoPageSet::FieldLeft(QLineEdit& field) {
  if (!BoundPageActive()) return;
  const auto bound = bound_.find(&field);
  if (bound == bound_.end()) return;
  KsGAEBObj* owner = Owner(*bound->second);
  if (!owner) return;
  if (KsMember* member = owner->Members.FindOrMake(bound->second->Member))
    Store(*owner, *member, field.text());
}

void InfoPageSet::Store(KsGAEBObj& owner, KsMember& member, const QString& text) {
  document_->NoteEdit(owner);
  member.SetAsString(ToCp1252(text));
  emit Edited();
}

void InfoPageSet::OfferDateLeft(QLineEdit& field) {
  const QString text = field.text().trimmed();
  field.setText(text);
  if (!text.isEmpty() && !IsDate(text)) {
    MessageBoxes().ShowMessage("Bitte geben Sie ein g\xFCltiges Datum ein. (DD.MM.YYY)");
    if (pc_.currentWidget() == tsVergabeInfo) field.setFocus();
    field.clear();
    return;
  }
  if (!document_->VergabeInfo) return;
  if (KsMember* member = document_->VergabeInfo->Members.FindOrMake("ANGEBDATUM"))
    Store(*document_->VergabeInfo, *member, text);
}

KsLyxObj::BidderValues InfoPageSet::BidderValues() const {
  KsLyxObj::BidderValues values;
  for (size_t i = 0; i < values.size(); ++i) values[i] = ToCp1252(BidderField(i)->text());
  return values;
}

void InfoPageSet::SetBidderValues(const KsLyxObj::BidderValues& values) {
  for (size_t i = 0; i < values.size(); ++i) BidderField(i)->setText(FromCp1252(values[i]));
}

QLineEdit* InfoPageSet::BidderField(size_t index) const {
  return FieldOf(kBidderFields[index].Element, kBidderFields[index].Member);
}
