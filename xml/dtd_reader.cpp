#include "xml/dtd_reader.h"

#include <cstring>
#include <memory>

#include "util/trim.h"
#include "xml/scan.h"
#include "xml/xml_parser.h"

namespace {

bool StartsWith(const char* p, const char* prefix) {
  return std::strncmp(p, prefix, std::strlen(prefix)) == 0;
}

// A keyword followed by white space (or the end of the declaration).
bool IsKeyword(const char* p, const char* keyword) {
  const size_t n = std::strlen(keyword);
  return std::strncmp(p, keyword, n) == 0 && (IsXmlSpace(p[n]) || p[n] == '\0' || p[n] == '>');
}

bool IsDeclarationStart(const char* p) {
  if (p[0] != '<' || p[1] != '!') return false;
  p += 2;
  return IsKeyword(p, "ELEMENT") || IsKeyword(p, "ATTLIST") || IsKeyword(p, "ENTITY") ||
         IsKeyword(p, "NOTATION");
}

bool EndsDeclName(char c) {
  return c == '\0' || IsXmlSpace(c) || std::strchr("\"'()>|,[]", c) != nullptr;
}

// Skips white space and reads a name (or keyword such as #REQUIRED).
std::string ReadDeclName(const char*& p) {
  p = SkipXmlSpace(p);
  const char* start = p;
  while (!EndsDeclName(*p)) ++p;
  return std::string(start, p);
}

// p at "(": the group up to its matching ")" with an occurrence sign after it.
std::string ReadGroup(const char*& p) {
  const char* start = p;
  int depth = 0;
  do {
    if (*p == '(') ++depth;
    if (*p == ')') --depth;
    ++p;
  } while (*p && depth > 0);
  if (*p == '?' || *p == '*' || *p == '+') ++p;
  return std::string(start, p);
}

// Ends the name of a parameter entity reference; only ";" makes it one.
bool EndsPeName(char c) {
  return c == '\0' || c == ';' || c == '%' || c == '<' || c == '>' || c == '"' || c == '\'' ||
         IsXmlSpace(c);
}

// Past the end of a construct ending in seq; last is its last character.
const char* PastConstruct(const char* p, const char* seq, const char*& last) {
  const char* hit = FindOrEnd(p, seq);
  const char* end = *hit ? hit + std::strlen(seq) : hit;
  last = end - 1;
  return end;
}

}  // namespace

bool DtdReader::Failed() const { return parser_.malformed_; }

const char* DtdReader::ReadDocType(const char* p) {
  p = SkipXmlSpace(p + 9);
  const char* name = p;
  while (*p && !IsXmlSpace(*p) && *p != '[' && *p != '>') ++p;
  parser_.docRootName_.assign(name, p);
  TExternalID external;
  p = SkipXmlSpace(external.Read(SkipXmlSpace(p)));
  if (*p == '[') {
    p = ReadDeclarations(p + 1, Until::SubsetEnd);
    if (Failed()) return p;
    if (*p == ']') ++p;
  }
  p = PastCharOrEnd(p, '>');
  if (external.Present) {
    if (auto source = parser_.OpenEntity(external.PublicId, external.SystemId, std::string()))
      ReadExternal(source->Buffer());
  }
  return p;
}

void DtdReader::ReadExternal(const char* text) {
  if (const char* first = std::strstr(text, "<!")) ReadDeclarations(first, Until::End);
}

const char* DtdReader::ReadDeclarations(const char* p, Until until) {
  for (;;) {
    p = SkipXmlSpace(p);
    if (*p == '\0' || Failed()) return p;
    if (*p == ']' && until == Until::SubsetEnd) return p;
    if (until == Until::SectionEnd && StartsWith(p, "]]>")) return p + 3;
    const char* last;
    if (StartsWith(p, "<!--")) {
      const char* start = p;
      p = PastConstruct(p + 4, "-->", last);
      parser_.OnDtdElement(pkComment, start, last);
    } else if (StartsWith(p, "<?")) {
      const char* start = p;
      p = PastConstruct(p + 2, "?>", last);
      parser_.OnDtdElement(pkPI, start, last);
    } else if (StartsWith(p, "<![")) {
      p = ReadConditionalSection(p);
    } else if (IsDeclarationStart(p)) {
      p = ReadMarkupDeclaration(p);
    } else if (*p == '%' && !EndsPeName(p[1])) {
      const char* name = p + 1;
      const char* end = name;
      while (*end && !EndsPeName(*end)) ++end;
      if (*end == ';')
        ReadParameterReference(std::string_view(name, static_cast<size_t>(end - name)));
      p = *end == ';' ? end + 1 : end;
    } else {
      const char* start = p;
      if (StartsWith(p, "<!")) {
        p = PastCharOrEnd(p, '>');
      } else {
        ++p;
        while (*p && *p != '<' && *p != '%' && *p != ']') ++p;
      }
      parser_.OnDtdElement(pkText, start, p - 1);
    }
  }
}

