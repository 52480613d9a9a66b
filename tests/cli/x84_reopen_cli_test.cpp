#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/cli/cli_runner.h"
#include "tests/support/time_of_writing.h"

namespace {

using json = nlohmann::ordered_json;

const std::filesystem::path kData(TARVO_TEST_DATA_DIR);

class OfferReopen : public ::testing::Test {
 protected:
  // info --json without the file name; null when it fails.
  json Info(const std::vector<std::string>& args) {
    std::vector<std::string> all{"info", "--json"};
    all.insert(all.end(), args.begin(), args.end());
    const CliResult r = cli_.Run(all);
    if (r.status != 0) return json();
    json info = json::parse(r.out);
    info.erase("file");
    return info;
  }

  std::string Copy(const std::filesystem::path& from) {
    const std::string to = cli_.Path(from.filename().string());
    std::filesystem::copy_file(from, to);
    return to;
  }

  // A price for every position, different at each one ("1  10;11,01", ...),
  // and the answers `more`.
  std::string PriceList(const json& info, const std::string& more = "") {
    std::string list;
    int n = 0;
    for (const json& p : info["positions"]) {
      ++n;
      list += p["oz"].get<std::string>() + ";" + std::to_string(10 + n) + "," +
              std::to_string(n % 90 + 10) + "\n";
    }
    return cli_.Write("preise.csv", list + more);
  }

  // Priced, saved, reopened, saved again: the same values, the same bytes.
  void RoundTrip(const std::filesystem::path& tender, const std::string& offerName,
                 const std::string& more = "") {
    const std::string copy = Copy(tender);
    const std::string first = cli_.Path(offerName), second = cli_.Path("wieder_" + offerName);
    const CliResult priced = cli_.Run({"price", copy, PriceList(Info({copy}), more), first});
    ASSERT_EQ(priced.status, 0) << priced.err;
    const json reopened = Info({first});
    ASSERT_FALSE(reopened.is_null()) << cli_.Run({"info", first}).err;
    int n = 0;
    for (const json& p : reopened["positions"]) {
      ++n;
      EXPECT_DOUBLE_EQ(p["ep"].get<double>(), 10 + n + (n % 90 + 10) / 100.0) << p["oz"];
    }
    const CliResult saved = cli_.Run({"export", first, second});
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.Errors(), "");
    // The second offer has no tender of its name beside it.
    EXPECT_EQ(Info({"--tender", copy, second}), reopened);
    EXPECT_EQ(WithoutTimeOfWriting(CliRunner::Read(second)),
              WithoutTimeOfWriting(CliRunner::Read(first)));
  }

  CliRunner cli_;
};

TEST_F(OfferReopen, EveryRealXmlTenderPricedSavedAndReopenedGivesTheSameOffer) {
  for (const char* name : {"LV_Los01", "LV_Los02"}) {
    SCOPED_TRACE(name);
    RoundTrip(kData / "xml-real" / (std::string(name) + ".X83"), std::string(name) + ".X84");
  }
  const std::string official = "Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024";
  RoundTrip(kData / "xml" / (official + ".X83"), official + ".X84",
            "0020020020;TEXT;60;120\n0020020020;TEXT;61;Fabrikat M\xC3\xBCller; Typ 9\n");
  const std::string x84 = CliRunner::Read(cli_.Path(official + ".X84"));
  EXPECT_NE(x84.find("<span>Fabrikat M\xC3\xBCller; Typ 9</span>"), std::string::npos);
}

TEST_F(OfferReopen, EveryRealGaeb2000OfferPricedSavedAndReopenedGivesTheSameOffer) {
  for (const auto& entry : std::filesystem::directory_iterator(kData / "real")) {
    SCOPED_TRACE(entry.path().string());
    RoundTrip(entry.path(), entry.path().stem().string() + ".D84");
  }
}

