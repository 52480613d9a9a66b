#include "gaebxml/xml_parse.h"

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

}  // namespace

std::string TextConverter::operator()(std::string_view utf8) {
  return Utf8ToCp1252(utf8, replaced_);
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
  const unsigned options = pugi::parse_default | pugi::parse_ws_pcdata_single;
  const pugi::xml_parse_result result = document.load_buffer_inplace(
      source.Buffer.data(), source.Buffer.size(), options, pugi::encoding_auto);
  if (result) return true;
  const std::string original = source.Original ? source.Original() : std::string();
  const TextPosition at = PositionAt(original, static_cast<size_t>(result.offset));
  error = std::string("Die Datei ist keine g\xFCltige XML-Datei: ") + Problem(result.status) +
          " (Zeile " + std::to_string(at.Line) + ", Spalte " + std::to_string(at.Column) + ").";
  return false;
}
