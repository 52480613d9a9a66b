#include "ui/complement_panel.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaebxml/text_complements.h"
#include "ui/qstring_codec.h"
#include "util/entry_error.h"
#include "util/message_boxes.h"

ComplementPanel::ComplementPanel(KsLyxObj& document, QWidget* parent)
    : QWidget(parent), document_(&document), form_(new QFormLayout(this)) {
  form_->setContentsMargins(4, 2, 4, 2);
  setToolTip(QStringLiteral("Texterg\u00E4nzungen des Bieters"));
  hide();
}

void ComplementPanel::Show(KsGAEBObj* element) {
  while (form_->rowCount() > 0) form_->removeRow(0);
  fields_.clear();
  position_ = IsPositionRow(element) ? element : nullptr;
  const std::vector<TextComplement> complements =
      position_ ? BidderComplements(*position_) : std::vector<TextComplement>();
  for (size_t i = 0; i < complements.size(); ++i) {
    TextComplement blank = complements[i];
    blank.Answer.clear();
    auto* field = new QLineEdit(FromCp1252(complements[i].Answer), this);
    field->setMaxLength(static_cast<int>(kComplementAnswerLimit));
    field->setPlaceholderText(QStringLiteral("vom Bieter auszuf\u00FCllen"));
    auto* label =
        new QLabel(FromCp1252(ComplementLine(blank) + " (" + complements[i].MarkLbl + ")"), this);
    label->setBuddy(field);
    form_->addRow(label, field);
    const int index = static_cast<int>(i);
    connect(field, &QLineEdit::editingFinished, this, [this, index] { Take(index); });
    fields_.push_back(field);
  }
  setVisible(!fields_.empty());
}

void ComplementPanel::Take(int index) {
  if (!position_ || index >= static_cast<int>(fields_.size())) return;
  const std::vector<TextComplement> complements = BidderComplements(*position_);
  if (index >= static_cast<int>(complements.size())) return;
  const std::string typed = ToCp1252(fields_[index]->text());
  if (typed == complements[index].Answer) return;
  try {
    document_->NoteEdit(*position_);
    AnswerComplement(*position_, complements[index].MarkLbl, typed);
    emit Edited();
  } catch (const EntryError& e) {
    fields_[index]->setText(FromCp1252(complements[index].Answer));
    MessageBoxes().ShowMessage(e.what());
  }
}
