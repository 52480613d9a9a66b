// Text parts, references and attribute values of TXmlParser.

#include <cstring>

#include "xml/scan.h"
#include "xml/utf8_decode.h"
#include "xml/xml_parser.h"

namespace {

// Ends the name of a reference; only ";" makes it a reference.
bool EndsReferenceName(char c) {
  return c == '\0' || c == ';' || c == '<' || c == '&' || c == '>' || c == '"' || c == '\'' ||
         IsXmlSpace(c);
}

char PredefinedEntity(std::string_view name) {
  if (name == "lt") return '<';
  if (name == "gt") return '>';
  if (name == "amp") return '&';
  if (name == "apos") return '\'';
  if (name == "quot") return '"';
  return '\0';
}

int DigitValue(char c, int base) {
  if (c >= '0' && c <= '9') return c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// body is the reference without "&#" and ";". A number that is not one, 0,
// or beyond Unicode gives the replacement of its kind.
void AppendCharRef(std::string_view body, std::string& out, char invalidHex) {
  const bool hex = !body.empty() && (body[0] == 'x' || body[0] == 'X');
  const std::string_view digits = hex ? body.substr(1) : body;
  const int base = hex ? 16 : 10;
  char32_t cp = 0;
  bool valid = !digits.empty();
  for (char c : digits) {
    const int d = DigitValue(c, base);
    if (d < 0 || cp > 0x10FFFF) {
      valid = false;
      break;
    }
    cp = cp * base + static_cast<char32_t>(d);
  }
  if (!valid || cp == 0 || cp > 0x10FFFF)
    out += hex ? invalidHex : ' ';
  else
    out += Cp1252OfCodePoint(cp);
}

// Character references and the five predefined entities; false for any
// other name.
bool AppendBuiltInReference(std::string_view name, std::string& out, char invalidHex) {
  if (!name.empty() && name[0] == '#') {
    AppendCharRef(name.substr(1), out, invalidHex);
    return true;
  }
  if (const char c = PredefinedEntity(name)) {
    out += c;
    return true;
  }
  return false;
}

void CollapseWhiteSpace(std::string& text) {
  size_t w = 0;
  bool gap = false;
  for (char c : text) {
    if (IsXmlSpace(c)) {
      gap = w > 0;
      continue;
    }
    if (gap) text[w++] = ' ';
    gap = false;
    text[w++] = c;
  }
  text.resize(w);
}

}  // namespace

bool TXmlParser::ReadText() {
  scratch_.clear();
  const char* last = pos_;
  for (;;) {
    const char* start = pos_;
    const char* p = start + std::strcspn(start, "<&");
    if (p > start) {
      DecodeText(std::string_view(start, static_cast<size_t>(p - start)), scratch_);
      last = p - 1;
    }
    pos_ = p;
    if (*p == '&') {
      ReadTextReference(last);
      if (malformed_) return false;
      continue;
    }
    if (*p == '<' || entityStack_.Empty()) break;
    PopEntity();  // the entity's text has been read; the text goes on after the reference
  }
  if (CollapseSpace) {
    CollapseWhiteSpace(scratch_);
    if (scratch_.empty()) return false;
  }
  partText_.swap(scratch_);
  partKind_ = pkText;
  partEnd_ = last;
  return true;
}

void TXmlParser::ReadTextReference(const char*& last) {
  const char* amp = pos_;
  const char* p = amp + 1;
  while (!EndsReferenceName(*p)) ++p;
  if (*p != ';') {  // not a reference: the "&" is dropped
    pos_ = amp + 1;
    last = amp;
    return;
  }
  const std::string_view name(amp + 1, static_cast<size_t>(p - amp - 1));
  pos_ = p + 1;
  last = p;
  if (AppendBuiltInReference(name, scratch_, ' ')) return;
  const TEntityDef* entity = FindEntity(generalEntities_, name);
  if (entity && !entity->External) {
    PushLiteralEntity(entity);
    return;
  }
  if (entity && entity->NotationName.empty() && PushExternalEntity(entity)) return;
  DecodeText(name, scratch_);
}

const TEntityDef* TXmlParser::FindEntity(const TNvpList& list, std::string_view name) const {
  return static_cast<const TEntityDef*>(list.Find(name));
}

void TXmlParser::PushLiteralEntity(const TEntityDef* entity) {
  if (!guard_.Enter(entity, entity->Value.size())) {
    SetMalformed();
    return;
  }
  entityStack_.Push(std::make_unique<TEntityStackNode>(pos_, entity, nullptr, std::string()));
  pos_ = entity->Value.c_str();
}

bool TXmlParser::PushExternalEntity(const TEntityDef* entity) {
  std::unique_ptr<TXmlParser> source =
      OpenEntity(entity->PublicId, entity->SystemId, entity->NotationName);
  if (!source) return false;
  if (!guard_.Enter(entity, std::strlen(source->Buffer()))) {
    SetMalformed();
    return true;
  }
  const char* text = source->Buffer();
  entityStack_.Push(
      std::make_unique<TEntityStackNode>(pos_, entity, std::move(source), textEncoding_));
  pos_ = text;
  return true;
}

void TXmlParser::PopEntity() {
  std::unique_ptr<TEntityStackNode> node = entityStack_.Pop();
  guard_.Leave();
  pos_ = node->ReturnPos;
  if (node->Parser) {
    // A text declaration of the entity applied to the entity alone.
    SetTextEncoding(node->Encoding);
    retired_.push_back(std::move(node));
  }
}

// Replaces references in one attribute value and decodes the text. Character
// references give program characters directly, so they are not decoded a
// second time; entity values are read with the same rules.
void TXmlParser::ExpandAttrValue(std::string_view raw, std::string& out) {
  size_t done = 0;
  size_t amp;
  while ((amp = raw.find('&', done)) != std::string_view::npos) {
    DecodeText(raw.substr(done, amp - done), out);
    size_t end = amp + 1;
    while (end < raw.size() && !EndsReferenceName(raw[end])) ++end;
    if (end >= raw.size() || raw[end] != ';') {
      out += '&';
      done = amp + 1;
      continue;
    }
    const std::string_view name = raw.substr(amp + 1, end - amp - 1);
    const std::string_view written = raw.substr(amp, end + 1 - amp);
    done = end + 1;
    if (AppendBuiltInReference(name, out, '\0')) continue;
    const TEntityDef* entity = FindEntity(generalEntities_, name);
    if (entity && !entity->External) {
      if (!guard_.Enter(entity, entity->Value.size())) return SetMalformed();
      ExpandAttrValue(entity->Value, out);
      if (malformed_) return;
      guard_.Leave();
      continue;
    }
    if (entity && entity->NotationName.empty()) {
      if (auto source = OpenEntity(entity->PublicId, entity->SystemId, entity->NotationName)) {
        const std::string_view text(source->Buffer());
        if (!guard_.Enter(entity, text.size())) return SetMalformed();
        DecodeText(text, out);
        guard_.Leave();
        continue;
      }
    }
    DecodeText(written, out);
  }
  DecodeText(raw.substr(done), out);
}