TEST_F(OfferReopen, AnOfferAnsweringByIdNeedsItsTender) {
  const std::string offer =
      Copy(kData / "xml" / "BVBS_Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2021.X84");
  const CliResult alone = cli_.Run({"info", offer});
  EXPECT_EQ(alone.status, 1);
  EXPECT_NE(alone.err.find("wurde nicht gefunden. Bitte w\xC3\xA4hlen Sie die zugeh\xC3\xB6rige "
                           "Ausschreibung."),
            std::string::npos)
      << alone.err;
  const std::string tender =
      (kData / "xml" / "Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83").string();
  const CliResult withTender = cli_.Run({"info", "--tender", tender, offer});
  EXPECT_EQ(withTender.status, 0) << withTender.err;
  EXPECT_NE(withTender.out.find("Summe:        1.915.000,00"), std::string::npos) << withTender.out;
  EXPECT_NE(withTender.err.find("Warnung: Die IDs des Angebots"), std::string::npos);
  // Saved it answers the tender it was entered into, and opens with it again.
  const std::string answer = cli_.Path("antwort.X84");
  ASSERT_EQ(cli_.Run({"export", offer, answer, "--tender", tender}).status, 0);
  EXPECT_EQ(Info({"--tender", tender, answer}), Info({"--tender", tender, offer}));
  EXPECT_EQ(cli_.Run({"print", "--tender", tender, answer, "-"}).status, 0);
  EXPECT_EQ(cli_.Run({"info", offer, "--tender"}).status, 2);
  EXPECT_EQ(cli_.Run({"info", "--tender", tender, "--tender", tender, offer}).status, 2);
}

TEST_F(OfferReopen, NeitherTheTenderNorAnAnswerIsOverwrittenOrHalfEntered) {
  const std::string tender = Copy(kData / "xml-real" / "LV_Los01.X83");
  const std::string offer = cli_.Path("LV_Los01.X84");
  ASSERT_EQ(cli_.Run({"export", tender, offer}).status, 0);
  const std::string before = CliRunner::Read(tender);
  const CliResult over = cli_.Run({"export", offer, tender});
  EXPECT_EQ(over.status, 1);
  EXPECT_EQ(over.Errors(), "Das Ziel " + tender +
                               " ist die gelesene Ausschreibung; sie wird nicht "
                               "\xC3\xBC"
                               "berschrieben.\n");
  EXPECT_EQ(CliRunner::Read(tender), before);
  const CliResult other =
      cli_.Run({"export", "--tender", (kData / "xml-real" / "LV_Los02.X83").string(), offer,
                cli_.Path("x.X84")});
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("geh\xC3\xB6rt nicht zur Ausschreibung"), std::string::npos)
      << other.err;
  EXPECT_FALSE(std::filesystem::exists(cli_.Path("x.X84")));
  // A complement the position does not have, and one of two lines.
  const std::string official =
      Copy(kData / "xml" / "Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83");
  const std::string list = cli_.Write("text.csv",
                                      "0020020020;TEXT;62;55\n0020020020;TEXT;60;a\tb\n"
                                      "0020020030;TEXT;60;55\n0020020020;TEXT;60\n");
  const CliResult texts = cli_.Run({"price", official, list, cli_.Path("t.X84")});
  EXPECT_EQ(texts.status, 3);
  EXPECT_EQ(texts.Errors(),
            "Zeile 1: Die Position 0020020020 hat keine Texterg\xC3\xA4nzung 62 (sie hat 60, 61)\n"
            "Zeile 2: Eine Texterg\xC3\xA4nzung ist eine Zeile; Tabulatoren und "
            "Zeilenumbr\xC3\xBC"
            "che sind darin nicht m\xC3\xB6glich.\n"
            "Zeile 3: Die Position 0020020030 hat keine Texterg\xC3\xA4nzung 60 (sie hat keine "
            "f\xC3\xBCr den Bieter)\n"
            "Zeile 4: \"OZ;TEXT;Marke;Text\" erwartet, gelesen: 0020020020;TEXT;60\n");
}

}  // namespace
