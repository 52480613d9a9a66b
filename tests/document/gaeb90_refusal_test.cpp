#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/document/gaeb90_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/document_fixture.h"
#include "util/trim.h"

namespace {

using Gaeb90RefusalTest = DocumentTest;

// Every cut of a sample after a whole line, and in the middle of the next,
// is refused as incomplete naming the last line; nothing is shown half read.
// Record 99 cut before its count (in the middle, or after its type) is a cut
// like any other.
TEST_F(Gaeb90RefusalTest, TruncatedAtEveryLineIsRefusedNamingTheLine) {
  for (const std::string& path : {kGaeb90Los01, kGaeb90Los02}) {
    const std::vector<std::string> lines = Gaeb90Lines(path);
    for (size_t kept = 1; kept < lines.size(); ++kept) {
      SCOPED_TRACE(path + " nach Zeile " + std::to_string(kept));
      const std::vector<std::string> head(lines.begin(), lines.begin() + kept);
      ASSERT_FALSE(Load(JoinLines(head)));
      EXPECT_EQ(doc_.LastError, "Die Datei endet nach Zeile " + std::to_string(kept) +
                                    " ohne den Schlusssatz 99; sie ist unvollst\xE4ndig.");
      EXPECT_FALSE(doc_.Loaded());
      const std::string& next = lines[kept];
      const bool last = next.compare(0, 2, "99") == 0;
      const std::string cutEnd =
          "Die Datei endet in Zeile " + std::to_string(kept + 1) +
          " mitten im Schlusssatz 99 (ohne die Anzahl der Positionen in Spalte 70-74); sie ist "
          "unvollst\xE4ndig.";
      for (const size_t columns : {size_t{40}, size_t{2}, size_t{73}}) {
        if (!last && columns != 40) continue;
        ASSERT_FALSE(Load(JoinLines(head) + next.substr(0, columns)));
        EXPECT_EQ(doc_.LastError, last ? cutEnd
                                       : "Die Datei endet nach Zeile " + std::to_string(kept + 1) +
                                             " ohne den Schlusssatz 99; sie ist unvollst\xE4ndig.");
        EXPECT_FALSE(doc_.Loaded());
      }
    }
  }
}

// Lines with their trailing blanks cut, CR LF, and no end after the last line
// read as the sample does.
TEST_F(Gaeb90RefusalTest, LineEndsAndCutBlanksReadTheSame) {
  const std::vector<std::string> lines = Gaeb90Lines(kGaeb90Los02);
  std::vector<std::string> cut;
  for (const std::string& line : lines) cut.push_back(TrimRight(line));
  const std::string crlf = JoinLines(lines, "\r\n");
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"cut LF", JoinLines(cut)},
      {"CR LF", crlf},
      {"cut CR LF", JoinLines(cut, "\r\n")},
      {"no last end", crlf.substr(0, crlf.size() - 2)},
      {"DOS end mark", crlf + "\x1A"},
  };
  ASSERT_TRUE(doc_.Import(kGaeb90Los02)) << doc_.LastError;
  const FlatLv sample = Flatten(*doc_.Lv);
  std::vector<std::string> texts;
  for (const KsGAEBObj* p : sample.Positions)
    texts.push_back(p->Text("OZ") + "|" + p->Text("MENGE") + "|" + p->Text("ME") + "|" +
                    DescriptionText(*p, "LANGTEXT"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Load(c.bytes)) << doc_.LastError;
    const FlatLv read = Flatten(*doc_.Lv);
    EXPECT_EQ(read.Areas.size(), sample.Areas.size());
    ASSERT_EQ(read.Positions.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
      const KsGAEBObj* p = read.Positions[i];
      EXPECT_EQ(p->Text("OZ") + "|" + p->Text("MENGE") + "|" + p->Text("ME") + "|" +
                    DescriptionText(*p, "LANGTEXT"),
                texts[i]);
    }
  }
}

