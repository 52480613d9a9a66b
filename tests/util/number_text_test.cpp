#include "util/number_text.h"

#include <gtest/gtest.h>

#include "util/variant.h"

namespace {

TEST(StrToFloat, ReadsTheFormatsNotationAndNamesBadText) {
  EXPECT_DOUBLE_EQ(StrToFloat("12,5", GermanFormatSettings()), 12.5);
  EXPECT_DOUBLE_EQ(StrToFloat("-3", GermanFormatSettings()), -3.0);
  EXPECT_DOUBLE_EQ(StrToFloat("12.5", EnglishFormatSettings()), 12.5);
  for (const char* bad : {"", "abc", "1.234,5", "12,5x"}) {
    try {
      StrToFloat(bad, GermanFormatSettings());
      FAIL() << bad;
    } catch (const KsVariantError& e) {
      EXPECT_EQ(std::string(e.what()),
                std::string("'") + bad + "' ist kein g\xFCltiger Gleitkommawert.");
    }
  }
}

}  // namespace
