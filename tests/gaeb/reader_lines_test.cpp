#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "gaeb/file_read_gaeb00.h"
#include "tests/gaeb/reader_files.h"

namespace {

std::vector<std::string> AllLines(TFileRead& reader) {
  std::vector<std::string> lines;
  std::string line;
  while (reader.ReadLine(line)) lines.push_back(line);
  return lines;
}

struct LineCase {
  const char* name;
  std::string bytes;
  std::vector<std::string> lines;
};

TEST(ReaderLines, LineEndsAtEveryBlockSize) {
  const std::vector<LineCase> cases = {
      {"crlf", "a\r\nb\r\n", {"a", "b"}},
      {"lf", "a\nb\n", {"a", "b"}},
      {"mixed", "a\r\nb\nc", {"a", "b", "c"}},
      {"lone cr ends its line", "a\rb\r\n", {"a", "b"}},
      {"cr before crlf", "a\r\r\n", {"a", ""}},
      {"cr at end of file", "a\r", {"a"}},
      {"cr only", "a\rb\rc", {"a", "b", "c"}},
      {"last line without end", "x", {"x"}},
      {"empty lines", "\r\n\na\r\n\r\n", {"", "", "a", ""}},
      {"empty file", "", {}},
  };
  for (const LineCase& c : cases) {
    TempFile file(c.bytes);
    for (int blockSize : {1, 2, 3, 1024, 65000}) {
      TFileRead reader(file.Path(), blockSize);
      reader.ConvertOem = false;
      EXPECT_EQ(AllLines(reader), c.lines) << c.name << ", block size " << blockSize;
      EXPECT_EQ(reader.FilePosition(), static_cast<int64_t>(c.bytes.size())) << c.name;
    }
  }
}

// Lines that end just before, at and just after the places where the buffer
// is refilled, and lines about as long as the buffer itself, ended by CR LF,
// LF or CR alone, each converted from OEM on its own.
TEST(ReaderLines, LinesAroundTheBufferSizeReadWhole) {
  const size_t buffer = TFileRead::kBufferSize;
  std::string bytes;
  std::vector<std::string> expected;
  for (const size_t length : {size_t{0}, size_t{1}, size_t{1022}, size_t{1023}, size_t{1024},
                              buffer - 1025, buffer - 1024, buffer - 3, buffer - 2, buffer - 1,
                              buffer, buffer + 1, 2 * buffer + 7, size_t{5}}) {
    for (const std::string_view end : {"\r\n", "\n", "\r"}) {
      std::string oem(length, 'x'), converted(length, 'x');
      for (size_t i = 0; i < length; i += 97) {
        oem[i] = '\x81';  // u-umlaut in code page 850
        converted[i] = '\xFC';
      }
      bytes += oem;
      bytes += end;
      expected.push_back(converted);
      bytes += "[K]v[end]\r\n";
      expected.push_back("[K]v[end]");
    }
  }
  TempFile file(bytes);
  for (int blockSize : {7, 1024, 65000}) {
    TFileRead reader(file.Path(), blockSize);
    const std::vector<std::string> lines = AllLines(reader);
    ASSERT_EQ(lines.size(), expected.size()) << "block size " << blockSize;
    for (size_t i = 0; i < lines.size(); ++i)
      EXPECT_TRUE(lines[i] == expected[i])
          << "line " << i + 1 << " of " << expected[i].size() << " bytes, block size " << blockSize;
    EXPECT_EQ(reader.FilePosition(), static_cast<int64_t>(bytes.size()));
    EXPECT_EQ(reader.LineNumber(), static_cast<int64_t>(expected.size()));
  }
}

TEST(ReaderLines, OpensWithSizeNameAndBlockSize) {
  TempFile file("abc\r\n");
  TFileRead reader(file.Path(), 0);
  EXPECT_EQ(reader.FileSize(), 5);
  EXPECT_EQ(reader.FileName(), file.Path());
  EXPECT_EQ(reader.BlockSize(), 65000);
  EXPECT_TRUE(reader.ConvertOem);
  EXPECT_EQ(TFileRead(file.Path(), 65001).BlockSize(), 65000);
  EXPECT_EQ(TFileRead(file.Path(), -5).BlockSize(), 65000);
  EXPECT_EQ(TFileRead(file.Path(), 1024).BlockSize(), 1024);
}

TEST(ReaderLines, OpenFailureCarriesTheReason) {
  const std::string missing =
      std::filesystem::temp_directory_path().string() + "/tarvo_no_such.d83";
  try {
    TFileRead reader(missing, 1024);
    FAIL() << "opened a missing file";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find(missing), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("existiert nicht"), std::string::npos) << e.what();
  }
  try {
    TFileRead reader(std::filesystem::temp_directory_path().string(), 1024);
    FAIL() << "opened a directory";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("Verzeichnis"), std::string::npos) << e.what();
  }
}

