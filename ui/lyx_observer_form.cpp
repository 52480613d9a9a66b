#include "ui/lyx_observer_form.h"

#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <climits>

#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "ui/form_lyx.h"
#include "ui/tit_pos_page.h"

namespace {

int ProgressValue(int64_t bytes) {
  return static_cast<int>(std::clamp<int64_t>(bytes, 0, INT_MAX));
}

}  // namespace

// The progress panel is painted at once: reading and writing run on the
// window's thread, so nothing else paints until they end.
void KsLyxObserverForm::Update(KsLyxObj& document, int code) {
  TFormLyx& f = Form;
  auto repaint = [&f] {
    if (QLayout* layout = f.centralWidget()->layout()) layout->activate();
    f.paHint->repaint();
  };
  switch (code) {
    case lcReadStart:
      f.paToolBar->hide();
      f.tv->hide();
      f.pc->hide();
      f.progBar->setRange(0, document.Reader() ? ProgressValue(document.Reader()->FileSize()) : 0);
      f.ShowHint(QStringLiteral("Lese GAEB - Datei ein ..."));
      repaint();
      break;
    case lcReadEnd:
      f.paToolBar->show();
      f.tv->show();
      f.pc->show();
      f.SetHintHeight(0);
      repaint();
      break;
    case lcElementRead:
      if (document.Reader()) f.progBar->setValue(ProgressValue(document.Reader()->FilePosition()));
      break;
    case lcDisplaying:
      f.lblProgBar->setText(QStringLiteral("Lade GAEB - Daten ..."));
      repaint();
      break;
    case lcWriteStart:
      f.paToolBar->hide();
      f.pc->hide();
      f.progBar->setRange(0, f.nodeCount_);
      f.ShowHint(QStringLiteral("Schreibe GAEB - Datei ..."));
      repaint();
      break;
    case lcWriteStep:
      // The writer may take more steps than were counted; the bar then stays full.
      f.progBar->setValue(std::min(f.progBar->value() + 1, f.progBar->maximum()));
      break;
    case lcWriteEnd:
      f.progBar->setValue(f.progBar->maximum());
      f.paToolBar->show();
      f.pc->show();
      f.SetHintHeight(0);
      repaint();
      break;
    case lcTotalsChanged:
      // A file being opened recalculates before the window shows it.
      if (&document == f.document_.get()) f.tsTitPos->ShowTotals();
      break;
    default:
      break;
  }
}
