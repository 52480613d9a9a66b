#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"

namespace {

using json = nlohmann::ordered_json;

// Values the file holds in a form the offer cannot: an EP and a quantity
// with four decimals, a BEDARF and a unit longer than their fields.
const char kOverlong[] =
    "#begin[GAEB]\r\n"
    " #begin[GAEBINFO]\r\n"
    "  [ZEICHENSATZ]ANSI[end]\r\n"
    " #end[GAEBINFO]\r\n"
    " #begin[VERGABE]\r\n"
    "  #begin[LV]\r\n"
    "   #begin[LVINFO]\r\n"
    "    [UST]19,005[end]\r\n"
    "   #end[LVINFO]\r\n"
    "   #begin[LVBEREICH]\r\n"
    "    [OZ]01[end]\r\n"
    "    [NACHLASSPROZ]2,555[end]\r\n"
    "    #begin[POSITION]\r\n"
    "     [OZ]0010[end]\r\n"
    "     [BEDARF]Eventual[end]\r\n"
    "     [MENGE]1.234,5678[end]\r\n"
    "     [ME]St\xFC"
    "ck weise[end]\r\n"
    "     [EP]12,3456[end]\r\n"
    "    #end[POSITION]\r\n"
    "    #begin[POSITION]\r\n"
    "     [OZ]0020[end]\r\n"
    "     [MENGE]2,0005[end]\r\n"
    "     [EP]1.000,0005[end]\r\n"
    "    #end[POSITION]\r\n"
    "   #end[LVBEREICH]\r\n"
    "  #end[LV]\r\n"
    " #end[VERGABE]\r\n"
    "#end[GAEB]\r\n";

// What is shown is what is saved: values are held as the offer file will
// carry them, so the tender and its export show the same.
TEST(ExportRoundTrip, ValuesAreHeldAsTheFileWillHoldThem) {
  CliRunner cli;
  const std::string tender = cli.Write("overlong.d83", kOverlong), offer = cli.Path("offer.d84");
  const CliResult r = cli.Run({"info", "--json", tender});
  ASSERT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(cli.Run({"export", tender, offer}).status, 0);
  const CliResult again = cli.Run({"info", "--json", offer});
  ASSERT_EQ(again.status, 0) << again.err;
  json info = json::parse(r.out), saved = json::parse(again.out);
  info.erase("file");
  saved.erase("file");
  EXPECT_EQ(info, saved);
  const json& eventual = info["positions"][0];
  EXPECT_EQ(eventual["type"], "AB");
  EXPECT_EQ(eventual["me"], "St\u00FCc");
  EXPECT_EQ(eventual["ep"], 12.346);
  EXPECT_EQ(eventual["menge"], 1234.568);
  EXPECT_EQ(eventual["gb"], 15241.98);            // 12,346 x 1.234,568 = 15.241,976528
  EXPECT_EQ(info["positions"][1]["gb"], 2001.0);  // 1.000,001 x 2,001 = 2.001,002001
  EXPECT_EQ(info["areas"][0]["nachlassproz"], 2.56);
  EXPECT_EQ(info["areas"][0]["summenachnl"], 1949.77);  // less 51,2256
  EXPECT_EQ(info["lv"]["ust"], 19.01);
  EXPECT_EQ(info["lv"]["summebrutto"], 2320.42);  // VAT 370,651277
}

}  // namespace
