// The program killed (SIGKILL) at a random moment while it types prices into
// a real tender and secures them: what the next start restores is exactly
// the state of the last complete recovery file, never a part of one.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "core/fb_desc.h"
#include "document/lyx_obj.h"
#include "document/recovery_offer.h"
#include "document/recovery_place.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/document_fixture.h"
#include "tests/support/env_guard.h"
#include "tests/support/typing_script.h"

namespace {

std::vector<std::string> RealTenders() {
  std::vector<std::string> tenders;
  for (const char* dir : {"real", "xml-real", "gaeb90"})
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TARVO_TEST_DATA_DIR) + "/" + dir))
      tenders.push_back(entry.path().string());
  std::sort(tenders.begin(), tenders.end());
  return tenders;
}

// Starts the typist on `tender`, waits until its first recovery file is
// complete, lets it type on for `ms` milliseconds and kills it.
void TypeAndKill(const std::string& tender, int ms) {
  int out[2];
  ASSERT_EQ(pipe(out), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    execl(TARVO_RECOVERY_TYPIST, TARVO_RECOVERY_TYPIST, tender.c_str(), nullptr);
    _exit(127);
  }
  close(out[1]);
  char line[16] = {};
  const ssize_t got = read(out[0], line, sizeof line - 1);
  close(out[0]);
  if (got > 0) usleep(static_cast<useconds_t>(ms) * 1000);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_EQ(std::string(line, got > 0 ? static_cast<size_t>(got) : 0), "gesichert\n")
      << "the typist did not secure " << tender;
  ASSERT_TRUE(WIFSIGNALED(status));
}

// Every member of every element, in tree order, as "TABLE.MEMBER=value".
void Flatten(KsCustomObj& obj, std::vector<std::string>& values) {
  if (KsGAEBObjList* list = AsElementList(&obj)) {
    for (int i = 0; i < list->Count(); ++i) Flatten(*list->Element(i), values);
    return;
  }
  KsGAEBObj* element = AsElement(&obj);
  if (!element) return;
  for (const KsMember& member : element->Members.All()) {
    // Made when first set: an empty member and a missing one are alike.
    // The class key of a child member names the child, which follows.
    if (member.GetAsString().empty() || member.GetFieldType() == ftUnknown ||
        member.GetFieldType() == ftCursor)
      continue;
    values.push_back(element->TableName() + "." + member.Name() + "=" + member.GetAsString());
  }
  for (int i = 0; i < element->Children.Count(); ++i)
    Flatten(*element->Children.Objects(i), values);
}

std::vector<std::string> Values(KsLyxObj& doc) {
  std::vector<std::string> values;
  Flatten(*doc.GaebRoot, values);
  return values;
}

// The step the offer had come to: its highest typed price.
long long LastStep(const std::vector<KsGAEBObj*>& positions) {
  long long step = 0;
  for (KsGAEBObj* position : positions)
    step = std::max(step,
                    static_cast<long long>(
                        position->GetMember(typing_script::PriceMember(*position)).GetAsFloat()));
  return step;
}

std::string WithoutStamp(std::string bytes) {
  for (const char* key : {"[DATUM]", "[UHRZEIT]", "<Date>", "<Time>"}) {
    const size_t at = bytes.find(key);
    if (at == std::string::npos) continue;
    bytes.erase(at, bytes.find('\n', at) - at);
  }
  return bytes;
}

class RecoveryCrashTest : public DocumentTest {};

TEST_F(RecoveryCrashTest, KilledWhileTypingRestoresTheLastSecuredState) {
  const std::vector<std::string> tenders = RealTenders();
  ASSERT_GE(tenders.size(), 8u);
  std::mt19937 random(20261209);
  constexpr int kRuns = 50;
  for (int run = 0; run < kRuns; ++run) {
    const std::string& tender = tenders[run % tenders.size()];
    SCOPED_TRACE("Lauf " + std::to_string(run) + ": " + tender);
    EnvGuard env;
    env.Set("XDG_DATA_HOME", dir_.Path("lauf" + std::to_string(run)));
    TypeAndKill(tender, static_cast<int>(random() % 60));
    if (HasFatalFailure()) return;

    // The next start finds the killed program's file, and only that.
    std::vector<RecoveryClaim> orphans = RecoveryClaim::Orphans();
    ASSERT_EQ(orphans.size(), 1u);
    KsLyxObj restored;
    const RecoveryFinding finding = InspectRecovery(orphans[0].Path(), restored);
    ASSERT_EQ(finding.Error, "");
    EXPECT_EQ(finding.Head.TenderPath, tender);
    EXPECT_EQ(finding.Tender, TenderState::Unchanged);
    EXPECT_TRUE(restored.Modified());

    // The same steps typed again give every value of the restored offer.
    const std::vector<KsGAEBObj*> typed = typing_script::Positions(restored);
    const long long steps = LastStep(typed);
    ASSERT_GT(steps, 0);
    KsLyxObj replay;
    ASSERT_TRUE(replay.Import(tender)) << replay.LastError;
    const std::vector<KsGAEBObj*> positions = typing_script::Positions(replay);
    for (long long step = 1; step <= steps; ++step)
      typing_script::TypeStep(replay, positions, step);
    const std::vector<std::string> got = Values(restored), want = Values(replay);
    const auto differ = std::mismatch(got.begin(), got.end(), want.begin(), want.end());
    EXPECT_TRUE(differ.first == got.end() && differ.second == want.end())
        << "after " << steps
        << " steps: " << (differ.first == got.end() ? std::string("(Ende)") : *differ.first)
        << " / " << (differ.second == want.end() ? std::string("(Ende)") : *differ.second);
    EXPECT_EQ(finding.Differences, static_cast<int>(std::min<long long>(steps, positions.size())));

    const std::string ext = restored.OfferExtension();
    ASSERT_TRUE(restored.ExportD84(dir_.Path("wieder" + ext))) << restored.LastError;
    ASSERT_TRUE(replay.ExportD84(dir_.Path("getippt" + ext))) << replay.LastError;
    EXPECT_TRUE(WithoutStamp(ReadFile(dir_.Path("wieder" + ext))) ==
                WithoutStamp(ReadFile(dir_.Path("getippt" + ext))))
        << "the offers differ after " << steps << " steps";
    orphans[0].Remove();
  }
}

}  // namespace
