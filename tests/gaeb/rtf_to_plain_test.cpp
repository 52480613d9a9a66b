#include "gaeb/rtf_to_plain.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/test_files.h"

namespace {

struct Case {
  std::string rtf;
  std::string plain;
};

std::string Doc(const std::string& body) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0 " + body + "}";
}

void ExpectBodies(const std::vector<Case>& cases) {
  for (const Case& c : cases) EXPECT_EQ(RtfToPlain(Doc(c.rtf)), c.plain) << c.rtf;
}

TEST(RtfToPlain, ReturnsTextWithoutRtfMarkerUnchanged) {
  for (const std::string text : {"", "Beton C25/30", "Zeile 1\r\nZeile 2 \\par {\\b x}",
                                 "{\\RTF1 Gro\\'df}", "{\\rt", "\xE4\xF6\xFC\xDF\t"})
    EXPECT_EQ(RtfToPlain(text), text);
}

TEST(RtfToPlain, ConvertsEscapesAndControlWords) {
  ExpectBodies({
      {R"(a\\b\{c\})", "a\\b{c}"},
      {R"(10\~m)", "10\xA0m"},
      {R"(Sicht\-beton SB\_2)", "Sichtbeton SB-2"},
      {R"(ganzt\'e4gig \'C4\'D6\'dc\'df)", "ganzt\xE4gig \xC4\xD6\xDC\xDF"},
      {R"(\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote)",
       "\x97\x96\x95\x91\x92\x93\x94"},
      {"Ort:\\tab DG\tKlasse", "Ort: DG Klasse"},
      {"\\trowd\\cellx3000 Fabrikat:\\cell Typ\\cell\\row Ende", "Fabrikat: Typ \r\nEnde"},
      {"Satz eins.\\par Satz zwei.\\line drei\\par\r\nvier\\\r\nab\\\ncd",
       "Satz eins.\r\nSatz zwei.\r\ndrei\r\nvier\r\nab\r\ncd"},
      {"abtransportieren\\par\r\nund entsorgen\\page Blatt 2\\sect Teil 2",
       "abtransportieren\r\nund entsorgen\r\nBlatt 2\r\nTeil 2"},
      {"\\par\\par Absatz\\par\\par\\line\\par", "\r\n\r\nAbsatz"},
      {"{\\header Kopf\\par}Text{\\*\\x \\par}", "Text"},
      {"Zei\r\nlen\numbruch", "Zeilenumbruch"},
      {R"(\b Fett\b0  normal\fs20-Punkt\f-1x\unknownword99 y)", "Fett normal-Punktxy"},
      {R"(\'00a\u0?b)", "ab"},
  });
}

TEST(RtfToPlain, SkipsDestinationsWithoutText) {
  ExpectBodies({
      {R"({\fonttbl{\f0\fswiss\fcharset0 Arial;}{\f1 Symbol;}}Text)", "Text"},
      {R"({\colortbl;\red0\green0\blue255;}{\stylesheet{\s0 Normal;}}Text)", "Text"},
      {R"({\info{\title Titel}{\author B\'fcro}}Text)", "Text"},
      {R"({\pict\pngblip\bin6 {}\\}x 89504e47}Text)", "Text"},
      {R"({\object\objemb{\*\objclass Excel}{\objdata 0105}{\result Ergebnis}}Text)", "Text"},
      {R"({\header Kopf}{\headerl L}{\headerr R}{\headerf F}Text)", "Text"},
      {R"({\footer Fu\'df}{\footerl L}{\footerr R}{\footerf F}Text)", "Text"},
      {R"({\listtable{\list{\listlevel{\leveltext\'01\u-3913 ?;}}}})"
       R"({\listoverridetable{\listoverride\ls1}}Text)",
       "Text"},
      {R"({\rsidtbl \rsid123}{\generator Riched20 10.0;}{\xmlnstbl {\xmlns1 http://x}}Text)",
       "Text"},
      {R"(A{\*\unbekannt B{C}}D{\*\bkmkstart x}E)", "ADE"},
      {R"({\listtext\f3\'b7\tab}{\pntext\f3\'b7\tab}Punkt)", "Punkt"},
      {R"(Siehe {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt Anlage}} )"
       R"({\field{\fldinst PAGE}{\fldrslt 1}})",
       "Siehe Anlage 1"},
  });
}

