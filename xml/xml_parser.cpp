#include "xml/xml_parser.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "util/same_text.h"
#include "xml/dtd_reader.h"
#include "xml/entity_path.h"
#include "xml/scan.h"
#include "xml/utf8_decode.h"

namespace {

const char kNoText[1] = {0};

bool StartsWith(const char* p, const char* prefix) {
  return std::strncmp(p, prefix, std::strlen(prefix)) == 0;
}

// Past the first occurrence of seq at or after p, or the terminating zero.
const char* PastOrEnd(const char* p, const char* seq) {
  const char* hit = FindOrEnd(p, seq);
  return *hit ? hit + std::strlen(seq) : hit;
}

// Ends a tag name: tab, line feed, carriage return, blank, "/", ">" or zero.
bool EndsTagName(char c) { return c == '\0' || IsXmlSpace(c) || c == '/' || c == '>'; }

}  // namespace

TXmlParser::TXmlParser() : buffer_(kNoText), pos_(kNoText) { Reset(); }

TXmlParser::~TXmlParser() = default;

void TXmlParser::Reset() {
  owned_.reset();
  ownedSize_ = 0;
  buffer_ = kNoText;
  documentSize_ = 0;
  sourceName_.clear();
  declVersion_.clear();
  declEncoding_.clear();
  declStandalone_ = false;
  docRootName_.clear();
  docTypeStart_ = docTypeEnd_ = nullptr;
  CollapseSpace = false;
  elements_.Clear();
  generalEntities_.Clear();
  parameterEntities_.Clear();
  notations_.Clear();
  SetTextEncoding(std::string());
  Restart();
}

bool TXmlParser::Open(const std::string& fileName) {
  Reset();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(fileName, ec)) return false;
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  const std::streamoff size = in ? static_cast<std::streamoff>(in.tellg()) : -1;
  if (size < 0) return false;
  std::unique_ptr<char[]> data(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
  if (!data) return false;
  in.seekg(0);
  if (!in.read(data.get(), size) || in.gcount() != size) return false;
  data[static_cast<size_t>(size)] = '\0';
  owned_ = std::move(data);
  ownedSize_ = static_cast<size_t>(size);
  buffer_ = owned_.get();
  documentSize_ = ownedSize_;
  sourceName_ = fileName;
  Restart();
  return true;
}

void TXmlParser::Attach(const char* buffer) {
  Reset();
  buffer_ = buffer ? buffer : kNoText;
  documentSize_ = std::strlen(buffer_);
  sourceName_ = "<REFERENCE>";
  Restart();
}

void TXmlParser::Restart() {
  partKind_ = pkNone;
  partName_.clear();
  partText_.clear();
  partAttributes_.Clear();
  partBegin_ = partEnd_ = nullptr;
  entityStack_.Clear();
  retired_.clear();
  pos_ = buffer_;
  guard_.Start(documentSize_);
  malformed_ = false;
}

void TXmlParser::SetTextEncoding(const std::string& encoding) {
  textEncoding_ = encoding;
  // Encoding names are not case-sensitive: "utf-8" is UTF-8 as well.
  utf8_ = SameText(encoding, "UTF-8");
}

void TXmlParser::SetMalformed() {
  malformed_ = true;
  entityStack_.Clear();
  guard_.LeaveAll();
}

bool TXmlParser::NextPart() {
  retired_.clear();
  for (;;) {
    if (malformed_) return false;
    while (*pos_ == '\0' && !entityStack_.Empty()) PopEntity();
    if (*pos_ == '\0') {
      partBegin_ = partEnd_ = pos_;
      return false;
    }
    if (partAttributes_.Count() > 0) partAttributes_.Clear();
    const char* begin = pos_;
    const bool delivered = ReadPart();
    if (malformed_) return false;
    if (delivered) {
      partBegin_ = begin;
      return true;
    }
  }
}

bool TXmlParser::ReadPart() {
  const char* p = pos_;
  if (p[0] != '<') return ReadText();
  if (p[1] == '?') {
    // "<?xml-stylesheet" and the like are processing instructions.
    if (StartsWith(p, "<?xml") && (IsXmlSpace(p[5]) || p[5] == '?'))
      ReadProlog();
    else
      ReadPI();
  } else if (p[1] != '!') {
    ReadTag();
  } else if (StartsWith(p, "<!--")) {
    ReadComment();
  } else if (StartsWith(p, "<!DOCTYPE")) {
    ReadDocType();
  } else if (StartsWith(p, "<![CDATA[")) {
    ReadCData();
  } else {
    ReadTag();
  }
  partEnd_ = pos_ - 1;
  return true;
}

void TXmlParser::ReadProlog() {
  pos_ = PastOrEnd(ReadAttributes(pos_ + 5), "?>");
  ProcessAttributeValues();
  if (entityStack_.Empty()) {
    declVersion_ = partAttributes_.Value("version");
    declEncoding_ = partAttributes_.Value("encoding");
    declStandalone_ = partAttributes_.Value("standalone") == "yes";
  }
  const std::string encoding = partAttributes_.Value("encoding");
  SetTextEncoding(encoding.empty() ? "UTF-8" : encoding);
  partKind_ = pkXmlProlog;
  partName_.clear();
  partText_.clear();
}

