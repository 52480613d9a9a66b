#include "xml/vocabulary.h"

#include <array>

#include "xml/part_kind.h"

namespace {

constexpr std::array<const char*, 10> kPartNames = {
    "",          "XML Prolog", "Comment", "PI",   "DTD Declaration",
    "Start Tag", "Empty Tag",  "End Tag", "Text", "CDATA",
};
constexpr std::array<const char*, 4> kElemTypeNames = {"Empty", "Any", "Childs only", "Mixed"};
constexpr std::array<const char*, 11> kAttrTypeNames = {
    "Unknown",  "CDATA",   "ID",       "IDREF",    "IDREFS",      "ENTITY",
    "ENTITIES", "NMTOKEN", "NMTOKENS", "Notation", "Enumeration",
};
// Keywords of the types atCData .. atNmTokens, in value order.
constexpr std::array<std::string_view, 8> kAttrTypeKeywords = {
    "CDATA", "ID", "IDREF", "IDREFS", "ENTITY", "ENTITIES", "NMTOKEN", "NMTOKENS",
};
constexpr std::array<const char*, 4> kDefaultKeywords = {"", "#REQUIRED", "#IMPLIED", "#FIXED"};

template <size_t N>
const char* NameAt(const std::array<const char*, N>& names, size_t i) {
  return i < N ? names[i] : "";
}

}  // namespace

const char* PartKindName(TPartKind kind) { return NameAt(kPartNames, kind); }

const char* ElemTypeName(TElemType type) { return NameAt(kElemTypeNames, type); }

const char* AttrTypeName(TAttrType type) { return NameAt(kAttrTypeNames, type); }

TAttrType AttrTypeOfKeyword(std::string_view keyword) {
  for (size_t i = 0; i < kAttrTypeKeywords.size(); ++i)
    if (kAttrTypeKeywords[i] == keyword) return static_cast<TAttrType>(atCData + i);
  return atUnknown;
}

const char* DefaultTypeKeyword(TDefaultType type) { return NameAt(kDefaultKeywords, type); }
