#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/eobj.h"
#include "gaeb/file_write_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_elements.h"
#include "tests/gaeb/reader_files.h"
#include "tests/support/format_guard.h"
#include "tests/support/test_document.h"
#include "util/trim.h"

namespace {

class WriterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { AddPositionDisplayFields(); }

  KsParams Params() { return ImportParams(&doc); }

  std::unique_ptr<KsGAEBObj> NewRoot() {
    return std::unique_ptr<KsGAEBObj>(
        static_cast<KsGAEBObj*>(GaebClasses().CreateObj("GAEBGAEB", nullptr, Params(), nullptr)));
  }
  // A single child hung on its member, as the reader does.
  KsGAEBObj& AddChild(KsGAEBObj& parent, const std::string& member) {
    auto* child = static_cast<KsGAEBObj*>(
        GaebClasses().CreateObj("GAEB" + member, &parent, Params(), nullptr));
    parent.Members.FindOrMake(member)->SetChild(child);
    return *child;
  }
  KsGAEBObj& AddItem(KsGAEBObj& parent, const std::string& list) {
    return *static_cast<KsGAEBObj*>(
        GaebClasses().CreateObj("GAEB" + list, parent.ChildListOrNew(list), Params(), nullptr));
  }
  static void Set(KsGAEBObj& element, const char* member, const std::string& text) {
    element.Members.FindOrMake(member)->SetValue(Variant(text));
  }
  static std::string Write(KsGAEBObj& root) {
    std::ostringstream out;
    KsFileWriteGaeb00 w(out);
    root.WriteElement(w);
    return out.str();
  }

  FormatGuard format{GermanFormatSettings()};
  TestDocument doc;
};

TEST_F(WriterTest, GaebInfoAloneGivesTheSixLinesOfTheExample) {
  auto root = NewRoot();
  KsGAEBObj& info = AddChild(*root, "GAEBINFO");
  Set(info, "VERSION", "1.0");
  Set(info, "ZEICHENSATZ", "ANSI");
  EXPECT_EQ(Write(*root),
            "#begin[GAEB]\r\n"
            " #begin[GAEBINFO]\r\n"
            "  [VERSION]1.0[end]\r\n"
            "  [ZEICHENSATZ]ANSI[end]\r\n"
            " #end[GAEBINFO]1|2\r\n"
            "#end[GAEB]2|0\r\n");
}

// One area with two positions: the counters of every close line (the field
// count runs from one close line to the next, across elements), fields in
// catalogue order, the derived BEZ of positions left out (that of the area is
// its own field), and one progress step per position after its BESCHREIBUNG.
TEST_F(WriterTest, AreaWithTwoPositions) {
  auto root = NewRoot();
  KsGAEBObj& vergabe = AddChild(*root, "VERGABE");
  Set(vergabe, "DP", "84");
  KsGAEBObj& lv = AddChild(vergabe, "LV");
  KsGAEBObj& area = AddItem(lv, "LVBEREICH");
  Set(area, "OZ", "01");
  Set(area, "BEZ", "Erdarbeiten");
  for (const char* oz : {"010010", "010020"}) {
    KsGAEBObj& position = AddItem(area, "POSITION");
    Set(position, "OZ", oz);
    Set(position, "BEZ", "Aushub");
    Set(position, "_TARVO_POSTYP", "N");
    Set(position, "EP", "12,5");
    Set(AddChild(position, "BESCHREIBUNG"), "KURZTEXT", "Aushub");
  }
  EXPECT_EQ(Write(*root),
            "#begin[GAEB]\r\n"
            " #begin[VERGABE]\r\n"
            "  [DP]84[end]\r\n"
            "  #begin[LV]\r\n"
            "   #begin[LVBEREICH]\r\n"
            "    [OZ]01[end]\r\n"
            "    [BEZ]Erdarbeiten[end]\r\n"
            "    #begin[POSITION]\r\n"
            "     [OZ]010010[end]\r\n"
            "     [_TARVO_POSTYP]N[end]\r\n"
            "     [EP]12,5[end]\r\n"
            "     #begin[BESCHREIBUNG]\r\n"
            "      [KURZTEXT]Aushub[end]\r\n"
            "     #end[BESCHREIBUNG]1|7\r\n"
            "    #end[POSITION]2|0\r\n"
            "    #begin[POSITION]\r\n"
            "     [OZ]010020[end]\r\n"
            "     [_TARVO_POSTYP]N[end]\r\n"
            "     [EP]12,5[end]\r\n"
            "     #begin[BESCHREIBUNG]\r\n"
            "      [KURZTEXT]Aushub[end]\r\n"
            "     #end[BESCHREIBUNG]3|4\r\n"
            "    #end[POSITION]4|0\r\n"
            "   #end[LVBEREICH]5|0\r\n"
            "  #end[LV]6|0\r\n"
            " #end[VERGABE]7|0\r\n"
            "#end[GAEB]8|0\r\n");
  EXPECT_EQ(doc.Count(6), 2);
  EXPECT_EQ(doc.codes.size(), 2u);

  const std::string withDocument = Write(*root);
  for (int i = 0; i < 2; ++i) area.ChildList("POSITION")->Element(i)->ImportDoc = nullptr;
  EXPECT_EQ(Write(*root), withDocument);
  EXPECT_EQ(doc.Count(6), 4);
}

