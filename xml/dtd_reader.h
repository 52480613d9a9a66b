#pragma once

#include <string>
#include <string_view>

class TXmlParser;

// Reads a document type declaration into the declaration lists of its
// parser: the internal subset first (its declarations hold over the external
// ones), then the external DTD. Parameter entity references are expanded in
// place, INCLUDE and IGNORE sections are honoured.
class DtdReader {
 public:
  explicit DtdReader(TXmlParser& parser) : parser_(parser) {}
  // p at "<!DOCTYPE"; returns the position after its closing ">", or the
  // terminating zero.
  const char* ReadDocType(const char* p);

 private:
  enum class Until { End, SubsetEnd, SectionEnd };
  // Nesting of INCLUDE sections beyond this ends the scan as malformed.
  static constexpr int kMaxSectionDepth = 64;

  const char* ReadDeclarations(const char* p, Until until);
  const char* ReadMarkupDeclaration(const char* p);
  const char* ReadConditionalSection(const char* start);
  void ReadParameterReference(std::string_view name);
  void ReadExternal(const char* text);
  // Expands the parameter entity references in text; false when a bound of
  // expansion was broken (the parser is then malformed).
  bool ExpandParameterRefs(std::string_view text, std::string& out);
  void Declare(const std::string& declaration);
  void DeclareElement(const char* p);
  void DeclareAttributes(const char* p);
  void DeclareEntity(const char* p);
  void DeclareNotation(const char* p);
  bool Failed() const;

  TXmlParser& parser_;
  int sectionDepth_ = 0;
};
