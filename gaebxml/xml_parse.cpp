#include "gaebxml/xml_parse.h"

#include "gaebxml/xml_references.h"
#include "util/codec.h"
#include "util/same_text.h"

namespace {

const char* Problem(pugi::xml_parse_status status) {
  switch (status) {
    case pugi::status_unrecognized_tag:
      return "unbekannter Tag";
    case pugi::status_bad_pi:
      return "fehlerhafte Verarbeitungsanweisung";
    case pugi::status_bad_comment:
      return "fehlerhafter Kommentar";
    case pugi::status_bad_cdata:
      return "fehlerhafter CDATA-Abschnitt";
    case pugi::status_bad_doctype:
      return "fehlerhafte Dokumenttyp-Deklaration";
    case pugi::status_bad_pcdata:
      return "fehlerhafter Text";
    case pugi::status_bad_start_element:
      return "fehlerhafter Start-Tag";
    case pugi::status_bad_attribute:
      return "fehlerhaftes Attribut";
    case pugi::status_bad_end_element:
      return "fehlerhafter End-Tag";
    case pugi::status_end_element_mismatch:
      return "End-Tag passt nicht zum offenen Element";
    case pugi::status_no_document_element:
      return "kein Wurzelelement";
    case pugi::status_out_of_memory:
      return "nicht genug Arbeitsspeicher";
    default:
      return "nicht lesbar";
  }
}

}  // namespace

std::string_view DeclaredEncoding(std::string_view text) {
  if (text.substr(0, 5) != "<?xml") return {};
  const std::string_view declaration = text.substr(0, text.find("?>"));
  size_t at = declaration.find("encoding");
  if (at == std::string_view::npos) return {};
  at = declaration.find_first_of("\"'", at);
  if (at == std::string_view::npos) return {};
  const size_t end = declaration.find(declaration[at], at + 1);
  return end == std::string_view::npos ? std::string_view()
                                       : declaration.substr(at + 1, end - at - 1);
}

std::string TextConverter::operator()(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    // Runs of printable ASCII are taken over as they stand.
    size_t end = pos;
    while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) >= 0x20 &&
           static_cast<unsigned char>(utf8[end]) < 0x80)
      ++end;
    if (end > pos) {
      out.append(utf8.substr(pos, end - pos));
      pos = end;
      continue;
    }
    const auto c = static_cast<unsigned char>(utf8[pos]);
    if (c >= 0x80) {
      char32_t cp = 0;
      const size_t length = DecodeUtf8(utf8, pos, cp);
      if (length == 0) {
        ++invalid_;
        out += '?';
        ++pos;
        continue;
      }
      const char byte = UnicodeToCp1252(cp, '\0');
      // U+0000 cannot come out of a multi-byte sequence, so '\0' marks "none".
      if (byte == '\0') ++replaced_;
      out += byte == '\0' ? '?' : byte;
      pos += length;
      continue;
    }
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      ++controls_;
      out += '?';
    } else {
      out += static_cast<char>(c);
    }
    ++pos;
  }
  return out;
}

TextPosition PositionAt(std::string_view text, size_t offset) {
  TextPosition position;
  const size_t end = offset < text.size() ? offset : text.size();
  for (size_t i = 0; i < end; ++i) {
    if (text[i] == '\n') {
      ++position.Line;
      position.Column = 1;
    } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      ++position.Column;
    }
  }
  return position;
}

bool ParseXml(pugi::xml_document& document, XmlSource& source, std::string& error) {
  pugi::xml_encoding encoding = pugi::encoding_auto;
  // pugixml knows ISO-8859-1 but not Windows-1252, whose bytes would be no
  // UTF-8; messages then count in the converted text the parser saw.
  const std::string_view declared = DeclaredEncoding(source.Buffer);
  if (SameText(declared, "windows-1252") || SameText(declared, "cp1252")) {
    // `declared` points into the bytes replaced here; it is not used again.
    source.Buffer = Cp1252ToUtf8(source.Buffer);
    if (source.Original)
      source.Original = [original = std::move(source.Original)] {
        return Cp1252ToUtf8(original());
      };
    encoding = pugi::encoding_utf8;
  }
  const pugi::xml_parse_result result = document.load_buffer_inplace(
      source.Buffer.data(), source.Buffer.size(), kXmlParseOptions, encoding);
  ReferenceProblem problem;
  if (result && ResolveReferences(document, problem)) return true;
  const std::string original = source.Original ? source.Original() : std::string();
  if (result) {
    const size_t offset = problem.Offset < 0 ? 0 : static_cast<size_t>(problem.Offset);
    const std::string line = std::to_string(PositionAt(original, offset).Line + problem.LinesInto);
    error = problem.Malformed ? "Die Datei ist keine g\xFCltige XML-Datei: " + problem.Text +
                                    " (Zeile " + line + ")."
                              : "Zeile " + line + ": " + problem.Text + ".";
    return false;
  }
  const TextPosition at = PositionAt(original, static_cast<size_t>(result.offset));
  error = std::string("Die Datei ist keine g\xFCltige XML-Datei: ") + Problem(result.status) +
          " (Zeile " + std::to_string(at.Line) + ", Spalte " + std::to_string(at.Column) + ").";
  return false;
}
