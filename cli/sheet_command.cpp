#include <algorithm>
#include <cctype>
#include <exception>

#include "cli/commands.h"
#include "document/lyx_obj.h"
#include "document/tender_overwrite.h"
#include "gaeb/file_read.h"
#include "sheet/sheet_prices.h"
#include "sheet/sheet_table.h"
#include "sheet/sheet_writer.h"
#include "sheet/workbook_reader.h"
#include "util/codec.h"

namespace {

std::string Extension(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : fileName.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return extension;
}

int RunSheetExport(const KsArgs& args) {
  KsArgs files = args;
  std::string tenderOfOffer;
  if (!TakeTenderOption(files, tenderOfOffer)) return UsageError();
  const auto longTexts = std::find(files.begin(), files.end(), "--long-texts");
  const bool withLongTexts = longTexts != files.end();
  if (withLongTexts) files.erase(longTexts);
  if (files.size() != 2) return UsageError();
  const std::string extension = Extension(files[1]);
  if (extension != "xlsx" && extension != "csv") {
    PrintError("Das Ziel " + Utf8ToCp1252(files[1]) + " muss auf .xlsx oder .csv enden.");
    return kExitUsage;
  }
  KsLyxObj document;
  if (!ImportOffer(document, files[0], tenderOfOffer) ||
      OutputIsTender(document, files[0], files[1], true))
    return kExitFailure;
  try {
    const SheetTable table = BuildSheetTable(document, withLongTexts);
    if (extension == "xlsx")
      WriteSheetXlsx(table, files[1]);
    else
      WriteSheetCsv(table, files[1]);
  } catch (const std::exception& e) {
    PrintError(e.what());
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

int RunSheet(const KsArgs& args) {
  if (args.empty() || args[0] != "export") return UsageError();
  return RunSheetExport(KsArgs(args.begin() + 1, args.end()));
}

bool IsWorkbookPrices(const std::string& priceFile) {
  return priceFile != TFileRead::kStandardInput && DetectWorkbook(priceFile) != WorkbookKind::Other;
}

int RunWorkbookPrice(const std::string& tender, const std::string& tenderOfOffer,
                     const std::string& workbook, const std::string& target, bool confirmed) {
  if (SameFile(workbook, target)) {
    PrintError("Das Ziel " + Utf8ToCp1252(target) +
               " ist die Arbeitsmappe; sie wird nicht \xFC"
               "berschrieben.");
    return kExitFailure;
  }
  KsLyxObj document;
  if (!ImportOffer(document, tender, tenderOfOffer) ||
      OutputIsTender(document, tender, target, false))
    return kExitFailure;
  SheetTakeOver result;
  try {
    result = TakeSheetPrices(document, ReadWorkbook(workbook), confirmed, workbook);
  } catch (const SheetError& e) {
    PrintError(e.what());
    return kExitFailure;
  }
  for (const std::string& line : TakeOverReport(result)) PrintError(line);
  if (!result.Applied) {
    if (std::any_of(result.Refused.begin(), result.Refused.end(),
                    [](const SheetRefusal& r) { return r.Question; }))
      PrintError(
          "Mit --yes werden die Werte mit R\xFC"
          "ckfrage \xFC"
          "bernommen.");
    return kExitFailure;
  }
  if (!ExportOrReport(document, target)) return kExitFailure;
  WarnOfFindings(document);
  return kExitOk;
}
