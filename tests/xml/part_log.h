#pragma once

#include <string>
#include <vector>

#include "xml/xml_parser.h"

// One line per part, in a compact form that tables can spell out:
// <?xml?>  <!---->  <?target text?>  <!DOCTYPE root>  <a x=1>  <a/>  </a>
// text(a)=...  cdata(a)=...   (the name is the PartName kept from the tag)
inline std::string DescribePart(const TXmlParser& parser) {
  std::string attrs;
  for (int i = 0; i < parser.PartAttributes().Count(); ++i) {
    const TAttr* a = parser.PartAttributes().Attr(i);
    attrs += " " + a->Name + "=" + a->Value;
  }
  switch (parser.PartKind()) {
    case pkXmlProlog:
      return "<?xml?>";
    case pkComment:
      return "<!---->";
    case pkPI:
      return "<?" + parser.PartName() + " " + parser.PartText() + attrs + "?>";
    case pkDtdc:
      return "<!DOCTYPE " + parser.DocRootName() + ">";
    case pkStartTag:
      return "<" + parser.PartName() + attrs + ">";
    case pkEmptyTag:
      return "<" + parser.PartName() + attrs + "/>";
    case pkEndTag:
      return "</" + parser.PartName() + ">";
    case pkText:
      return "text(" + parser.PartName() + ")=" + parser.PartText();
    case pkCData:
      return "cdata(" + parser.PartName() + ")=" + parser.PartText();
    case pkNone:
      break;
  }
  return "?";
}

inline std::vector<std::string> ScanAll(TXmlParser& parser) {
  std::vector<std::string> parts;
  while (parser.NextPart()) parts.push_back(DescribePart(parser));
  return parts;
}

inline std::vector<std::string> ScanText(const std::string& text, bool collapse = false) {
  TXmlParser parser;
  parser.Attach(text.c_str());
  parser.CollapseSpace = collapse;
  return ScanAll(parser);
}
