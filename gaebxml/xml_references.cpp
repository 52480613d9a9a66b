#include "gaebxml/xml_references.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "util/codec.h"

namespace {

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// A reference as quoted in a message: long ones shortened.
std::string Shown(std::string_view reference) {
  constexpr size_t kShown = 40;
  return "\"" +
         (reference.size() <= kShown ? std::string(reference)
                                     : std::string(reference.substr(0, kShown)) + "...") +
         "\"";
}

// The character a reference "#65" or "#x41" names; 0 when it names none.
char32_t CharacterOf(std::string_view body) {
  const bool hex = body.size() > 1 && body[1] == 'x';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty()) return 0;
  char32_t cp = 0;
  for (const char c : digits) {
    int digit;
    if (c >= '0' && c <= '9')
      digit = c - '0';
    else if (hex && c >= 'a' && c <= 'f')
      digit = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F')
      digit = c - 'A' + 10;
    else
      return 0;
    cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    if (cp > 0x10FFFF) return 0;
  }
  return cp >= 0xD800 && cp <= 0xDFFF ? 0 : cp;
}

const char* Predefined(std::string_view name) {
  if (name == "amp") return "&";
  if (name == "lt") return "<";
  if (name == "gt") return ">";
  if (name == "quot") return "\"";
  if (name == "apos") return "'";
  return nullptr;
}

// The value with its references resolved into `out`; false with the
// problem's text and line when one is refused.
bool Resolve(std::string_view raw, std::string& out, ReferenceProblem& problem) {
  out.clear();
  size_t from = 0;
  for (size_t amp; (amp = raw.find('&', from)) != std::string_view::npos;) {
    out.append(raw.substr(from, amp - from));
    size_t end = amp + 1;
    const bool character = end < raw.size() && raw[end] == '#';
    if (character) {
      ++end;
      while (end < raw.size() && IsNameChar(raw[end])) ++end;
    } else if (end < raw.size() && IsNameStart(raw[end])) {
      while (end < raw.size() && IsNameChar(raw[end])) ++end;
    }
    if (end == amp + 1 || end >= raw.size() || raw[end] != ';') {
      out += '&';  // no reference: kept as text, as it always was
      from = amp + 1;
      continue;
    }
    const std::string_view body = raw.substr(amp + 1, end - amp - 1);
    const std::string_view reference = raw.substr(amp, end - amp + 1);
    if (character) {
      const char32_t cp = CharacterOf(body);
      if (cp == 0) {
        problem.Text = "die Zeichenreferenz " + Shown(reference) + " nennt kein Zeichen";
        problem.Malformed = true;
        problem.LinesInto = static_cast<size_t>(std::count(raw.begin(), raw.begin() + amp, '\n'));
        return false;
      }
      AppendUtf8(out, cp);
    } else if (const char* text = Predefined(body)) {
      out += text;
    } else {
      problem.Text = "die Datei verwendet die Entit\xE4t " + Shown(reference) +
                     "; aufgel\xF6st werden nur &amp;, &lt;, &gt;, &quot;, &apos; und "
                     "Zeichenreferenzen, keine selbst vereinbarten Entit\xE4ten";
      problem.LinesInto = static_cast<size_t>(std::count(raw.begin(), raw.begin() + amp, '\n'));
      return false;
    }
    from = end + 1;
  }
  out.append(raw.substr(from));
  return true;
}

}  // namespace

bool ResolveReferences(pugi::xml_document& document, ReferenceProblem& problem) {
  std::string resolved;
  // Walked without recursion: formatted texts may nest deeply.
  pugi::xml_node node = document.first_child();
  while (node) {
    if (node.type() == pugi::node_pcdata && std::strchr(node.value(), '&')) {
      if (!Resolve(node.value(), resolved, problem)) {
        problem.Offset = node.offset_debug();
        return false;
      }
      node.set_value(resolved.c_str());
    } else if (node.type() == pugi::node_element) {
      for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        if (!std::strchr(a.value(), '&')) continue;
        if (!Resolve(a.value(), resolved, problem)) {
          problem.Offset = node.offset_debug();
          return false;
        }
        a.set_value(resolved.c_str());
      }
    }
    if (node.first_child()) {
      node = node.first_child();
      continue;
    }
    while (node && !node.next_sibling()) node = node.parent();
    if (node) node = node.next_sibling();
  }
  return true;
}