// One line of Los01 replaced (or inserted): the message names the line and what
// was expected.
TEST_F(Gaeb90RefusalTest, GarbledRecordsAreRefusedNamingTheLine) {
  const std::vector<std::string> lines = Gaeb90Lines(kGaeb90Los01);
  const struct {
    size_t line;  // counted from 1
    std::string record;
    bool insert;
    const char* error;
  } cases[] = {
      {1, "00        85L                                                 11PPPPI0090 000001", false,
       "Zeile 1: Austauschphase \"85\" in Spalte 11-12; gelesen werden GAEB 90 Dateien der Phasen "
       "81, 83 und 84."},
      {1, "00        83L                                                 11XXPPI0090 000001", false,
       "Zeile 1: die OZ-Maske \"11XXPPI00\" in Spalte 63-71 ist nicht lesbar (erwartet z. B. "
       "\"1122PPPPI\")."},
      {8, "21 1  10   NNN         0000000x000psch                                    000008", false,
       "Zeile 8: die Menge \"0000000x000\" in Spalte 24-34 ist keine Zahl (11 Ziffern, davon 3 "
       "Nachkommastellen)."},
      {8, "21 1  1\x81   NNN         00000001000psch                                    000008",
       false,
       "Zeile 8: die OZ \" 1  1\xFC   \" in Spalte 3-11 enth\xE4lt \"\xFC\"; erwartet werden "
       "Ziffern, "
       "Buchstaben und Leerzeichen."},
      {8, "21 1  10   NXN         00000001000psch                                    000008", false,
       "Zeile 8: das Kennzeichen \"X\" der Position in Spalte 13 ist nicht bekannt."},
      {8, "21 2  10   NNN         00000001000psch                                    000008", false,
       "Zeile 8: die OZ \" 2  10   \" der Position passt nicht zur OZ-Maske im LV-Bereich 1."},
      {8, "x1 1  10   NNN         00000001000psch                                    000008", false,
       "Zeile 8: erwartet wird eine Satzart (zwei Ziffern) in Spalte 1-2, gefunden \"x1\"."},
      {8, std::string(81, '2'), false,
       "Zeile 8: der Satz ist 81 Zeichen lang, erwartet werden h\xF6"
       "chstens 80."},
      {8, "21 1  10   NNN         00000001000psch                                    0000x8", false,
       "Zeile 8: in Spalte 75-80 steht \"0000x8\" statt der laufenden Satznummer."},
      {7, "26   Text ohne Position", false,
       "Zeile 7: eine Langtextzeile (Satz 26) geh\xF6rt hinter eine Position (Satz 21 oder 25) "
       "oder einen Hinweis (Satz 20)."},
      {9, "12Bereichstext an falscher Stelle", false,
       "Zeile 9: ein Bereichstext (Satz 12) geh\xF6rt hinter einen Satz 11 (LV-Bereich)."},
      {22, "31 2", false, "Zeile 22: Satz 31 schlie\xDFt 2, offen ist aber der LV-Bereich 1."},
      {23, "11 1 1     N    Bereich", true,
       "Zeile 23: die OZ \" 1 1     \" des LV-Bereichs passt nicht zur OZ-Maske."},
      {22, "11 2       N    Bereich", false,
       "Zeile 22: der LV-Bereich 2 liegt nicht im offenen LV-Bereich 1 (fehlt ein Satz 31?)."},
      {8, "02Projekt nach dem ersten Bereich", true,
       "Zeile 8: Satz 02 geh\xF6rt in den Kopf der Datei, vor den ersten LV-Bereich."},
      {4, "01LV                                      31.13.2x", false,
       "Zeile 4: das Datum \"31.13.2x\" in Spalte 43-50 ist kein Datum TT.MM.JJ."},
      {168, "99                   1900                                            00012000168",
       false,
       "Zeile 168: der Schlusssatz nennt in Spalte 70-74 \"00012\" Positionen, die Datei "
       "enth\xE4lt 13."},
      {167, "99", false,
       "Zeile 167: Schlusssatz 99, aber der LV-Bereich 3 ist nicht mit Satz 31 abgeschlossen."},
      {169, "21 3  50   NNN", true, "Zeile 169: nach dem Schlusssatz 99 folgt noch ein Satz."},
      {100, "", true, "Zeile 100: erwartet wird ein Satz, gefunden eine leere Zeile."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.error);
    std::vector<std::string> changed = lines;
    if (c.insert)
      changed.insert(changed.begin() + static_cast<ptrdiff_t>(c.line - 1), c.record);
    else
      changed[c.line - 1] = c.record;
    ASSERT_FALSE(Load(JoinLines(changed)));
    EXPECT_EQ(doc_.LastError, c.error);
    EXPECT_FALSE(doc_.Loaded());
  }
}

