#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/nvp_list.h"
#include "xml/vocabulary.h"

// An attribute declaration; Value is the default value.
class TAttrDef : public TNvpNode {
 public:
  using TNvpNode::TNvpNode;
  TAttrType AttrType = atUnknown;
  TDefaultType DefaultType = dtDefault;
  std::string Notations;  // "(a|b)" of a NOTATION type
  std::string TypeDef;    // "(x|y|z)" of an enumeration
};

// An element declaration with the declarations of its attributes.
class TElemDef : public TNvpList {
 public:
  explicit TElemDef(std::string name) : Name(std::move(name)) {}
  std::string Name;
  TElemType ElemType = etAny;
  std::string Definition;  // the content model as written
  bool Declared = false;   // an ELEMENT declaration was read (not only an ATTLIST)

  TAttrDef* AttrDef(int i) const { return static_cast<TAttrDef*>(Items(i)); }
  TAttrDef* FindAttrDef(std::string_view name) const { return static_cast<TAttrDef*>(Find(name)); }
  // Adds a declaration unless the attribute is declared already (the first
  // declaration holds); returns the one that holds.
  TAttrDef* AddAttrDef(std::unique_ptr<TAttrDef> def);
  // The declarations that supply a value (a default or #FIXED), in order, so
  // that a tag looks only at those.
  const std::vector<const TAttrDef*>& Defaults() const { return defaults_; }
  void Clear() override;

 private:
  std::vector<const TAttrDef*> defaults_;
};

// The element declarations, searched by element name.
class TElemList {
 public:
  int Count() const { return static_cast<int>(elements_.size()); }
  TElemDef* Items(int i) const { return elements_.at(static_cast<size_t>(i)).get(); }
  TElemDef* Find(std::string_view name) const;
  // The declaration of name, created on first use.
  TElemDef* FindOrAdd(std::string_view name);
  void Clear();

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  std::vector<std::unique_ptr<TElemDef>> elements_;
  std::unordered_map<std::string, TElemDef*, Hash, std::equal_to<>> index_;
};

// A parsed external identifier.
class TExternalID {
 public:
  std::string PublicId;
  std::string SystemId;
  bool Present = false;  // SYSTEM or PUBLIC was read

  // Reads "SYSTEM literal" or "PUBLIC literal [literal]" at p (the second
  // literal is optional for notations); returns the position after it, or p
  // when no external identifier starts there. Stops at the terminating zero.
  const char* Read(const char* p);
};

// An entity declaration: a literal value, or an external identifier with an
// optional notation (an unparsed entity).
class TEntityDef : public TNvpNode {
 public:
  using TNvpNode::TNvpNode;
  std::string SystemId;
  std::string PublicId;
  std::string NotationName;
  bool External = false;
};

// A notation declaration.
class TNotationDef : public TNvpNode {
 public:
  using TNvpNode::TNvpNode;
  std::string PublicId;
  std::string SystemId;
};
