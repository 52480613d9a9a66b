#pragma once

#include <vector>

#include "gaeb/gaeb_document.h"

// Stands in for the offer document in tests of the element layer: records the
// notification codes and lends its reader and recalculation flag.
class TestDocument : public GaebDocument {
 public:
  KsFileReadGaeb00* Reader() override { return reader; }
  void NotifyObservers(int code) override { codes.push_back(code); }
  bool RecalcAll() const override { return recalcAll; }

  int Count(int code) const {
    int n = 0;
    for (int c : codes) n += c == code;
    return n;
  }

  KsFileReadGaeb00* reader = nullptr;
  bool recalcAll = false;
  std::vector<int> codes;
};
