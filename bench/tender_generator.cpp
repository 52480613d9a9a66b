#include "bench/tender_generator.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <vector>

#include "core/eobj.h"
#include "gaeb/file_write_gaeb00.h"

namespace {

// splitmix64: fixed output on every platform, unlike the standard distributions.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  template <size_t N>
  std::string_view Pick(const std::array<std::string_view, N>& pool) {
    return pool[static_cast<size_t>(Below(static_cast<int>(N)))];
  }

 private:
  uint64_t state_;
};

constexpr std::array<std::string_view, 16> kTrades = {"Baustelleneinrichtung",
                                                      "Erdarbeiten",
                                                      "Entw\xE4sserungskanalarbeiten",
                                                      "Mauerarbeiten",
                                                      "Betonarbeiten",
                                                      "Stahlbauarbeiten",
                                                      "Zimmererarbeiten",
                                                      "Dachdeckungsarbeiten",
                                                      "Klempnerarbeiten",
                                                      "Putz- und Stuckarbeiten",
                                                      "Estricharbeiten",
                                                      "Fliesen- und Plattenarbeiten",
                                                      "Tischlerarbeiten",
                                                      "Maler- und Lackierarbeiten",
                                                      "Abbrucharbeiten",
                                                      "Ger\xFCstarbeiten"};

constexpr std::array<std::string_view, 16> kWorks = {
    "Mauerwerk aus Kalksandstein", "Stahlbetonwand C30/37",   "Bodenplatte aus Stahlbeton",
    "Schalung f\xFCr Decken",      "Betonstahl B500 B",       "Baugrubenaushub BK 3-5",
    "Kanalrohr PP DN 200",         "Kontrollschacht DN 1000", "Zementestrich CT-C25-F4",
    "Kalkzementputz innen",        "Dachlattung 30/50 mm",    "W\xE4rmed\xE4mmung aus Mineralwolle",
    "Dispersionsanstrich innen",   "Abbruch von Mauerwerk",   "Fassadenger\xFCst Lastklasse 3",
    "Bodenfliesen Feinsteinzeug"};

constexpr std::array<std::string_view, 8> kDetails = {
    "d = 24 cm",        "d = 17,5 cm", "Dicke 5 cm",        "H\xF6he bis 3,00 m",
    "Tiefe bis 1,75 m", "B = 12 cm",   "Format 30 x 60 cm", "zweilagig"};

