#pragma once

#include <memory>
#include <string>
#include <vector>

class KsFieldDesc;

// One grid column: the field it shows and whether it is shown by default and available.
class KsField {
 public:
  enum : unsigned { ShownByDefault = 1u << 0, Available = 1u << 1 };
  const KsFieldDesc* Desc = nullptr;
  unsigned Flags = 0;

  const std::string& Name() const;
  // Caption of the column in the check list: label (or name) and the hint in parentheses.
  std::string ListText() const;
};

// The column catalogue, built once from the POSITION and LVBEREICH descriptors.
class KsFieldList {
 public:
  KsFieldList();
  int Count() const { return static_cast<int>(items_.size()); }
  KsField& Items(int i) const { return *items_.at(i); }
  KsField* Find(const std::string& name) const;  // exact name

 private:
  std::vector<std::unique_ptr<KsField>> items_;
};
