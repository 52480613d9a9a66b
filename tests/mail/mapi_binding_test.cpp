#include "mail/mapi_binding.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "mail/mapi_email.h"
#include "mail/mapi_errors.h"
#include "tests/mail/stub_mapi.h"
#include "tests/support/env_guard.h"
#include "tests/support/tender_files.h"

namespace {

struct BindingGuard {
  ~BindingGuard() { DoneMapi(); }
};

bool AllEntryPoints(const MapiEntryPoints& e) {
  return e.MAPIFindNext && e.MAPILogoff && e.MAPILogon && e.MAPISendMail && e.MAPIReadMail &&
         e.MAPIDeleteMail && e.MAPIResolveName && e.MAPIFreeBuffer && e.MAPIAddress &&
         e.MAPISaveMail;
}

bool NoEntryPoint(const MapiEntryPoints& e) {
  return !e.MAPIFindNext && !e.MAPILogoff && !e.MAPILogon && !e.MAPISendMail && !e.MAPIReadMail &&
         !e.MAPIDeleteMail && !e.MAPIResolveName && !e.MAPIFreeBuffer && !e.MAPIAddress &&
         !e.MAPISaveMail;
}

}  // namespace

// Only the single character 1 means installed.
TEST(MapiBinding, InstalledOnlyWhenTheValueIsExactlyOne) {
  const struct {
    std::optional<std::string> value;
    bool available;
  } cases[] = {{"1", true},  {"1 ", false}, {"11", false},        {" 1", false},
               {"0", false}, {"", false},   {std::nullopt, false}};
  BindingGuard guard;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value.value_or("<none>"));
    InitMapi(std::make_shared<FakeMapiSettings>(c.value), {TARVO_STUB_MAPI32});
    EXPECT_EQ(Mapi().MapiAvailable, c.available);
    EXPECT_EQ(Mapi().MapiLibrary != nullptr, c.available);
    EXPECT_EQ(AllEntryPoints(Mapi().Entry), c.available);
    EXPECT_EQ(KsMapiEmail().MapiAvail(), c.available);
  }
}

TEST(MapiBinding, TakesTheFirstLibraryThatLoads) {
  BindingGuard guard;
  InitMapi(std::make_shared<FakeMapiSettings>(), {"/nonexistent/libmapi32.so", TARVO_STUB_MAPI32});
  EXPECT_TRUE(Mapi().MapiAvailable);
  EXPECT_NE(dlsym(Mapi().MapiLibrary, "StubMapiControl"), nullptr);
}

// Without a library every operation of the component raises the same error.
TEST(MapiBinding, WithoutLibraryMailIsUnavailable) {
  BindingGuard guard;
  InitMapi(std::make_shared<FakeMapiSettings>(), {"/nonexistent/libmapi32.so"});
  EXPECT_FALSE(Mapi().MapiAvailable);
  KsMapiEmail mail;
  EXPECT_FALSE(mail.MapiAvail());
  for (auto operation : {&KsMapiEmail::Logon, &KsMapiEmail::Logoff, &KsMapiEmail::SendMail}) {
    try {
      (mail.*operation)();
      ADD_FAILURE() << "no exception";
    } catch (const EMapiUnavailable& e) {
      EXPECT_STREQ(e.what(), "MAPI services are not available on this system");
    }
  }
}

// The library is released again, so nothing can call into a missing entry.
TEST(MapiBinding, MissingEntryPointRaisesAndLeavesMailOff) {
  BindingGuard guard;
  try {
    InitMapi(std::make_shared<FakeMapiSettings>(), {TARVO_STUB_MAPI32_INCOMPLETE});
    ADD_FAILURE() << "no exception";
  } catch (const EMapiDllError& e) {
    EXPECT_STREQ(e.what(), "GetProcAddress for MAPI32.DLL function(s) failed");
  }
  EXPECT_FALSE(Mapi().MapiAvailable);
  EXPECT_EQ(Mapi().MapiLibrary, nullptr);
  EXPECT_TRUE(NoEntryPoint(Mapi().Entry));
  EXPECT_THROW(KsMapiEmail().SendMail(), EMapiUnavailable);
}

TEST(MapiBinding, DoneReleasesEverything) {
  InitMapi(std::make_shared<FakeMapiSettings>(), {TARVO_STUB_MAPI32});
  ASSERT_TRUE(Mapi().MapiAvailable);
  DoneMapi();
  EXPECT_FALSE(Mapi().MapiAvailable);
  EXPECT_EQ(Mapi().MapiLibrary, nullptr);
  EXPECT_TRUE(NoEntryPoint(Mapi().Entry));
}

TEST(MapiBinding, CandidatesBesideTheProgramThenInstallFolderThenLoaderPath) {
  const std::vector<std::string> candidates = MapiLibraryCandidates();
  ASSERT_EQ(candidates.size(), 3u);
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe");
  EXPECT_EQ(candidates[0], (program.parent_path() / "libmapi32.so").string());
  EXPECT_NE(candidates[1].find("/tarvo/libmapi32.so"), std::string::npos);
  EXPECT_EQ(candidates[2], "libmapi32.so");
}

// An administrator's file decides; without one the provider's presence does.
TEST(SystemMapiSettings, AdministratorFileThenInstalledProvider) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path("first/Tarvo_Redurir"));
  std::filesystem::create_directories(dir.Path("second/Tarvo_Redurir"));
  EnvGuard env;
  env.Set("XDG_CONFIG_DIRS", dir.Path("first") + ":" + dir.Path("second"));
  const SystemMapiSettings withProvider({TARVO_STUB_MAPI32});
  const SystemMapiSettings withoutProvider({"/nonexistent/libmapi32.so"});

  EXPECT_EQ(withProvider.MapiValue(), "1");
  EXPECT_EQ(withoutProvider.MapiValue(), std::nullopt);
  EXPECT_EQ(withProvider.DefaultProfile(), std::nullopt);

  dir.Write("second/Tarvo_Redurir/mapi.conf", "# mail off\nMAPI=0\n");
  EXPECT_EQ(withProvider.MapiValue(), "0");
  dir.Write("first/Tarvo_Redurir/mapi.conf", "MAPI=1 \r\n");
  EXPECT_EQ(withProvider.MapiValue(), "1 ");
  dir.Write("first/Tarvo_Redurir/mapi.conf", "OTHER=1\n");
  EXPECT_EQ(withProvider.MapiValue(), "0");
  dir.Write("first/Tarvo_Redurir/mapi.conf", "MAPI=1\n");
  EXPECT_EQ(withoutProvider.MapiValue(), "1");
}