void TXmlParser::ReadPI() {
  const char* target = pos_ + 2;
  const char* end = FindOrEnd(target, "?>");
  const char* rest = target;
  while (rest < end && !IsXmlSpace(*rest)) ++rest;
  partName_.assign(target, rest);
  while (rest < end && IsXmlSpace(*rest)) ++rest;
  partText_.clear();
  DecodeText(std::string_view(rest, static_cast<size_t>(end - rest)), partText_);
  // Pseudo-attributes are read from a copy, so they cannot run past "?>".
  const std::string body(rest, end);
  ReadAttributes(body.c_str());
  ProcessAttributeValues();
  pos_ = *end ? end + 2 : end;
  partKind_ = pkPI;
}

void TXmlParser::ReadComment() {
  pos_ = PastOrEnd(pos_ + 4, "-->");
  partKind_ = pkComment;
}

void TXmlParser::ReadDocType() {
  partKind_ = pkDtdc;
  partName_.clear();
  partText_.clear();
  if (pos_ == docTypeStart_) {
    pos_ = docTypeEnd_;
    return;
  }
  const char* start = pos_;
  pos_ = DtdReader(*this).ReadDocType(pos_);
  if (!malformed_) {
    docTypeStart_ = start;
    docTypeEnd_ = pos_;
  }
}

void TXmlParser::ReadCData() {
  const char* text = pos_ + 9;
  const char* end = FindOrEnd(text, "]]>");
  partText_.clear();
  DecodeText(std::string_view(text, static_cast<size_t>(end - text)), partText_);
  pos_ = *end ? end + 3 : end;
  partKind_ = pkCData;
}

void TXmlParser::ReadTag() {
  const bool endTag = pos_[1] == '/';
  const char* name = pos_ + (endTag ? 2 : 1);
  const char* p = name;
  while (!EndsTagName(*p)) ++p;
  partName_.assign(name, p);
  const char* stop = ReadAttributes(p);
  partKind_ = endTag ? pkEndTag : *stop == '/' ? pkEmptyTag : pkStartTag;
  pos_ = PastCharOrEnd(stop, '>');
  if (!endTag) ApplyDeclaredAttributes();
  ProcessAttributeValues();
}

const char* TXmlParser::ReadAttributes(const char* p) {
  for (;;) {
    p = SkipXmlSpace(p);
    if (!IsAttrNameStart(*p)) return p;
    const char* name = p;
    while (*p && !IsXmlSpace(*p) && *p != '/' && *p != '=' && *p != '>') ++p;
    const char* nameEnd = p;
    while (*p && *p != '=' && *p != '>') ++p;
    if (*p != '=') return p;
    ++p;
    while (*p && *p != '"' && *p != '\'' && *p != '>') ++p;
    if (*p != '"' && *p != '\'') return p;
    const char quote = *p++;
    const char* value = p;
    while (*p && *p != quote) ++p;
    partAttributes_.AddAttr(std::string_view(name, static_cast<size_t>(nameEnd - name)),
                            std::string_view(value, static_cast<size_t>(p - value)));
    if (*p) ++p;
  }
}

void TXmlParser::ApplyDeclaredAttributes() {
  if (elements_.Count() == 0) return;
  const TElemDef* element = elements_.Find(partName_);
  if (!element) return;
  for (int i = 0; i < partAttributes_.Count(); ++i) {
    TAttr* attr = partAttributes_.Attr(i);
    const TAttrDef* def = element->FindAttrDef(attr->Name);
    if (!def) continue;
    attr->AttrType = def->AttrType;
    if (def->DefaultType == dtImplied) {
      attr->ValueKind = avImplied;
    } else if (def->DefaultType == dtFixed) {
      attr->ValueKind = avFixed;
      attr->Value = def->Value;
    }
  }
  for (const TAttrDef* def : element->Defaults()) {
    if (partAttributes_.Find(def->Name)) continue;
    // Defaults are text the declarations add to every tag: they count like
    // entity text, so a small document cannot grow without bound.
    if (!guard_.Spend(def->Name.size() + def->Value.size() + 1)) {
      SetMalformed();
      return;
    }
    TAttr* attr = partAttributes_.AddAttr(def->Name, def->Value);
    attr->AttrType = def->AttrType;
    attr->ValueKind = def->DefaultType == dtFixed ? avFixed : avDefault;
  }
}

void TXmlParser::ProcessAttributeValues() {
  for (int i = 0; i < partAttributes_.Count() && !malformed_; ++i) {
    TAttr* attr = partAttributes_.Attr(i);
    scratch_.clear();
    ExpandAttrValue(attr->Value, scratch_);
    if (attr->AttrType == atCData || attr->AttrType == atUnknown) {
      for (char& c : scratch_)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
      attr->Value.swap(scratch_);
      continue;
    }
    // Tokenised types: runs of white space become one blank, no blank at the ends.
    attr->Value.clear();
    for (char c : scratch_) {
      if (IsXmlSpace(c)) {
        if (!attr->Value.empty() && attr->Value.back() != ' ') attr->Value += ' ';
      } else {
        attr->Value += c;
      }
    }
    if (!attr->Value.empty() && attr->Value.back() == ' ') attr->Value.pop_back();
  }
}

void TXmlParser::DecodeText(std::string_view raw, std::string& out) {
  if (utf8_)
    AppendUtf8AsCp1252(raw, out);
  else
    out.append(raw);
}

std::unique_ptr<TXmlParser> TXmlParser::OpenEntity(const std::string&, const std::string& systemId,
                                                   const std::string&) {
  const auto path = ResolveEntityPath(sourceName_, systemId);
  if (!path) return nullptr;
  auto parser = std::make_unique<TXmlParser>();
  if (!parser->Open(*path)) return nullptr;
  return parser;
}

void TXmlParser::OnDtdElement(TPartKind, const char*, const char*) {}
