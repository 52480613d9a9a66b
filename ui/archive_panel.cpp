#include "ui/archive_panel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <stdexcept>

#include "archive/archive_suggestion.h"
#include "archive/earlier_prices.h"
#include "document/row_kind.h"
#include "ui/qstring_codec.h"
#include "util/format_ex.h"

namespace {

// The entries a position lists at most.
constexpr size_t kListed = 20;
// How long an archive that failed is left alone.
constexpr std::chrono::minutes kRetry{5};

QString Price(double value) { return FromCp1252(FormatEx("%.3n", {Variant(value)})); }

// "2026-12-09" as "09.12.2026".
QString GermanDate(const std::string& iso) {
  if (iso.size() != 10) return FromCp1252(iso);
  return FromCp1252(iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4));
}

// Enter on an entry chooses it, as a double click does.
class EntryList : public QTreeWidget {
 public:
  using QTreeWidget::QTreeWidget;

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
      emit itemActivated(currentItem(), 0);
      return;
    }
    QTreeWidget::keyPressEvent(event);
  }
};

}  // namespace

ArchivePanel::ArchivePanel(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("paArchive"));
  lblArchiveStats_ = new QLabel(this);
  lblArchiveStats_->setObjectName(QStringLiteral("lblArchiveStats"));
  lblArchiveStats_->setWordWrap(true);
  lvArchive_ = new EntryList(this);
  lvArchive_->setObjectName(QStringLiteral("lvArchive"));
  lvArchive_->setRootIsDecorated(false);
  lvArchive_->setUniformRowHeights(true);
  lvArchive_->setHeaderLabels({QStringLiteral("EP"), QStringLiteral("Datum"),
                               QStringLiteral("Ausschreibung"), QStringLiteral("Auftraggeber")});
  lvArchive_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  lvArchive_->setToolTip(
      QStringLiteral("Eingabetaste oder Doppelklick: den Preis als Einheitspreis \u00FCbernehmen"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 0, 4, 0);
  layout->setSpacing(2);
  layout->addWidget(lblArchiveStats_);
  layout->addWidget(lvArchive_, 1);
  setMinimumWidth(fontMetrics().averageCharWidth() * 48);
  connect(lvArchive_, &QTreeWidget::itemActivated, this, &ArchivePanel::Choose);
  hide();
}

ArchivePanel::~ArchivePanel() = default;

int ArchivePanel::Count() const { return lvArchive_->topLevelItemCount(); }

PriceArchive& ArchivePanel::Archive(const ArchiveLocation& location) {
  if (!archive_ || location.Describe() != openDescription_) {
    archive_.reset();
    archive_ = std::make_unique<PriceArchive>(location);
    openDescription_ = location.Describe();
  }
  return *archive_;
}

void ArchivePanel::Show(const KsLyxObj& document, KsGAEBObj* element) {
  position_ = nullptr;
  entries_.clear();
  lvArchive_->clear();
  if (!source_ || !IsPositionRow(element)) {
    hide();
    return;
  }
  std::optional<ArchiveLocation> location;
  try {
    location = source_();
  } catch (const std::exception& e) {
    ShowFailure(e.what());
    return;
  }
  // Looking at prices makes no archive: an archive file not yet written
  // holds none.
  if (!location || (location->Kind == ArchiveLocation::Engine::SQLite &&
                    !std::filesystem::exists(location->File))) {
    hide();
    return;
  }
  const std::string where = location->Describe();
  if (where == failedDescription_ && std::chrono::steady_clock::now() - failedAt_ < kRetry)
    return;  // the failure stays shown
  EarlierPrices found;
  try {
    found = FindEarlierPrices(Archive(*location), document, *element, kListed);
    failedDescription_.clear();
  } catch (const std::exception& e) {
    archive_.reset();
    failedDescription_ = where;
    failedAt_ = std::chrono::steady_clock::now();
    ShowFailure(e.what());
    return;
  }
  if (found.Empty()) {
    hide();
    return;
  }
  position_ = element;
  const PriceStatistics& s = found.Statistics;
  lblArchiveStats_->setText(
      QStringLiteral("Fr\u00FChere Preise (%1, %2): zuletzt %3, niedrigster %4, Median %5, "
                     "h\u00F6chster %6")
          .arg(FromCp1252(FitName(found.Matches.front().Fit)))
          .arg(s.Count == 1 ? QStringLiteral("1 Eintrag")
                            : QStringLiteral("%1 Eintr\u00E4ge").arg(s.Count))
          .arg(Price(s.Last), Price(s.Lowest), Price(s.Median), Price(s.Highest)));
  for (const ArchiveMatch& match : found.Matches) {
    const ArchiveEntry& e = match.Entry;
    auto* item = new QTreeWidgetItem(lvArchive_, {Price(e.Position.Ep), GermanDate(e.Date),
                                                  FromCp1252(e.Tender), FromCp1252(e.Client)});
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(2, FromCp1252(FitName(match.Fit)) + QStringLiteral(": ") +
                            QString::fromLocal8Bit(e.OfferFile.c_str()));
    entries_.push_back(e);
  }
  lvArchive_->show();
  show();
}

void ArchivePanel::ShowFailure(const std::string& reason) {
  lblArchiveStats_->setText(QStringLiteral("Preisarchiv: ") + FromCp1252(reason));
  lvArchive_->hide();
  show();
}

void ArchivePanel::Choose(QTreeWidgetItem* item) {
  const int index = lvArchive_->indexOfTopLevelItem(item);
  if (!position_ || index < 0 || index >= static_cast<int>(entries_.size())) return;
  emit PriceChosen(position_, entries_[index]);
}
