#include "gaeb/exchange_phase.h"

std::string ExchangePhaseName(const std::string& phase) {
  if (phase == "31") return " (Mengenermittlung)";
  if (phase == "81") return " (Leistungsbeschreibung)";
  if (phase == "82") return " (Kostenanschlag)";
  if (phase == "83") return " (Angebotsaufforderung)";
  if (phase == "84") return " (Angebotsabgabe)";
  if (phase == "85") return " (Nebenangebot)";
  if (phase == "86") return " (Auftragserteilung)";
  return "";
}
