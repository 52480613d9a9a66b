#include <QTabWidget>

#include "document/offer_check.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/qstring_codec.h"
#include "ui/tit_pos_page.h"
#include "ui/window_dialogs.h"

bool TFormLyx::MayLetOfferGo(const std::vector<OfferFinding>& findings) {
  if (findings.empty() || dialogs_.GoOnDespite(this, FromCp1252(FindingsMessage(findings))))
    return true;
  GoToFinding(findings.front());
  return false;
}

// Choosing the page by its tab selects its tree entry as well.
void TFormLyx::GoToFinding(const OfferFinding& finding) {
  switch (finding.What) {
    case OfferFinding::Kind::UnpricedPositions:
    case OfferFinding::Kind::OpenComplements:
      pc->setCurrentWidget(tsTitPos);
      tsTitPos->ShowPosition(const_cast<KsGAEBObj*>(finding.Position));
      break;
    case OfferFinding::Kind::BidderName:
    case OfferFinding::Kind::BidderAddress:
      pc->setCurrentWidget(infoPages_->tsAN);
      infoPages_->FocusAddressField(finding.Field);
      break;
    case OfferFinding::Kind::VatRate:
      pc->setCurrentWidget(tsTitPos);
      tsTitPos->FocusVatRate();
      break;
    case OfferFinding::Kind::ClientMail:
      pc->setCurrentWidget(infoPages_->tsAG);
      break;
  }
}
