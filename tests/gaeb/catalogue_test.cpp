#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "gaeb/gaeb_catalogue.h"

namespace {

// Field types by their codes: 0 child element, 1 string, 3 integer, 6 float,
// 7 currency, 9 date, 10 time, 16 memo, 22 child list.
struct Field {
  const char* name;
  int type;
  int size;
  bool multi;
  bool required;
  const char* label;
  const char* hint;
};

struct Element {
  const char* table;
  const char* element;
  std::vector<Field> fields;
};

constexpr bool Y = true;  // multi-value / mandatory
constexpr bool N = false;

const std::vector<Element>& ExpectedCatalogue() {
  static const std::vector<Element> catalogue = {
      {"GAEBGAEB",
       "GAEB",
       {{"GAEBINFO", 0, 0, N, Y, "", ""},
        {"PRJINFO", 0, 0, N, N, "", ""},
        {"VERGABE", 0, 0, N, N, "", ""},
        {"LVKATALOG", 0, 0, N, N, "", ""},
        {"ZUSTEXT", 22, 0, N, N, "", ""}}},
      {"GAEBGAEBINFO",
       "GAEBINFO",
       {{"VERSION", 1, 5, N, Y, "Version des GAEB 2000 DA: ", ""},
        {"VERSMON", 3, 0, N, Y, "Monat: ", ""},
        {"VERSJAHR", 3, 0, N, Y, "Jahr: ", ""},
        {"DATUM", 9, 0, N, Y, "Datum: ", ""},
        {"UHRZEIT", 10, 0, N, N, "Uhrzeit: ", ""},
        {"PROGSYSTEM", 1, 60, N, N, "ProgSystem: ", ""},
        {"PROGNAME", 1, 60, N, N, "ProgName: ", ""},
        {"ZERTIFIKAT", 1, 1, N, N, "Zertifikat: ", ""},
        {"ZEICHENSATZ", 1, 10, N, Y, "Zeichensatz: ", ""}}},
      {"GAEBPRJINFO",
       "PRJINFO",
       {{"NAME", 1, 8, N, Y, "", ""},
        {"BEZ", 1, 60, N, N, "", ""},
        {"BESCHREIB", 1, 0, N, N, "", ""},
        {"WAE", 1, 4, N, N, "", ""},
        {"WAEBEZ", 1, 50, N, N, "", ""},
        {"KOMMUNIKATION", 1, 0, Y, N, "", ""},
        {"ZUSTEXT", 22, 0, N, N, "", ""}}},
      {"GAEBZUSTEXT", "ZUSTEXT", {{"TEXT", 1, 0, N, Y, "", ""}, {"EXTDAT", 1, 0, Y, N, "", ""}}},
      {"GAEBLVKATALOG",
       "LVKATALOG",
       {{"DP", 3, 0, N, Y, "", ""},
        {"LVKATINFO", 0, 0, N, N, "", ""},
        {"ZUSTEXT", 22, 0, N, N, "", ""},
        {"LV", 0, 0, N, Y, "", ""}}},
      {"GAEBLVKATINFO",
       "LVKATINFO",
       {{"NAME", 1, 40, N, N, "", ""},
        {"INHALT", 1, 0, N, N, "", ""},
        {"WAE", 1, 4, N, N, "", ""},
        {"WAEBEZ", 1, 50, N, N, "", ""},
        {"LVKATDATUM", 9, 0, N, N, "", ""}}},
      {"GAEBVERGABE",
       "VERGABE",
       {{"DP", 3, 0, N, Y, "", ""},
        {"VERGABEINFO", 0, 0, N, N, "", ""},
        {"AG", 0, 0, N, N, "", ""},
        {"BEDARFSTRAEGER", 22, 0, N, N, "", ""},
        {"AN", 0, 0, N, N, "", ""},
        {"AUSFORT", 22, 0, N, N, "", ""},
        {"BENACHORT", 22, 0, N, N, "", ""},
        {"ZUSTEXT", 22, 0, N, N, "", ""},
        {"LV", 0, 0, N, Y, "", ""}}},
      {"GAEBVERGABEINFO",
       "VERGABEINFO",
       {{"ART", 3, 0, N, N, "", ""},          {"SONDERART", 1, 2, N, N, "", ""},
        {"WAE", 1, 4, N, N, "", ""},          {"WAEBEZ", 1, 50, N, N, "", ""},
        {"ANGEBDATUM", 9, 0, N, N, "", ""},   {"ERDATUM", 9, 0, N, N, "", ""},
        {"ERUHRZEIT", 1, 0, N, N, "", ""},    {"ZUSENDE", 9, 0, N, N, "", ""},
        {"ABGABEORT", 1, 60, N, N, "", ""},   {"AUSFBEGINN", 9, 0, N, N, "", ""},
        {"AUSFENDE", 9, 0, N, N, "", ""},     {"AUFTRNR", 1, 20, N, N, "", ""},
        {"AUFTRDATUM", 9, 0, N, N, "", ""},   {"ABNAHMEART", 1, 60, N, N, "", ""},
        {"ABNAHMEDATUM", 9, 0, N, N, "", ""}, {"GWLDAUER", 3, 0, N, N, "", ""},
        {"GWLEINHEIT", 1, 6, N, N, "", ""},   {"GWLENDE", 9, 0, N, N, "", ""},
        {"AUSFPROZ", 6, 2, N, N, "", ""},     {"GWLPROZ", 6, 2, N, N, "", ""},
        {"NAINFO", 22, 0, N, N, "", ""},      {"InstHaltInfo", 0, 0, N, N, "", ""},
        {"RahmVertrInfo", 0, 0, N, N, "", ""}}},
      {"GAEBNAINFO",
       "NAINFO",
       {{"NACHTRNR", 3, 0, N, Y, "", ""},
        {"NACHTRPHASE", 1, 1, N, N, "", ""},
        {"NACHTRSTATUS", 1, 1, N, N, "", ""},
        {"NAERSTELLER", 1, 2, N, N, "", ""},
        {"NAGRUND", 1, 0, N, N, "", ""},
        {"BEZUGSLV", 1, 60, N, N, "", ""},
        {"NADATUM", 9, 0, N, N, "", ""}}},
      {"GAEBINSTHALTINFO",
       "INSTHALTINFO",
       {{"INSTHALTART", 1, 0, N, N, "", ""},
        {"BEHANDLART", 1, 0, N, N, "", ""},
        {"AUFTRUEBDAT", 9, 0, N, N, "", ""},
        {"AUFTRUEBUHR", 10, 0, N, N, "", ""},
        {"AUFTRRECHT", 3, 0, N, N, "", ""},
        {"TERMINIERUNG", 1, 0, N, N, "", ""}}},
      {"GAEBRAHMVERTRINFO",
       "RAHMVERTRINFO",
       {{"AufAbGebot", 1, 0, N, N, "", ""},
        {"RahmVertrBez", 1, 0, N, N, "", ""},
        {"RahmVertrDat", 9, 0, N, N, "", ""},
        {"RahmVertrBeg", 9, 0, N, N, "", ""},
        {"RahmVertrDau", 3, 0, N, N, "", ""},
        {"RahmVertrEnd", 9, 0, N, N, "", ""},
        {"RahmVertrVers", 1, 0, N, N, "", ""},
        {"AuftrGesWert", 7, 2, N, N, "", ""},
        {"AuftrMinWert", 7, 2, N, N, "", ""},
        {"AuftrMinZuschl", 7, 2, N, N, "", ""},
        {"AuftrMaxWert", 7, 2, N, N, "", ""},
        {"AuftrWertSchl", 1, 0, N, N, "", ""}}},
      {"GAEBAG",
       "AG",
       {{"ADRESSE", 0, 0, N, Y, "", ""},
        {"DVNR", 1, 8, N, N, "", ""},
        {"VERGNR", 1, 15, N, N, "", ""},
        {"DEBITORNR", 1, 20, N, N, "", ""},
        {"ARTSTAAT", 1, 12, N, N, "", ""},
        {"NAMESTAAT", 1, 3, N, N, "", ""},
        {"ZUSTEXT", 22, 0, N, N, "", ""}}},
      {"GAEBAN",
       "AN",
       {{"ADRESSE", 0, 0, N, Y, "", ""},
        {"DVNR", 1, 8, N, N, "", ""},
        {"VERGNR", 1, 15, N, N, "", ""},
        {"KREDITORNR", 1, 20, N, N, "", ""},
        {"BIETERNR", 1, 8, N, N, "", ""},
        {"ARTSTAAT", 1, 10, N, N, "", ""},
        {"NAMESTAAT", 1, 3, N, N, "", ""},
        {"ARTBRANCHE", 1, 40, N, N, "", ""},
        {"ARTBEVBEW", 3, 0, N, N, "", ""},
        {"ARTNU", 3, 0, N, N, "", ""},
        {"ZUSTEXT", 22, 0, N, N, "", ""}}},
      {"GAEBADRESSE",
       "ADRESSE",
       {{"NAME1", 1, 40, N, Y, "", ""},
        {"NAME2", 1, 40, N, N, "", ""},
        {"NAME3", 1, 40, N, N, "", ""},
        {"NAME4", 1, 40, N, N, "", ""},
        {"STRASSE", 1, 40, N, N, "", ""},
        {"PLZ", 1, 20, N, Y, "", ""},
        {"ORT", 1, 40, N, N, "", ""},
        {"LANDBEZ", 1, 40, N, N, "", ""},
        {"ANSPRPARTNER", 1, 40, N, N, "", ""},
        {"TELEFON", 1, 20, N, N, "", ""},
        {"FAX", 1, 20, N, N, "", ""},
        {"EMAIL", 1, 256, N, N, "", ""},
        {"USTIDENT", 1, 80, N, N, "", ""},
        {"ILN", 1, 20, N, N, "", ""}}},
      {"GAEBBEDARFSTRAEGER",
       "BEDARFSTRAEGER",
       {{"Adresse", 0, 0, N, N, "", ""},
        {"BedarfTrIdNr", 1, 0, N, N, "", ""},
        {"BedarfTrName", 1, 0, N, N, "", ""},
        {"ZusText", 1, 0, N, N, "", ""}}},
      {"GAEBAUSFORT",
       "AUSFORT",
       {{"Adresse", 0, 0, N, N, "", ""},
        {"AusfOrtIdNr", 1, 0, N, N, "", ""},
        {"AusfOrtName", 1, 0, N, N, "", ""},
        {"ZusText", 1, 0, N, N, "", ""}}},
      {"GAEBBENACHORT",
       "BENACHORT",
       {{"Adresse", 0, 0, N, N, "", ""},
        {"AusfOrtIdNr", 1, 0, N, N, "", ""},
        {"AusfOrtName", 1, 0, N, N, "", ""},
        {"ZusText", 1, 0, N, N, "", ""}}},
      {"GAEBLV",
       "LV",
       {{"LVINFO", 0, 0, N, Y, "", ""},
        {"HINWEIS", 22, 0, N, N, "", ""},
        {"AUSFBESCHR", 22, 0, N, N, "", ""},
        {"LVBEREICH", 22, 0, N, N, "", ""},
        {"POSITION", 22, 0, N, N, "", ""},
        {"ZUSCHLPOSITION", 22, 0, N, N, "", ""},
        {"LOSGR", 0, 0, N, N, "", ""}}},
      {"GAEBLVINFO",
       "LVINFO",
       {{"NAME", 1, 8, N, Y, "", ""},          {"BEZ", 1, 60, N, Y, "", ""},
        {"CPVSCHL", 1, 0, Y, N, "", ""},       {"DATUM", 9, 0, N, N, "", ""},
        {"KURZLANG", 3, 0, N, Y, "", ""},      {"LVGLIED", 22, 0, N, Y, "", ""},
        {"ANZEPANTEILE", 3, 0, N, N, "", ""},  {"BEZEPANTEIL1", 1, 20, N, N, "", ""},
        {"BEZEPANTEIL2", 1, 20, N, N, "", ""}, {"BEZEPANTEIL3", 1, 20, N, N, "", ""},
        {"BEZEPANTEIL4", 1, 20, N, N, "", ""}, {"BEZEPANTEIL5", 1, 20, N, N, "", ""},
        {"BEZEPANTEIL6", 1, 20, N, N, "", ""}, {"BEZZEIT", 1, 20, N, N, "", ""},
        {"KATZUORD", 1, 0, Y, N, "", ""},      {"SUMME", 7, 2, N, N, "", ""},
        {"NACHLASSPROZ", 6, 2, N, N, "", ""},  {"NACHLASSABS", 7, 2, N, N, "", ""},
        {"SUMMENACHNL", 7, 2, N, N, "", ""},   {"SUMMEPSCH", 7, 2, N, N, "", ""},
        {"UST", 6, 0, N, N, "", ""},           {"SUMMEBRUTTO", 7, 2, N, N, "", ""},
        {"PreisInfo", 3, 0, N, N, "", ""}}},
      {"GAEBLVGLIED",
       "LVGLIED",
       {{"TYP", 1, 8, N, Y, "", ""}, {"BEZ", 1, 40, N, N, "", ""}, {"LAENGE", 3, 0, N, Y, "", ""}}},
      {"GAEBHINWEIS", "HINWEIS", {{"BESCHREIBUNG", 0, 0, N, Y, "", ""}}},
      {"GAEBAUSFBESCHR",
       "AUSFBESCHR",
       {{"AUSFNR", 3, 0, N, Y, "", ""},
        {"AUSFBEZ", 1, 40, N, Y, "", ""},
        {"BESCHREIBUNG", 22, 0, Y, Y, "", ""}}},
      {"GAEBBESCHREIBUNG",
       "BESCHREIBUNG",
       {{"STLBBAU", 0, 0, N, N, "", ""},
        {"STLNR", 1, 0, N, N, "StLB/STLK : ", ""},
        {"TLKNR", 1, 40, N, N, "Katalognr. (Mutter-LV) : ", ""},
        {"LANGTEXTTA", 1, 1, N, N, "(Lang) Texterg\xE4nzung des Ausschreibenden (J/N) : ", ""},
        {"LANGTEXTTB", 1, 1, N, N, "Texterg\xE4nzung des Bieters (J/N) : ", ""},
        {"LANGTEXT", 16, 0, N, Y, "", ""},
        {"EXTDAT", 3, 0, Y, N, "", ""},
        {"KURZTEXTTA", 1, 1, N, N, "(Lang) Texterg\xE4nzung des Ausschreibenden (J/N) : ", ""},
        {"KURZTEXT", 16, 0, N, N, "", ""}}},
      {"GAEBSTLBBAU",
       "STLBBAU",
       {{"STLBBAUKAT", 0, 0, N, Y, "", ""}, {"STLBBAUIDENT", 1, 0, Y, Y, "", ""}}},
      {"GAEBLVBEREICH",
       "LVBEREICH",
       {{"OZ", 1, 0, N, Y, "OZ", ""},
        {"BEZ", 1, 0, N, Y, "Kurztext", ""},
        {"CPVSCHL", 1, 0, Y, N, "", ""},
        {"ZZVGRUPPENR", 3, 0, N, N, "ZZVGruppeNr", ""},
        {"ZZVLFDNR", 3, 0, N, N, "ZZLfdNr", ""},
        {"BEAUFTRAGT", 1, 1, N, N, "Beauftragt", ""},
        {"ENTF", 1, 1, N, N, "entf.", "J = entf\xE4llt"},
        {"KATZUORD", 1, 0, Y, N, "", ""},
        {"HINWEIS", 22, 0, N, N, "", ""},
        {"AUSFBESCHR", 22, 0, N, N, "", ""},
        {"LVBEREICH", 22, 0, N, N, "", ""},
        {"POSITION", 22, 0, N, N, "", ""},
        {"ZUSCHLPOSITION", 22, 0, N, N, "", ""},
        {"SUMME", 7, 2, N, N, "Summe", ""},
        {"NACHLASSPROZ", 6, 2, N, N, "NL %", ""},
        {"NACHLASSABS", 7, 2, N, N, "NL abs", ""},
        {"SUMMENACHNL", 7, 2, N, N, "Summe n NL", ""},
        {"SUMMEPSCH", 7, 2, N, N, "Summe psch", ""},
        {"UST", 6, 2, N, N, "USt in %", "Umsatzsteuersatz in % (nur bei Los)"},
        {"SUMMEBRUTTO", 7, 2, N, N, "Summe brutto", "(nur bei Los)"}}},
      {"GAEBPOSITION",
       "POSITION",
       {{"OZ", 1, 0, N, Y, "OZ", ""},
        {"ZZGRUPPENR", 3, 0, N, N, "Gruppennr.", ""},
        {"ZZLFDNR", 3, 0, N, N, "lfd. Nr", ""},
        {"BEAUFTRAGT", 1, 1, N, N, "Beauftragt", ""},
        {"BEDARF", 1, 1, N, N, "Bedarf", ""},
        {"ENTF", 1, 1, N, N, "entf.", "J = entf\xE4llt"},
        {"STPOS", 1, 1, N, N, "Std.Lohnarbeiten", "J = Stundenlohnarbeiten"},
        {"SPOS", 1, 1, N, N, "Schwerpunktp.", "J = Schwerpunktposition"},
        {"EPAUFGL", 1, 1, N, N, "EP-Aufgliederung", "J = Aufforderung zur EP-Aufgliederung"},
        {"BEZUSCHL", 1, 1, N, N, "bezuschl.", "J = zu bezuschlagen"},
        {"NACHTRNR", 3, 0, N, N, "Nachtragsnr.", ""},
        {"NACHTRSTATUS", 1, 1, N, N, "Nachtragsstatus", ""},
        {"BEZUGBESCHR", 1, 1, N, N, "B/W", "Bezugs-/Wiederholungsbeschreibung"},
        {"BEZUGOZ", 1, 0, N, N, "Bezug OZ", ""},
        {"BEZUGAUSFNR", 3, 0, N, N, "Bezug Ausfbeschr.", ""},
        {"FRMENGE", 1, 1, N, N, "freie Menge", "J = freie Menge"},
        {"MENGE", 6, 3, N, N, "Menge", ""},
        {"MENGENSPLIT", 22, 0, N, N, "", ""},
        {"AUFMASS", 22, 0, N, N, "", ""},
        {"VAMENGE", 6, 3, N, N, "VMenge", "voraussichtliche Menge"},
        {"REMENGE", 6, 3, N, N, "ReMenge", "Rechnungsmenge (D88)"},
        {"ME", 1, 4, N, N, "EH", "Mengeneinheit"},
        {"KATZUORD", 1, 0, Y, N, "", ""},
        {"EP", 7, 3, N, N, "EP", "Einheitspreis"},
        {"EP110", 7, 3, N, N, "EP 110", "Einheitspreis bei Mengen > 110 %"},
        {"EPANTEIL1", 7, 3, N, N, "EP 1", "1. Einheitspreisanteil"},
        {"EPANTEIL2", 7, 3, N, N, "EP 2", "2. Einheitspreisanteil"},
        {"EPANTEIL3", 7, 3, N, N, "EP 3", "3. Einheitspreisanteil"},
        {"EPANTEIL4", 7, 3, N, N, "EP 4", "4. Einheitspreisanteil"},
        {"EPANTEIL5", 7, 3, N, N, "EP 5", "5. Einheitspreisanteil"},
        {"EPANTEIL6", 7, 3, N, N, "EP 6", "6. Einheitspreisanteil"},
        {"NACHLASSPROZ", 6, 2, N, N, "NL %", "proz. Nachlass"},
        {"EPVON", 7, 2, N, N, "EP Von", ""},
        {"EPMITTEL", 7, 2, N, N, "EP Mittel", ""},
        {"EPBIS", 7, 2, N, N, "EP Bis", ""},
        {"EPLOHNVON", 7, 2, N, N, "EP Lohn Von", ""},
        {"EPLOHNMITTEL", 7, 2, N, N, "EP Lohn Mittel", ""},
        {"EPLOHNBIS", 7, 2, N, N, "EP Lohn Bis", ""},
        {"GB", 7, 2, N, N, "GB", "Gesamtbetrag"},
        {"ZEIT", 6, 2, N, N, "Zeit", "Zeitansatz in Zeiteinheiten"},
        {"BESCHREIBUNG", 0, 0, N, N, "", ""},
        {"LEITBESCHR", 1, 1, N, N, "Leitbeschr.", "J = Leitbeschreibung"},
        {"UNTERBESCHR", 22, 0, N, N, "", ""}}},
      {"GAEBZUSCHLPOSITION",
       "ZUSCHLPOSITION",
       {{"OZ", 1, 0, N, N, "", ""},
        {"ZZGRUPPENR", 3, 0, N, N, "", ""},
        {"ZZLFDNR", 3, 0, N, N, "", ""},
        {"BEAUFTRAGT", 1, 1, N, N, "", ""},
        {"BEDARF", 1, 1, N, N, "", ""},
        {"ENTF", 1, 1, N, N, "", ""},
        {"STPOS", 1, 1, N, N, "", ""},
        {"SPOS", 1, 1, N, N, "", ""},
        {"NACHTRNR", 3, 0, N, N, "", ""},
        {"NACHTRSTATUS", 1, 1, N, N, "", ""},
        {"BEZUGOZ", 1, 0, N, N, "", ""},
        {"BEZUGAUSFNR", 3, 0, N, N, "", ""},
        {"ZUSCHLART", 1, 1, N, N, "", ""},
        {"ZUSCHLTMENGE", 1, 0, Y, N, "", ""},
        {"GBZUSCHL", 7, 0, N, N, "", ""},
        {"ZUSCHLAG", 6, 0, N, N, "", ""},
        {"GB", 7, 0, N, N, "", ""},
        {"BESCHREIBUNG", 0, 0, N, N, "", ""},
        {"KATZUORD", 1, 0, Y, N, "", ""}}},
      {"GAEBUNTERBESCHR",
       "UNTERBESCHR",
       {{"UBNR", 3, 0, N, Y, "", ""},
        {"BESCHREIBUNG", 0, 0, N, Y, "", ""},
        {"MEANG", 1, 1, N, N, "", ""},
        {"FRMENGE", 1, 1, N, N, "", ""},
        {"MENGE", 3, 0, N, N, "", ""},
        {"ME", 1, 4, N, N, "", ""}}},
      {"GAEBMENGENSPLIT",
       "MENGENSPLIT",
       {{"MENGEPROZ", 6, 0, N, N, "", ""},
        {"MENGE", 7, 0, N, N, "", ""},
        {"KATZUORD", 1, 0, Y, N, "", ""}}},
      {"GAEBAUFMASS",
       "AUFMASS",
       {{"KURZAUF", 1, 0, N, N, "", ""},
        {"FNR", 1, 0, N, N, "", ""},
        {"KZ", 1, 0, Y, N, "", ""},
        {"FAKTOR", 6, 0, N, N, "", ""},
        {"ANSATZ091", 1, 0, N, N, "", ""},
        {"KATZUORD", 1, 0, Y, N, "", ""}}},
  };
  return catalogue;
}

// The two display fields the window adds to POSITION.
const Field kPosTyp = {"_TARVO_POSTYP", 1, 3, N, N, "Typ", "Positionstyp: N,B,A,AB"};
const Field kPosBez = {"BEZ", 1, 0, N, N, "Kurztext", ""};

void ExpectFields(const KsFBDesc& desc, const std::vector<Field>& expected) {
  ASSERT_EQ(desc.Fields.size(), expected.size()) << desc.TableName;
  for (size_t i = 0; i < expected.size(); ++i) {
    const KsFieldDesc& f = *desc.Fields[i];
    const Field& e = expected[i];
    SCOPED_TRACE(desc.TableName + " field " + std::to_string(i) + " " + e.name);
    EXPECT_EQ(f.Name, e.name);
    EXPECT_EQ(f.FieldType, e.type);
    EXPECT_EQ(f.Size, e.size);
    EXPECT_EQ(f.Alignment, e.multi ? taCenter : taLeftJustify);
    EXPECT_EQ(f.Required, e.required);
    EXPECT_EQ(f.DisplayLabel, e.label);
    EXPECT_EQ(f.Hint, e.hint);
    EXPECT_EQ(f.Owner, &desc);
    const bool reservedUst = desc.TableName == "GAEBLVINFO" && f.Name == "UST";
    EXPECT_EQ(f.Reserved1, reservedUst ? 2 : 0);
    EXPECT_EQ(f.FillChar, 0);
    EXPECT_EQ(f.Flags, 0);
    EXPECT_TRUE(f.DynamicLabel.empty());
    EXPECT_TRUE(f.Reserved2.empty() && f.Reserved3.empty() && f.Reserved4.empty());
    EXPECT_EQ(f.Reserved5, 0);
    EXPECT_EQ(f.Reserved6, 0);
  }
}

void ExpectElement(const KsFBDesc& desc, const Element& e) {
  EXPECT_EQ(desc.TableName, e.table);
  EXPECT_EQ(desc.ElementName, e.element);
  EXPECT_EQ(desc.Flags, 0);
  EXPECT_TRUE(desc.IndexDescs.empty());
  EXPECT_TRUE(desc.ChildDescs.empty());
}

class Catalogue : public ::testing::Test {
 protected:
  // What the program does at start: register, then the window adds its fields.
  void SetUp() override {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
  }
};

TEST_F(Catalogue, EveryBuilderMakesItsTable) {
  const auto builders = GaebDescriptorBuilders();
  ASSERT_EQ(builders.size(), ExpectedCatalogue().size());
  for (const Element& e : ExpectedCatalogue()) {
    const auto b = std::find_if(builders.begin(), builders.end(),
                                [&](const auto& x) { return x.TableName == std::string(e.table); });
    ASSERT_NE(b, builders.end()) << e.table;
    const std::unique_ptr<KsFBDesc> desc = b->Build();
    ExpectElement(*desc, e);
    ExpectFields(*desc, e.fields);
  }
}

TEST_F(Catalogue, EveryRegisteredDescriptorMatchesItsTable) {
  for (const Element& e : ExpectedCatalogue()) {
    const KsFBDesc* desc = FindDescriptor(e.table);
    ASSERT_NE(desc, nullptr) << e.table;
    ExpectElement(*desc, e);
    std::vector<Field> fields = e.fields;
    if (e.table == std::string("GAEBPOSITION")) {
      fields.insert(fields.begin() + 2, kPosBez);
      fields.insert(fields.begin() + 1, kPosTyp);
    }
    ExpectFields(*desc, fields);
  }
}

TEST_F(Catalogue, PositionBeginsWithTheDisplayFields) {
  const KsFBDesc* position = FindDescriptor("GAEBPOSITION");
  ASSERT_NE(position, nullptr);
  ASSERT_EQ(position->Fields.size(), 45u);
  const char* first[] = {"OZ", "_TARVO_POSTYP", "ZZGRUPPENR", "BEZ", "ZZLFDNR", "BEAUFTRAGT"};
  for (size_t i = 0; i < std::size(first); ++i) EXPECT_EQ(position->Fields[i]->Name, first[i]);
  EXPECT_EQ(position->Fields.back()->Name, "UNTERBESCHR");
  const KsFieldDesc* ep = position->FindField("ep");
  ASSERT_NE(ep, nullptr);
  EXPECT_EQ(ep->Name, "EP");
  EXPECT_EQ(position->FindField("_tarvo_postyp"), position->Fields[1].get());
}

TEST_F(Catalogue, StartUpStepsAreIdempotent) {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  AddPositionDisplayFields();
  const std::vector<std::string> names = RegisteredDescriptorNames();
  for (const Element& e : ExpectedCatalogue()) {
    EXPECT_EQ(std::count(names.begin(), names.end(), e.table), 1) << e.table;
  }
  EXPECT_EQ(FindDescriptor("GAEBPOSITION")->Fields.size(), 45u);
}

TEST_F(Catalogue, DescriptorIsBuiltOnceAndNamesMatchCase) {
  KsFBDesc* position = FindDescriptor("GAEBPOSITION");
  ASSERT_NE(position, nullptr);
  EXPECT_EQ(FindDescriptor("GAEBPOSITION"), position);
  EXPECT_EQ(FindDescriptor("gaebposition"), nullptr);
  EXPECT_EQ(FindDescriptor("GaebPosition"), nullptr);
  EXPECT_EQ(FindDescriptor("POSITION"), nullptr);
  EXPECT_EQ(FindDescriptor("GAEBLOSGR"), nullptr);  // LOSGR has no descriptor
}

std::unique_ptr<KsFBDesc> FirstBuilder() {
  auto d = std::make_unique<KsFBDesc>("!FIRST", "FIRST");
  d->AddField(false, "A", "", "", ftString);
  return d;
}

TEST_F(Catalogue, NameSortingBeforeAllOthersGoesFirst) {
  const std::vector<std::string> before = RegisteredDescriptorNames();
  EXPECT_TRUE(std::is_sorted(before.begin(), before.end()));
  RegisterDescriptor("!FIRST", FirstBuilder);
  const std::vector<std::string> after = RegisteredDescriptorNames();
  ASSERT_EQ(after.size(), before.size() + 1);
  EXPECT_EQ(after.front(), "!FIRST");
  EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin() + 1));
  ASSERT_NE(FindDescriptor("!FIRST"), nullptr);
  EXPECT_EQ(FindDescriptor("!FIRST")->ElementName, "FIRST");
  for (const std::string& name : after) EXPECT_NE(FindDescriptor(name), nullptr) << name;
  for (const Element& e : ExpectedCatalogue()) {
    EXPECT_EQ(FindDescriptor(e.table)->TableName, e.table);
  }
}

}  // namespace
