#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"

namespace {

using json = nlohmann::ordered_json;

const std::string kSample = std::string(TARVO_TEST_DATA_DIR) + "/real/LV_Los01.P83";

class HostileConditionsTest : public ::testing::Test {
 protected:
  std::string Sample(const std::string& name) const {
    return cli_.Write(name, CliRunner::Read(kSample));
  }
  CliRunner cli_;
};

// Nothing a script names by mistake is overwritten: the tender itself, under
// any name, and the price list. An offer saved earlier may be saved over,
// also one written before offers carried phase 84.
TEST_F(HostileConditionsTest, OutputIsNeverTheInputByAccident) {
  const std::string tender = Sample("lv.p83");
  const std::string prices = cli_.Write("preise.csv", "010010;5\n");
  ASSERT_EQ(link(tender.c_str(), cli_.Path("zweiter Name.p83").c_str()), 0);
  ASSERT_EQ(symlink("lv.p83", cli_.Path("verweis.p83").c_str()), 0);
  const std::string refused =
      " ist die gelesene Ausschreibung; sie wird nicht \u00fcberschrieben.\n";
  const struct {
    std::vector<std::string> args;
    std::string message;
  } cases[] = {
      {{"print", tender, tender}, "Das Ziel " + tender + refused},
      {{"export", tender, tender}, "Das Ziel " + tender + refused},
      {{"export", tender, cli_.Path("zweiter Name.p83")},
       "Das Ziel " + cli_.Path("zweiter Name.p83") + refused},
      {{"print", tender, cli_.Path("verweis.p83")},
       "Das Ziel " + cli_.Path("verweis.p83") + refused},
      {{"price", tender, prices, tender}, "Das Ziel " + tender + refused},
      {{"price", tender, prices, prices},
       "Das Ziel " + prices + " ist die Preisdatei; sie wird nicht \u00fcberschrieben.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    const CliResult r = cli_.Run(c.args);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(CliRunner::Read(tender), CliRunner::Read(kSample));
    EXPECT_EQ(CliRunner::Read(prices), "010010;5\n");
  }
  const std::string offer = cli_.Path("angebot.d84");
  ASSERT_EQ(cli_.Run({"price", tender, prices, offer}).status, 0);
  EXPECT_EQ(cli_.Run({"export", offer, offer}).status, 0);
  EXPECT_EQ(cli_.Run({"price", offer, prices, offer}).status, 0);
  EXPECT_EQ(cli_.Run({"print", offer, offer}).status, 1);
  // An offer saved before offers said so kept the tender's phase 83; the
  // program's name tells it is one, and saving it again makes it say so.
  std::string earlier = CliRunner::Read(offer);
  const size_t phase = earlier.find("[DP]84[end]");
  ASSERT_NE(phase, std::string::npos);
  earlier.replace(phase, 11, "[DP]83[end]");
  const std::string saved = cli_.Write("frueher.d84", earlier);
  EXPECT_EQ(cli_.Run({"price", saved, prices, saved}).status, 0);
  EXPECT_NE(CliRunner::Read(saved).find("[DP]84[end]"), std::string::npos);
}

// /dev/null as root was replaced by a regular file; a pipe or a link target
// is what a script means to write to.
TEST_F(HostileConditionsTest, TargetsThatAreNoRegularFile) {
  const std::string fifo = cli_.Path("rohr");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  for (const char* command : {"export", "print"}) {
    for (const std::string& target : {std::string("/dev/null"), fifo}) {
      SCOPED_TRACE(std::string(command) + " " + target);
      const CliResult r = cli_.Run({command, kSample, target});
      EXPECT_EQ(r.status, 1);
      EXPECT_NE(r.err.find("keine gew\u00f6hnliche Datei; es wird nicht ersetzt."),
                std::string::npos)
          << r.err;
    }
  }
  struct stat info {};
  ASSERT_EQ(stat("/dev/null", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  ASSERT_EQ(lstat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));

  std::filesystem::create_directory(cli_.Path("ablage"));
  ASSERT_EQ(symlink("ablage/angebot.d84", cli_.Path("angebot.d84").c_str()), 0);
  EXPECT_EQ(cli_.Run({"export", kSample, cli_.Path("angebot.d84")}).status, 0);
  ASSERT_EQ(lstat(cli_.Path("angebot.d84").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_NE(CliRunner::Read(cli_.Path("ablage/angebot.d84")).find("#begin[GAEB]"),
            std::string::npos);
}

TEST_F(HostileConditionsTest, PrintToStandardOutput) {
  const CliResult toFile = cli_.Run({"print", kSample, cli_.Path("druck.txt"), "--width", "80"});
  ASSERT_EQ(toFile.status, 0) << toFile.err;
  const CliResult toOut = cli_.Run({"print", kSample, "-", "--width", "80"});
  ASSERT_EQ(toOut.status, 0) << toOut.err;
  // The head holds the time of printing.
  const auto body = [](const std::string& text) { return text.substr(text.find("Projekt:")); };
  EXPECT_EQ(body(toOut.out), body(CliRunner::Read(cli_.Path("druck.txt"))));
}

TEST_F(HostileConditionsTest, FailedWriteToStandardOutputFails) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"info", kSample},
                                               {"info", "--json", kSample},
                                               {"print", kSample, "-"},
                                               {"--help"}}) {
    SCOPED_TRACE(args[0]);
    const CliResult r = cli_.RunWith(args, "", "/dev/full");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("Fehler beim Schreiben der Standardausgabe (", 0), 0u) << r.err;
  }
}

