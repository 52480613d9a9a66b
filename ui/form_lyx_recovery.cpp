#include <QFile>

#include "document/lyx_obj.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/lyx_observer_form.h"
#include "ui/price_grid.h"
#include "ui/tit_pos_page.h"

// The restored tree is shown as it is: neither the default VAT rate nor the
// bidder data of the settings go into it, so that it stays the secured state.
void TFormLyx::ShowRestored(std::unique_ptr<KsLyxObj> offer, RecoveryClaim claim,
                            const RecoveryHead& head) {
  CommitEdits();
  offer->AddObserver(observer_.get());
  TakeDocument(std::move(offer));
  document_->NotifyObservers(lcTotalsChanged);
  tsTitPos->UpdateEpColumns();
  BuildTree();
  currentFile_ = QFile::decodeName(QByteArray::fromStdString(head.TenderPath));
  autosave_.Restored(std::move(claim), head);
  autosaveFailureShown_ = false;
  UpdateTitle();
  EndProgress();
  tsTitPos->Grid().setFocus();
}
