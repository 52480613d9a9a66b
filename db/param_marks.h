#pragma once

#include <string>
#include <string_view>
#include <vector>

// A named parameter in a statement: ":" and a name of letters, digits and
// underscores. Text in quotes, comments and "::" (a type cast) hold none.
struct ParamMark {
  size_t Offset;  // of the ':'
  size_t Length;  // with the ':'
  std::string Name;
};

std::vector<ParamMark> FindParamMarks(std::string_view sql);
// The statement with every mark replaced by "?", the engine's positional form.
std::string PositionalSql(std::string_view sql, const std::vector<ParamMark>& marks);