TEST(ReaderLines, OemLinesBecomeWindows1252UpToTheFirstNul) {
  // Code page 850: 0x81 u-umlaut, 0x84 a-umlaut, 0x94 o-umlaut, 0xE1 sharp s.
  TempFile file(std::string("M\x81ller \x84\x94\xE1\r\n\x81\0\x81\r\n", 15));
  TFileRead reader(file.Path(), 1024);
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "M\xFCller \xE4\xF6\xDF");
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, std::string("\xFC\0\x81", 3));

  TFileRead ansi(file.Path(), 1024);
  ansi.ConvertOem = false;
  ASSERT_TRUE(ansi.ReadLine(line));
  EXPECT_EQ(line, "M\x81ller \x84\x94\xE1");
}

TEST(ReaderLines, RewindRereadsAndAFailedRewindKeepsThePlace) {
  TempFile file("one\r\ntwo\r\nthree\r\n");
  TFileRead reader(file.Path(), 4);
  std::string line;
  ASSERT_TRUE(reader.ReadLine(line));
  ASSERT_TRUE(reader.ReadLine(line));
  ASSERT_TRUE(reader.Rewind(0));
  EXPECT_EQ(reader.FilePosition(), 0);
  ASSERT_TRUE(reader.ReadLine(line));
  EXPECT_EQ(line, "one");
  EXPECT_FALSE(reader.Rewind(-1));
  EXPECT_EQ(AllLines(reader), (std::vector<std::string>{"two", "three"}));
  EXPECT_TRUE(reader.Rewind(4));
  EXPECT_EQ(AllLines(reader), (std::vector<std::string>{"", "two", "three"}));
}

TEST(ReaderLines, AMegabyteLineIsOneLine) {
  const std::string longLine(1 << 20, 'x');
  TempFile file(longLine + "\r\nnext");
  TFileRead reader(file.Path(), 1024);
  EXPECT_EQ(AllLines(reader), (std::vector<std::string>{longLine, "next"}));
}

using Token = std::tuple<int, std::string, std::string>;

std::vector<Token> AllTokens(KsFileReadGaeb00& reader) {
  std::vector<Token> tokens;
  std::string name, value;
  TTokenKind kind;
  do {
    reader.ReadToken(name, kind, value);
    tokens.emplace_back(kind, name, value);
  } while (kind != tkEof);
  return tokens;
}

struct TokenCase {
  std::string line;
  Token token;
};

TEST(ReaderTokens, ClassifiesSingleLines) {
  const std::vector<TokenCase> cases = {
      {"#begin[GAEB]", {tkBegin, "GAEB", ""}},
      {"  #begin[ LV ]  rest", {tkBegin, "LV", ""}},
      {"#end[POSITION]17|5", {tkEnd, "POSITION", ""}},
      {"\t#end[ xyz]", {tkEnd, "xyz", ""}},
      {"  [KURZTEXT]Mauerwerk[end]", {tkField, "KURZTEXT", "Mauerwerk"}},
      {"[kurztext] Mauerwerk [end]  ", {tkField, "kurztext", " Mauerwerk "}},
      {"[EP][end]", {tkField, "EP", ""}},
      {"[A]x]y[end] rest", {tkField, "A", "x]y"}},
      {"[ A B ]v[end]", {tkField, "A B", "v"}},
      {"[end]", {tkField, "end", ""}},
      {"[VALUE]#begin[X][end]", {tkField, "VALUE", "#begin[X]"}},
      {"[VALUE]A #end[X] B[end]", {tkField, "VALUE", "A #end[X] B"}},
      {" ;  [EP]3,25[end]", {tkField, "EP", "3,25"}},
      {"## Kommentar [x]", {tkEof, "", ""}},
      {"  ## [EP]1[end]", {tkEof, "", ""}},
      {"[A]x[end] ## note", {tkField, "A", "x"}},
      {"[A]x ## y[end]", {tkField, "A", "x ## y"}},
      {"------", {tkEof, "", ""}},
      {"#begin[A", {tkEof, "", ""}},
      {"", {tkEof, "", ""}},
  };
  for (const TokenCase& c : cases) {
    TempFile file(c.line + "\r\n");
    KsFileReadGaeb00 reader(file.Path(), 1024);
    std::string name, value;
    TTokenKind kind;
    reader.ReadToken(name, kind, value);
    EXPECT_EQ(Token(kind, name, value), c.token) << c.line;
    EXPECT_EQ(reader.LineCount(), 1) << c.line;
    EXPECT_EQ(reader.LastLine(), std::get<0>(c.token) == tkEof ? "" : c.line) << c.line;
  }
}

