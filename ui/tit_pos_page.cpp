#include "ui/tit_pos_page.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>
#include <functional>

#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/price_grid.h"
#include "ui/qstring_codec.h"
#include "ui/read_only_color.h"
#include "ui/totals_panel.h"
#include "util/strings.h"

namespace {
constexpr int kNormalFontSize = 8;

// A splitter that reports when it has laid out its panes after a resize.
class TResizeReportingSplitter : public QSplitter {
 public:
  TResizeReportingSplitter(std::function<void()> resized, QWidget* parent)
      : QSplitter(Qt::Vertical, parent), resized_(std::move(resized)) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QSplitter::resizeEvent(event);
    resized_();
  }

 private:
  std::function<void()> resized_;
};
constexpr int kInfoPanelHeight = 7 * TPriceGrid::kRowPitch;
}  // namespace

TTitPosPage::TTitPosPage(KsLyxObj& document, const KsFieldList& fields, TGridColumnsEditor& columns,
                         QWidget* parent)
    : QWidget(parent), document_(&document), fields_(fields), columns_(columns) {
  sg = new TPriceGrid(this);
  const QColor readOnly = ReadOnlyColor(sg->palette().color(QPalette::Button));
  sg->SetReadOnlyColor(readOnly);

  reLTxt = new QTextEdit(this);
  reLTxt->setObjectName(QStringLiteral("reLTxt"));
  reLTxt->setReadOnly(true);
  reLTxt->setFrameShape(QFrame::NoFrame);
  reLTxt->setFocusPolicy(Qt::ClickFocus);
  reLTxt->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Paragraphs wrap at the view's width, a word longer than a line anywhere,
  // so the text never needs scrolling sideways.
  reLTxt->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  reLTxt->setLineWrapMode(QTextEdit::WidgetWidth);
  reLTxt->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QPalette colors = reLTxt->palette();
  colors.setColor(QPalette::Base, readOnly);
  colors.setColor(QPalette::Text, Qt::blue);
  reLTxt->setPalette(colors);
  SetLongTextFontSize(kNormalFontSize);

  totals_ = new TTotalsPanel(document, this);

  auto* info = new QWidget(this);
  auto* infoLayout = new QHBoxLayout(info);
  infoLayout->setContentsMargins(0, 0, 0, 0);
  infoLayout->addWidget(reLTxt, 1);
  infoLayout->addWidget(totals_);

  splitter_ = new TResizeReportingSplitter([this] { SnapToRows(); }, this);
  splitter_->addWidget(sg);
  splitter_->addWidget(info);
  splitter_->setChildrenCollapsible(false);
  splitter_->setStretchFactor(0, 1);
  splitter_->setStretchFactor(1, 0);
  splitter_->setSizes({20 * TPriceGrid::kRowPitch, kInfoPanelHeight});

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter_);

  connect(sg, &TPriceGrid::RowElementShown, this, &TTitPosPage::ShowLongText);
  connect(sg, &TPriceGrid::ValueEntering, this,
          [this](KsGAEBObj* element) { document_->NoteEdit(*element); });
  connect(sg, &TPriceGrid::ValueEntered, this, &TTitPosPage::Edited);
  connect(totals_, &TTotalsPanel::VatChanged, this, &TTitPosPage::Edited);
  connect(totals_, &TTotalsPanel::VatEntered, sg, [this] { sg->setFocus(); });
  connect(splitter_, &QSplitter::splitterMoved, sg, &TPriceGrid::CommitEdit);
  connect(splitter_, &QSplitter::splitterMoved, this, &TTitPosPage::SnapToRows);

  BuildColumns();
}

TTitPosPage::~TTitPosPage() = default;

void TTitPosPage::SnapToRows() {
  QList<int> sizes = splitter_->sizes();
  if (sizes.size() != 2 || sizes[0] <= 0) return;
  const int rowsHeight = sizes[0] - sg->horizontalHeader()->height();
  const int rest = rowsHeight % TPriceGrid::kRowPitch;
  if (rest == 0 || rowsHeight <= TPriceGrid::kRowPitch) return;
  sizes[0] -= rest;
  sizes[1] += rest;
  splitter_->setSizes(sizes);
}

void TTitPosPage::BuildColumns() { sg->SetColumns(columns_.ShownColumns()); }

void TTitPosPage::UpdateEpColumns() {
  for (int i = 0; i < fields_.Count(); ++i) {
    const std::string& name = fields_.Items(i).Name();
    if (IsPriceComponent(name)) columns_.SetAvailable(FromCp1252(name), document_->EpBreakdown);
  }
  BuildColumns();
}

void TTitPosPage::ShowElement(KsGAEBObj* element) {
  sg->ShowRows(element);
  ShowLongText(element);
}

void TTitPosPage::Clear() {
  sg->SetColumns({});
  ShowElement(nullptr);
}

void TTitPosPage::SetDocument(KsLyxObj& document) {
  Clear();
  document_ = &document;
  totals_->SetDocument(document);
}

void TTitPosPage::SelectFirstEditable() { sg->SelectFirstEditable(); }

void TTitPosPage::ActivateFromTab() {
  BuildColumns();
  const KsGAEBObjList* areas = document_->LvAreas;
  ShowElement(areas && areas->Count() > 0 ? areas->Element(0) : nullptr);
  SelectFirstEditable();
}

void TTitPosPage::ShowTotals() { totals_->ShowTotals(); }

void TTitPosPage::NextEmptyEP() { sg->FindEmptyEp(true); }

void TTitPosPage::PreviousEmptyEP() { sg->FindEmptyEp(false); }

void TTitPosPage::SetLongTextFontSize(int points) {
  QFont font = reLTxt->font();
  font.setPointSize(points);
  reLTxt->setFont(font);
}

int TTitPosPage::LongTextFontSize() const { return reLTxt->font().pointSize(); }

void TTitPosPage::CommitEdit() { sg->CommitEdit(); }

// The element's number ("OZ", its first member), then its long text.
void TTitPosPage::ShowLongText(KsGAEBObj* element) {
  if (!element) {
    reLTxt->clear();
    return;
  }
  std::string text = element->Members.Count() > 0 ? element->Members.Items(0).GetAsString() : "";
  text += "\n";
  if (IsPositionRow(element))
    text += LongText(*element);
  else if (IsAreaRow(element))
    text += AreaLongText(*element);
  // Every line break of the text (CR LF, or a lone CR or LF) starts a new line.
  reLTxt->setPlainText(FromCp1252(ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\r", "\n")));
}