TEST(RtfToPlain, ConvertsUnicodeAndDropsItsSubstitute) {
  ExpectBodies({
      {R"(\u8364?)", "\x80"},
      {R"(Preis je m\u178\'b2 )", "Preis je m\xB2 "},
      {R"(\u8222\'84Ortbeton\u8220\'93\'93)", "\x84Ortbeton\x93\x93"},
      {R"(\uc0\u8364 x)", "\x80x"},
      {R"(\uc2\u8364 EUx\u8364\'80\'80y)", "\x80x\x80y"},
      {R"(\u8364\emdash x)", "\x80x"},
      {R"({\uc2\u8364 a}x)", "\x80x"},
      {R"({\uc0 }\u8364 ?x)", "\x80x"},
      {R"(\u20013?\u-3913?\u-10179?\u-8704?)", "???"},
      {R"(\u-1?\u65535?\u99999999999999999999?x)", "???x"},
      {R"(\uc-5\u8364 x\uc99999999999 {\u8364 abc}x)", "\x80x\x80x"},
  });
}

TEST(RtfToPlain, ReadsOnlyTheDocumentGroupOfMalformedInput) {
  ExpectBodies({
      {"a}}}b", "a"},
      {"a\\'4}b", "a"},
      {"a\\'zz", "azz"},
      {"a\\bin99999999999 {}", "a"},
      {"a{{{b", "ab"},
  });
  for (const Case& c : std::vector<Case>{
           {"\r\n  {\\rtf1 Text}\r\n", "Text"},
           {"{\\rtf1 offen", "offen"},
           {"{\\rtf1 a\\", "a"},
           {"{\\rtf1 a\\'", "a"},
           {"{\\rtf1 a\\'4", "a"},
           {"{\\rtf1 a\\u", "a"},
           {"{\\rtf1 a\\u-", "a-"},
           {"{\\rtf", ""},
       })
    EXPECT_EQ(RtfToPlain(c.rtf), c.plain) << c.rtf;
}