// What the reader would have to guess at, it refuses with the line.
TEST(ReaderTokens, RefusesLinesThatCannotBeWhatTheySeem) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"x#begin[A]", "\"x#begin[A]\" ist weder eine Blockzeile noch ein Feld."},
      {"] #end[A]", "\"] #end[A]\" ist weder eine Blockzeile noch ein Feld."},
      {"[EP]1[end][MENGE]2[end]",
       "Nach [EP] folgt auf derselben Zeile noch \"[MENGE]2[end]\"; eine Zeile tr\xE4gt nur ein "
       "Feld oder eine Blockzeile."},
      {"#end[POSITION]1|2 #begin[POSITION]",
       "Nach #end[POSITION] folgt auf derselben Zeile noch \"1|2 #begin[POSITION]\"; eine Zeile "
       "tr\xE4gt nur ein Feld oder eine Blockzeile."},
      {"[A]zwei\r\n Zeilen[end] [B]",
       "Nach [A] folgt auf derselben Zeile noch \"[B]\"; eine Zeile "
       "tr\xE4gt nur ein Feld oder eine Blockzeile."},
      {std::string("[OZ]0\0"
                   "1[end]",
                   12),
       "Die Zeile enth\xE4lt ein Nullzeichen (Byte 0); eine GAEB 2000 Datei enth\xE4lt keines."},
      {std::string("## \0", 4),
       "Die Zeile enth\xE4lt ein Nullzeichen (Byte 0); eine GAEB 2000 Datei enth\xE4lt keines."},
  };
  for (const auto& [text, reason] : cases) {
    TempFile file("#begin[A]\r\n" + text + "\r\n");
    KsFileReadGaeb00 reader(file.Path(), 1024);
    reader.ConvertOem = false;
    const int line = text.find("\r\n") == std::string::npos ? 2 : 3;
    try {
      AllTokens(reader);
      ADD_FAILURE() << text;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(e.what(),
                "Zeile " + std::to_string(line) + " der Datei " + file.Path() + ": " + reason);
    }
  }
}

TEST(ReaderTokens, MultiLineValuesLoseIndentationAndTrailingBlanks) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"  [LANGTEXT]Zeile 1  \r\n  Zeile 2\r\n  Zeile 3[end]\r\n", "Zeile 1\r\nZeile 2\r\nZeile 3"},
      {"  [LANGTEXT]Zeile 1\r\nx Zeile 2[end]\r\n", "Zeile 1\r\nx Zeile 2"},
      {"  [LANGTEXT]a\r\n   b\r\n\r\n \r\n\t\tc[end]\r\n", "a\r\n b\r\n\r\n\r\nc"},
      {"  [LANGTEXT]a\r\n  #end[POSITION]\r\n  ## x\r\n  #begin[Y]\r\n[end]",
       "a\r\n#end[POSITION]\r\n## x\r\n#begin[Y]\r\n"},
      {"[T]\r\n  a  [end]  ", "\r\n  a  "},
      {"x]\r\n  a[end]", "\r\n  a"},
  };
  for (const auto& [text, expected] : cases) {
    TempFile file(text);
    KsFileReadGaeb00 reader(file.Path(), 1024);
    reader.ConvertOem = false;
    const std::vector<Token> tokens = AllTokens(reader);
    ASSERT_EQ(tokens.size(), 2u) << text;
    EXPECT_EQ(std::get<0>(tokens[0]), tkField) << text;
    EXPECT_EQ(std::get<2>(tokens[0]), expected) << text;
  }
}

