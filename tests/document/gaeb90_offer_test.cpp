#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/document/gaeb90_samples.h"
#include "tests/gaebxml/x83_tree.h"
#include "tests/support/document_fixture.h"
#include "tests/support/test_files.h"

namespace {

const std::string kData = TARVO_TEST_DATA_DIR;

// One price list for both formats: unit prices in thousandths by the OZ's
// levels ("2.30"), some negative, some with three decimals.
int64_t PriceOf(const std::string& levels) {
  int64_t h = 17;
  for (char c : levels) h = (h * 131 + static_cast<unsigned char>(c)) % 9999991;
  const int64_t milli = h % 250000 + 1;
  return h % 7 == 0 ? -milli : milli;
}

std::string Key(const KsLyxObj& doc, const KsGAEBObj& position) {
  std::string key;
  for (const std::string& level : OzLevels(doc, position.Text("OZ"))) key += level + ".";
  return key;
}

std::string GermanText(int64_t milli) {
  const int64_t magnitude = std::llabs(milli);
  std::string fraction = std::to_string(magnitude % 1000);
  fraction.insert(0, 3 - fraction.size(), '0');
  return (milli < 0 ? "-" : "") + std::to_string(magnitude / 1000) + "," + fraction;
}

// RoundDec(2, EP * MENGE) in exact integers: thousandths times thousandths,
// to cents, half away from zero.
int64_t AmountCents(int64_t epMilli, int64_t qtyMilli) {
  const int64_t product = epMilli * qtyMilli;
  int64_t cents = product / 10000;
  if (std::llabs(product % 10000) * 2 >= 10000) cents += product < 0 ? -1 : 1;
  return cents;
}

int64_t Cents(const KsGAEBObj& element, const char* member) {
  return std::llround(element.Members.Find(member)->GetAsFloat() * 100);
}

// Prices every position from the list; the expected amount of each by its key.
std::map<std::string, int64_t> Price(KsLyxObj& doc) {
  std::map<std::string, int64_t> expected;
  for (KsGAEBObj* position : Flatten(*doc.Lv).Positions) {
    const std::string key = Key(doc, *position);
    SetPositionValue(*position, GermanText(PriceOf(key)), "EP");
    const int64_t qty = std::llround(position->Members.Find("MENGE")->GetAsFloat() * 1000);
    expected[key] = AmountCents(PriceOf(key), qty);
  }
  return expected;
}

class Gaeb90OfferTest : public DocumentFixture<::testing::TestWithParam<const char*>> {};

TEST_P(Gaeb90OfferTest, SameAmountsAsTheGaeb2000TwinAndTheD84ReadsBack) {
  const std::string name = GetParam();
  KsLyxObj twin;
  ASSERT_TRUE(twin.Import(kData + "/real/" + name + ".P83")) << twin.LastError;
  const std::string tender =
      dir_.Write(name + ".D83", ReadFile(kData + "/gaeb90/" + name + ".D83"));
  ASSERT_TRUE(doc_.Import(tender)) << doc_.LastError;

  const std::map<std::string, int64_t> expected = Price(doc_);
  EXPECT_EQ(Price(twin), expected);
  int64_t total = 0;
  for (const auto& [key, cents] : expected) total += cents;
  for (KsLyxObj* doc : {&doc_, &twin}) {
    for (const KsGAEBObj* position : Flatten(*doc->Lv).Positions)
      EXPECT_EQ(Cents(*position, "GB"), expected.at(Key(*doc, *position))) << Key(*doc, *position);
    EXPECT_EQ(Cents(*doc->LvInfo, "SUMME"), total);
  }

  // The written D84 read field by field: one record 23 per priced position.
  const std::string offer = dir_.Path(name + ".D84");
  ASSERT_TRUE(doc_.ExportD84(offer)) << doc_.LastError;
  const std::vector<std::string> lines = Gaeb90Lines(offer);
  ASSERT_EQ(lines.size(), expected.size() + 5);
  EXPECT_EQ(lines[0].substr(0, 13), "00        84L");
  EXPECT_EQ(lines[0].substr(62, 11), Gaeb90Lines(tender)[0].substr(62, 11));
  for (size_t i = 0; i < lines.size(); ++i) {
    ASSERT_EQ(lines[i].size(), 81u);
    EXPECT_EQ(lines[i].substr(74), (i + 1 < 10    ? "00000"
                                    : i + 1 < 100 ? "0000"
                                                  : "000") +
                                       std::to_string(i + 1) + "\r");
  }
  for (size_t i = 4; i + 1 < lines.size(); ++i) {
    const std::string& line = lines[i];
    SCOPED_TRACE(line);
    ASSERT_EQ(line.substr(0, 2), "23");
    const std::string ep = line.substr(13, 11), gb = line.substr(25, 12);
    const auto value = [](const std::string& field) {
      return field[0] == '-' ? -std::stoll(field.substr(1)) : std::stoll(field);
    };
    // The key of the record's OZ under the mask of the sample.
    const std::string oz = line.substr(2, 9);
    const KsGAEBObj* position = nullptr;
    for (const KsGAEBObj* p : Flatten(*doc_.Lv).Positions)
      if (oz.compare(0, p->Text("OZ").size(), p->Text("OZ")) == 0 &&
          oz.find_first_not_of(' ', p->Text("OZ").size()) == std::string::npos)
        position = p;
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(value(ep), PriceOf(Key(doc_, *position)));
    EXPECT_EQ(value(gb), expected.at(Key(doc_, *position)));
  }
  EXPECT_EQ(lines.back().substr(0, 2), "99");
  EXPECT_EQ(std::stoul(lines.back().substr(69, 5)), expected.size());

  // Read back (with its tender beside it): the same values; written again: the same bytes.
  KsLyxObj back;
  ASSERT_TRUE(back.Import(offer)) << back.LastError;
  EXPECT_EQ(back.ImportWarning, "");
  EXPECT_TRUE(back.IsGaeb90());
  for (const KsGAEBObj* position : Flatten(*back.Lv).Positions) {
    EXPECT_EQ(std::llround(position->Members.Find("EP")->GetAsFloat() * 1000),
              PriceOf(Key(back, *position)));
    EXPECT_EQ(Cents(*position, "GB"), expected.at(Key(back, *position)));
  }
  EXPECT_EQ(Cents(*back.LvInfo, "SUMME"), total);
  const std::string again = dir_.Path("again.D84");
  ASSERT_TRUE(back.ExportD84(again)) << back.LastError;
  EXPECT_EQ(ReadFile(again), ReadFile(offer));

  // "Speichern unter" as GAEB 2000: a D84 of that format with the same amounts.
  const std::string gaeb2000 = dir_.Path("gaeb2000.D84");
  ASSERT_TRUE(doc_.ExportD84(gaeb2000, KsLyxObj::OfferFormat::Gaeb2000)) << doc_.LastError;
  KsLyxObj other;
  ASSERT_TRUE(other.Import(gaeb2000)) << other.LastError;
  EXPECT_FALSE(other.IsGaeb90());
  for (const KsGAEBObj* position : Flatten(*other.Lv).Positions)
    EXPECT_EQ(Cents(*position, "GB"), expected.at(Key(other, *position)));
  EXPECT_EQ(Cents(*other.LvInfo, "SUMME"), total);
}

INSTANTIATE_TEST_SUITE_P(RealTenders, Gaeb90OfferTest, ::testing::Values("LV_Los01", "LV_Los02"));

using Gaeb90OfferRefusalTest = DocumentTest;

// An offer is read only with the tender it answers.
TEST_F(Gaeb90OfferRefusalTest, AnOfferWithoutItsTenderIsRefused) {
  const std::string tender = ReadFile(kGaeb90Los01);
  ASSERT_TRUE(Load(tender, "los.D83"));
  SetPositionValue(*Flatten(*doc_.Lv).Positions[0], "10", "EP");
  ASSERT_TRUE(doc_.ExportD84(dir_.Path("los.D84"))) << doc_.LastError;
  const std::string offer = ReadFile(dir_.Path("los.D84"));
  std::vector<std::string> renamed = Gaeb90Lines(kGaeb90Los01);
  renamed[1].replace(2, 5, "Los 9");
  std::string unknownOz = offer;
  unknownOz.replace(unknownOz.find("\n23 1  10") + 1, 8, "23 9  10");
  const struct {
    const char* name;
    std::string offer;
    std::string tender;  // written beside as <name>.D83 unless empty
    std::string error;
  } cases[] = {
      {"alone", offer, "",
       "Ein GAEB 90 Angebot (D84) enth\xE4lt weder Texte noch Mengen; die Ausschreibung dazu "
       "wird neben ihm als " +
           dir_.Path("alone.D83") + " (oder .D81) gesucht und wurde nicht gefunden."},
      {"other", offer, JoinLines(renamed),
       "Das Angebot geh\xF6rt nicht zur Ausschreibung " + dir_.Path("other.D83") +
           ": das LV hei\xDFt dort \"Los 9 - Geoelektrische Untersuchungen\", im Angebot \"Los 1 "
           "- Geoelektrische Untersuchungen\"."},
      {"unknown", unknownOz, tender,
       "Zeile 5: die Position 9  10 des Angebots gibt es in der Ausschreibung nicht."},
      {"truncated", offer.substr(0, offer.find("\n99") + 1), tender,
       "Das Angebot endet nach Zeile 5 ohne den Schlusssatz 99; es ist unvollst\xE4ndig."},
      {"cut in 99", offer.substr(0, offer.find("\n99") + 41), tender,
       "Das Angebot endet in Zeile 6 mitten im Schlusssatz 99 (ohne die Anzahl der Preise in "
       "Spalte 70-74); es ist unvollst\xE4ndig."},
      {"broken tender", offer, tender.substr(0, 500),
       "Die Ausschreibung " + dir_.Path("broken tender.D83") +
           " zum Angebot: Die Datei endet nach Zeile 7 ohne den Schlusssatz 99; sie ist "
           "unvollst\xE4ndig."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (!c.tender.empty()) dir_.Write(std::string(c.name) + ".D83", c.tender);
    ASSERT_FALSE(Load(c.offer, std::string(c.name) + ".D84"));
    EXPECT_EQ(doc_.LastError, c.error);
    EXPECT_FALSE(doc_.Loaded());
  }
}

}  // namespace

namespace {

// A value wider than its field of the D84 fails the save and leaves the old file.
TEST_F(Gaeb90OfferRefusalTest, AValueTooWideForItsFieldFailsTheSave) {
  ASSERT_TRUE(Load(ReadFile(kGaeb90Los01), "los.D83"));
  const std::string offer = dir_.Write("los.D84", "alt");
  KsGAEBObj& first = *Flatten(*doc_.Lv).Positions[0];
  SetPositionValue(first, "100000000", "EP");
  EXPECT_FALSE(doc_.ExportD84(offer));
  EXPECT_EQ(doc_.LastError,
            "Fehler beim Schreiben der Datei: Der Einheitspreis der Position 1  10 passt nicht in "
            "die 11 Stellen des GAEB 90 Angebots.");
  EXPECT_EQ(ReadFile(offer), "alt");
  SetPositionValue(first, "99999999,999", "EP");
  EXPECT_TRUE(doc_.ExportD84(offer)) << doc_.LastError;
}

}  // namespace
