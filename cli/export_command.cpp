#include "cli/commands.h"
#include "document/lyx_obj.h"

int RunExport(const KsArgs& given) {
  KsArgs args = given;
  std::string tender;
  if (!TakeTenderOption(args, tender) || args.size() != 2) return UsageError();
  KsLyxObj document;
  if (!ImportOffer(document, args[0], tender) ||
      OutputIsTender(document, args[0], args[1], false) || !ExportOrReport(document, args[1]))
    return kExitFailure;
  WarnOfFindings(document);
  return kExitOk;
}