TEST(RtfToPlain, SurvivesDeepNestingAndLongTokens) {
  const std::string deep(100'000, '{');
  const std::string closing(100'000, '}');
  EXPECT_EQ(RtfToPlain(Doc(deep + "x" + closing + "y")), "xy");
  EXPECT_EQ(RtfToPlain("{\\rtf1 " + deep + "x"), "x");
  EXPECT_EQ(RtfToPlain(Doc("\\" + std::string(1'000'000, 'w') + " a\\f" +
                           std::string(1'000'000, '9') + " b")),
            "ab");
}

TEST(RtfToPlain, ReadsDocumentsAsWordProcessorsWriteThem) {
  const std::string wordpad =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031"
      "{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
      "\\pard\\sa200\\sl276\\slmult1\\f0\\fs20\\lang7 Feststellen des Zustands der Wege- und "
      "Gel\\'e4ndeoberfl\\'e4chen im Untersuchungsgebiet vor Beginn und nach Ende der "
      "geoelektrischen Feldarbeiten. \\par\r\n"
      "Anfertigen einer Niederschrift zur Vorlage beim AG.\\par\r\n}\r\n";
  EXPECT_EQ(RtfToPlain(wordpad),
            "Feststellen des Zustands der Wege- und Gel\xE4ndeoberfl\xE4"
            "chen im Untersuchungsgebiet vor Beginn und nach Ende der geoelektrischen "
            "Feldarbeiten. \r\nAnfertigen einer Niederschrift zur Vorlage beim AG.");

  const std::string word = R"({\rtf1\adeflang1025\ansi\ansicpg1252\uc1\adeff0\deff0\deflang1031
{\fonttbl{\f0\froman\fcharset0\fprq2{\*\panose 02020603050405020304}Times New Roman;}
{\f3\froman\fcharset2 Symbol;}}
{\colortbl;\red0\green0\blue0;\red0\green0\blue255;}
{\stylesheet{\ql \li0\ri0\widctlpar\fs24\lang1031 \snext0 Normal;}
{\*\cs10 \additive Default Paragraph Font;}}
{\*\listtable{\list\listtemplateid-1{\listlevel\levelnfc23{\leveltext\'01\u-3913 ?;}
{\levelnumbers;}\f3}\listid1}}
{\*\listoverridetable{\listoverride\listid1\listoverridecount0\ls1}}
{\*\rsidtbl \rsid1185213\rsid6425770}{\*\generator Microsoft Word 16.0;}
{\info{\title Leistungsbeschreibung}{\author Planungsb\'fcro}{\creatim\yr2026\mo3\dy31}}
\paperw11906\paperh16838\margl1417\margr1417
{\header \pard\plain \s15\ql \fs20 Seite {\field{\*\fldinst {PAGE}}{\fldrslt {1}}}\par}
{\footerf \pard\plain Vergabestelle S\'fcd\par}
\pard\plain \ltrpar\s0\ql\fs20\lang1031 {\rtlch\fcs1 \af0 \ltrch\fcs0 \b\insrsid6425770 Schalung}
{\rtlch\fcs1 \af0
\ltrch\fcs0 \insrsid6425770  f\'fcr Fundamente, Ausf\'fchrung nach DIN 18331\~Teil 1:\par}
{\listtext\pard\plain \f3\fs20 \loch\af3\hich\af3\dbch\af3\insrsid6425770 \'b7\tab}
\pard \fi-360\li720\ls1
{\insrsid6425770 Beton C25/30 \endash  Sicht\-beton gem\'e4\'df Plan SB\_2\par}
{\listtext\pard\plain \f3\fs20 \'b7\tab}
{\insrsid6425770 \ldblquote Ortbeton\rdblquote , Preis je m\u178\'b2
 \u8222\'84Gr\'f6\'dfte Sorgfalt\u8220\'93\par}
{\*\themedata 504b0304}{\*\datastore 0105000002000000}}
)";
  EXPECT_EQ(
      RtfToPlain(word),
      "Schalung f\xFCr Fundamente, Ausf\xFChrung nach DIN 18331\xA0Teil 1:\r\nBeton C25/30 "
      "\x96 Sichtbeton gem\xE4\xDF Plan SB-2\r\n\x93Ortbeton\x94, Preis je m\xB2 \x84Gr\xF6\xDFte "
      "Sorgfalt\x93");
}

// Long and short texts of the real tenders, as they stand in the files.
std::vector<std::string> RealTexts() {
  std::vector<std::string> texts;
  for (const char* name : {"1561-02_ROHBAUARBEITEN.P83", "1561-03_ZIMMERERARBEITEN.P83",
                           "LV_Los01.P83", "LV_Los02.P83"}) {
    const std::string content = ReadFile(std::string(TARVO_TEST_DATA_DIR) + "/real/" + name);
    EXPECT_FALSE(content.empty()) << name;
    for (const std::string key : {"[Langtext]", "[Kurztext]"}) {
      for (auto begin = content.find(key); begin != std::string::npos;
           begin = content.find(key, begin)) {
        begin += key.size();
        texts.push_back(content.substr(begin, content.find("[end]", begin) - begin));
      }
    }
  }
  return texts;
}

// A text as a Windows rich-text control saves it: bytes above 127 as hex
// escapes, line breaks as paragraphs, the source wrapped after each paragraph.
std::string AsSavedRichText(const std::string& plain) {
  std::string rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031"
      "{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}}\r\n"
      "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\f0\\fs20 ";
  const char* const digits = "0123456789abcdef";
  for (const unsigned char c : plain) {
    if (c == '\n')
      rtf += "\\par\r\n";
    else if (c == '\t')
      rtf += "\\tab ";
    else if (c == '\\' || c == '{' || c == '}')
      rtf += std::string("\\") + static_cast<char>(c);
    else if (c >= 0x80)
      rtf += std::string("\\'") + digits[c >> 4] + digits[c & 15];
    else
      rtf += static_cast<char>(c);
  }
  return rtf + "\\par\r\n}\r\n";
}

TEST(RtfToPlain, KeepsRealTenderTextsAndTheirRichTextForm) {
  const std::vector<std::string> texts = RealTexts();
  ASSERT_EQ(texts.size(), 470u);
  for (const std::string& text : texts) {
    EXPECT_EQ(RtfToPlain(text), text);
    // The same lines; tabs become blanks, and the text ends with its last word.
    std::string lines;
    for (const char c : text) {
      if (c == '\n')
        lines += "\r\n";
      else if (c != '\r')
        lines += c == '\t' ? ' ' : c;
    }
    while (lines.size() >= 2 && lines.compare(lines.size() - 2, 2, "\r\n") == 0)
      lines.resize(lines.size() - 2);
    EXPECT_EQ(RtfToPlain(AsSavedRichText(text)), lines) << text;
  }
}

}  // namespace