// A price submission says so and when it was written; the tree keeps the
// tender's phase, date and time, and without the stamp they are written.
TEST_F(WriterTest, ASubmissionCarriesPhase84AndTheTimeOfWriting) {
  const struct {
    const char* date;
    const char* time;  // "" : the tender gave none
  } tenders[] = {{"31.03.2026", "11:21"}, {"31.03.2026", ""}};
  for (const auto& t : tenders) {
    SCOPED_TRACE(t.time);
    auto root = NewRoot();
    KsGAEBObj& info = AddChild(*root, "GAEBINFO");
    Set(info, "VERSION", "1.2");
    Set(info, "DATUM", t.date);
    if (*t.time) Set(info, "UHRZEIT", t.time);
    Set(info, "ZEICHENSATZ", "ANSI");
    Set(AddChild(*root, "VERGABE"), "DP", "83");
    const std::string tenderTime = *t.time ? std::string("  [UHRZEIT]") + t.time + "[end]\r\n" : "";
    const std::string expectedTender =
        "#begin[GAEB]\r\n #begin[GAEBINFO]\r\n  [VERSION]1.2[end]\r\n  [DATUM]31.03.2026[end]\r\n" +
        tenderTime + "  [ZEICHENSATZ]ANSI[end]\r\n #end[GAEBINFO]1|" + (*t.time ? "4" : "3") +
        "\r\n #begin[VERGABE]\r\n  [DP]83[end]\r\n #end[VERGABE]2|1\r\n#end[GAEB]3|0\r\n";
    EXPECT_EQ(Write(*root), expectedTender);

    std::ostringstream out;
    KsFileWriteGaeb00 w(out);
    w.MarkAsSubmission({"09.12.2026", "14:05"});
    root->WriteElement(w);
    EXPECT_EQ(
        out.str(),
        "#begin[GAEB]\r\n #begin[GAEBINFO]\r\n  [VERSION]1.2[end]\r\n  [DATUM]09.12.2026[end]\r\n"
        "  [UHRZEIT]14:05[end]\r\n  [ZEICHENSATZ]ANSI[end]\r\n #end[GAEBINFO]1|4\r\n"
        " #begin[VERGABE]\r\n  [DP]84[end]\r\n #end[VERGABE]2|1\r\n#end[GAEB]3|0\r\n");
    EXPECT_EQ(Write(*root), expectedTender);
  }
}

// Texts are written in Windows-1252 whatever the file read declared, and the
// file declares ANSI, while the tree keeps what was read.
TEST_F(WriterTest, CharacterSetIsAlwaysWrittenAsAnsi) {
  const struct {
    const char* stored;
    const char* written;
  } cases[] = {{"OEM", "ANSI"}, {"", "ANSI"},      {"ANSI", "ANSI"},
               {"oem", "ANSI"}, {"UTF-8", "ANSI"}, {"WIN", "ANSI"}};
  for (const auto& c : cases) {
    auto root = NewRoot();
    KsGAEBObj& info = AddChild(*root, "GAEBINFO");
    Set(info, "ZEICHENSATZ", c.stored);
    EXPECT_NE(Write(*root).find(std::string("[ZEICHENSATZ]") + c.written + "[end]"),
              std::string::npos)
        << c.stored;
    EXPECT_EQ(info.Text("ZEICHENSATZ"), c.stored);
  }
}

