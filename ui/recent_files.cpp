#include "ui/recent_files.h"

#include <QAction>
#include <QMenu>
#include <algorithm>

namespace {

QString Caption(const QString& path) {
  QString caption = path;
  return caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

RecentFileList::RecentFileList(QMenu& menu, QAction& breakAfter, QObject* parent)
    : QObject(parent), menu_(menu), breakAfter_(breakAfter) {
  for (int i = 0; i < kCount; ++i) {
    auto* entry = new QAction(&menu);
    entry->setObjectName(QStringLiteral("mFile%1").arg(i));
    entry->setVisible(false);
    connect(entry, &QAction::triggered, this,
            [this, entry] { emit Chosen(entry->data().toString()); });
    entries_[i] = entry;
  }
  Place();
}

void RecentFileList::Add(const QString& path) {
  auto it = std::find_if(entries_.begin(), entries_.end(), [&path](const QAction* entry) {
    return entry->data().toString().compare(path, Qt::CaseInsensitive) == 0;
  });
  if (it == entries_.end()) {
    it = entries_.end() - 1;
    (*it)->setData(path);
    (*it)->setText(Caption(path));
  }
  std::rotate(entries_.begin(), it, it + 1);
  Place();
}

void RecentFileList::SetPath(int index, const QString& path) {
  QAction* entry = entries_.at(index);
  entry->setData(path);
  entry->setText(Caption(path));
  entry->setVisible(!path.isEmpty());
}

QString RecentFileList::Path(int index) const {
  const QAction* entry = entries_.at(index);
  return entry->isVisible() ? entry->data().toString() : QString();
}

QStringList RecentFileList::Paths() const {
  QStringList paths;
  for (int i = 0; i < kCount; ++i)
    if (!Path(i).isEmpty()) paths << Path(i);
  return paths;
}

// Entries stand in list order between the two separators.
void RecentFileList::Place() {
  for (QAction* entry : entries_) {
    menu_.removeAction(entry);
    menu_.insertAction(&breakAfter_, entry);
    entry->setVisible(!entry->data().toString().isEmpty());
  }
}