constexpr std::array<std::string_view, 24> kSentences = {
    "Liefern und fachgerecht nach DIN 18330 herstellen, einschlie\xDFlich aller "
    "Nebenarbeiten und Hilfsstoffe.",
    "Die Ausf\xFChrung erfolgt in allen Geschossen, Erschwernisse durch den laufenden "
    "Schulbetrieb sind einzurechnen.",
    "Material nach Wahl des Bieters, gleichwertig zum Leitfabrikat, Nachweis der "
    "Gleichwertigkeit vor Ausf\xFChrungsbeginn.",
    "Anschl\xFCsse an angrenzende Bauteile luftdicht und schlagregendicht ausbilden.",
    "Abrechnung nach Aufma\xDF, \xD6"
    "ffnungen \xFC"
    "ber 2,5 m\xB2 werden abgezogen.",
    "Der Untergrund ist vor Beginn der Arbeiten auf Tragf\xE4higkeit und Ebenheit zu "
    "pr\xFC"
    "fen, Bedenken sind schriftlich anzumelden.",
    "Die Oberfl\xE4"
    "che ist sauber abzuziehen und nachzubehandeln, Schutz vor "
    "Witterungseinfl\xFCssen w\xE4hrend der Aush\xE4rtung.",
    "Aushub seitlich lagern, nach Verf\xFCllung \xFC"
    "bersch\xFCssigen Boden laden und "
    "abfahren, Entsorgungsnachweise sind vorzulegen.",
    "Einbauort: Neubau, Erdgeschoss bis 2. Obergeschoss, Achsen A bis F.",
    "Die Herstellervorgaben sowie die anerkannten Regeln der Technik sind einzuhalten.",
    "Kernbohrungen und Aussparungen nach Angabe der Fachplaner herstellen.",
    "Ger\xFCste, Absturzsicherungen und Schutzabdeckungen sind in die Einheitspreise "
    "einzurechnen.",
    "Bewehrung nach statischer Berechnung und Bewehrungspl\xE4nen, Abstandhalter und "
    "Unterst\xFCtzungsk\xF6rbe einschlie\xDF"
    "en.",
    "Fugen nach Fugenplan ausbilden, Randd\xE4mmstreifen an aufgehenden Bauteilen.",
    "- Stoffe und Bauteile liefern, lagern und einbauen",
    "- Vorhalten der erforderlichen Ger\xE4te und Hebezeuge",
    "- Reinigen der Arbeitsbereiche nach Abschluss der Leistung",
    "Die Leistung umfasst auch das Einmessen und Anrei\xDF"
    "en nach den Ausf\xFChrungspl\xE4nen.",
    "Mengenermittlung nach Zeichnung, Abweichungen von mehr als 10 % sind dem "
    "Auftraggeber unverz\xFCglich anzuzeigen.",
    "Schallschutz nach DIN 4109, Brandschutz F 90-A, Nachweise sind zu \xFC"
    "bergeben.",
    "Ebenheitstoleranzen nach DIN 18202, Tabelle 3, Zeile 6.",
    "Der Auftragnehmer hat die Leistung mit den nachfolgenden Gewerken abzustimmen.",
    "Arbeiten in Abschnitten nach Bauzeitenplan, Unterbrechungen werden nicht "
    "gesondert verg\xFCtet.",
    "Bauwasser und Baustrom werden vom Auftraggeber an der Entnahmestelle gestellt."};

constexpr std::array<std::string_view, 8> kUnits = {"m\xB2", "m\xB3", "m",    "St",
                                                    "kg",    "t",     "psch", "h"};

constexpr size_t kLongTextBytes = 600;
constexpr size_t kLineWidth = 78;

// Words of a sentence, wrapped into lines of at most kLineWidth characters.
void AppendWrapped(std::string& text, size_t& lineLength, std::string_view sentence) {
  while (!sentence.empty()) {
    const size_t blank = sentence.find(' ');
    const std::string_view word = sentence.substr(0, blank);
    if (lineLength > 0 && lineLength + 1 + word.size() > kLineWidth) {
      text += "\r\n";
      lineLength = 0;
    } else if (lineLength > 0) {
      text += ' ';
      ++lineLength;
    }
    text += word;
    lineLength += word.size();
    sentence = blank == std::string_view::npos ? std::string_view() : sentence.substr(blank + 1);
  }
}

std::string LongText(Random& random, std::string_view work, std::string_view detail) {
  std::string text;
  text.reserve(kLongTextBytes + 200);
  size_t lineLength = 0;
  AppendWrapped(text, lineLength, std::string(work) + ", " + std::string(detail) + ".");
  while (text.size() < kLongTextBytes) {
    const std::string_view sentence = random.Pick(kSentences);
    // List items and every fourth sentence start a line of their own,
    // sometimes after a blank line, as long texts from tender programs do.
    if (sentence.front() == '-' || random.Below(4) == 0) {
      text += random.Below(3) == 0 ? "\r\n\r\n" : "\r\n";
      lineLength = 0;
    }
    AppendWrapped(text, lineLength, sentence);
  }
  return text;
}

std::string Decimal(int whole, int thousandths) {
  std::string s = std::to_string(whole) + ",";
  const std::string frac = std::to_string(thousandths);
  s += std::string(3 - std::min<size_t>(3, frac.size()), '0') + frac;
  return s;
}

std::string Digits(int value, int width) {
  std::string s = std::to_string(value);
  if (static_cast<int>(s.size()) < width) s.insert(0, static_cast<size_t>(width) - s.size(), '0');
  return s;
}

int DigitCount(int value) { return static_cast<int>(std::to_string(value).size()); }

