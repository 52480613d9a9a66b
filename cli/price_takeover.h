#pragma once

#include <string>

class KsLyxObj;

// True when the file is a GAEB file (GAEB 2000, GAEB 90, GAEB DA XML) and so
// an offer to take prices from rather than a price list: the content
// decides, not the name. Standard input is a price list.
bool IsGaebFile(const std::string& fileName);

// `tarvo-cli price TENDER OFFER TARGET`: takes the prices of the offer into
// the document (PlanPriceTakeOver, prices entered before kept unless
// `replace`), all or none, and saves it to `target`; the report on stderr.
// Without `confirmed` an entry the grid asks about refuses the take-over.
// Returns the exit code.
int TakeOverPrices(KsLyxObj& document, const std::string& sourceFile, const std::string& target,
                   bool confirmed, bool replace);
