#pragma once

#include <string>

#include "document/recovery_file.h"
#include "document/tender_stamp.h"

class KsLyxObj;

// What the start-up question says about a recovery file that a window left
// behind: which tender, when it was last secured, how many entries differ
// from the tender file, and whether that file is still as it was.
struct RecoveryFinding {
  std::string Path;   // the recovery file
  std::string Error;  // German: why the file cannot be restored; "" when it can
  RecoveryHead Head;
  TenderState Tender = TenderState::Gone;
  // Entries of the offer that differ from the tender file as it is now;
  // -1 when there is no tender file to compare with or its LV is another.
  int Differences = -1;
  std::string LvName;  // NAME and BEZ of the LV (Windows-1252)
};

// Restores the file into `offer` and compares it with the tender it names.
// A file that cannot be read gives Error and leaves `offer` as it was.
RecoveryFinding InspectRecovery(const std::string& path, KsLyxObj& offer);

// Entries (prices, price components, discounts, the VAT rate, bidder, project
// and award data) in which `offer` differs from `tender`; amounts and sums
// follow from them and do not count. -1 when the two are different LVs
// (other areas, positions or elements).
int DifferingEntries(const KsLyxObj& offer, const KsLyxObj& tender);

// The question's text (Windows-1252), naming the tender file, the LV, the
// time of securing in local time and the differences, or why the file
// cannot be restored.
std::string RecoveryQuestionText(const RecoveryFinding& finding);
