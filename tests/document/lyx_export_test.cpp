#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <regex>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/document/observer_log.h"
#include "tests/support/document_fixture.h"
#include "tests/support/time_of_writing.h"

namespace {

const char kWriteError[] = "Fehler beim Schreiben der Datei: ";

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

class ExportTest : public DocumentTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Load(Tender(Area("01", "Rohbau",
                                 Position("0010", "10", "m3", Field("EP", "12,5")) +
                                     Position("0020", "3", "St", Field("EP", "7")) +
                                     Position("0030", "1", "psch", Field("EP", "99"))))));
  }
};

TEST_F(ExportTest, WritesProgramNamesAndReadsBackTheSameTender) {
  ObserverLog log(doc_);
  const std::string target = dir_.Path("angebot.d84");
  ASSERT_TRUE(doc_.ExportD84(target)) << doc_.LastError;
  EXPECT_EQ(log.Folded(), (std::vector<int>{lcWriteStart, lcWriteStep, lcWriteEnd}));
  EXPECT_EQ(log.Count(lcWriteEnd), 1);

  const std::string written = ReadFile(target);
  EXPECT_NE(written.find("[PROGNAME]Quorva [end]\r\n"), std::string::npos);
  EXPECT_NE(written.find("[PROGSYSTEM]Tarvo f\xFCr Windows[end]\r\n"), std::string::npos);
  const size_t lastLine = written.rfind("\r\n", written.size() - 3) + 2;
  EXPECT_EQ(written.compare(lastLine, 10, "#end[GAEB]"), 0);
  EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"angebot.d84", "lv.d83"}));

  KsLyxObj again;
  ASSERT_TRUE(again.Import(target)) << again.LastError;
  EXPECT_DOUBLE_EQ(NumberValue(*again.LvInfo, "SUMME"), 245.0);
  EXPECT_EQ(again.LvAreas->Element(0)->ChildList("POSITION")->Count(), 3);
  EXPECT_EQ(again.GaebInfo->Text("PROGNAME"), "Quorva");  // values are trimmed on reading
}

// The offer says it is one (phase 84) and when it was written; the document
// keeps the tender's phase, date and time, and the offer reads back.
TEST_F(ExportTest, TheOfferCarriesPhase84AndTheTimeOfWriting) {
  std::string tender = Tender(Area("01", "Rohbau", Position("0010", "10", "m3", Field("EP", "2"))));
  const std::string version = Field("VERSION", "1.2");
  tender.insert(tender.find(version) + version.size(),
                Field("DATUM", "31.03.2026") + Field("UHRZEIT", "11:21"));
  ASSERT_TRUE(Load(tender));
  const std::string target = dir_.Path("angebot.d84");
  ASSERT_TRUE(doc_.ExportD84(target)) << doc_.LastError;

  const std::string written = ReadFile(target);
  std::smatch stamp;
  ASSERT_TRUE(std::regex_search(
      written, stamp,
      std::regex(R"(\[DATUM\](\d\d\.\d\d\.\d{4})\[end\]\r\n *\[UHRZEIT\]\d\d:\d\d\[end\])")))
      << written;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char today[16];
  std::strftime(today, sizeof today, "%d.%m.%Y", &local);
  EXPECT_EQ(stamp[1], today);
  EXPECT_NE(written.find("[DP]84[end]"), std::string::npos);
  EXPECT_EQ(written.find("[DP]83[end]"), std::string::npos);
  EXPECT_EQ(written.find("11:21"), std::string::npos);

  const KsGAEBObj& award = *doc_.VergabeInfo->ParentElement();
  EXPECT_EQ(award.Text("DP"), "83");
  EXPECT_EQ(doc_.GaebInfo->Text("DATUM"), "31.03.2026");
  EXPECT_EQ(doc_.GaebInfo->Text("UHRZEIT"), "11:21");

  KsLyxObj offer;
  ASSERT_TRUE(offer.Import(target)) << offer.LastError;
  EXPECT_EQ(offer.VergabeInfo->ParentElement()->Text("DP"), "84");
  EXPECT_DOUBLE_EQ(NumberValue(*offer.LvInfo, "SUMME"), 20.0);
}