void WriteFrame(KsFileWriteGaeb00& w, const TenderShape& shape) {
  w.WriteBegin("GAEBINFO");
  w.WriteField("VERSION", "1.2");
  w.WriteField("VERSMON", "11");
  w.WriteField("VERSJAHR", "2002");
  w.WriteField("DATUM", "02.06.2025");
  w.WriteField("UHRZEIT", "09:30");
  w.WriteField("PROGSYSTEM", "Synthetische Ausschreibung");
  w.WriteField("PROGNAME", "tender_generator");
  w.WriteField("ZEICHENSATZ", "ANSI");
  w.WriteEnd("GAEBINFO");
  w.WriteBegin("PRJINFO");
  w.WriteField("NAME", "SYN" + std::to_string(shape.Positions % 100000));
  w.WriteField("BEZ", "Neubau Schulzentrum, " + std::to_string(shape.Positions) + " Positionen");
  w.WriteField("WAE", "EUR");
  w.WriteField("WAEBEZ", "Euro");
  w.WriteEnd("PRJINFO");
  w.WriteBegin("VERGABE");
  w.WriteField("DP", "83");
  w.WriteBegin("VERGABEINFO");
  w.WriteField("ART", "1");
  w.WriteField("WAE", "EUR");
  w.WriteField("WAEBEZ", "Euro");
  w.WriteField("ERDATUM", "30.06.2025");
  w.WriteField("ABGABEORT", "Rathaus, Zimmer 112");
  w.WriteEnd("VERGABEINFO");
  w.WriteBegin("AG");
  w.WriteBegin("ADRESSE");
  w.WriteField("NAME1", "Stadt Musterhausen");
  w.WriteField("NAME2", "Hochbauamt, Vergabestelle");
  w.WriteField("STRASSE", "Marktplatz 1");
  w.WriteField("PLZ", "12345");
  w.WriteField("ORT", "Musterhausen");
  w.WriteField("TELEFON", "+49 1234 5678-0");
  w.WriteEnd("ADRESSE");
  w.WriteField("VERGNR", "2025-HB-017");
  w.WriteEnd("AG");
}

void WriteLvInfo(KsFileWriteGaeb00& w, int areaDigits, int positionDigits, int levels) {
  w.WriteBegin("LVINFO");
  w.WriteField("NAME", "01");
  w.WriteField("BEZ", "Rohbau- und Ausbauarbeiten");
  w.WriteField("DATUM", "02.06.2025");
  w.WriteField("KURZLANG", "1");
  for (int level = 1; level <= levels; ++level) {
    w.WriteBegin("LVGLIED");
    w.WriteField("TYP", "LVSTUFE");
    w.WriteField("BEZ", level == 1 ? "Titel" : "Untertitel");
    w.WriteField("LAENGE", std::to_string(areaDigits));
    w.WriteEnd("LVGLIED");
  }
  w.WriteBegin("LVGLIED");
  w.WriteField("TYP", "POSITION");
  w.WriteField("LAENGE", std::to_string(positionDigits));
  w.WriteEnd("LVGLIED");
  w.WriteField("UST", "19");
  w.WriteEnd("LVINFO");
}

void WritePosition(KsFileWriteGaeb00& w, Random& random, const TenderShape& shape,
                   const std::string& oz, int number) {
  const std::string_view work = random.Pick(kWorks);
  const std::string_view detail = random.Pick(kDetails);
  w.WriteBegin("POSITION");
  w.WriteField("OZ", oz);
  w.WriteField("MENGE", Decimal(1 + random.Below(2500), random.Below(1000)));
  w.WriteField("ME", random.Pick(kUnits));
  if (number % 3 == 0) w.WriteField("EP", Decimal(random.Below(900), random.Below(1000)));
  w.WriteBegin("BESCHREIBUNG");
  w.WriteField("LANGTEXT", number == 1 && shape.LongLineBytes > 0
                               ? PastedText(shape.LongLineBytes, shape.Seed)
                               : LongText(random, work, detail));
  w.WriteField("KURZTEXT", std::string(work) + ", " + std::string(detail));
  w.WriteEnd("BESCHREIBUNG");
  w.WriteEnd("POSITION");
}

