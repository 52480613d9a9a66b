#pragma once

#include <cstdint>
#include <string_view>

// Content of a declared element.
enum TElemType : uint8_t { etEmpty, etAny, etChildsOnly, etMixed };

// Declared type of an attribute.
enum TAttrType : uint8_t {
  atUnknown,
  atCData,
  atID,
  atIDRef,
  atIDRefs,
  atEntity,
  atEntities,
  atNmToken,
  atNmTokens,
  atNotation,
  atEnumeration,
};

// How an attribute declaration supplies a value.
enum TDefaultType : uint8_t {
  dtDefault,   // a plain default value
  dtRequired,  // #REQUIRED
  dtImplied,   // #IMPLIED
  dtFixed,     // #FIXED with its value
};

// How the value of an attribute of the current tag came about.
enum TAttrValueKind : uint8_t {
  avNormal,   // written in the tag
  avDefault,  // taken from the declaration's default
  avImplied,  // declared #IMPLIED
  avFixed,    // fixed by the declaration
};

// Display names: "Empty", "Any", "Childs only", "Mixed".
const char* ElemTypeName(TElemType type);
// "Unknown", "CDATA", "ID", ..., "Notation", "Enumeration".
const char* AttrTypeName(TAttrType type);
// The keyword of a declaration ("CDATA", "IDREFS", ...) or atUnknown;
// NOTATION and enumerations are told apart by the reader, not by a keyword.
TAttrType AttrTypeOfKeyword(std::string_view keyword);
// "#REQUIRED", "#IMPLIED", "#FIXED"; empty for a plain default value.
const char* DefaultTypeKeyword(TDefaultType type);
