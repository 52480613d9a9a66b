#include "gaebxml/x83_check.h"

#include <string_view>

#include "gaebxml/xml_names.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

constexpr std::string_view kNamespacePrefix = "http://www.gaeb.de/GAEB_DA_XML/";

// "3.3" from ".../DA83/3.3", "3.0" from the common namespace of 3.0.
std::string VersionFromNamespace(std::string_view ns) {
  const std::string_view tail = ns.substr(ns.rfind('/') + 1);
  if (tail == "200407") return "3.0";
  return std::string(tail.size() == 3 && tail[1] == '.' ? tail : std::string_view());
}

// "83" from ".../DA83/3.3"; "" where the namespace does not name the phase.
std::string PhaseFromNamespace(std::string_view ns) {
  const size_t at = ns.find("/DA");
  return at == std::string_view::npos || at + 5 > ns.size() ? std::string()
                                                            : std::string(ns.substr(at + 3, 2));
}

std::string PhaseName(const std::string& phase) {
  if (phase == "81") return " (Leistungsbeschreibung ohne Mengen)";
  if (phase == "82") return " (Kostenanschlag)";
  if (phase == "84") return " (Angebotsabgabe)";
  if (phase == "85") return " (Nebenangebot)";
  if (phase == "86") return " (Auftragserteilung)";
  return "";
}

bool IsReadableVersion(const std::string& v) {
  return v == "3.0" || v == "3.1" || v == "3.2" || v == "3.3";
}

std::string Quoted(std::string_view utf8) { return "\"" + Utf8ToCp1252(std::string(utf8)) + "\""; }

}  // namespace

bool CheckX83(const pugi::xml_document& document, GaebXmlOrigin& origin, std::string& error) {
  const pugi::xml_node root = document.document_element();
  const std::string_view ns = NamespaceOf(root);
  if (LocalName(root) != "GAEB" || ns.substr(0, kNamespacePrefix.size()) != kNamespacePrefix) {
    error = "Die Datei ist eine XML-Datei, aber keine GAEB DA XML-Datei (Wurzelelement " +
            Quoted(root.name()) + (ns.empty() ? std::string() : ", Namensraum " + Quoted(ns)) +
            ").";
    return false;
  }
  const pugi::xml_node info = ChildNamed(root, "GAEBInfo");
  std::string version = Trim(ChildText(info, "Version"));
  if (version.empty()) version = VersionFromNamespace(ns);
  if (!IsReadableVersion(version)) {
    error = "Die Datei ist eine GAEB DA XML-Datei der Version " +
            (version.empty() ? std::string("(ohne Angabe)") : Quoted(version)) +
            "; gelesen werden die Versionen 3.0 bis 3.3.";
    return false;
  }
  const pugi::xml_node award = ChildNamed(root, "Award");
  if (!award) {
    error = "Die GAEB DA XML-Datei enth\xE4lt keine Vergabe-Daten (Element \"Award\").";
    return false;
  }
  std::string phase = Trim(ChildText(award, "DP"));
  if (phase.empty()) phase = PhaseFromNamespace(ns);
  if (phase != "83") {
    error = "Die Datei ist eine GAEB DA XML-Datei der Austauschphase " +
            (phase.empty() ? std::string("(ohne Angabe)") : Utf8ToCp1252(phase)) +
            PhaseName(phase) +
            "; eingelesen werden nur Angebotsaufforderungen (Austauschphase 83, X83).";
    return false;
  }
  if (!ChildNamed(award, "BoQ")) {
    error = "Die GAEB DA XML-Datei enth\xE4lt kein Leistungsverzeichnis (Element \"BoQ\").";
    return false;
  }
  origin.Namespace = std::string(ns);
  origin.Version = version;
  origin.VersDate = Trim(ChildText(info, "VersDate"));
  return true;
}
