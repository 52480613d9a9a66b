#include "db/param_marks.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Position after the quoted text that starts at i (doubled quotes stay inside).
size_t SkipQuoted(std::string_view sql, size_t i) {
  const char quote = sql[i++];
  while (i < sql.size()) {
    if (sql[i] != quote) {
      ++i;
    } else if (i + 1 < sql.size() && sql[i + 1] == quote) {
      i += 2;
    } else {
      return i + 1;
    }
  }
  return i;
}

}  // namespace

std::vector<ParamMark> FindParamMarks(std::string_view sql) {
  std::vector<ParamMark> marks;
  size_t i = 0;
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      i = SkipQuoted(sql, i);
    } else if (c == '-' && sql.substr(i, 2) == "--") {
      const size_t end = sql.find('\n', i);
      i = end == std::string_view::npos ? sql.size() : end + 1;
    } else if (c == '/' && sql.substr(i, 2) == "/*") {
      const size_t end = sql.find("*/", i + 2);
      i = end == std::string_view::npos ? sql.size() : end + 2;
    } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
      i += 2;
    } else if (c == ':' && i + 1 < sql.size() && IsNameChar(sql[i + 1])) {
      size_t end = i + 1;
      while (end < sql.size() && IsNameChar(sql[end])) ++end;
      marks.push_back({i, end - i, std::string(sql.substr(i + 1, end - i - 1))});
      i = end;
    } else {
      ++i;
    }
  }
  return marks;
}

std::string PositionalSql(std::string_view sql, const std::vector<ParamMark>& marks) {
  std::string out;
  out.reserve(sql.size());
  size_t from = 0;
  for (const ParamMark& m : marks) {
    out.append(sql, from, m.Offset - from);
    out += '?';
    from = m.Offset + m.Length;
  }
  out.append(sql, from, std::string_view::npos);
  return out;
}