const char* DtdReader::ReadMarkupDeclaration(const char* p) {
  const char* q = p + 2;
  while (*q && *q != '>') {
    if (*q == '"' || *q == '\'') {
      const char quote = *q++;
      while (*q && *q != quote) ++q;
      if (*q) ++q;
    } else {
      ++q;
    }
  }
  std::string declaration;
  if (ExpandParameterRefs(std::string_view(p, static_cast<size_t>(q - p)), declaration))
    Declare(declaration);
  return *q ? q + 1 : q;
}

const char* DtdReader::ReadConditionalSection(const char* start) {
  const char* open = start + 3;
  while (*open && *open != '[') ++open;
  std::string keyword;
  if (!ExpandParameterRefs(std::string_view(start + 3, static_cast<size_t>(open - start - 3)),
                           keyword))
    return open;
  if (*open == '\0') return open;
  keyword = Trim(keyword);
  if (keyword == "INCLUDE") {
    if (++sectionDepth_ > kMaxSectionDepth) {
      parser_.SetMalformed();
      return open;
    }
    const char* end = ReadDeclarations(open + 1, Until::SectionEnd);
    --sectionDepth_;
    return end;
  }
  // IGNORE, and sections of unknown kind: skipped with the sections inside.
  const char* p = open + 1;
  for (int depth = 1; *p;) {
    if (StartsWith(p, "<![")) {
      ++depth;
      p += 3;
    } else if (StartsWith(p, "]]>")) {
      p += 3;
      if (--depth == 0) break;
    } else {
      ++p;
    }
  }
  if (keyword != "IGNORE") parser_.OnDtdElement(pkText, start, p - 1);
  return p;
}

void DtdReader::ReadParameterReference(std::string_view name) {
  const TEntityDef* entity = parser_.FindEntity(parser_.parameterEntities_, name);
  if (!entity) return;
  if (!entity->External) {
    if (!parser_.guard_.Enter(entity, entity->Value.size())) return parser_.SetMalformed();
    ReadDeclarations(entity->Value.c_str(), Until::End);
    if (!Failed()) parser_.guard_.Leave();
    return;
  }
  auto source = parser_.OpenEntity(entity->PublicId, entity->SystemId, entity->NotationName);
  if (!source) return;
  if (!parser_.guard_.Enter(entity, std::strlen(source->Buffer()))) return parser_.SetMalformed();
  ReadExternal(source->Buffer());
  if (!Failed()) parser_.guard_.Leave();
}

bool DtdReader::ExpandParameterRefs(std::string_view text, std::string& out) {
  size_t done = 0;
  size_t percent = 0;
  while ((percent = text.find('%', percent)) != std::string_view::npos) {
    size_t end = percent + 1;
    while (end < text.size() && !EndsPeName(text[end])) ++end;
    if (end == percent + 1 || end >= text.size() || text[end] != ';') {
      ++percent;
      continue;
    }
    const TEntityDef* entity =
        parser_.FindEntity(parser_.parameterEntities_, text.substr(percent + 1, end - percent - 1));
    std::unique_ptr<TXmlParser> source;
    if (entity && entity->External)
      source = parser_.OpenEntity(entity->PublicId, entity->SystemId, entity->NotationName);
    if (!entity || (entity->External && !source)) {  // left as written
      percent = end + 1;
      continue;
    }
    out.append(text.substr(done, percent - done));
    done = percent = end + 1;
    const std::string_view value = source ? std::string_view(source->Buffer()) : entity->Value;
    if (!parser_.guard_.Enter(entity, value.size())) {
      parser_.SetMalformed();
      return false;
    }
    if (source) {
      out.append(value);
    } else if (!ExpandParameterRefs(value, out)) {
      return false;
    }
    parser_.guard_.Leave();
  }
  out.append(text.substr(done));
  return true;
}

