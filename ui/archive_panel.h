#pragma once

#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "archive/archive_location.h"
#include "archive/price_archive.h"

class KsGAEBObj;
class KsLyxObj;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// Beside the long text of a position: the earlier prices the archive holds
// that fit it, best fit and latest first, each with its date, tender and
// client, and above them the last, lowest, median and highest price. Enter
// or a double click on one asks for it to be entered as if typed. Hidden for
// an element without earlier prices; an archive that cannot be read is named
// in the panel, not in a message, and not asked again for a while (a server
// that is down costs its connect timeout once, not at every row).
class ArchivePanel : public QWidget {
  Q_OBJECT
 public:
  // Where the archive is, nullopt while the user keeps none (the panel is
  // hidden then); raises std::runtime_error (German) when it is not known.
  using LocationSource = std::function<std::optional<ArchiveLocation>()>;

  explicit ArchivePanel(QWidget* parent = nullptr);
  ~ArchivePanel() override;
  void SetLocationSource(LocationSource source) { source_ = std::move(source); }

  // The earlier prices of the element of `document` (nullptr: none).
  void Show(const KsLyxObj& document, KsGAEBObj* element);
  // The entries listed (for tests).
  int Count() const;

 signals:
  // The user chose the entry's price for the position shown.
  void PriceChosen(KsGAEBObj* position, const ArchiveEntry& entry);

 private:
  // The archive at `location`, opened again when the user named another.
  PriceArchive& Archive(const ArchiveLocation& location);
  void Choose(QTreeWidgetItem* item);
  // The archive cannot be read: said in the panel, in place of the list.
  void ShowFailure(const std::string& reason);

  LocationSource source_;
  std::unique_ptr<PriceArchive> archive_;
  std::string openDescription_;  // the location archive_ was opened at
  // The location that failed last, and when: asked again only when another
  // is named or after kRetry.
  std::string failedDescription_;
  std::chrono::steady_clock::time_point failedAt_;
  KsGAEBObj* position_ = nullptr;
  std::vector<ArchiveEntry> entries_;
  QLabel* lblArchiveStats_;
  QTreeWidget* lvArchive_;
};