// The D84 keeps an open position apart from one priced at 0: the first has
// no EP, the second EP 0, and so they read back.
TEST_F(ExportTest, AnOpenPositionHasNoPriceAZeroPriceIsKept) {
  KsGAEBObjList& positions = *doc_.LvAreas->Element(0)->ChildList("POSITION");
  SetPositionValue(*positions.Element(0), "", "EP");
  SetPositionValue(*positions.Element(1), "0", "EP");
  const std::string target = dir_.Path("angebot.d84");
  ASSERT_TRUE(doc_.ExportD84(target)) << doc_.LastError;
  const std::string written = ReadFile(target);
  const auto block = [&written](const char* oz) {
    const size_t at = written.find(std::string("[OZ]") + oz);
    return written.substr(at, written.find("#end[POSITION]", at) - at);
  };
  EXPECT_EQ(block("0010").find("[EP]"), std::string::npos) << block("0010");
  EXPECT_NE(block("0020").find("[EP]0[end]"), std::string::npos) << block("0020");
  EXPECT_NE(block("0030").find("[EP]99[end]"), std::string::npos) << block("0030");

  KsLyxObj offer;
  ASSERT_TRUE(offer.Import(target)) << offer.LastError;
  const KsGAEBObjList& read = *offer.LvAreas->Element(0)->ChildList("POSITION");
  EXPECT_TRUE(HasEmptyUnitPrice(*read.Element(0)));
  EXPECT_FALSE(HasEmptyUnitPrice(*read.Element(1)));
  EXPECT_DOUBLE_EQ(NumberValue(*offer.LvInfo, "SUMME"), 99.0);
}

TEST_F(ExportTest, SecondExportWithFewerPositionsLeavesOnlyTheSecondContent) {
  const std::string target = dir_.Path("angebot.d84");
  ASSERT_TRUE(doc_.ExportD84(target));
  const size_t firstSize = ReadFile(target).size();

  KsLyxObj smaller;
  ASSERT_TRUE(smaller.Import(dir_.Write("klein.d83", Tender(Position("0010", "1", "m")))));
  ASSERT_TRUE(smaller.ExportD84(target));
  ASSERT_TRUE(smaller.ExportD84(dir_.Path("vergleich.d84")));
  const std::string second = ReadFile(target);
  EXPECT_LT(second.size(), firstSize);
  EXPECT_EQ(WithoutTimeOfWriting(second),
            WithoutTimeOfWriting(ReadFile(dir_.Path("vergleich.d84"))));
  EXPECT_EQ(second.find("0030"), std::string::npos);
}

TEST_F(ExportTest, ExistingTargetKeepsItsPermissions) {
  const std::string target = dir_.Write("angebot.d84", "alt");
  chmod(target.c_str(), 0640);
  ASSERT_TRUE(doc_.ExportD84(target));
  EXPECT_EQ(ModeOf(target), 0640u);
  EXPECT_NE(ReadFile(target), "alt");

  const mode_t mask = umask(022);
  ASSERT_TRUE(doc_.ExportD84(dir_.Path("neu.d84")));
  umask(mask);
  EXPECT_EQ(ModeOf(dir_.Path("neu.d84")), 0644u);
}

// A failed save leaves what was there, leaves no temporary file behind and
// reports why; the observers still hear the end of writing.
TEST_F(ExportTest, FailedSaveLeavesTheOldFileUntouched) {
  const std::string existing = dir_.Write("angebot.d84", "altes Angebot");
  std::filesystem::create_directory(dir_.Path("ordner"));
  const struct {
    const char* name;
    std::string target;
  } cases[] = {
      {"target is a directory", dir_.Path("ordner")},
      {"directory does not exist", dir_.Path("fehlt/angebot.d84")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<std::string> before = dir_.Entries();
    ObserverLog log(doc_);
    EXPECT_FALSE(doc_.ExportD84(c.target));
    EXPECT_EQ(doc_.LastError.rfind(kWriteError, 0), 0u) << doc_.LastError;
    EXPECT_GT(doc_.LastError.size(), sizeof(kWriteError));
    ASSERT_FALSE(log.codes.empty());
    EXPECT_EQ(log.codes.front(), lcWriteStart);
    EXPECT_EQ(log.codes.back(), lcWriteEnd);
    EXPECT_EQ(log.Count(lcWriteEnd), 1);
    EXPECT_EQ(dir_.Entries(), before);
    EXPECT_EQ(ReadFile(existing), "altes Angebot");
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir_.Path("ordner")));
}

TEST_F(ExportTest, ReadOnlyDirectoryRefusesTheSave) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only directories";
  const std::string sub = dir_.Path("nurlesen");
  std::filesystem::create_directory(sub);
  const std::string existing = sub + "/angebot.d84";
  WriteFile(existing, "altes Angebot");
  chmod(sub.c_str(), 0555);
  EXPECT_FALSE(doc_.ExportD84(existing));
  chmod(sub.c_str(), 0755);
  EXPECT_EQ(doc_.LastError.rfind(kWriteError, 0), 0u);
  EXPECT_EQ(ReadFile(existing), "altes Angebot");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sub), {}), 1);
}

