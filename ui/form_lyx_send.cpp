#include <QCheckBox>
#include <QFileInfo>
#include <QStatusBar>

#include "document/lyx_obj.h"
#include "document/offer_check.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/options_page.h"
#include "ui/qstring_codec.h"
#include "ui/send_commands.h"
#include "ui/window_dialogs.h"
#include "util/message_boxes.h"

// The mail carries what the window shows; the file on disk is brought up to
// it first when the user wants.
void TFormLyx::aSendExecute() {
  CommitEdits();
  if (!TenderLoadedOrSaySo()) return;
  const bool showMapiClient = tsOpt->cboxShowMapiClient->isChecked();
  const std::optional<std::string> recipient =
      OfferRecipient(*document_, showMapiClient, dialogs_, this);
  if (!recipient || !MayLetOfferGo(CheckOfferForMail(*document_, *recipient)) || !MaySendUnsaved())
    return;
  if (!SendOfferCommand(*document_, showMapiClient, *recipient)) return;
  const QString offer = FromCp1252(document_->FileName());
  statusBar()->showMessage(
      recipient->empty() || showMapiClient
          ? QStringLiteral("Das Angebot %1 wurde an das E-Mail-Programm \u00FCbergeben.")
                .arg(QFileInfo(offer).completeBaseName())
          : QStringLiteral("Das Angebot %1 wurde an %2 gesendet.")
                .arg(QFileInfo(offer).completeBaseName(), FromCp1252(*recipient)));
}

bool TFormLyx::MaySendUnsaved() {
  if (!document_->Modified()) return true;
  switch (dialogs_.AskSaveChanges(this, QStringLiteral("Vor dem Senden speichern?"))) {
    case WindowDialogs::SaveChanges::Save:
      return SaveOffer();
    case WindowDialogs::SaveChanges::Discard:
      return true;
    case WindowDialogs::SaveChanges::Cancel:
      break;
  }
  return false;
}

// Signed with the bidder's name and town as the fields show them now.
void TFormLyx::SupportRequest() {
  CommitEdits();
  const KsLyxObj::BidderValues bidder = infoPages_->BidderValues();
  SendSupportRequest(bidder[BidderIndex("NAME1")], bidder[BidderIndex("ORT")]);
}