struct FieldCase {
  uint8_t type;
  int16_t size;
  bool required;
  Variant value;
  const char* german;
  const char* english;
};

TEST_F(WriterTest, FormatFieldValue) {
  const FieldCase cases[] = {
      {ftString, 0, false, "   ", "", ""},
      {ftString, 0, true, "   ", "   ", "   "},
      {ftString, 8, false, "  12345678 ", "12345678", "12345678"},
      {ftString, 8, false, "123456789", "12345678", "12345678"},
      {ftString, 8, false, " 1234 ", " 1234 ", " 1234 "},
      {ftMemo, 0, false, "Zeile 1\r\nZeile 2", "Zeile 1\r\nZeile 2", "Zeile 1\r\nZeile 2"},
      {ftCurrency, 3, false, "12,3456", "12,346", nullptr},
      {ftCurrency, 3, false, 12.3456, "12,346", "12.346"},
      {ftCurrency, 2, false, "0", "0", "0"},
      {ftCurrency, 2, false, 1.005, "1,01", "1.01"},
      {ftCurrency, 2, false, -1.005, "-1,01", "-1.01"},
      {ftFloat, 3, false, 20.0, "20", "20"},
      {ftFloat, 3, false, 123456789012.3456, "123456789012,346", "123456789012.346"},
      {ftFloat, 2, false, "", "", ""},
      {ftFloat, 2, true, "", "0", "0"},
      {ftFloat, 2, true, "  ", "0", "0"},
      // No declared decimals: the value is kept, not rounded to a whole number.
      {ftFloat, 0, false, 7.5, "7,5", "7.5"},
      {ftFloat, 0, false, 19.0, "19", "19"},
      // Text that is no number would not read back: the save stops (null).
      {ftCurrency, 2, false, "n.a.", nullptr, nullptr},
      {ftInteger, 0, false, 42, "42", "42"},
  };
  auto root = NewRoot();
  for (const bool german : {true, false}) {
    FormatGuard scope(german ? GermanFormatSettings() : EnglishFormatSettings());
    for (const FieldCase& c : cases) {
      KsFieldDesc desc;
      desc.Name = "X";
      desc.FieldType = c.type;
      desc.Size = c.size;
      desc.Required = c.required;
      KsMember member(&desc);
      member.Value = c.value;
      const char* expected = german ? c.german : c.english;
      if (expected)
        EXPECT_EQ(root->FormatFieldValue(member), expected)
            << "type " << int(c.type) << " size " << c.size << " value " << c.value.ToString();
      else
        EXPECT_THROW(root->FormatFieldValue(member), UnwritableValue) << c.value.ToString();
    }
  }
}

