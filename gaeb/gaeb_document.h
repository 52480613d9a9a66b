#pragma once

#include <vector>

#include "util/variant.h"

class KsFileReadGaeb00;

// What the elements tell their document while they are read, written and
// recalculated (the document adds its own codes, document/lyx_observer.h).
enum KsGaebCode {
  gcElementRead = 3,    // an element has been read (progress)
  gcWriteStep = 6,      // an LV area or position has been written (progress)
  gcTotalsChanged = 8,  // the LV sum and gross sum were stored
};

// What an element needs of the offer document it was read into: the open
// reader, the observers and the flag that forces every total to be stored.
class GaebDocument {
 public:
  virtual ~GaebDocument() = default;
  virtual KsFileReadGaeb00* Reader() = 0;
  virtual void NotifyObservers(int code) = 0;
  virtual bool RecalcAll() const = 0;
};

// The name of the creation parameter that gives an element the document it
// is read into.
inline constexpr char kImportDocParam[] = "GAEBImp00";

// Creation-parameter value for kImportDocParam.
inline Variant DocumentParam(GaebDocument* doc) {
  return Variant::FromPointer(static_cast<void*>(doc));
}

// The creation parameters of an element read into `doc`.
inline std::vector<Variant> ImportParams(GaebDocument* doc) {
  return {Variant(kImportDocParam), DocumentParam(doc)};
}