// The disk fills up in the middle of writing: a file size limit makes every
// write beyond 100 bytes fail. Run in a child so the limit stays there.
TEST_F(ExportTest, WriteErrorInTheMiddleKeepsTheOldFile) {
  const std::string existing = dir_.Write("angebot.d84", "altes Angebot");
  const std::string message = dir_.Path("meldung.txt");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    const bool ok = doc_.ExportD84(existing);
    const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
    setrlimit(RLIMIT_FSIZE, &unlimited);
    WriteFile(message, doc_.LastError);
    _exit(ok ? 1 : 0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the export reported success";
  EXPECT_EQ(ReadFile(message).rfind(kWriteError, 0), 0u) << ReadFile(message);
  EXPECT_EQ(ReadFile(existing), "altes Angebot");
  EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"angebot.d84", "lv.d83", "meldung.txt"}));
}

TEST(ExportWithoutTender, FailsWithMessageAndStillEndsWriting) {
  PrepareGaeb();
  TempDir dir;
  KsLyxObj doc;
  ObserverLog log(doc);
  EXPECT_FALSE(doc.ExportD84(dir.Path("x.d84")));
  EXPECT_EQ(doc.LastError.rfind(kWriteError, 0), 0u);
  EXPECT_EQ(log.codes, (std::vector<int>{lcWriteStart, lcWriteEnd}));
  EXPECT_TRUE(dir.Entries().empty());
}

// A long text whose first line holds "#begin[" started on the line after its
// key in the tender; written on the key line it would open a block that
// swallows the rest of the file.
TEST_F(ExportTest, TextsWithMarkersReadBackAsTheyWere) {
  const std::string longText = "siehe #begin[Anlage] und ## Hinweis\r\nZeile 2 #end[POSITION]";
  const std::string tender = Tender(Area(
      "01", "Rohbau",
      Block("POSITION",
            Field("OZ", "0010") + Field("MENGE", "2") + Field("EP", "10") +
                Block("BESCHREIBUNG", std::string("[KURZTEXT]\r\nMauerwerk ## 24 cm[end]\r\n") +
                                          "[LANGTEXT]\r\n" + longText + "[end]\r\n")) +
          Position("0020", "3", "St", Field("EP", "7"))));
  KsLyxObj doc;
  ASSERT_TRUE(doc.Import(dir_.Write("marker.d83", tender))) << doc.LastError;
  doc.An->Child("ADRESSE")->Members.FindOrMake("NAME1")->SetAsString("Meier ## Bau");
  const std::string target = dir_.Path("angebot.d84");
  ASSERT_TRUE(doc.ExportD84(target)) << doc.LastError;

  KsLyxObj again;
  ASSERT_TRUE(again.Import(target)) << again.LastError;
  const KsGAEBObjList& positions = *again.LvAreas->Element(0)->ChildList("POSITION");
  ASSERT_EQ(positions.Count(), 2);
  const KsGAEBObj& description = *positions.Element(0)->Child("BESCHREIBUNG");
  EXPECT_EQ(description.Text("LANGTEXT"), longText);
  EXPECT_EQ(description.Text("KURZTEXT"), "Mauerwerk ## 24 cm");
  EXPECT_EQ(again.An->Child("ADRESSE")->Text("NAME1"), "Meier ## Bau");
  EXPECT_DOUBLE_EQ(NumberValue(*again.LvInfo, "SUMME"), 41.0);
}

// What the file cannot carry stops the save with a message naming field and
// element; the file saved before stays as it was.
TEST_F(ExportTest, ValueTheFileCannotCarryStopsTheSave) {
  const std::string target = dir_.Write("angebot.d84", "alt");
  doc_.An->Child("ADRESSE")->Members.FindOrMake("NAME1")->SetAsString("Meier [end] Bau");
  EXPECT_FALSE(doc_.ExportD84(target));
  EXPECT_EQ(
      doc_.LastError.rfind(
          std::string(kWriteError) + "Das Feld NAME1 im Element ADRESSE enth\xE4lt \"[end]\"", 0),
      0u)
      << doc_.LastError;
  EXPECT_EQ(ReadFile(target), "alt");
  EXPECT_EQ(dir_.Entries(), (std::vector<std::string>{"angebot.d84", "lv.d83"}));
}

}  // namespace
