#include <gtest/gtest.h>

#include "archive/archive_on_save.h"
#include "archive/archived_offer.h"
#include "archive/earlier_prices.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "document/value_entries.h"
#include "gaeb/gaeb_obj.h"
#include "tests/archive/archive_fixture.h"
#include "tests/support/test_files.h"

namespace {

const std::string kData = TARVO_TEST_DATA_DIR;

// The file with `insert` put on a line of its own after the first line
// that holds `after`.
std::string WithInserted(const std::string& file, const std::string& after,
                         const std::string& insert) {
  std::string text = ReadFile(file);
  const size_t at = text.find('\n', text.find(after)) + 1;
  return text.insert(at, insert);
}

KsGAEBObj* FirstWithCatalog(const KsLyxObj& document) {
  KsGAEBObj* found = nullptr;
  WalkLv(
      document, [](const KsGAEBObj&, int) {},
      [&found](const KsGAEBObj& p) {
        if (!found && IsPositionRow(&p) && !ArchiveCatalog(p).empty())
          found = const_cast<KsGAEBObj*>(&p);
      });
  return found;
}

class ArchiveCatalog : public ArchiveTest {};

// A position of another LV with another short text finds the price of the
// position that has its catalogue number.
TEST_P(ArchiveCatalog, TheSameCatalogueNumberFindsThePriceWhateverTheText) {
  const std::string stlnr = "      [STLNR]034.567.890[end]\r\n";
  KsLyxObj source;
  ASSERT_TRUE(source.Import(dir_.Write(
      "los1.p83", WithInserted(kData + "/real/LV_Los01.P83", "#begin[Beschreibung]", stlnr))));
  KsGAEBObj* priced = FirstWithCatalog(source);
  ASSERT_NE(priced, nullptr);
  EXPECT_EQ(::ArchiveCatalog(*priced), "STLNR:034.567.890");
  ApplyEntries(source, {{priced, "EP", "321,5"}});
  ASSERT_TRUE(source.ExportD84(dir_.Path("los1.d84")));
  ArchiveOnSave saving;
  ASSERT_EQ(saving.OfferSaved(Location(), source, dir_.Path("los1.d84")), "");

  KsLyxObj other;
  ASSERT_TRUE(
      other.Import(dir_.Write("los2.p83", WithInserted(kData + "/real/1561-02_ROHBAUARBEITEN.P83",
                                                       "#begin[Beschreibung]", stlnr))));
  KsGAEBObj* position = FirstWithCatalog(other);
  ASSERT_NE(position, nullptr);
  ASSERT_NE(position->Text("OZ"), priced->Text("OZ"));
  auto archive = Open();
  const EarlierPrices found = FindEarlierPrices(*archive, other, *position);
  ASSERT_FALSE(found.Empty());
  EXPECT_EQ(found.Matches.front().Fit, ArchiveFit::SameCatalog);
  EXPECT_DOUBLE_EQ(found.Statistics.Last, 321.5);
  EXPECT_EQ(found.Statistics.Count, 1);
}

// The catalogue assignments of an X83 item are kept with it.
TEST_P(ArchiveCatalog, AnX83ItemKeepsItsCatalogueAssignments) {
  KsLyxObj tender;
  ASSERT_TRUE(tender.Import(dir_.Write(
      "los1.x83",
      WithInserted(kData + "/xml-real/LV_Los01.X83", "<Item ",
                   "<CtlgAssign><CtlgID>K1</CtlgID><CtlgCode>034.567.890</CtlgCode></CtlgAssign>"
                   "<CtlgAssign><CtlgID>K2</CtlgID><CtlgCode> 7 </CtlgCode></CtlgAssign>\n"))))
      << tender.LastError;
  const KsGAEBObj* position = FirstWithCatalog(tender);
  ASSERT_NE(position, nullptr);
  EXPECT_EQ(::ArchiveCatalog(*position), "CTLG:K1:034.567.890; K2:7");
}

TARVO_ON_BOTH_ENGINES(ArchiveCatalog);

}  // namespace
