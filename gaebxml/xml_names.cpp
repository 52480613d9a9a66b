#include "gaebxml/xml_names.h"

#include <string>

std::string_view LocalName(const pugi::xml_node& node) {
  // Names are short and looked at for every element: one walk finds the
  // prefix and the end, rather than a search for each.
  const char* const name = node.name();
  const char* end = name;
  while (*end && *end != ':') ++end;
  if (!*end) return std::string_view(name, static_cast<size_t>(end - name));
  return std::string_view(end + 1);
}

bool IsNamed(const pugi::xml_node& node, std::string_view localName) {
  return node.type() == pugi::node_element && LocalName(node) == localName;
}

pugi::xml_node ChildNamed(const pugi::xml_node& node, std::string_view localName) {
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
    if (IsNamed(child, localName)) return child;
  return pugi::xml_node();
}

std::string_view ChildText(const pugi::xml_node& node, std::string_view localName) {
  return ChildNamed(node, localName).child_value();
}

std::string_view NamespaceOf(const pugi::xml_node& element) {
  const std::string_view name = element.name();
  const size_t colon = name.find(':');
  const std::string attribute =
      colon == std::string_view::npos ? "xmlns" : "xmlns:" + std::string(name.substr(0, colon));
  for (pugi::xml_node n = element; n; n = n.parent())
    if (pugi::xml_attribute a = n.attribute(attribute.c_str())) return a.value();
  return {};
}

XmlChildren::XmlChildren(const pugi::xml_node& node) {
  children_.reserve(16);  // an Item's, so that the list is not moved as it grows
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
    if (child.type() == pugi::node_element) children_.emplace_back(LocalName(child), child);
}

pugi::xml_node XmlChildren::Named(std::string_view localName) const {
  for (const auto& [name, child] : children_)
    if (name == localName) return child;
  return pugi::xml_node();
}
