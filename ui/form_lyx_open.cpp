#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLayout>
#include <QMimeData>
#include <QSplitter>
#include <QUrl>

#include "document/lyx_obj.h"
#include "ui/form_lyx.h"
#include "ui/recent_files.h"
#include "ui/start_page.h"
#include "ui/tender_file_types.h"

namespace {

// The one local file a drop brings; "" for several, for none or for another kind.
QString DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return QString();
  const QUrl url = data->urls().constFirst();
  if (!url.isLocalFile() || !IsOpenableFileName(url.toLocalFile())) return QString();
  return url.toLocalFile();
}

}  // namespace

void TFormLyx::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFormLyx::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  OpenDropped(path);
}

bool TFormLyx::OpenDropped(const QString& path) {
  activateWindow();
  return MayDiscardChanges() && LoadFile(path);
}

void TFormLyx::ShowStartPage(bool shown) {
  if (shown) startPage_->SetRecentFiles(recentFiles_->Paths());
  startPage_->setVisible(shown);
  splitter->setVisible(!shown);
  // The pages take their sizes now, so the grid counts its rows as it will show them.
  if (QLayout* layout = centralWidget() ? centralWidget()->layout() : nullptr) layout->activate();
}
