#pragma once

#include <initializer_list>
#include <string>

#include "gaeb/gaeb_catalogue.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"

// What every test of the document needs before the first element exists.
inline void PrepareGaeb() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
}

// Lines ended by CR LF, as GAEB files are written.
inline std::string CrLf(std::initializer_list<std::string> lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Blocks of a tender; fields and children are given as ready lines.
inline std::string Block(const std::string& name, const std::string& content) {
  return "#begin[" + name + "]\r\n" + content + "#end[" + name + "]\r\n";
}

inline std::string Field(const std::string& key, const std::string& value) {
  return "[" + key + "]" + value + "[end]\r\n";
}

inline std::string Position(const std::string& oz, const std::string& menge, const std::string& me,
                            const std::string& more = "") {
  return Block("POSITION", Field("OZ", oz) + Field("MENGE", menge) + Field("ME", me) + more);
}

inline std::string Area(const std::string& oz, const std::string& bez, const std::string& content) {
  return Block("LVBEREICH", Field("OZ", oz) + Field("BEZ", bez) + content);
}

inline std::string Description(const std::string& shortText, const std::string& longText) {
  return Block("BESCHREIBUNG", Field("KURZTEXT", shortText) + Field("LANGTEXT", longText));
}

// LVINFO of a numbering with two levels of 2 digits, positions of 4 and an
// index: the OZ mask 1122PPPPX.
inline std::string LvInfoBlock(const std::string& vat, const std::string& more = "") {
  return Block("LVINFO", Field("NAME", "01") + Field("BEZ", "Rohbau") +
                             Block("LVGLIED", Field("TYP", "LVSTUFE") + Field("LAENGE", "2")) +
                             Block("LVGLIED", Field("TYP", "LVSTUFE") + Field("LAENGE", "2")) +
                             Block("LVGLIED", Field("TYP", "POSITION") + Field("LAENGE", "4")) +
                             Block("LVGLIED", Field("TYP", "INDEX") + Field("LAENGE", "1")) +
                             Field("UST", vat) + more);
}

// A whole tender: GAEBINFO (ANSI), PRJINFO, the award block with VERGABEINFO,
// client and the given LV content.
inline std::string Tender(const std::string& lvContent, const std::string& awardExtra = "",
                          const std::string& vat = "19") {
  return Block(
      "GAEB",
      Block("GAEBINFO", Field("VERSION", "1.2") + Field("ZEICHENSATZ", "ANSI")) +
          Block("PRJINFO", Field("NAME", "P-17") + Field("BEZ", "Neubau Kita")) +
          Block("VERGABE",
                Field("DP", "83") +
                    Block("VERGABEINFO", Field("WAE", "EUR") + Field("WAEBEZ", "Euro")) +
                    Block("AG", Block("ADRESSE", Field("NAME1", "Stadt Ulm") +
                                                     Field("PLZ", "89073") + Field("ORT", "Ulm"))) +
                    awardExtra + Block("LV", LvInfoBlock(vat) + lvContent)));
}
