#pragma once

#include <string>
#include <vector>

class KsLyxObj;
class KsTextDevice;

// The offer print: title, head lines, the bill of quantities with sums and
// discounts, and the totals, written to a text device opened by the caller.
// name is the document's file name without extension.
void PrintOffer(KsLyxObj& document, const std::vector<std::string>& head, KsTextDevice& device,
                const std::string& name, bool longTexts);
