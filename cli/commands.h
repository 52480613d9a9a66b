#pragma once

#include "cli/cli_support.h"

// The commands of tarvo-cli; each takes the arguments after its name and
// returns the exit code.
int RunInfo(const KsArgs& args);
int RunExport(const KsArgs& args);
int RunPrice(const KsArgs& args);
int RunPrint(const KsArgs& args);
int RunSheet(const KsArgs& args);
// "archive find", "archive suggest" and "archive add": the price archive.
int RunArchive(const KsArgs& args);

// A price file that is a workbook (XLSX, an old .xls, or a CSV of `sheet
// export`), told by its content; `price` takes its prices all or nothing.
bool IsWorkbookPrices(const std::string& priceFile);
// `tenderOfOffer` is the tender of an X84 given with --tender.
int RunWorkbookPrice(const std::string& tender, const std::string& tenderOfOffer,
                     const std::string& workbook, const std::string& target, bool confirmed);
