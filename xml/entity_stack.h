#pragma once

#include <memory>
#include <string>
#include <vector>

class TEntityDef;
class TXmlParser;

// Where to go on when the text of an entity reference has been read.
class TEntityStackNode {
 public:
  TEntityStackNode(const char* returnPos, const TEntityDef* entity,
                   std::unique_ptr<TXmlParser> parser, std::string encoding);
  ~TEntityStackNode();

  const char* ReturnPos;               // the character after the reference
  const TEntityDef* Entity;            // the entity being read
  std::unique_ptr<TXmlParser> Parser;  // holds the text of an external entity
  std::string Encoding;                // the text encoding before the entity
};

// The entity references being read, innermost last.
class TEntityStack {
 public:
  int Count() const { return static_cast<int>(nodes_.size()); }
  bool Empty() const { return nodes_.empty(); }
  const TEntityStackNode& Items(int i) const { return *nodes_.at(static_cast<size_t>(i)); }
  void Push(std::unique_ptr<TEntityStackNode> node) { nodes_.push_back(std::move(node)); }
  std::unique_ptr<TEntityStackNode> Pop();
  void Clear() { nodes_.clear(); }

 private:
  std::vector<std::unique_ptr<TEntityStackNode>> nodes_;
};
