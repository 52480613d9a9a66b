#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"

namespace {

using json = nlohmann::ordered_json;

const std::string kSample = std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83";
// Long enough for several pages.
const std::string kLongSample = std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los02.P83";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Keys(const json& object) {
  std::vector<std::string> keys;
  for (const auto& [key, value] : object.items()) keys.push_back(key);
  return keys;
}

long long Cents(double x) { return std::llround(x * 100); }

class CliTest : public ::testing::Test {
 protected:
  json Info(const std::string& file) {
    const CliResult r = cli_.Run({"info", "--json", file});
    EXPECT_EQ(r.status, 0) << r.err;
    return json::parse(r.out);
  }
  CliRunner cli_;
};

TEST_F(CliTest, WrongUsageShowsTheUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"hilfe"},
      {"info"},
      {"info", "--json"},
      {"info", "a", "b"},
      {"export", kSample},
      {"price", kSample, "p.txt"},
      {"print", kSample},
      {"print", kSample, "out.txt", "--width"},
      {"print", kSample, "out.txt", "--width", "breit"},
      {"print", kSample, "out.txt", "--width", "5"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args.empty() ? "no arguments" : args[0] + " with " + std::to_string(args.size()));
    const CliResult r = cli_.Run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("Aufruf:"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
}

// An option no command knows is wrong usage, wherever it stands, and is
// named; it is never taken for a file name.
TEST_F(CliTest, UnknownOptionsAreWrongUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {"info", "--verbose", kSample},
      {"info", "--jsn", kSample},
      {"info", "--verbose"},
      {"export", kSample, "-o"},
      {"price", "--ja", kSample, "p.txt", "out.d84"},
      {"print", kSample, "out.txt", "--langtexte"},
  };
  for (const auto& args : cases) {
    SCOPED_TRACE(args[0] + " " + args[1]);
    const CliResult r = cli_.Run(args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.rfind("Unbekannte Option: -", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("Aufruf:"), std::string::npos);
    EXPECT_TRUE(r.out.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(cli_.Path("out.txt")));
  EXPECT_FALSE(std::filesystem::exists(cli_.Path("-o")));
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutput) {
  for (const std::string option : {"--help", "-h"}) {
    const CliResult r = cli_.Run({option});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Aufruf:", 0), 0u) << option;
    EXPECT_NE(r.out.find("tarvo-cli --help | -h | --version"), std::string::npos);
    EXPECT_TRUE(r.err.empty());
  }
  const CliResult version = cli_.Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("tarvo-cli ") + TARVO_PROJECT_VERSION + "\n");
  EXPECT_TRUE(version.err.empty());
}

TEST_F(CliTest, DocumentFailuresEndWithTheirMessage) {
  const std::string missing = cli_.Path("M\u00fcller fehlt.d83");
  const std::string notGaeb = cli_.Write("brief.txt", "Sehr geehrte Damen und Herren\r\n");
  const std::string prices = cli_.Write("preise.txt", "");
  const std::string noAward =
      "Bei der angegeben Datei handelt es sich nicht um eine GAEB 2000 Datei bzw. nicht um eine "
      "GAEB 2000 Datei mit Vergabe-Daten.\n";
  const struct {
    std::string file;
    std::string message;
  } inputs[] = {{missing, "Die angegebene Datei " + missing + " existiert nicht.\n"},
                {notGaeb, noAward}};
  for (const auto& input : inputs) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"info", input.file},
                                                 {"info", "--json", input.file},
                                                 {"export", input.file, cli_.Path("a.d84")},
                                                 {"price", input.file, prices, cli_.Path("a.d84")},
                                                 {"print", input.file, cli_.Path("a.txt")}}) {
      SCOPED_TRACE(args[0] + " " + input.file);
      const CliResult r = cli_.Run(args);
      EXPECT_EQ(r.status, 1);
      EXPECT_EQ(r.err, input.message);
      EXPECT_TRUE(r.out.empty());
      EXPECT_FALSE(std::filesystem::exists(cli_.Path("a.d84")));
      EXPECT_FALSE(std::filesystem::exists(cli_.Path("a.txt")));
    }
  }
}

