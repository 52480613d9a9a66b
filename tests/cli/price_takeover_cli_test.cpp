#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/cli_runner.h"

namespace {

const std::string kData = TARVO_TEST_DATA_DIR;

// The prices of an offer of the GAEB 2000 twin go into the X83 as into the
// P83; the report names what stays open, the exit code says whether every
// priced position found its place.
TEST(PriceTakeOverCliTest, PricesOfAnOfferAreTakenOver) {
  CliRunner cli;
  const std::string offer = cli.Path("kollege.D84");
  // The OZ written three ways the printed LV shows them.
  const CliResult priced = cli.Run({"price", kData + "/real/LV_Los01.P83",
                                    cli.Write("p.csv", "1.10;100\n01.0020;2,5\n3 40;7\n"), offer});
  ASSERT_EQ(priced.status, 0) << priced.err;

  const std::string x84 = cli.Path("angebot.X84");
  const CliResult taken = cli.Run({"price", kData + "/xml-real/LV_Los01.X83", offer, x84});
  EXPECT_EQ(taken.status, 0) << taken.err;
  EXPECT_EQ(taken.Errors().substr(0, 140),
            "3 Positionen \u00fcbernommen.\nOhne Einheitspreis bleiben 10 Positionen: 1  30, "
            "2  10, 2  20, 2  30, 2  40, 2  50, 2  60, 3  10, 3  20, 3  30.\n");
  EXPECT_TRUE(std::filesystem::exists(x84));

  // An offer of another LV: nothing entered, nothing written.
  const std::string other = cli.Path("los02.X84");
  const CliResult refused = cli.Run({"price", kData + "/xml-real/LV_Los02.X83", offer, other});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.Errors(),
            "Die Preise aus " + offer +
                " k\u00f6nnen nicht \u00fcbernommen werden:\n  Das Angebot " + offer +
                " hat keine OZ mit dem offenen LV gemeinsam (es geh\u00f6rt wohl zu einem "
                "anderen LV).\nEs wurde nichts \u00fcbernommen.\n");
  EXPECT_FALSE(std::filesystem::exists(other));

  // --replace belongs to an offer, not to a price list.
  EXPECT_EQ(cli.Run({"price", "--replace", kData + "/real/LV_Los01.P83", cli.Path("p.csv"),
                     cli.Path("x.D84")})
                .status,
            2);
}

}  // namespace
