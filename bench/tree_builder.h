#pragma once

#include <memory>
#include <string>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_obj.h"

// Stands in for the offer document: counts notifications, lends the flag.
class BenchDocument : public GaebDocument {
 public:
  KsFileReadGaeb00* Reader() override { return nullptr; }
  void NotifyObservers(int) override { ++notifications; }
  bool RecalcAll() const override { return recalcAll; }

  bool recalcAll = false;
  long notifications = 0;
};

// Builds bills of quantities in memory, element by element through the GAEB
// registry, the way the reader leaves them: quantities and prices held as
// text in the user's number format.
class TreeBuilder {
 public:
  explicit TreeBuilder(GaebDocument* doc);

  // An LV with its LVINFO and a VAT rate of 19 percent.
  std::unique_ptr<KsGAEBObj> NewLV() const;
  KsGAEBObj& AddArea(KsGAEBObj& parent) const;
  // A normal position ("N").
  KsGAEBObj& AddPosition(KsGAEBObj& parent, double quantity, double unitPrice) const;

 private:
  KsGAEBObj& Add(KsGAEBObj& parent, const std::string& listName, const std::string& key) const;
  GaebDocument* doc_;
};

// An LV of `lots` areas, each holding `titles` areas of `positions`
// positions; prices and quantities vary with the position number.
std::unique_ptr<KsGAEBObj> BuildLV(GaebDocument* doc, int lots, int titles, int positions);
