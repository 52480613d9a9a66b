#pragma once

#include <pugixml.hpp>
#include <string_view>
#include <utility>
#include <vector>

// Element names of GAEB DA XML compared by their local part, so a file that
// binds the GAEB namespace to a prefix ("g:Item") reads like one that makes
// it the default.

std::string_view LocalName(const pugi::xml_node& node);
bool IsNamed(const pugi::xml_node& node, std::string_view localName);
// The first child element of that local name; an empty node when there is none.
pugi::xml_node ChildNamed(const pugi::xml_node& node, std::string_view localName);
// The text of that child as the file holds it (UTF-8); "" when there is none.
std::string_view ChildText(const pugi::xml_node& node, std::string_view localName);
// The namespace URI that the element's name is bound to, looked up through
// the element and its ancestors; "" when it is bound to none.
std::string_view NamespaceOf(const pugi::xml_node& element);

// The child elements of a node by local name, gathered in one walk, for an
// element whose children are looked up many times (an Item's).
class XmlChildren {
 public:
  explicit XmlChildren(const pugi::xml_node& node);
  // As ChildNamed and ChildText.
  pugi::xml_node Named(std::string_view localName) const;
  std::string_view Text(std::string_view localName) const { return Named(localName).child_value(); }
  // Every child element with its local name, in the order of the file.
  const std::vector<std::pair<std::string_view, pugi::xml_node>>& All() const { return children_; }

 private:
  std::vector<std::pair<std::string_view, pugi::xml_node>> children_;
};
