#include "util/startup.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "tests/support/env_guard.h"
#include "tests/support/format_guard.h"

namespace {

std::string NameFor(std::vector<const char*> args) {
  args.insert(args.begin(), "tarvo");
  return ResourceLibraryName(static_cast<int>(args.size()), args.data());
}

}  // namespace

TEST(Startup, ResourceLibraryName) {
  const std::string longName(300, 'x');
  const std::string longArg = "-O" + longName;
  EXPECT_EQ(NameFor({}), "TARVO_RES.BPL");
  EXPECT_EQ(NameFor({"-Ofoo"}), "foo.BPL");
  EXPECT_EQ(NameFor({"/oBar.dll"}), "Bar.dll");
  EXPECT_EQ(NameFor({"-Oa", "-x", "-Ob"}), "b.BPL");
  EXPECT_EQ(NameFor({"O", "-x", "file.P83"}), "TARVO_RES.BPL");
  EXPECT_EQ(NameFor({"xOname"}), "name.BPL");
  EXPECT_EQ(NameFor({longArg.c_str()}), longName.substr(0, 255) + ".BPL");
  const char* programOnly[] = {"-Oprogram"};
  EXPECT_EQ(ResourceLibraryName(1, programOnly), "TARVO_RES.BPL");
}

TEST(Startup, LoadsTheNamedLibraryOrFallsBackToTheDefault) {
  FormatGuard restore(GermanFormatSettings());
  const char* named[] = {"tarvo", "-Olibm.so.6"};
  EXPECT_EQ(Startup(2, named).LoadedLibrary(), "libm.so.6");
  const char* missing[] = {"tarvo", "-Onosuch"};
  EXPECT_EQ(Startup(2, missing, "libm.so.6").LoadedLibrary(), "libm.so.6");
  EXPECT_EQ(Startup(2, missing).LoadedLibrary(), "");
  const char* none[] = {"tarvo"};
  EXPECT_EQ(Startup(1, none).LoadedLibrary(), "");
}

TEST(Startup, LocaleWithoutLanguageGivesTheGermanFormat) {
  FormatGuard restore(EnglishFormatSettings(), 5);
  for (const char* locale : {"C", "POSIX", "C.UTF-8", "xx_XX.UTF-8"}) {
    EnvGuard env;
    env.Set("LC_ALL", locale);
    const char* argv[] = {"tarvo"};
    Startup startup(1, argv);
    EXPECT_EQ(FormatSettings().DecimalSeparator, ',') << locale;
    EXPECT_EQ(FormatSettings().ThousandSeparator, '.') << locale;
    EXPECT_EQ(FormatSettings().ShortDateFormat, "dd.mm.yyyy") << locale;
    EXPECT_EQ(NumberDigits(), 2) << locale;
  }
}

TEST(Startup, LocaleOfTheEnvironment) {
  EnvGuard env;
  env.Set("LC_ALL", nullptr);
  env.Set("LC_NUMERIC", "en_US.UTF-8");
  env.Set("LC_TIME", "C");
  env.Set("LANG", "C");
  const locale_t installed = newlocale(LC_NUMERIC_MASK, "en_US.UTF-8", locale_t{});
  if (!installed) GTEST_SKIP() << "en_US not installed";
  freelocale(installed);
  const NumberFormat settings = FormatSettingsFromLocale();
  EXPECT_EQ(settings.DecimalSeparator, '.');
  EXPECT_EQ(settings.ThousandSeparator, ',');
  EXPECT_EQ(settings.ShortDateFormat, "dd.mm.yyyy");
}