TEST(ReaderTokens, EndOfFileInsideAValueDropsTheField) {
  TempFile file("#begin[A]\r\n[B]abc\r\nmore");
  KsFileReadGaeb00 reader(file.Path(), 1024);
  EXPECT_EQ(AllTokens(reader), (std::vector<Token>{{tkBegin, "A", ""}, {tkEof, "", ""}}));
  EXPECT_EQ(reader.LastLine(), "#begin[A]");
  EXPECT_EQ(reader.LineCount(), 3);
}

// The last token's line stays what it was while the reader goes on through
// lines that are no token, reading more of the file, up to its end.
TEST(ReaderTokens, LastLineOutlastsTheBufferMoving) {
  const std::string comment = "## " + std::string(20000, '-') + "\r\n";
  std::string bytes = "[A]1[end]\r\n";
  for (int i = 0; i < 10; ++i) bytes += comment;
  bytes += "  [B]zwei\r\n  Zeilen[end]\r\n";
  for (int i = 0; i < 10; ++i) bytes += comment;
  TempFile file(bytes);
  KsFileReadGaeb00 reader(file.Path(), 1024);
  reader.ConvertOem = false;
  std::string name, value;
  TTokenKind kind;
  reader.ReadToken(name, kind, value);
  EXPECT_EQ(reader.LastLine(), "[A]1[end]");
  reader.ReadToken(name, kind, value);
  EXPECT_EQ(Token(kind, name, value), Token(tkField, "B", "zwei\r\nZeilen"));
  EXPECT_EQ(reader.LastLine(), "  Zeilen[end]");
  reader.ReadToken(name, kind, value);
  EXPECT_EQ(kind, tkEof);
  EXPECT_EQ(reader.LastLine(), "  Zeilen[end]");
  EXPECT_EQ(reader.LineCount(), 23);
}

TEST(ReaderTokens, ExampleFileWithCountersAndComments) {
  TempFile file(
      "#begin[GAEB]\r\n"
      " #begin[GAEBINFO]\r\n"
      "## Kommentar [x]\r\n"
      "------\r\n"
      "  [VERSION]1.0[end]\r\n"
      "  [ZEICHENSATZ]ANSI[end]\r\n"
      " #end[GAEBINFO]1|2\r\n"
      "#end[GAEB]2|0\r\n");
  KsFileReadGaeb00 reader(file.Path(), 1024);
  EXPECT_EQ(AllTokens(reader), (std::vector<Token>{{tkBegin, "GAEB", ""},
                                                   {tkBegin, "GAEBINFO", ""},
                                                   {tkField, "VERSION", "1.0"},
                                                   {tkField, "ZEICHENSATZ", "ANSI"},
                                                   {tkEnd, "GAEBINFO", ""},
                                                   {tkEnd, "GAEB", ""},
                                                   {tkEof, "", ""}}));
  EXPECT_EQ(reader.LineCount(), 8);
  EXPECT_EQ(reader.LastLine(), "#end[GAEB]2|0");
  ASSERT_TRUE(reader.Rewind(0));
  std::string name, value;
  TTokenKind kind;
  reader.ReadToken(name, kind, value);
  EXPECT_EQ(reader.LineCount(), 9);
  EXPECT_EQ(name, "GAEB");
}

std::string WithCrLf(const std::string& lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

TEST(ReaderTokens, RealFileReadsAlikeAtAnyBlockSizeAndLineEnd) {
  const std::string bytes = ReadFile(RealFile("LV_Los02.P83"));
  ASSERT_FALSE(bytes.empty());
  TempFile lf(bytes), crlf(WithCrLf(bytes));
  KsFileReadGaeb00 small(lf.Path(), 1), large(lf.Path(), 65000), dos(crlf.Path(), 1024);
  const std::vector<Token> tokens = AllTokens(small);
  EXPECT_GT(tokens.size(), 1000u);
  EXPECT_EQ(AllTokens(large), tokens);
  EXPECT_EQ(AllTokens(dos), tokens);
  EXPECT_EQ(small.LineCount(), 1670);
  EXPECT_EQ(dos.LineCount(), 1670);
}

}  // namespace
