#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "gaeb/file_read_gaeb00.h"
#include "tests/gaeb/reader_files.h"

namespace {

// A token with everything the reader tells about it.
struct Seen {
  int kind;
  std::string name, value, lastLine;
  int64_t lineCount, tokenLine, filePosition, lineNumber;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
  return out << s.kind << " [" << s.name << "] line " << s.tokenLine << ", " << s.lineCount
             << " lines, at " << s.filePosition << ", last line " << s.lineNumber;
}

// `view`: the value as ReadTokenView hands it out.
Seen Take(KsFileReadGaeb00& reader, bool view = false) {
  std::string name, value;
  TTokenKind kind;
  if (view)
    value = reader.ReadTokenView(name, kind);
  else
    reader.ReadToken(name, kind, value);
  return {kind,
          name,
          value,
          std::string(reader.LastLine()),
          reader.LineCount(),
          reader.TokenLine(),
          reader.FilePosition(),
          reader.LineNumber()};
}

// Every token of the file up to the end and one call past it, or up to the
// error raised; the error's message last.
std::vector<Seen> AllSeen(KsFileReadGaeb00& reader, std::string* error = nullptr,
                          bool view = false) {
  std::vector<Seen> seen;
  try {
    do seen.push_back(Take(reader, view));
    while (seen.back().kind != tkEof);
    seen.push_back(Take(reader, view));
  } catch (const std::runtime_error& e) {
    if (error) *error = e.what();
  }
  return seen;
}

// Thousands of tokens, over many refills of the buffer: fields of one and of
// several lines, comments, lines without a token, an OEM character, values
// longer than the buffer, and at the end a field the file ends in.
std::string ManyTokens() {
  std::string bytes = "#begin[GAEB]\r\n";
  for (int i = 0; i < 3000; ++i) {
    bytes += "  #begin[POSITION]\r\n   [OZ]" + std::to_string(i) + "[end]\r\n";
    if (i % 7 == 0) bytes += "## Kommentar [x]\r\n------\r\n";
    if (i % 11 == 0) bytes += "   [LANGTEXT]Zeile 1\r\n   Zeile \x81 2  \r\n   Zeile 3[end]\r\n";
    if (i % 997 == 0) bytes += "   [LANG]" + std::string(300000, 'L') + "\r\n   x[end]\r\n";
    bytes += "  #end[POSITION]" + std::to_string(i) + "|1\r\n";
  }
  return bytes + "#end[GAEB]\r\n   [OFFEN]ohne Ende\r\n";
}

// Values handed out where they lie read the same as values copied out.
TEST(ReaderView, TokensAndCountersAsWhenCopiedOut) {
  for (const std::string& bytes : {ManyTokens(), ReadFile(RealFile("LV_Los02.P83"))}) {
    TempFile file(bytes);
    for (const bool oem : {true, false}) {
      KsFileReadGaeb00 copied(file.Path(), 1024), viewed(file.Path(), 1024);
      copied.ConvertOem = viewed.ConvertOem = oem;
      const std::vector<Seen> expected = AllSeen(copied);
      ASSERT_GT(expected.size(), 1000u);
      const std::vector<Seen> seen = AllSeen(viewed, nullptr, true);
      ASSERT_EQ(seen.size(), expected.size());
      for (size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], expected[i]) << "token " << i;
    }
  }
}

}  // namespace
