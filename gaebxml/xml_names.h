#pragma once

#include <pugixml.hpp>
#include <string_view>

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
