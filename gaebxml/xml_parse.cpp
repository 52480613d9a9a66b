#include "gaebxml/xml_parse.h"

#include "gaebxml/xml_references.h"
#include "util/codec.h"

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

// The length of the well-formed UTF-8 sequence of two to four bytes at
// text[pos], its code point in `cp`; 0 where there is none (a stray or
// truncated byte, an overlong form, a surrogate).
size_t Utf8Sequence(std::string_view text, size_t pos, char32_t& cp) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  size_t length = 0;
  char32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1F;
    min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0F;
    min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07;
    min = 0x10000;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::string TextConverter::operator()(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[pos]);
    if (c >= 0x80) {
      char32_t cp = 0;
      const size_t length = Utf8Sequence(utf8, pos, cp);
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
  const unsigned options =
      (pugi::parse_default & ~pugi::parse_escapes) | pugi::parse_ws_pcdata_single;
  const pugi::xml_parse_result result = document.load_buffer_inplace(
      source.Buffer.data(), source.Buffer.size(), options, pugi::encoding_auto);
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
