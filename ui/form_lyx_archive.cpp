#include <QStatusBar>
#include <exception>
#include <string>

#include "archive/archive_suggestion.h"
#include "archive/price_archive.h"
#include "document/lyx_obj.h"
#include "document/value_entries.h"
#include "ui/archive_options.h"
#include "ui/form_lyx.h"
#include "ui/options_page.h"
#include "ui/price_grid.h"
#include "ui/tit_pos_page.h"
#include "util/entry_error.h"
#include "util/message_boxes.h"

namespace {

// The lines of the list a question shows at most; the rest are counted.
constexpr size_t kShownLines = 30;

std::string Shown(const std::vector<std::string>& lines) {
  std::string text;
  const size_t entries = lines.empty() ? 0 : lines.size() - 1;  // the last line sums up
  for (size_t i = 0; i < entries && i < kShownLines; ++i) text += lines[i] + "\n";
  if (entries > kShownLines)
    text += "... und " + std::to_string(entries - kShownLines) + " weitere\n";
  if (!lines.empty()) text += "\n" + lines.back();
  return text;
}

}  // namespace

void TFormLyx::TakeArchivePrices() {
  CommitEdits();
  if (!TenderLoadedOrSaySo()) return;
  ArchiveSuggestion suggestion;
  try {
    PriceArchive archive(tsOpt->Archive->Location());
    suggestion = SuggestArchivePrices(archive, *document_, tsOpt->Archive->SuggestedPrice());
  } catch (const std::exception& e) {
    MessageBoxes().ShowError(std::string("Das Preisarchiv kann nicht gelesen werden: ") + e.what());
    return;
  }
  if (suggestion.Lines.empty()) {
    MessageBoxes().ShowMessage("Das Preisarchiv hat f\xFCr keine der " +
                               std::to_string(suggestion.Unpriced) +
                               " Positionen ohne Einheitspreis einen passenden Preis.");
    return;
  }
  std::string questions;
  for (const std::string& question : suggestion.Plan.Questions) questions += "\n" + question;
  if (!MessageBoxes().AskYesNo(Shown(SuggestionLines(suggestion)) +
                               (questions.empty() ? "" : "\n\nNachgefragt:" + questions) +
                               "\n\nDiese Preise \xFC"
                               "bernehmen?"))
    return;
  try {
    ApplyEntries(*document_, suggestion.Plan.Entries);
  } catch (const EntryError& e) {
    EntryMade();  // everything was put back: the step holds no change
    MessageBoxes().ShowMessage(std::string("Es wurde nichts \xFC"
                                           "bernommen: ") +
                               e.what());
    return;
  }
  EntryMade();  // the whole suggestion is one step to undo
  tsTitPos->ShowTotals();
  tsTitPos->Grid().viewport()->update();
  statusBar()->showMessage(QString::number(suggestion.Lines.size()) +
                           QStringLiteral(" Preise aus dem Archiv \u00FCbernommen."));
}