// A first line that is no head record, with GAEB 90 records after it, is a
// damaged GAEB 90 file, named so with the line; it is no "GAEB 2000 file
// without award data".
TEST_F(Gaeb90RefusalTest, AGarbledFirstLineIsRefusedAsDamagedGaeb90) {
  const std::vector<std::string> lines = Gaeb90Lines(kGaeb90Los01);
  const struct {
    const char* name;
    std::string first;  // instead of line 1; "-" drops it
    std::string found;
  } cases[] = {
      {"type garbled", "x" + lines[0].substr(1), "x0        83L               DRV Buro..."},
      {"blank", "", ""},
      {"too long", lines[0] + "0", "00        83L               DRV Buro..."},
      {"head missing", "-", "01Los 1 - Geoelektrische Untersuchungen..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> changed = lines;
    if (c.first == "-")
      changed.erase(changed.begin());
    else
      changed[0] = c.first;
    ASSERT_FALSE(Load(JoinLines(changed)));
    EXPECT_EQ(doc_.LastError, "Zeile 1 der Datei " + dir_.Path("lv.d83") +
                                  ": erwartet wird der Kopfsatz 00 einer GAEB 90 Datei, gefunden "
                                  "\"" +
                                  c.found +
                                  "\". Die Zeilen danach sind S\xE4tze einer GAEB 90 Datei; die "
                                  "Datei ist besch\xE4"
                                  "digt.");
    EXPECT_FALSE(doc_.Loaded());
  }
}

// A free text block before the head and records of unknown type are skipped
// with a count; every position is still read.
TEST_F(Gaeb90RefusalTest, FreeTextAndUnknownRecordsAreCountedInTheWarning) {
  std::vector<std::string> lines = Gaeb90Lines(kGaeb90Los01);
  lines.insert(lines.begin() + 5, "06Ausf\x81hrungsort Halle");
  lines.insert(lines.begin() + 9, "40 unbekannt");
  lines.insert(lines.begin(), {"T0Baubeschreibung", "T1Zweite Zeile", "T9Letzte Zeile"});
  ASSERT_TRUE(Load(JoinLines(lines))) << doc_.LastError;
  EXPECT_EQ(doc_.ImportWarning,
            "Der freie Text vor dem Kopfsatz (3 S\xE4tze T0 bis T9) wurde nicht \xFC"
            "bernommen. 2 S\xE4tze unbekannter Art (06, 40) wurden \xFC"
            "bersprungen.");
  EXPECT_EQ(Flatten(*doc_.Lv).Positions.size(), 13u);
}

// The flags of record 21: column 12 N/G/A, column 13 N/E.
TEST_F(Gaeb90RefusalTest, PositionFlagsGiveTheType) {
  const struct {
    const char* flags;
    const char* type;
  } cases[] = {{"NNN", "N"},  {"GNN", "N"},  {"ANN", "A"},
               {"NEN", "AB"}, {"AEN", "AB"}, {"   ", "N"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    std::vector<std::string> lines = Gaeb90Lines(kGaeb90Los01);
    lines[7].replace(11, 3, c.flags);
    ASSERT_TRUE(Load(JoinLines(lines))) << doc_.LastError;
    EXPECT_EQ(Flatten(*doc_.Lv).Positions[0]->Text("_TARVO_POSTYP"), c.type);
  }
}

}  // namespace

namespace {

// Bytes of Los01 changed at random (a fixed seed), a few thousand times: every
// file is either read, and then answered with a D84 that reads back to the
// same total, or refused with a message; none crashes.
TEST_F(Gaeb90RefusalTest, MutatedSamplesAreReadOrRefused) {
  const std::string sample = ReadFile(kGaeb90Los01);
  const std::string bytes = "0123456789 -NAEGTx\n\r\x81\x1A";
  uint64_t state = 20261209;
  const auto next = [&state](uint64_t bound) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (state >> 33) % bound;
  };
  int read = 0, refused = 0;
  constexpr int kMutations = 3000;
  for (int round = 0; round < kMutations; ++round) {
    std::string mutated = sample;
    for (uint64_t n = next(3) + 1; n > 0; --n)
      mutated[next(mutated.size())] = bytes[next(bytes.size())];
    const std::string name = "m" + std::to_string(round);
    if (!Load(mutated, name + ".D83")) {
      ++refused;
      EXPECT_FALSE(doc_.LastError.empty());
      EXPECT_FALSE(doc_.Loaded());
      continue;
    }
    ++read;
    const FlatLv lv = Flatten(*doc_.Lv);
    if (lv.Positions.empty()) continue;
    SetPositionValue(*lv.Positions.back(), "12,345", "EP");
    const double total = doc_.LvInfo->Members.Find("SUMME")->GetAsFloat();
    ASSERT_TRUE(doc_.ExportD84(dir_.Path(name + ".D84"))) << doc_.LastError;
    KsLyxObj back;
    ASSERT_TRUE(back.Import(dir_.Path(name + ".D84"))) << back.LastError;
    EXPECT_EQ(back.LvInfo->Members.Find("SUMME")->GetAsFloat(), total);
  }
  std::cout << "[ mutations ] " << read << " read, " << refused << " refused\n";
  EXPECT_EQ(read + refused, kMutations);
  EXPECT_GT(read, kMutations / 10);
  EXPECT_GT(refused, kMutations / 10);
}

}  // namespace

namespace {

// Phases 81 and 83 are tenders; the phase is kept as the award's DP.
TEST_F(Gaeb90RefusalTest, Phase81And83AreRead) {
  for (const char* phase : {"81", "83"}) {
    SCOPED_TRACE(phase);
    std::vector<std::string> lines = Gaeb90Lines(kGaeb90Los02);
    lines[0].replace(10, 2, phase);
    ASSERT_TRUE(Load(JoinLines(lines), "lv.D" + std::string(phase)));
    EXPECT_EQ(doc_.VergabeInfo->ParentElement()->Text("DP"), phase);
    EXPECT_EQ(Flatten(*doc_.Lv).Positions.size(), 121u);
  }
}

}  // namespace
