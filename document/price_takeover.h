#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "document/value_entries.h"

class KsGAEBObj;
class KsLyxObj;

// Taking the prices of another offer (a colleague's, a subcontractor's, last
// month's for a similar LV) into the open tender: each priced position of
// the source finds its counterpart by item ID where both are GAEB DA XML of
// the same tender, else by OZ (OzIndex: the two may write their numbers
// differently), and gives it its unit price, or the components where the
// tender asks for them (every component asked for: the source's value or
// empty, so EP is the source's sum), and its discount where it has one.
// Nothing is entered here: the plan is checked and entered whole with
// ApplyEntries, so the take-over is one change, or none.
struct PriceTakeOver {
  enum class Prices { Keep, Replace };  // what becomes of prices already entered

  ValueEntries Entries;
  int Positions = 0;  // positions of the tender that get values
  int Kept = 0;       // positions of the tender priced before and kept
  // The OZ of priced positions of the source that have no counterpart.
  std::vector<std::string> Unmatched;
  // Why values of the source cannot be entered (German); any of them
  // refuses the whole take-over.
  std::vector<std::string> Refusals;
  // The questions the grid would ask about entries (a negative price, a
  // discount above 50 %), each with its OZ; asked once for all.
  std::vector<std::string> Questions;
};

// What a source offers one position: unit price, its six components and
// the discount, each where the source holds a number.
struct OfferedValues {
  std::optional<double> Ep;
  std::array<std::optional<double>, 6> Components;
  std::optional<double> Discount;
};
OfferedValues HeldValues(const KsGAEBObj& position);
// Adds to `plan` the entries that give `target` the offered values: EP, or
// every component the tender asks for where it asks for a breakdown (an EP
// alone is then refused), and the discount; what cannot be entered goes to
// the refusals, what the grid would ask about to the questions.
void PlanPositionValues(const OfferedValues& values, KsGAEBObj& target, PriceTakeOver& plan);

// The plan of taking the prices of `source` (`sourceName` as the messages
// name it) into `tender`.
PriceTakeOver PlanPriceTakeOver(const KsLyxObj& source, const std::string& sourceName,
                                const KsLyxObj& tender, PriceTakeOver::Prices prices);

// The report of a take-over entered: how many positions took prices, the
// source's OZ without counterpart and the positions of the tender still
// without a unit price (long lists shortened), as German lines.
std::vector<std::string> TakeOverReport(const PriceTakeOver& plan, const KsLyxObj& tender);
