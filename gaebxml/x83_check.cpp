#include "gaebxml/x83_check.h"

#include <string_view>

#include "gaeb/exchange_phase.h"
#include "gaebxml/xml_names.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

// What a namespace under the GAEB DA XML prefix names.
struct NamespaceName {
  std::string Phase;    // "83" from ".../DA83/3.3"; "" for 3.0, which names none
  std::string Version;  // "3.3" from ".../DA83/3.3", "3.0" from ".../200407"
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// False when the part after the prefix is no GAEB DA XML namespace at all
// (namespaces are compared as written: "da83" is not "DA83").
bool ParseNamespace(std::string_view ns, NamespaceName& name) {
  if (ns.substr(0, kGaebXmlNamespacePrefix.size()) != kGaebXmlNamespacePrefix) return false;
  const std::string_view tail = ns.substr(kGaebXmlNamespacePrefix.size());
  if (tail == "200407") {
    name.Version = "3.0";
    return true;
  }
  if (tail.size() < 4 || tail.substr(0, 2) != "DA" || !IsDigit(tail[2]) || !IsDigit(tail[3]))
    return false;
  name.Phase = std::string(tail.substr(2, 2));
  if (tail.size() == 4) return true;
  if (tail[4] != '/') return false;
  name.Version = std::string(tail.substr(5));
  return true;
}

// The versions 3.1 to 3.3 name the tender's phase in their namespace.
bool IsReadableVersion(const std::string& v) { return v == "3.1" || v == "3.2" || v == "3.3"; }

std::string Quoted(std::string_view utf8) { return "\"" + Utf8ToCp1252(std::string(utf8)) + "\""; }

constexpr char kOnlyTenders[] =
    "; eingelesen werden nur Angebotsaufforderungen (Austauschphase 83, X83) und Angebote "
    "(Austauschphase 84, X84).";

// A tender asks for an offer, an offer answers one: the two phases read.
bool IsReadablePhase(const std::string& phase) { return phase == "83" || phase == "84"; }

}  // namespace

bool CheckX83(const pugi::xml_document& document, GaebXmlOrigin& origin, std::string& phase,
              std::string& error, std::string& warning) {
  const pugi::xml_node root = document.document_element();
  const std::string_view ns = NamespaceOf(root);
  NamespaceName named;
  if (LocalName(root) != "GAEB" || !ParseNamespace(ns, named)) {
    error = "Die Datei ist eine XML-Datei, aber keine GAEB DA XML-Datei (Wurzelelement " +
            Quoted(root.name()) + (ns.empty() ? std::string() : ", Namensraum " + Quoted(ns)) +
            ").";
    return false;
  }
  if (!named.Phase.empty() && !IsReadablePhase(named.Phase)) {
    error = "Der Namensraum " + Quoted(ns) + " der Datei nennt die Austauschphase " + named.Phase +
            ExchangePhaseName(named.Phase) + kOnlyTenders;
    return false;
  }
  if (!named.Phase.empty() && !IsReadableVersion(named.Version)) {
    error = "Die Datei ist eine GAEB DA XML-Datei im Namensraum " + Quoted(ns) +
            ", den keine der gelesenen Versionen 3.0 bis 3.3 hat.";
    return false;
  }
  const pugi::xml_node info = ChildNamed(root, "GAEBInfo");
  // The namespace decides, as it decides which schema the file follows; a
  // Version element that says otherwise is named in the warning.
  const std::string version = Trim(ChildText(info, "Version"));
  if (!version.empty() && version != named.Version)
    warning = "Die Datei nennt im Element Version " + Quoted(version) +
              ", ihr Namensraum aber die Version " + named.Version + "; sie wird als Version " +
              named.Version + " gelesen und beantwortet.";
  const pugi::xml_node award = ChildNamed(root, "Award");
  if (!award) {
    error = "Die GAEB DA XML-Datei enth\xE4lt keine Vergabe-Daten (Element \"Award\").";
    return false;
  }
  phase = Trim(ChildText(award, "DP"));
  if (phase.empty()) phase = named.Phase;
  if (!IsReadablePhase(phase)) {
    error = "Die Datei ist eine GAEB DA XML-Datei der Austauschphase " +
            (phase.empty() ? std::string("(ohne Angabe)") : Utf8ToCp1252(phase)) +
            ExchangePhaseName(phase) + kOnlyTenders;
    return false;
  }
  if (!named.Phase.empty() && phase != named.Phase) {
    // A tender named an offer, or the other way round: either would be misread.
    error = "Der Namensraum " + Quoted(ns) + " der Datei nennt die Austauschphase " + named.Phase +
            ", ihr Element DP aber die Austauschphase " + Utf8ToCp1252(phase) +
            "; die Datei wird nicht gelesen.";
    return false;
  }
  if (!ChildNamed(award, "BoQ")) {
    error = "Die GAEB DA XML-Datei enth\xE4lt kein Leistungsverzeichnis (Element \"BoQ\").";
    return false;
  }
  origin.Namespace = std::string(ns);
  origin.Version = named.Version;
  return true;
}