// Leaves are numbered 0 .. leaves-1; the digits of a leaf's number in base
// `branching` name its areas from the top down, so consecutive leaves share
// their upper areas.
void WriteAreas(KsFileWriteGaeb00& w, Random& random, const TenderShape& shape) {
  const int levels = std::max(1, shape.AreaLevels);
  const int perArea = std::max(1, shape.PositionsPerArea);
  const int leaves = std::max(1, (shape.Positions + perArea - 1) / perArea);
  int branching = 1;
  for (;;) {
    long long capacity = 1;
    for (int i = 0; i < levels; ++i) capacity *= branching;
    if (capacity >= leaves) break;
    ++branching;
  }
  const int areaDigits = std::max(2, DigitCount(branching));
  const int positionDigits = std::max(4, DigitCount(perArea * 10));

  w.WriteBegin("LV");
  WriteLvInfo(w, areaDigits, positionDigits, levels);
  std::vector<int> open;  // area number per open level
  int written = 0;
  for (int leaf = 0; leaf < leaves; ++leaf) {
    std::vector<int> path(static_cast<size_t>(levels));
    for (int i = levels - 1, rest = leaf; i >= 0; --i, rest /= branching)
      path[static_cast<size_t>(i)] = rest % branching;
    size_t common = 0;
    while (common < open.size() && open[common] == path[common]) ++common;
    while (open.size() > common) {
      w.WriteEnd("LVBEREICH");
      open.pop_back();
    }
    std::string oz;
    for (size_t i = 0; i < path.size(); ++i) {
      oz += Digits(path[i] + 1, areaDigits);
      if (i < common) continue;
      w.WriteBegin("LVBEREICH");
      w.WriteField("OZ", oz);
      // Trades at the top, building sections below them.
      w.WriteField("BEZ", i == 0
                              ? std::string(kTrades[static_cast<size_t>(path[0]) % kTrades.size()])
                              : "Bauabschnitt " + oz);
      open.push_back(path[i]);
    }
    const int count = std::min(perArea, shape.Positions - written);
    for (int p = 1; p <= count; ++p)
      WritePosition(w, random, shape, oz + Digits(p * 10, positionDigits), ++written);
  }
  while (!open.empty()) {
    w.WriteEnd("LVBEREICH");
    open.pop_back();
  }
  w.WriteEnd("LV");
}

}  // namespace

std::string PastedText(size_t bytes, uint64_t seed) {
  constexpr size_t kLongestLine = 10'000'000;
  Random random(seed);
  std::string text;
  text.reserve(bytes + 200);
  size_t lineStart = 0;
  while (text.size() < bytes) {
    if (text.size() - lineStart >= kLongestLine) {
      text += "\r\n";
      lineStart = text.size();
    } else if (!text.empty()) {
      text += ' ';
    }
    text += random.Pick(kSentences);
  }
  return text;
}

TenderShape NestedTender(int positions) { return TenderShape{positions, 3, 100}; }

TenderShape SingleAreaTender(int positions) {
  return TenderShape{positions, 1, std::max(1, positions)};
}

uint64_t WriteSyntheticTender(std::ostream& out, const TenderShape& shape) {
  Random random(shape.Seed);
  KsFileWriteGaeb00 w(out);
  w.WriteBegin("GAEB");
  WriteFrame(w, shape);
  WriteAreas(w, random, shape);
  w.WriteEnd("VERGABE");
  w.WriteEnd("GAEB");
  return w.BytesWritten();
}

uint64_t WriteSyntheticTenderFile(const std::string& path, const TenderShape& shape) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file)
    throw EObj("TenderGenerator", "Die Datei " + path + " kann nicht angelegt werden",
               "WriteSyntheticTenderFile");
  const uint64_t bytes = WriteSyntheticTender(file, shape);
  file.close();
  if (!file)
    throw EObj("TenderGenerator", "Die Datei " + path + " wurde nicht vollst\xE4ndig geschrieben",
               "WriteSyntheticTenderFile");
  return bytes;
}