void DtdReader::Declare(const std::string& declaration) {
  const char* p = declaration.c_str() + 2;
  if (IsKeyword(p, "ELEMENT"))
    DeclareElement(p + 7);
  else if (IsKeyword(p, "ATTLIST"))
    DeclareAttributes(p + 7);
  else if (IsKeyword(p, "ENTITY"))
    DeclareEntity(p + 6);
  else if (IsKeyword(p, "NOTATION"))
    DeclareNotation(p + 8);
}

void DtdReader::DeclareElement(const char* p) {
  const std::string name = ReadDeclName(p);
  if (name.empty()) return;
  TElemDef* element = parser_.elements_.FindOrAdd(name);
  if (element->Declared) return;
  element->Declared = true;
  element->Definition = Trim(p);
  const std::string& model = element->Definition;
  if (model == "EMPTY")
    element->ElemType = etEmpty;
  else if (model == "ANY")
    element->ElemType = etAny;
  else if (model.find("#PCDATA") != std::string::npos)
    element->ElemType = etMixed;
  else
    element->ElemType = etChildsOnly;
}

void DtdReader::DeclareAttributes(const char* p) {
  const std::string elementName = ReadDeclName(p);
  if (elementName.empty()) return;
  TElemDef* element = parser_.elements_.FindOrAdd(elementName);
  for (;;) {
    auto def = std::make_unique<TAttrDef>(ReadDeclName(p), std::string());
    if (def->Name.empty()) return;
    p = SkipXmlSpace(p);
    if (*p == '(') {
      def->AttrType = atEnumeration;
      def->TypeDef = ReadGroup(p);
    } else {
      const std::string type = ReadDeclName(p);
      def->AttrType = type == "NOTATION" ? atNotation : AttrTypeOfKeyword(type);
      p = SkipXmlSpace(p);
      if (def->AttrType == atNotation && *p == '(') def->Notations = ReadGroup(p);
    }
    p = SkipXmlSpace(p);
    if (*p == '#') {
      const std::string keyword = ReadDeclName(p);
      if (keyword == "#REQUIRED") {
        def->DefaultType = dtRequired;
      } else if (keyword == "#IMPLIED") {
        def->DefaultType = dtImplied;
      } else if (keyword == "#FIXED") {
        def->DefaultType = dtFixed;
        p = SkipXmlSpace(p);
        if (*p == '"' || *p == '\'') p = ReadQuoted(p, def->Value);
      } else {
        return;
      }
    } else if (*p == '"' || *p == '\'') {
      def->DefaultType = dtDefault;
      p = ReadQuoted(p, def->Value);
    } else {
      return;
    }
    element->AddAttrDef(std::move(def));
  }
}

void DtdReader::DeclareEntity(const char* p) {
  p = SkipXmlSpace(p);
  const bool parameter = *p == '%' && IsXmlSpace(p[1]);
  if (parameter) ++p;
  auto entity = std::make_unique<TEntityDef>(ReadDeclName(p), std::string());
  if (entity->Name.empty()) return;
  p = SkipXmlSpace(p);
  if (*p == '"' || *p == '\'') {
    ReadQuoted(p, entity->Value);
  } else {
    TExternalID id;
    p = SkipXmlSpace(id.Read(p));
    if (!id.Present) return;
    entity->External = true;
    entity->PublicId = id.PublicId;
    entity->SystemId = id.SystemId;
    if (IsKeyword(p, "NDATA")) {
      p += 5;
      entity->NotationName = ReadDeclName(p);
    }
  }
  TNvpList& list = parameter ? parser_.parameterEntities_ : parser_.generalEntities_;
  if (!list.Find(entity->Name)) list.Add(std::move(entity));
}

void DtdReader::DeclareNotation(const char* p) {
  auto notation = std::make_unique<TNotationDef>(ReadDeclName(p), std::string());
  if (notation->Name.empty()) return;
  TExternalID id;
  id.Read(SkipXmlSpace(p));
  notation->PublicId = id.PublicId;
  notation->SystemId = id.SystemId;
  if (!parser_.notations_.Find(notation->Name)) parser_.notations_.Add(std::move(notation));
}
