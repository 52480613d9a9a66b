#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A name and a value.
class TNvpNode {
 public:
  TNvpNode() = default;
  TNvpNode(std::string name, std::string value) : Name(std::move(name)), Value(std::move(value)) {}
  virtual ~TNvpNode() = default;

  std::string Name;
  std::string Value;
};

// Owning list of nodes, searched by name (XML names: letter case counts).
// The first node of a name is the one found, so a later declaration of the
// same name never hides an earlier one.
class TNvpList {
 public:
  TNvpList() = default;
  TNvpList(const TNvpList&) = delete;
  TNvpList& operator=(const TNvpList&) = delete;
  virtual ~TNvpList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  TNvpNode* Items(int i) const { return items_.at(static_cast<size_t>(i)).get(); }
  // Appends; the name must not change afterwards.
  TNvpNode* Add(std::unique_ptr<TNvpNode> node);
  TNvpNode* Find(std::string_view name) const;
  // Value of the first node of that name, empty if there is none.
  std::string Value(std::string_view name) const;
  virtual void Clear();

 protected:
  std::vector<std::unique_ptr<TNvpNode>> items_;

 private:
  // Short lists are searched in order; long ones (declarations) through an
  // index, built as far as needed, so a lookup never costs the list's length.
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  mutable std::unordered_map<std::string, TNvpNode*, Hash, std::equal_to<>> index_;
  mutable size_t indexed_ = 0;
};
