#pragma once

#include <memory>
#include <string>

#include "gaeb/gaeb_document.h"
#include "gaeb/gaeb_elements.h"

// Makes the elements of a tree as the GAEB 2000 reader does: every element
// gets the document as ImportParams. Raises Gaeb90Error when the catalogue has
// no such element.
class TreeBuilder {
 public:
  explicit TreeBuilder(GaebDocument& doc) : doc_(doc) {}

  std::unique_ptr<KsGGAEB> Root();
  // The child held by the member, made when there is none yet.
  KsGAEBObj& Child(KsGAEBObj& parent, const char* member);
  // A new element at the end of the list the member holds.
  KsGAEBObj& NewItem(KsGAEBObj& parent, const char* listMember);
  // Sets the member when the value is not empty.
  static void Set(KsGAEBObj& element, const char* member, std::string value);
  // Sets a number member from a decimal text ("29.481") at its field's decimals.
  static void SetNumber(KsGAEBObj& element, const char* member, const std::string& value);

  GaebDocument& Doc() { return doc_; }

 private:
  GaebDocument& doc_;
};
