#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QStatusBar>
#include <algorithm>
#include <exception>

#include "document/lyx_obj.h"
#include "sheet/sheet_prices.h"
#include "sheet/sheet_table.h"
#include "sheet/sheet_writer.h"
#include "sheet/workbook_reader.h"
#include "ui/form_lyx.h"
#include "ui/options_page.h"
#include "ui/price_grid.h"
#include "ui/qstring_codec.h"
#include "ui/tit_pos_page.h"
#include "ui/window_dialogs.h"
#include "util/message_boxes.h"

namespace {

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\n") + line;
  return text;
}

}  // namespace

void TFormLyx::AddSheetMenu(QMenu& file) {
  QAction* take = file.addAction(QStringLiteral("Preise \u00FCbernehmen aus Arbeitsmappe ..."));
  take->setObjectName(QStringLiteral("aSheetPrices"));
  connect(take, &QAction::triggered, this, &TFormLyx::TakeWorkbookPrices);
  QMenu* exportMenu = file.addMenu(QStringLiteral("Exportieren"));
  exportMenu->setObjectName(QStringLiteral("mmExportieren"));
  QAction* xlsx = exportMenu->addAction(QStringLiteral("Excel-Arbeitsmappe (.xlsx)"));
  xlsx->setObjectName(QStringLiteral("aExportXlsx"));
  connect(xlsx, &QAction::triggered, this, [this] { ExportSheet(false); });
  QAction* csv = exportMenu->addAction(QStringLiteral("CSV (;)"));
  csv->setObjectName(QStringLiteral("aExportCsv"));
  connect(csv, &QAction::triggered, this, [this] { ExportSheet(true); });
}

void TFormLyx::ExportSheet(bool csv) {
  CommitEdits();
  if (!TenderLoadedOrSaySo()) return;
  const QString proposed = QFileInfo(FromCp1252(document_->FileName())).completeBaseName() +
                           (csv ? QStringLiteral(".csv") : QStringLiteral(".xlsx"));
  const QString path = dialogs_.SaveWorkbookName(this, proposed);
  if (path.isEmpty()) return;
  try {
    const SheetTable table = BuildSheetTable(*document_, tsOpt->cboxPrintLTxt->isChecked());
    if (csv)
      WriteSheetCsv(table, Native(path));
    else
      WriteSheetXlsx(table, Native(path));
  } catch (const std::exception& e) {
    MessageBoxes().ShowError(e.what());
    return;
  }
  statusBar()->showMessage(QStringLiteral("Das LV wurde als %1 exportiert.").arg(path));
}

// The workbook's values go in all together; what the grid would ask about is
// asked once for all of them.
void TFormLyx::TakeWorkbookPrices() {
  CommitEdits();
  if (!TenderLoadedOrSaySo()) return;
  const QString path = dialogs_.OpenWorkbookName(this);
  if (path.isEmpty()) return;
  SheetTakeOver result;
  try {
    const ReadSheet sheet = ReadWorkbook(Native(path));
    result = TakeSheetPrices(*document_, sheet, false, Native(path));
    const bool onlyQuestions =
        !result.Refused.empty() && std::all_of(result.Refused.begin(), result.Refused.end(),
                                               [](const SheetRefusal& r) { return r.Question; });
    if (onlyQuestions &&
        MessageBoxes().AskYesNo(Joined(TakeOverReport(result)) + "\n\nSollen alle diese Werte \xFC"
                                                                 "bernommen werden?"))
      result = TakeSheetPrices(*document_, sheet, true, Native(path));
  } catch (const SheetError& e) {
    MessageBoxes().ShowError(e.what());
    return;
  }
  if (result.Applied && result.Values > 0) {
    document_->NotifyObservers(lcTotalsChanged);
    tsTitPos->Grid().viewport()->update();
    UpdateTitle();
    SecureOffer(true);
  }
  const std::string report = Joined(TakeOverReport(result));
  if (result.Applied)
    MessageBoxes().ShowMessage(report);
  else
    MessageBoxes().ShowWarning(report);
}
