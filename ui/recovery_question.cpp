#include "ui/recovery_question.h"

#include <QMessageBox>
#include <QPushButton>
#include <exception>
#include <memory>
#include <vector>

#include "document/lyx_obj.h"
#include "document/recovery_offer.h"
#include "document/recovery_place.h"
#include "ui/form_lyx.h"
#include "ui/qstring_codec.h"
#include "util/message_boxes.h"

bool AskAboutRecoveries(TFormLyx& window) {
  std::vector<RecoveryClaim> orphans;
  try {
    orphans = RecoveryClaim::Orphans();
  } catch (const std::exception& e) {
    MessageBoxes().ShowMessage(e.what());
    return false;
  }
  for (RecoveryClaim& claim : orphans) {
    auto offer = std::make_unique<KsLyxObj>();
    const RecoveryFinding finding = InspectRecovery(claim.Path(), *offer);
    const bool readable = finding.Error.empty();
    QMessageBox box(readable ? QMessageBox::Question : QMessageBox::Warning,
                    QStringLiteral("Wiederherstellung"), FromCp1252(RecoveryQuestionText(finding)),
                    QMessageBox::NoButton, &window);
    box.setObjectName(QStringLiteral("RecoveryQuestion"));
    QPushButton* restore =
        box.addButton(QStringLiteral("Wiederherstellen"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Verwerfen"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QStringLiteral("Sp\u00E4ter"), QMessageBox::RejectRole);
    restore->setEnabled(readable);
    box.setDefaultButton(readable ? restore : later);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore) {
      window.ShowRestored(std::move(offer), std::move(claim), finding.Head);
      return true;
    }
    if (box.clickedButton() == discard) claim.Remove();
  }
  return false;
}