TEST_F(CliTest, InfoSummarisesTheTenderInGerman) {
  const CliResult r = cli_.Run({"info", kSample});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{
                              "Datei:        LV_Los01.P83",
                              "Projekt:      11530 Neubau Flutpolder \"Elster-Luppe-Aue\" - BHU",
                              "LV:           01 Los 1 - Geoelektrische Untersuchungen",
                              "LV-Bereiche:  3", "Positionen:   13", "Summe:        0,00",
                              "MwSt 19,00 %: 0,00", "Bruttosumme:  0,00"}));
  EXPECT_TRUE(r.err.empty());
}

TEST_F(CliTest, InfoJsonHasExactlyTheAgreedKeys) {
  const json info = Info(kSample);
  EXPECT_EQ(Keys(info),
            (std::vector<std::string>{"file", "ep_breakdown", "lv", "areas", "positions"}));
  EXPECT_EQ(info["file"], kSample);
  EXPECT_EQ(info["ep_breakdown"], false);
  EXPECT_EQ(Keys(info["lv"]),
            (std::vector<std::string>{"name", "bez", "summe", "ust", "summebrutto"}));
  EXPECT_EQ(info["lv"]["name"], "01");
  EXPECT_EQ(info["lv"]["ust"], 19.0);
  ASSERT_EQ(info["areas"].size(), 3u);
  EXPECT_EQ(Keys(info["areas"][0]),
            (std::vector<std::string>{"oz", "bez", "depth", "summe", "nachlassproz", "nachlassabs",
                                      "summenachnl", "positions"}));
  EXPECT_EQ(info["areas"][1]["bez"], "Vorbereitung und Durchf\u00fchrung der Messungen");
  int own = 0;
  for (const json& area : info["areas"]) {
    EXPECT_EQ(area["depth"], 1);
    own += area["positions"].get<int>();
  }
  ASSERT_EQ(info["positions"].size(), 13u);
  EXPECT_EQ(own, 13);
  EXPECT_EQ(Keys(info["positions"][0]),
            (std::vector<std::string>{"oz", "type", "menge", "me", "ep", "gb", "kurztext"}));
  EXPECT_EQ(info["positions"][0]["oz"], "010010");
  EXPECT_EQ(info["positions"][0]["type"], "N");
  EXPECT_EQ(info["positions"][0]["menge"], 1.0);
  EXPECT_EQ(info["positions"][0]["me"], "psch");
  EXPECT_TRUE(info["positions"][0]["ep"].is_number());
}

TEST_F(CliTest, PriceEntersEveryPriceReportsBadLinesAndStillSaves) {
  const json before = Info(kSample);
  std::string prices;
  std::vector<double> given;
  int i = 0;
  for (const json& position : before["positions"]) {
    ++i;
    given.push_back(i * 10.125);
    std::string value = std::to_string(i * 10125);  // thousandths
    value.insert(value.size() - 3, ",");
    prices += "  " + position["oz"].get<std::string>() + " ;" + value + "\r\n";
    if (i == 2) prices += "99.9999;12\n\nohne Semikolon\n";
  }
  prices += before["positions"][0]["oz"].get<std::string>() + ";zw\xC3\xB6lf\n";
  const std::string out = cli_.Path("angebot.d84");
  const CliResult r = cli_.Run({"price", kSample, cli_.Write("preise.txt", prices), out});
  EXPECT_EQ(r.status, 3);
  // Every position priced, the bidder still missing.
  EXPECT_EQ(Lines(r.err),
            (std::vector<std::string>{
                "Zeile 3: Position 99.9999 nicht gefunden",
                "Zeile 5: \"OZ;Preis\" oder \"OZ;Feld;Wert\" erwartet, gelesen: ohne Semikolon",
                "Zeile 17: zw\xC3\xB6lf ist keine Zahl",
                "Warnung: Der Name des Bieters fehlt (Seite \"Auftragnehmer\").",
                "Warnung: In der Anschrift des Bieters fehlt: Stra\xC3\x9F"
                "e, PLZ, Ort."}));

  const json after = Info(out);
  ASSERT_EQ(after["positions"].size(), given.size());
  long long total = 0;
  for (size_t k = 0; k < given.size(); ++k) {
    const json& position = after["positions"][k];
    EXPECT_DOUBLE_EQ(position["ep"].get<double>(), given[k]);
    const long long cents = Cents(position["menge"].get<double>() * given[k]);
    EXPECT_EQ(Cents(position["gb"].get<double>()), cents) << position["oz"];
    total += cents;
  }
  EXPECT_EQ(Cents(after["lv"]["summe"].get<double>()), total);
  EXPECT_EQ(Cents(after["lv"]["summebrutto"].get<double>()), std::llround(total * 1.19));
}

