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

// Thousands of tokens, so that they fill many batches: fields of one and of
// several lines, comments, lines without a token, an OEM character, values
// longer than a batch, and at the end a field the file ends in.
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
TEST(ReaderAhead, TokensAndCountersAsWithoutReadingAhead) {
  for (const std::string& bytes : {ManyTokens(), ReadFile(RealFile("LV_Los02.P83"))}) {
    TempFile file(bytes);
    for (const bool oem : {true, false}) {
      KsFileReadGaeb00 alone(file.Path(), 1024);
      alone.ConvertOem = oem;
      const Seen first = Take(alone);
      const std::vector<Seen> expected = AllSeen(alone);
      ASSERT_GT(expected.size(), 1000u);
      for (const bool readAhead : {false, true})
        for (const bool view : {false, true}) {
          if (!readAhead && !view) continue;
          KsFileReadGaeb00 reader(file.Path(), 1024);
          reader.ConvertOem = oem;
          // Reading ahead takes over where the reader stands.
          EXPECT_EQ(Take(reader), first);
          if (readAhead) reader.ReadAhead();
          const std::vector<Seen> seen = AllSeen(reader, nullptr, view);
          ASSERT_EQ(seen.size(), expected.size());
          for (size_t i = 0; i < seen.size(); ++i)
            ASSERT_EQ(seen[i], expected[i])
                << "token " << i << (readAhead ? " ahead" : "") << (view ? " view" : "");
        }
    }
  }
}

// Where reading fails, the tokens before come first and then the same error.
TEST(ReaderAhead, AnErrorComesAtItsPlace) {
  std::string bytes = ManyTokens();
  bytes.resize(bytes.rfind("#end[GAEB]"));
  bytes += "[ZU LANG]" + std::string(TFileRead::kMaxLineLength + 10, 'x') + "\r\n";
  TempFile file(bytes);
  KsFileReadGaeb00 alone(file.Path(), 1024), ahead(file.Path(), 1024);
  ahead.ReadAhead();
  std::string expectedError, error;
  const std::vector<Seen> expected = AllSeen(alone, &expectedError);
  EXPECT_NE(expectedError, "");
  EXPECT_EQ(AllSeen(ahead, &error), expected);
  EXPECT_EQ(error, expectedError);
  // And again on the next call.
  std::string name, value;
  TTokenKind kind;
  EXPECT_THROW(ahead.ReadToken(name, kind, value), std::runtime_error);
}

// Reading lines, rewinding or stopping in the middle goes on from the place
// the tokens reached, as if the reader had never read ahead.
TEST(ReaderAhead, OtherReadsGoOnFromTheTokensPlace) {
  TempFile file(ManyTokens());
  KsFileReadGaeb00 alone(file.Path(), 1024), ahead(file.Path(), 1024);
  ahead.ReadAhead();
  for (int i = 0; i < 2500; ++i) ASSERT_EQ(Take(ahead), Take(alone)) << i;
  std::string line, expectedLine;
  ASSERT_TRUE(alone.ReadLine(expectedLine));
  ASSERT_TRUE(ahead.ReadLine(line));
  EXPECT_EQ(line, expectedLine);
  EXPECT_EQ(ahead.FilePosition(), alone.FilePosition());
  EXPECT_EQ(ahead.LineNumber(), alone.LineNumber());
  EXPECT_EQ(Take(ahead), Take(alone));

  ahead.ReadAhead();
  for (int i = 0; i < 100; ++i) Take(ahead);
  ASSERT_TRUE(ahead.Rewind(0));
  ASSERT_TRUE(alone.Rewind(0));
  ahead.ReadAhead();
  EXPECT_EQ(AllSeen(ahead).size(), AllSeen(alone).size());

  // A reader closed while its thread reads on ends the thread.
  KsFileReadGaeb00 dropped(file.Path(), 1024);
  dropped.ReadAhead();
  Take(dropped);
}

}  // namespace
