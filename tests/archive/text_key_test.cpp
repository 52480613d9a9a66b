#include "archive/text_key.h"

#include <gtest/gtest.h>

namespace {

// Texts an estimator calls the same item, and some that are not.
TEST(ArchiveTextKey, TheSameItemHowEverItIsWritten) {
  const char* const same[][2] = {
      {"Bauzaun herstellen, vorhalten und entfernen", "Bauzaun herst./vorh./entf."},
      {"Bauzaun herstellen, vorhalten und entfernen", "BAUZAUN HERST. VORH. U. ENTF."},
      {"Oberboden abtragen, lagern", "Oberboden abtragen und lagern"},
      {"Stra\xDF"
       "enablauf versetzen",
       "Strassenablauf versetzen"},
      {"F\xFCllboden einbauen", "Fuellboden einbauen"},
      {"\xC4nderung der T\xFCr", "aenderung tuer"},
      {"Rohr DN 150 liefern", "Rohr  DN150 liefern"},
  };
  for (const auto& pair : same)
    EXPECT_EQ(ArchiveTextKey(pair[0]), ArchiveTextKey(pair[1])) << pair[0] << " / " << pair[1];
  EXPECT_EQ(ArchiveTextKey("Bauzaun herst./vorh./entf."), "bauzaun herstellen vorhalten entfernen");
  const char* const different[][2] = {
      {"Bauzaun herstellen", "Bauzaun entfernen"},
      {"Rohr DN 150", "Rohr DN 200"},
      {"Beton C25/30", "Beton C30/37"},
      {"Schalung ohne Anker", "Schalung"},
  };
  for (const auto& pair : different)
    EXPECT_NE(ArchiveTextKey(pair[0]), ArchiveTextKey(pair[1])) << pair[0] << " / " << pair[1];
  EXPECT_EQ(ArchiveTextKey(" ,.;- "), "");
}

TEST(ArchiveTextKey, UnitsWrittenDifferently) {
  EXPECT_EQ(ArchiveUnitKey("m\xB2"), ArchiveUnitKey("qm"));
  EXPECT_EQ(ArchiveUnitKey("M2"), "m2");
  EXPECT_EQ(ArchiveUnitKey("m\xB3"), ArchiveUnitKey("cbm"));
  EXPECT_EQ(ArchiveUnitKey("St\xFC"
                           "ck"),
            "st");
  EXPECT_EQ(ArchiveUnitKey("Stk."), "st");
  EXPECT_EQ(ArchiveUnitKey("psch"), ArchiveUnitKey("pauschal"));
  EXPECT_NE(ArchiveUnitKey("m"), ArchiveUnitKey("m2"));
}

}  // namespace
