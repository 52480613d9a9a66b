#include "util/date_time.h"

#include <gtest/gtest.h>

#include <cmath>

#include "util/format_error.h"

TEST(DateTime, FormatDateTimeGerman) {
  const NumberFormat german = GermanFormatSettings();
  const struct {
    std::string pattern;
    double value;
    std::string expected;
  } cases[] = {
      {"dd.mm.yyyy", 45000, "15.03.2023"},
      {"d.m.yy", 45000, "15.3.23"},
      {"yyyy/mm/dd", 45000, "2023.03.15"},
      {"c", 45000, "15.03.2023"},
      {"c", 45000.5, "15.03.2023 12:00:00"},
      {"ddd dddd", 45000, "Mi Mittwoch"},
      {"mmm mmmm", 45000, "Mrz M\xE4rz"},
      {"DD.MM.YYYY", 45000, "15.03.2023"},
      {"ddddd", 45000, "15.03.2023"},
      {"dd.mm.yyyy", 0, "30.12.1899"},
      {"dd.mm.yyyy", 2, "01.01.1900"},
      {"dd.mm.yyyy", 36526, "01.01.2000"},
      {"dd.mm.yyyy", 36585, "29.02.2000"},
      {"dd.mm.yyyy hh:nn", -1.25, "29.12.1899 06:00"},
      {"dd.mm.yyyy", -693593, "01.01.0001"},
      {"hh:nn:ss", 0.75 + 1.0 / 86400, "18:00:01"},
      {"h:m", 0.3, "7:12"},
      {"hh:mm dd.mm", 45000.3, "07:12 15.03"},
      {"t", 0.5, "12:00"},
      {"tt", 0.5, "12:00:00"},
      {"zzz", 0.5 + 0.123 / 86400, "123"},
      {"dd.mm. hh:nn:ss", 1.99999999999, "01.01. 00:00:00"},
      {"'Uhr' hh", 0.5, "Uhr 12"},
      {"\"dd\" dd", 45000, "dd 15"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDateTime(c.pattern, c.value, german), c.expected)
        << c.pattern << " " << c.value;
  }
}

TEST(DateTime, FormatDateTimeEnglish) {
  const NumberFormat english = EnglishFormatSettings();
  EXPECT_EQ(FormatDateTime("c", 45000, english), "03/15/2023");
  EXPECT_EQ(FormatDateTime("yyyy/mm/dd", 45000, english), "2023/03/15");
  EXPECT_EQ(FormatDateTime("dddd, mmmm d", 45000, english), "Wednesday, March 15");
}

TEST(DateTime, OutsideTheCalendarRaises) {
  EXPECT_THROW(FormatDateTime("c", 1e10), FormatError);
  EXPECT_THROW(FormatDateTime("c", -1e10), FormatError);
  EXPECT_THROW(FormatDateTime("c", std::nan("")), FormatError);
}

TEST(DateTime, ParseByShortDateFormat) {
  const struct {
    std::string text;
    double expected;  // -1: not a date
  } cases[] = {
      {"15.03.2023", 45000}, {" 15.3.2023", 45000},         {"15.03.23", 45000},
      {"1.1.99", 36161},     {"15.03.2023 12:00", 45000.5}, {"29.02.2000", 36585},
      {"29.02.2001", -1},    {"15.03.2023x", -1},           {"15.03.202", -1},
      {"15/03/2023", -1},    {"15.03.2023 12", -1},         {"", -1},
  };
  for (const auto& c : cases) {
    double value = -1;
    const bool ok = TryStrToDateTime(c.text, value, GermanFormatSettings());
    EXPECT_EQ(ok, c.expected != -1) << c.text;
    if (ok) {
      EXPECT_DOUBLE_EQ(value, c.expected) << c.text;
    }
  }
  double value;
  ASSERT_TRUE(TryStrToDateTime("03/15/2023", value, EnglishFormatSettings()));
  EXPECT_DOUBLE_EQ(value, 45000);
}
