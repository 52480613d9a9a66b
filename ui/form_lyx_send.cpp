#include <QCheckBox>

#include "document/lyx_obj.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/options_page.h"
#include "ui/send_commands.h"

void TFormLyx::aSendExecute() {
  CommitEdits();
  SendOfferCommand(*document_, tsOpt->cboxShowMapiClient->isChecked(), dialogs_, this);
}

// Signed with the bidder's name and town as the fields show them now.
void TFormLyx::SupportRequest() {
  CommitEdits();
  const KsLyxObj::BidderValues bidder = infoPages_->BidderValues();
  SendSupportRequest(bidder[0], bidder[4]);
}
