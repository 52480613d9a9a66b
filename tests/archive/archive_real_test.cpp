#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "archive/archive_on_save.h"
#include "archive/archive_suggestion.h"
#include "archive/text_key.h"
#include "document/cell_text.h"
#include "document/element_values.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "document/value_entries.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "tests/archive/archive_fixture.h"
#include "util/trim.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> RealTenders() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(std::string(TARVO_TEST_DATA_DIR) + "/real"))
    files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::vector<KsGAEBObj*> Positions(const KsLyxObj& document) {
  std::vector<KsGAEBObj*> positions;
  WalkLv(
      document, [](const KsGAEBObj&, int) {},
      [&positions](const KsGAEBObj& p) {
        if (IsPositionRow(&p)) positions.push_back(const_cast<KsGAEBObj*>(&p));
      });
  return positions;
}

// The generated price list of a tender: position n (from 0) costs
// n + 1 + a fraction of eighths, typed with a decimal comma.
const char* const kFractions[] = {"125", "5", "75", "875"};
const double kFractionValues[] = {0.125, 0.5, 0.75, 0.875};
double GeneratedPrice(size_t n) { return static_cast<double>(n + 1) + kFractionValues[n % 4]; }

class ArchiveRealTenders : public ArchiveTest {
 protected:
  // The tender priced with its generated list and saved as an offer into
  // the folder, the save entering it into the archive. The prices by OZ.
  std::map<std::string, double> PriceAndSave(const std::string& tender, const std::string& offer) {
    KsLyxObj document;
    EXPECT_TRUE(document.Import(tender)) << document.LastError;
    ValueEntries entries;
    std::map<std::string, double> prices;
    const std::vector<KsGAEBObj*> positions = Positions(document);
    for (size_t n = 0; n < positions.size(); ++n) {
      const char* field = HasPriceBreakdown(*positions[n]) ? "EPANTEIL1" : "EP";
      if (!IsEnterable(*positions[n], field)) continue;
      entries.push_back({positions[n], field, std::to_string(n + 1) + "," + kFractions[n % 4]});
      prices[Trim(positions[n]->Text("OZ"))] = GeneratedPrice(n);
    }
    ApplyEntries(document, entries);
    EXPECT_TRUE(document.ExportD84(dir_.Path(offer))) << document.LastError;
    EXPECT_EQ(saving_.OfferSaved(Location(), document, dir_.Path(offer)), "");
    return prices;
  }

  ArchiveOnSave saving_;
};

// Every real tender priced and saved, then opened unpriced again: the
// archive gives every position back the price its own offer had.
TEST_P(ArchiveRealTenders, EveryPositionGetsBackThePriceOfItsOwnOffer) {
  const std::vector<std::string> tenders = RealTenders();
  ASSERT_GE(tenders.size(), 2u);
  std::vector<std::map<std::string, double>> prices;
  for (size_t t = 0; t < tenders.size(); ++t)
    prices.push_back(PriceAndSave(tenders[t], "angebot" + std::to_string(t) + ".D84"));
  auto archive = Open();
  for (size_t t = 0; t < tenders.size(); ++t) {
    KsLyxObj document;
    ASSERT_TRUE(document.Import(tenders[t])) << document.LastError;
    const ArchiveSuggestion suggestion =
        SuggestArchivePrices(*archive, document, ArchiveSuggestion::Price::Last);
    EXPECT_TRUE(suggestion.Plan.Refusals.empty()) << suggestion.Plan.Refusals.front();
    ApplyEntries(document, suggestion.Plan.Entries);
    ASSERT_FALSE(prices[t].empty());
    EXPECT_EQ(suggestion.Lines.size(), prices[t].size()) << tenders[t];
    for (const KsGAEBObj* position : Positions(document)) {
      const std::string oz = Trim(position->Text("OZ"));
      const auto own = prices[t].find(oz);
      if (own == prices[t].end()) continue;
      const char* field = HasPriceBreakdown(*position) ? "EPANTEIL1" : "EP";
      EXPECT_DOUBLE_EQ(NumberValue(*position, field), own->second) << tenders[t] << " " << oz;
    }
  }
}

