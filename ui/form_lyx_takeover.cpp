// "Preise übernehmen ...": the prices of another offer into the open tender.

#include <QDir>

#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/price_takeover.h"
#include "document/row_kind.h"
#include "document/value_entries.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "ui/form_lyx.h"
#include "ui/qstring_codec.h"
#include "ui/tit_pos_page.h"
#include "ui/window_dialogs.h"
#include "util/entry_error.h"
#include "util/message_boxes.h"

namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += "\n" + line;
  return text;
}

bool AnyPriced(const KsLyxObj& document) {
  bool priced = false;
  WalkLv(
      document, [](const KsGAEBObj&, int) {},
      [&priced](const KsGAEBObj& p) {
        priced = priced || (IsPositionRow(&p) && !HasEmptyUnitPrice(p));
      });
  return priced;
}

}  // namespace

void TFormLyx::TakeOverPrices() {
  if (!document_->Loaded()) return;
  CommitEdits();
  const QString path = dialogs_.OpenFileName(this);
  if (path.isEmpty()) return;
  const std::string name = ToCp1252(QDir::toNativeSeparators(path));
  KsLyxObj source;
  if (!source.ImportPriceSource(path.toStdString(), *document_)) {
    MessageBoxes().ShowMessage("Das Angebot " + name +
                               " kann nicht gelesen werden: " + source.LastError);
    return;
  }
  const bool replace =
      AnyPriced(*document_) &&
      MessageBoxes().AskYesNo("Sollen Preise, die schon eingetragen sind, durch die des Angebots " +
                              name + " ersetzt werden? (Nein: sie bleiben)");
  const PriceTakeOver plan =
      PlanPriceTakeOver(source, name, *document_,
                        replace ? PriceTakeOver::Prices::Replace : PriceTakeOver::Prices::Keep);
  const std::string refused = "Die Preise aus " + name +
                              " k\xF6nnen nicht \xFC"
                              "bernommen werden:";
  if (!plan.Refusals.empty()) {
    MessageBoxes().ShowMessage(refused + Lines(plan.Refusals) +
                               "\n\nEs wurde nichts \xFC"
                               "bernommen.");
    return;
  }
  if (!plan.Questions.empty() &&
      !MessageBoxes().AskYesNo(
          "Das Angebot " + name +
          " enth\xE4lt Werte, die nachgefragt werden:" + Lines(plan.Questions) +
          "\n\nAlle Preise \xFC"
          "bernehmen?"))
    return;
  try {
    ApplyEntries(*document_, plan.Entries);
  } catch (const EntryError& e) {
    MessageBoxes().ShowMessage(refused + "\n" + e.what() +
                               "\n\nEs wurde nichts \xFC"
                               "bernommen.");
    return;
  }
  tsTitPos->ShowTotals();
  tsTitPos->update();
  for (QWidget* child : tsTitPos->findChildren<QWidget*>()) child->update();
  UpdateTitle();
  MessageBoxes().ShowMessage(Lines(TakeOverReport(plan, *document_)).substr(1));
}
