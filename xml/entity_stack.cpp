#include "xml/entity_stack.h"

#include "xml/xml_parser.h"

TEntityStackNode::TEntityStackNode(const char* returnPos, const TEntityDef* entity,
                                   std::unique_ptr<TXmlParser> parser, std::string encoding)
    : ReturnPos(returnPos),
      Entity(entity),
      Parser(std::move(parser)),
      Encoding(std::move(encoding)) {}

TEntityStackNode::~TEntityStackNode() = default;

std::unique_ptr<TEntityStackNode> TEntityStack::Pop() {
  std::unique_ptr<TEntityStackNode> top = std::move(nodes_.back());
  nodes_.pop_back();
  return top;
}
