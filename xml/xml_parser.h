#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xml/attr_list.h"
#include "xml/dtd_defs.h"
#include "xml/entity_stack.h"
#include "xml/expansion_guard.h"
#include "xml/part_kind.h"

// Non-validating XML reader working as a pull parser: the caller attaches a
// zero-terminated buffer (or opens a file) and asks for one part after the
// other. The document type declaration is read to apply attribute defaults
// and to expand entities. Malformed input never raises: unterminated
// constructs run to the end of the buffer, undeclared references pass as
// text. A document that breaks a bound of entity expansion ends the scan
// (Malformed). Texts are delivered as Windows-1252.
class TXmlParser {
 public:
  TXmlParser();
  TXmlParser(const TXmlParser&) = delete;
  TXmlParser& operator=(const TXmlParser&) = delete;
  virtual ~TXmlParser();

  // Forgets the buffer, every declaration and the current part;
  // CollapseSpace becomes false.
  void Reset();
  // Reset, then reads the whole file into a buffer of its own; false (and
  // reset) when it cannot be read.
  bool Open(const std::string& fileName);
  // Reset, then scans the caller's zero-terminated buffer in place; it must
  // outlive the scan. External entities and DTDs are not read for it.
  void Attach(const char* buffer);
  // The next NextPart starts at the beginning of the buffer again.
  void Restart();
  // Reads the next part into the Part... fields; false at the end.
  bool NextPart();

  // Appends raw document bytes as program text: UTF-8 becomes Windows-1252
  // when the text encoding is UTF-8, anything else passes unchanged.
  virtual void DecodeText(std::string_view raw, std::string& out);
  // A parser opened on the file of an external entity, or null when there
  // is none or it may not be read (see ResolveEntityPath).
  virtual std::unique_ptr<TXmlParser> OpenEntity(const std::string& publicId,
                                                 const std::string& systemId,
                                                 const std::string& notation);
  // Called for processing instructions (pkPI), comments (pkComment) and
  // unrecognised text (pkText) inside the document type declaration, with
  // its first and last character.
  virtual void OnDtdElement(TPartKind kind, const char* first, const char* last);

  const char* Buffer() const { return buffer_; }
  size_t BufferSize() const { return ownedSize_; }               // 0 for an attached buffer
  const std::string& SourceName() const { return sourceName_; }  // "<REFERENCE>" if attached

  const std::string& DeclVersion() const { return declVersion_; }
  const std::string& DeclEncoding() const { return declEncoding_; }
  bool DeclStandalone() const { return declStandalone_; }
  const std::string& DocRootName() const { return docRootName_; }

  // Text parts are trimmed, inner white space becomes one blank, and text
  // parts that end up empty are skipped.
  bool CollapseSpace = false;

  const TElemList& Elements() const { return elements_; }
  const TNvpList& GeneralEntities() const { return generalEntities_; }
  const TNvpList& ParameterEntities() const { return parameterEntities_; }
  const TNvpList& Notations() const { return notations_; }

  // Tags set the name and keep the text; text and CDATA set the text and keep
  // the name, so a text still names the tag before it.
  TPartKind PartKind() const { return partKind_; }
  const std::string& PartName() const { return partName_; }
  const std::string& PartText() const { return partText_; }
  const TAttrList& PartAttributes() const { return partAttributes_; }
  // First and last character of the part; valid until the next NextPart.
  const char* PartBegin() const { return partBegin_; }
  const char* PartEnd() const { return partEnd_; }

  const TEntityStack& EntityStack() const { return entityStack_; }
  const std::string& TextEncoding() const { return textEncoding_; }
  void SetTextEncoding(const std::string& encoding);
  // The scan ended because the document broke a bound of entity expansion.
  bool Malformed() const { return malformed_; }

 private:
  friend class DtdReader;

  bool ReadPart();  // false for a text part that CollapseSpace suppresses
  void ReadProlog();
  void ReadPI();
  void ReadComment();
  void ReadDocType();
  void ReadCData();
  void ReadTag();
  bool ReadText();
  void ReadTextReference(const char*& last);
  const char* ReadAttributes(const char* p);
  void ApplyDeclaredAttributes();
  void ProcessAttributeValues();
  void ExpandAttrValue(std::string_view raw, std::string& out);
  void PushLiteralEntity(const TEntityDef* entity);
  bool PushExternalEntity(const TEntityDef* entity);
  void PopEntity();
  const TEntityDef* FindEntity(const TNvpList& list, std::string_view name) const;
  void SetMalformed();

  std::unique_ptr<char[]> owned_;
  size_t ownedSize_ = 0;
  const char* buffer_;
  size_t documentSize_ = 0;
  std::string sourceName_;

  std::string declVersion_;
  std::string declEncoding_;
  bool declStandalone_ = false;
  std::string docRootName_;
  const char* docTypeStart_ = nullptr;  // a declaration already read, and its end
  const char* docTypeEnd_ = nullptr;

  TElemList elements_;
  TNvpList generalEntities_;
  TNvpList parameterEntities_;
  TNvpList notations_;

  TPartKind partKind_ = pkNone;
  std::string partName_;
  std::string partText_;
  TAttrList partAttributes_;
  const char* partBegin_ = nullptr;
  const char* partEnd_ = nullptr;

  TEntityStack entityStack_;
  // External entities finished during this part; their text stays readable
  // through PartBegin until the next part.
  std::vector<std::unique_ptr<TEntityStackNode>> retired_;
  std::string textEncoding_;
  bool utf8_ = false;

  const char* pos_;  // next character to read
  ExpansionGuard guard_;
  bool malformed_ = false;
  std::string scratch_;
};
