#include "ui/lyx_observer_form.h"

#include <algorithm>
#include <climits>

#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "ui/form_lyx.h"

namespace {

int ProgressValue(int64_t bytes) {
  return static_cast<int>(std::clamp<int64_t>(bytes, 0, INT_MAX));
}

}  // namespace

void KsLyxObserverForm::Update(KsLyxObj& document, int code) {
  const KsFileReadGaeb00* reader = document.Reader();
  switch (code) {
    case lcReadStart:
      Form.BeginProgress(QStringLiteral("Lese GAEB - Datei ein ..."),
                         reader ? ProgressValue(reader->FileSize()) : 0, true);
      break;
    case lcElementRead:
      if (reader) Form.SetProgress(ProgressValue(reader->FilePosition()));
      break;
    case lcDisplaying:
      Form.SetProgressText(QStringLiteral("Lade GAEB - Daten ..."));
      break;
    case lcWriteStart:
      Form.BeginProgress(QStringLiteral("Schreibe GAEB - Datei ..."), Form.NodeCount(), false);
      break;
    case lcWriteStep:
      // The writer may take more steps than were counted.
      Form.StepProgress();
      break;
    case lcReadEnd:
    case lcWriteEnd:
      Form.EndProgress();
      break;
    case lcTotalsChanged:
      Form.ShowTotals(document);
      break;
    default:
      break;
  }
}
