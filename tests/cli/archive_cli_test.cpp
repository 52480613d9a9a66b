#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_runner.h"

namespace {

const std::string kTender = std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83";

class ArchiveCliTest : public ::testing::Test {
 protected:
  std::string DefaultArchive() const { return cli_.Path(".data/Tarvo_Redurir/Preisarchiv.sqlite"); }
  // LV_Los01 with 1.10 at 45,50 saved as `offer`.
  void Priced(const std::string& offer, const std::vector<std::string>& options = {}) {
    std::vector<std::string> args = options;
    args.insert(args.begin(), "price");
    for (const std::string& a : {kTender, cli_.Write("p.txt", "1.10;45,5\n"), cli_.Path(offer)})
      args.push_back(a);
    const CliResult r = cli_.Run(args);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(r.Errors().empty()) << r.err;
  }
  CliRunner cli_;
};

// A saved offer is in the archive: found by its text and by its OZ, and
// suggested for the tender opened again.
TEST_F(ArchiveCliTest, TheSavedOfferIsFoundAndSuggested) {
  Priced("angebot.d84");
  ASSERT_TRUE(std::filesystem::exists(DefaultArchive()));
  const CliResult byOz = cli_.Run({"archive", "find", kTender, "1.10"});
  EXPECT_EQ(byOz.status, 0) << byOz.err;
  EXPECT_EQ(byOz.out.rfind("Zuletzt 45,500, niedrigster 45,500, Median 45,500, h\xC3\xB6"
                           "chster 45,500 (1 Eintrag, dieselbe Position)",
                           0),
            0u)
      << byOz.out;
  EXPECT_NE(byOz.out.find(cli_.Path("angebot.d84")), std::string::npos) << byOz.out;

  const CliResult suggest = cli_.Run({"archive", "suggest", kTender, cli_.Path("neu.d84")});
  EXPECT_EQ(suggest.status, 0) << suggest.err;
  EXPECT_NE(suggest.out.find("1 von "), std::string::npos) << suggest.out;
  const CliResult info = cli_.Run({"archive", "find", cli_.Path("neu.d84"), "1.10"});
  // The new offer is in the archive too: two entries of the same position.
  EXPECT_NE(info.out.find("(2 Eintr\xC3\xA4ge"), std::string::npos) << info.out;
}

TEST_F(ArchiveCliTest, NoArchiveLeavesItAlone) {
  Priced("angebot.d84", {"--no-archive"});
  EXPECT_TRUE(std::filesystem::exists(cli_.Path("angebot.d84")));
  EXPECT_FALSE(std::filesystem::exists(DefaultArchive()));
}

// The archive failing costs the offer nothing: it is written, the failure
// is a warning, the exit code stays, and the foreign file is untouched.
TEST_F(ArchiveCliTest, AFailingArchiveIsAWarningOnly) {
  const std::string foreign = cli_.Write("notizen.txt", "keine Datenbank\n");
  const CliResult r = cli_.Run({"export", "--archive", foreign, kTender, cli_.Path("a.d84")});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(cli_.Path("a.d84")));
  EXPECT_NE(r.err.find("Warnung: Das Angebot ist gespeichert, das Preisarchiv nicht: Die Datei " +
                       foreign + " ist kein Preisarchiv"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(CliRunner::Read(foreign), "keine Datenbank\n");

  const CliResult server =
      cli_.Run({"export", "--archive",
                "postgresql:host=" + cli_.Path("kein-server") + " dbname=preise user=bieter",
                kTender, cli_.Path("b.d84")});
  EXPECT_EQ(server.status, 0) << server.err;
  EXPECT_NE(server.err.find("ist nicht erreichbar"), std::string::npos) << server.err;
}

TEST_F(ArchiveCliTest, WrongUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {"archive"},
      {"archive", "zeigen"},
      {"archive", "add"},
      {"archive", "find"},
      {"archive", "suggest"},
      {"export", kTender, cli_.Path("x.d84"), "--archive"},
      {"export", "--archive", "postgresql:dbname=x", kTender, cli_.Path("x.d84")},
  };
  for (const auto& args : cases) {
    const CliResult r = cli_.Run(args);
    EXPECT_EQ(r.status, 2) << args.size() << " " << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(cli_.Path("x.d84")));
}

}  // namespace