TEST_F(WriterTest, MultiValueEntriesAreJoinedOnOneLine) {
  auto root = NewRoot();
  KsGAEBObj& prj = AddChild(*root, "PRJINFO");
  Set(prj, "NAME", "P1");
  std::string written = Write(*root);
  EXPECT_EQ(written.find("KOMMUNIKATION"), std::string::npos);
  prj.Members.FindOrMake("KOMMUNIKATION")->Value = Variant::FromStringList({"Tel 1", "Fax 2"});
  written = Write(*root);
  EXPECT_NE(written.find("  [KOMMUNIKATION]Tel 1|Fax 2[end]\r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("#end[PRJINFO]1|2"), std::string::npos);
}

TEST(FileWriteGaeb00, ContinuationLinesCarryTheIndentationOfTheirKey) {
  std::ostringstream out;
  KsFileWriteGaeb00 w(out);
  for (const char* name : {"GAEB", "LV", "POSITION"}) w.WriteBegin(name);
  w.WriteField("EMPTY", "");
  EXPECT_EQ(w.FieldCount(), 0);
  w.WriteField("LANGTEXT", "Zeile 1\r\nZeile 2\r\n\r\nZeile 4\nmit LF\r\n  eingezogen");
  w.WriteEnd("POSITION");
  w.Flush();
  EXPECT_EQ(out.str(),
            "#begin[GAEB]\r\n"
            " #begin[LV]\r\n"
            "  #begin[POSITION]\r\n"
            "   [LANGTEXT]Zeile 1\r\n"
            "   Zeile 2\r\n"
            "   \r\n"
            "   Zeile 4\r\n"
            "   mit LF\r\n"
            "     eingezogen[end]\r\n"
            "  #end[POSITION]1|1\r\n");
  EXPECT_EQ(w.Level(), 2);
  EXPECT_EQ(w.ElementCount(), 1);
  EXPECT_EQ(w.FieldCount(), 0);
}

// Many chunks: the output must equal the lines one after the other.
TEST(FileWriteGaeb00, LargeOutputArrivesComplete) {
  std::ostringstream out;
  std::string expected = "#begin[GAEB]\r\n";
  {
    KsFileWriteGaeb00 w(out);
    w.WriteBegin("GAEB");
    for (int i = 0; i < 60000; ++i) {
      const std::string value = "Wert " + std::to_string(i) + std::string(i % 50, 'x');
      w.WriteField("K" + std::to_string(i % 7), value);
      expected += " [K" + std::to_string(i % 7) + "]" + value + "[end]\r\n";
    }
    w.WriteEnd("GAEB");
    expected += "#end[GAEB]1|60000\r\n";
    EXPECT_EQ(w.BytesWritten(), expected.size());
  }
  EXPECT_EQ(out.str(), expected);
}

TEST(FileWriteGaeb00, StreamErrorsRaiseWithTheReason) {
  std::ofstream full("/dev/full", std::ios::binary);
  ASSERT_TRUE(full.is_open());
  KsFileWriteGaeb00 w(full);
  w.WriteBegin("GAEB");
  try {
    w.WriteEnd("GAEB");
    FAIL() << "no error raised";
  } catch (const EObj& e) {
    EXPECT_NE(std::string(e.what()).find("No space left on device"), std::string::npos) << e.what();
  }

  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  KsFileWriteGaeb00 w2(broken);
  w2.WriteBegin("GAEB");
  EXPECT_THROW(w2.Flush(), EObj);
}

// A stream that takes so many bytes and then no more, like a full disk.
class FillingBuffer : public std::streambuf {
 public:
  explicit FillingBuffer(size_t room) : room_(room) {}

 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override {
    const auto taken = std::min(static_cast<size_t>(n), room_);
    room_ -= taken;
    return static_cast<std::streamsize>(taken);
  }
  int overflow(int c) override { return room_ == 0 ? traits_type::eof() : (--room_, c); }

 private:
  size_t room_;
};

// A chunk the stream refuses in the middle stops the writing, naming the
// bytes taken before it.
TEST(FileWriteGaeb00, AChunkRefusedInTheMiddleRaises) {
  FillingBuffer room(size_t{3} << 19);  // a chunk and a half
  std::ostream out(&room);
  KsFileWriteGaeb00 w(out);
  std::string message;
  try {
    w.WriteBegin("GAEB");
    for (int i = 0; i < 200000; ++i) w.WriteField("LANGTEXT", std::string(40, 'x'));
    w.WriteEnd("GAEB");
  } catch (const EObj& e) {
    message = e.what();
  }
  const size_t at = message.find("Nach ");
  ASSERT_NE(at, std::string::npos) << message;
  const uint64_t taken = std::stoull(message.substr(at + 5));
  EXPECT_GE(taken, uint64_t{1} << 20) << message;
  EXPECT_LT(taken, uint64_t{3} << 19) << message;
}

// Every value is written so that the reader takes it back as it was: a
// first line that the reader would take for a comment or a block line starts
// on the next line, where the reader takes any text.
TEST(FileWriteGaeb00, ValuesReadBackAsWritten) {
  const struct {
    const char* value;
    bool ownLine;  // starts on the line after its key
  } cases[] = {
      {"Meier ## Bau", true},
      {"siehe #begin[Anlage]\r\nZeile 2 #end[POSITION]", true},
      {"#end[LV] am Anfang", true},
      {"Nr. #12 # begin[", false},
      {"Zeile 1\r\n## Zeile 2\r\n#begin[X]\r\n  Zeile 4", false},
      {"[Klammer] und ]", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    std::ostringstream out;
    KsFileWriteGaeb00 w(out);
    w.WriteBegin("GAEB");
    w.WriteBegin("POSITION");
    w.WriteField("LANGTEXT", c.value);
    w.WriteField("OZ", "0010");
    w.WriteEnd("POSITION");
    w.WriteEnd("GAEB");
    EXPECT_EQ(out.str().find("  [LANGTEXT]\r\n") != std::string::npos, c.ownLine) << out.str();

    TempFile file(out.str());
    KsFileReadGaeb00 reader(file.Path(), 1024);
    reader.ConvertOem = false;
    std::vector<std::string> tokens;
    std::string name, value;
    TTokenKind kind;
    for (reader.ReadToken(name, kind, value); kind != tkEof; reader.ReadToken(name, kind, value))
      tokens.push_back(std::to_string(kind) + name + "=" + Trim(value));
    EXPECT_EQ(tokens,
              (std::vector<std::string>{"0GAEB=", "0POSITION=", std::string("3LANGTEXT=") + c.value,
                                        "3OZ=0010", "1POSITION=", "1GAEB="}));
  }
}

// The reader ends a line at a lone CR or LF too: either is written as the
// line break it reads back as, so nothing after it changes its meaning.
TEST(FileWriteGaeb00, LoneLineBreaksAreWrittenAsLineEnds) {
  for (const char* value : {"a\rb", "a\nb", "a\r\nb", "a\r\rb\n"}) {
    SCOPED_TRACE(value);
    std::ostringstream out;
    KsFileWriteGaeb00 w(out);
    w.WriteBegin("POSITION");
    w.WriteField("LANGTEXT", value);
    w.WriteEnd("POSITION");
    const std::string expected = std::string(value) == "a\r\rb\n"
                                     ? " [LANGTEXT]a\r\n \r\n b\r\n [end]\r\n"
                                     : " [LANGTEXT]a\r\n b[end]\r\n";
    EXPECT_EQ(out.str(), "#begin[POSITION]\r\n" + expected + "#end[POSITION]1|1\r\n");
  }
}

// "[end]" ends every value: such a value is refused before any of it is written.
TEST(FileWriteGaeb00, EndMarkInAValueIsRefused) {
  for (const char* value : {"Meier [end] Bau", "Zeile 1\r\nZeile 2[end]"}) {
    std::ostringstream out;
    KsFileWriteGaeb00 w(out);
    w.WriteBegin("ADRESSE");
    try {
      w.WriteField("NAME1", value);
      ADD_FAILURE() << value;
    } catch (const UnwritableValue& e) {
      EXPECT_EQ(std::string(e.what()).rfind("Das Feld NAME1 enth\xE4lt \"[end]\"", 0), 0u);
      EXPECT_EQ(std::string(e.InElement("ADRESSE").what())
                    .rfind("Das Feld NAME1 im Element ADRESSE enth\xE4lt \"[end]\"", 0),
                0u);
    }
    EXPECT_EQ(w.FieldCount(), 0);
    w.Flush();
    EXPECT_EQ(out.str(), "#begin[ADRESSE]\r\n");
  }
}

// A save stops at a value that would not read back, naming the field and
// the innermost element that holds it.
TEST_F(WriterTest, UnwritableValuesNameFieldAndElement) {
  const struct {
    const char* member;
    Variant value;
    const char* message;
  } cases[] = {
      {"NAME1", Variant("Bau [end] GmbH"),
       "Das Feld NAME1 im Element ADRESSE enth\xE4lt \"[end]\""},
      {"GB", Variant(INFINITY), "Das Feld GB im Element POSITION 01.0010 enth\xE4lt 'INF': "},
      {"GB", Variant(NAN), "Das Feld GB im Element POSITION 01.0010 enth\xE4lt 'NAN': "},
      {"EP", Variant(1e12), "Das Feld EP im Element POSITION 01.0010 enth\xE4lt '1000000000000': "},
      {"MENGE", Variant("viel"),
       "Das Feld MENGE im Element POSITION 01.0010 enth\xE4lt 'viel', das beim Lesen keine "
       "g\xFCltige Zahl w\xE4re."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.member);
    auto root = NewRoot();
    KsGAEBObj& vergabe = AddChild(*root, "VERGABE");
    KsGAEBObj& address = AddChild(AddChild(vergabe, "AN"), "ADRESSE");
    KsGAEBObj& position = AddItem(AddItem(AddChild(vergabe, "LV"), "LVBEREICH"), "POSITION");
    Set(position, "OZ", "01.0010 ");
    KsGAEBObj& holder = std::string(c.member) == "NAME1" ? address : position;
    holder.Members.FindOrMake(c.member)->Value = c.value;
    try {
      Write(*root);
      ADD_FAILURE() << "written";
    } catch (const UnwritableValue& e) {
      EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0u) << e.what();
    }
  }
}

}  // namespace
