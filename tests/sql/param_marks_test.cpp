#include "db/param_marks.h"

#include <gtest/gtest.h>

namespace {

struct MarkCase {
  const char* sql;
  std::vector<std::string> names;
  const char* positional;
};

TEST(ParamMarks, NamesOutsideQuotesCommentsAndCasts) {
  const MarkCase cases[] = {
      {"select * from T where ID=:PK_ID\n and \nNR=:PK_NR",
       {"PK_ID", "PK_NR"},
       "select * from T where ID=?\n and \nNR=?"},
      {"insert into T (A,B) values (:A,:B) ", {"A", "B"}, "insert into T (A,B) values (?,?) "},
      {"update T set A=:A where \nA=:A_OLD ", {"A", "A_OLD"}, "update T set A=? where \nA=? "},
      {"select ':X', \":Y\" from T where a=:Z", {"Z"}, "select ':X', \":Y\" from T where a=?"},
      {"select 'it''s :no' from T where a=:yes", {"yes"}, "select 'it''s :no' from T where a=?"},
      {"select a::integer, :P1 -- :c\n/* :d */ from T",
       {"P1"},
       "select a::integer, ? -- :c\n/* :d */ from T"},
      {"select 1 : 2, :", {}, "select 1 : 2, :"},
      {"select 'open :x", {}, "select 'open :x"},
  };
  for (const MarkCase& c : cases) {
    const auto marks = FindParamMarks(c.sql);
    std::vector<std::string> names;
    for (const ParamMark& m : marks) names.push_back(m.Name);
    EXPECT_EQ(names, c.names) << c.sql;
    EXPECT_EQ(PositionalSql(c.sql, marks), c.positional) << c.sql;
  }
}

}  // namespace