// Only the offer of one LV in the archive: a tender of another LV is priced
// only where a position has the same catalogue number or short text and unit.
TEST_P(ArchiveRealTenders, AnotherLvIsPricedOnlyWhereTheTextsAgree) {
  const std::vector<std::string> tenders = RealTenders();
  KsLyxObj source;
  ASSERT_TRUE(source.Import(tenders[0]));
  std::set<std::pair<std::string, std::string>> keys, exact;
  for (const KsGAEBObj* p : Positions(source)) {
    keys.insert({ArchiveTextKey(Trim(ShortText(*p, 255))), ArchiveUnitKey(Trim(p->Text("ME")))});
    exact.insert({Trim(ShortText(*p, 255)), Trim(p->Text("ME"))});
  }
  PriceAndSave(tenders[0], "quelle.D84");
  auto archive = Open();
  size_t pricedAll = 0;
  for (size_t t = 1; t < tenders.size(); ++t) {
    KsLyxObj document;
    ASSERT_TRUE(document.Import(tenders[t]));
    const ArchiveSuggestion suggestion =
        SuggestArchivePrices(*archive, document, ArchiveSuggestion::Price::Median);
    std::set<const KsGAEBObj*> priced;
    for (const auto& line : suggestion.Lines) priced.insert(line.Position);
    pricedAll += priced.size();
    for (const KsGAEBObj* p : Positions(document)) {
      const std::string text = Trim(ShortText(*p, 255)), unit = Trim(p->Text("ME"));
      const bool fits = !ArchiveTextKey(text).empty() &&
                        keys.count({ArchiveTextKey(text), ArchiveUnitKey(unit)}) > 0;
      EXPECT_EQ(priced.count(p) > 0, fits) << tenders[t] << " " << p->Text("OZ") << " " << text;
      if (exact.count({text, unit}) && !text.empty()) {
        EXPECT_TRUE(priced.count(p)) << text;
      }
    }
  }
  EXPECT_GT(pricedAll, 0u);  // the real LVs share some items
}

// Two processes adding offers into one archive at once: both complete, and
// the archive holds each offer once with all its positions.
TEST_P(ArchiveRealTenders, TwoProcessesSavingAtOnceLoseAndDoubleNothing) {
  const std::vector<std::string> tenders = RealTenders();
  std::vector<std::string> offers[2];
  int positions = 0;
  for (size_t t = 0; t < tenders.size(); ++t)
    for (int w = 0; w < 2; ++w) {
      const std::string name = "w" + std::to_string(w) + "_" + std::to_string(t) + ".D84";
      positions += static_cast<int>(PriceAndSave(tenders[t], name).size());
      offers[w].push_back(dir_.Path(name));
    }
  db->Exec({"delete from ARCHPOS", "delete from ARCHOFFER"});
  pid_t writers[2];
  for (int w = 0; w < 2; ++w) {
    writers[w] = fork();
    if (writers[w] == 0) {
      std::vector<std::string> args{TARVO_CLI_PATH, "archive", "add", "--archive", CliLocation()};
      // Each offer three times: the later adds replace the earlier.
      for (int round = 0; round < 3; ++round)
        args.insert(args.end(), offers[w].begin(), offers[w].end());
      const int log = open(dir_.Path("writer" + std::to_string(w) + ".log").c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC, 0600);
      dup2(log, STDOUT_FILENO);
      dup2(log, STDERR_FILENO);
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(TARVO_CLI_PATH, argv.data());
      _exit(127);
    }
  }
  for (pid_t writer : writers) {
    int status = 0;
    ASSERT_EQ(waitpid(writer, &status, 0), writer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  }
  EXPECT_EQ(db->Texts("select count(*), sum(POSITIONS) from ARCHOFFER"),
            std::vector<std::string>{std::to_string(2 * tenders.size()) + "|" +
                                     std::to_string(positions)});
  EXPECT_EQ(db->Texts("select count(*) from ARCHPOS"),
            std::vector<std::string>{std::to_string(positions)});
  EXPECT_EQ(db->Texts("select count(*) from (select distinct OFFERFILE from ARCHOFFER) f"),
            std::vector<std::string>{std::to_string(2 * tenders.size())});
}

TARVO_ON_BOTH_ENGINES(ArchiveRealTenders);

}  // namespace