TEST_F(CliTest, ExportWritesATenderThatReadsBack) {
  const std::string out = cli_.Path("angebot.d84");
  const CliResult r = cli_.Run({"export", kSample, out});
  ASSERT_EQ(r.status, 0) << r.err;
  // What the window would ask about before saving, as warnings.
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(r.err,
            "Warnung: 13 Positionen haben keinen Einheitspreis (die erste: OZ 010010).\n"
            "Warnung: Der Name des Bieters fehlt (Seite \"Auftragnehmer\").\n"
            "Warnung: In der Anschrift des Bieters fehlt: Stra\xC3\x9F"
            "e, PLZ, Ort.\n");
  EXPECT_NE(CliRunner::Read(out).find("[PROGNAME]Quorva [end]"), std::string::npos);
  json before = Info(kSample), after = Info(out);
  before.erase("file");
  after.erase("file");
  EXPECT_EQ(after, before);

  const CliResult failed = cli_.Run({"export", kSample, cli_.Path("")});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err.rfind("Fehler beim Schreiben der Datei: ", 0), 0u) << failed.err;
}

TEST_F(CliTest, PrintWritesPagesOfTheChosenWidth) {
  const struct {
    std::vector<std::string> options;
    size_t width;
    bool longTexts;
  } cases[] = {{{}, 100, false}, {{"--width", "80", "--long-texts"}, 80, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    const std::string out = cli_.Path("druck.txt");
    std::vector<std::string> args{"print", kLongSample, out};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const CliResult r = cli_.Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string text = CliRunner::Read(out);

    std::vector<std::vector<std::string>> pages(1);
    for (const std::string& line : Lines(text)) {
      std::string rest = line;
      if (!rest.empty() && rest[0] == '\f') {
        pages.emplace_back();
        rest.erase(0, 1);
      }
      pages.back().push_back(rest);
    }
    ASSERT_GE(pages.size(), 2u);
    for (size_t p = 0; p < pages.size(); ++p) {
      const std::string head = "Seite " + std::to_string(p + 1);
      EXPECT_EQ(pages[p][0], std::string(c.width - head.size(), ' ') + head);
      EXPECT_LE(pages[p].size(), 66u);
      if (p + 1 < pages.size()) {
        EXPECT_EQ(pages[p].size(), 66u);
      }
    }
    EXPECT_EQ(pages[0][1], "Angebotsdruck LV_Los02");
    EXPECT_EQ(pages[0][5], "Projekt: 11530 Neubau Flutpolder \"Elster-Luppe-Aue\" - BHU");
    EXPECT_NE(text.find("\n01020010  N  Erlaubnisscheine f\u00fcr Erd-/Bohrarbeiten\n"),
              std::string::npos);
    EXPECT_EQ(text.find("Fachmanns an einem\n             ganzt\u00e4gigen Ortstermin") !=
                  std::string::npos,
              c.longTexts);
    const std::vector<std::string> lines = Lines(text);
    // Above and below the column heads, and around those of the summary of areas.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(c.width, '_')), 5);
    // Long texts are wrapped: no line has more characters than the width.
    for (const std::string& line : lines) {
      const auto characters = std::count_if(line.begin(), line.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80 && byte != '\f';
      });
      EXPECT_LE(static_cast<size_t>(characters), c.width) << line;
    }
    // An unpriced tender's gross sum "0" gives five characters; the room of
    // the unit prices "0,000" needs one more with the blank in front. The
    // place for the signature ends the print.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Bruttosumme :   0,00"), lines.end());
    EXPECT_EQ(lines.back().rfind("Ort, Datum", 0), 0u) << lines.back();
  }
}

// A width too small for the table is refused with the width it needs, and
// nothing is written.
TEST_F(CliTest, PrintRefusesAWidthTooSmallForTheTable) {
  const std::string out = cli_.Path("schmal.txt");
  const CliResult r = cli_.Run({"print", kLongSample, out, "--width", "72"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err,
            "Der Angebotsdruck braucht mindestens 73 Zeichen je Zeile, auf die Seite passen nur "
            "72. Bitte w\u00e4hlen Sie mit --width mindestens 73.\n");
  EXPECT_FALSE(std::filesystem::exists(out));
  EXPECT_EQ(cli_.Run({"print", kLongSample, out, "--width", "73"}).status, 0);
}

}  // namespace