TEST_F(HostileConditionsTest, InputIsBoundedAndNamedForWhatItIs) {
  // Devices are refused after their first megabyte, not read up to the limit.
  for (const std::string device : {"/dev/zero", "/dev/urandom"}) {
    const CliResult r = cli_.Run({"info", device});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "Die Datei " + device +
                         " ist keine GAEB-Datei: ihr erstes Megabyte enth\u00e4lt weder "
                         "\"#begin[\" (GAEB 2000) noch XML (GAEB DA XML) noch einen "
                         "Kopfsatz 00 (GAEB 90).\n");
  }
  const CliResult dir = cli_.Run({"info", cli_.Path("")});
  EXPECT_EQ(dir.status, 1);
  EXPECT_EQ(dir.err, "Die angegebene Datei " + cli_.Path("") + " ist ein Verzeichnis.\n");

  // Standard input is read twice like a file.
  const CliResult piped = cli_.RunWith({"info", "--json", "-"}, kSample, "");
  ASSERT_EQ(piped.status, 0) << piped.err;
  const CliResult file = cli_.Run({"info", "--json", kSample});
  json fromPipe = json::parse(piped.out), fromFile = json::parse(file.out);
  EXPECT_EQ(fromPipe["file"], "-");
  fromPipe.erase("file");
  fromFile.erase("file");
  EXPECT_EQ(fromPipe, fromFile);
}

// Escape sequences in a project name cleared the screen of whoever ran info.
TEST_F(HostileConditionsTest, ControlCharactersAreShownEscaped) {
  std::string text = CliRunner::Read(kSample);
  const std::string name = "[Name]11530[end]";
  const size_t at = text.find(name);
  ASSERT_NE(at, std::string::npos);
  // Eight characters, as many as the project name holds.
  text.replace(at, name.size(),
               "[Name]1\x1b[2J\x07\x81"
               "m[end]");
  const std::string tender = cli_.Write("lv.p83", text);
  const CliResult r = cli_.Run({"info", tender});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos);
  EXPECT_NE(r.out.find("Projekt:      1\\x1b[2J\\x07\\x81m Neubau"), std::string::npos) << r.out;

  // The print shows them the same way, on the terminal and in a file.
  for (const std::string& target : {std::string("-"), cli_.Path("druck.txt")}) {
    SCOPED_TRACE(target);
    const CliResult print = cli_.Run({"print", tender, target});
    ASSERT_EQ(print.status, 0) << print.err;
    const std::string shown = target == "-" ? print.out : CliRunner::Read(target);
    EXPECT_EQ(shown.find_first_of("\x07\x1b"), std::string::npos);
    EXPECT_NE(shown.find("1\\x1b[2J\\x07\\x81m"), std::string::npos) << shown;
  }
}

// File names come as UTF-8 from the system and reach every text once
// converted, not as two wrong characters per umlaut.
TEST_F(HostileConditionsTest, FileNamesWithUmlauts) {
  const std::string tender = Sample("Los S\u00fcd.p83");
  const CliResult info = cli_.Run({"info", tender});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(info.out.rfind("Datei:        Los S\u00fcd.p83\n", 0), 0u) << info.out;

  const CliResult print = cli_.Run({"print", tender, "-"});
  ASSERT_EQ(print.status, 0) << print.err;
  EXPECT_NE(print.out.find("\nAngebotsdruck Los S\u00fcd\n"), std::string::npos);
  EXPECT_NE(print.out.find("\n" + tender + "     "), std::string::npos);

  const std::string folder = cli_.Path("Ordner \u00e4");
  std::filesystem::create_directory(folder);
  const CliResult failed = cli_.Run({"export", tender, folder});
  EXPECT_EQ(failed.status, 1);
  EXPECT_EQ(failed.err, "Fehler beim Schreiben der Datei: Das Ziel " + folder +
                            " ist ein Verzeichnis, keine gew\u00f6hnliche Datei; es wird nicht "
                            "ersetzt.\n");
}

}  // namespace
