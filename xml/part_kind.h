#pragma once

#include <cstdint>

// Kinds of the parts that TXmlParser::NextPart delivers.
enum TPartKind : uint8_t {
  pkNone,       // before the first part
  pkXmlProlog,  // <?xml ... ?>
  pkComment,    // <!-- ... -->
  pkPI,         // <?target ... ?>
  pkDtdc,       // <!DOCTYPE ... >
  pkStartTag,
  pkEmptyTag,  // <name ... />
  pkEndTag,
  pkText,
  pkCData,  // <![CDATA[ ... ]]>
};

// "XML Prolog", "Comment", ...; empty for pkNone.
const char* PartKindName(TPartKind kind);
