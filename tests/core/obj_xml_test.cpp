#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "core/eobj.h"
#include "core/obj.h"
#include "core/obj_list.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "util/date_time.h"

namespace {

std::unique_ptr<KsFBDesc> BuildFirm() {
  auto d = std::make_unique<KsFBDesc>("XFIRMA", "FIRMA");
  d->AddField(true, "ID", "", "", ftString, 10);
  d->AddField(false, "NAME", "", "", ftString);
  d->AddField(false, "GRUENDUNG", "", "", ftDate);
  d->AddField(false, "ZEIT", "", "", ftTime);
  d->AddField(false, "GEAENDERT", "", "", ftDateTime);
  d->AddField(false, "NOTIZ", "", "", ftMemo);
  d->AddField(false, "BILD", "", "", ftBlob);
  d->AddField(false, "UMSATZ", "", "", ftFloat, 2);
  d->AddField(false, "ANZAHL", "", "", ftInteger);
  d->AddField(false, "INTERN_X", "", "", ftString);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "ID", true}));
  return d;
}
std::unique_ptr<KsFBDesc> BuildAddress() {
  auto d = std::make_unique<KsFBDesc>("XADR", "ADR");
  d->AddField(true, "ID", "", "", ftString, 10);
  d->AddField(false, "ORT", "", "", ftString);
  d->AddField(false, "SEIT", "", "", ftDate);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "ID", true}));
  return d;
}
std::unique_ptr<KsFBDesc> BuildPosition() {
  auto d = std::make_unique<KsFBDesc>("XPOS", "POS");
  d->AddField(true, "NR", "", "", ftInteger);
  d->AddField(false, "TEXT", "", "", ftString);
  d->AddField(false, "DATUM", "", "", ftDate);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "NR", true}));
  return d;
}
std::unique_ptr<KsFBDesc> BuildUnkeyed() {
  auto d = std::make_unique<KsFBDesc>("XOHNE", "OHNE");
  d->AddField(false, "TEXT", "", "", ftString);
  return d;
}

// An object of any table whose own check can be made to fail.
class XmlObj : public KsObjGeneric {
 public:
  static const ObjClass& StaticClass() {
    static const ObjClassOf<XmlObj> cls("XmlObj", &KsObjGeneric::StaticClass());
    return cls;
  }
  const ObjClass& Class() const override { return StaticClass(); }
  bool ValidateSelf() override { return Valid; }
  bool Valid = true;
};

class XmlPos : public XmlObj {
 public:
  struct Class_ : ObjClass {
    Class_()
        : ObjClass("XmlPos", &XmlObj::StaticClass(),
                   [] { return static_cast<KsCustomObj*>(new XmlPos); }) {}
    const std::string& ClassTablename() const override {
      static const std::string name = "XPOS";
      return name;
    }
  };
  static const ObjClass& StaticClass() {
    static const Class_ cls;
    return cls;
  }
  const ObjClass& Class() const override { return StaticClass(); }
};

class XmlPosList : public KsObjList {
 public:
  struct Class_ : ObjListClass {
    Class_()
        : ObjListClass("XmlPosList", &KsObjList::StaticClass(),
                       [] { return static_cast<KsCustomObj*>(new XmlPosList); }) {}
    const ObjClass* ClassItemClass() const override { return &XmlPos::StaticClass(); }
  };
  static const ObjClass& StaticClass() {
    static const Class_ cls;
    return cls;
  }
  const ObjClass& Class() const override { return StaticClass(); }
};

XmlObj* Create(const std::string& table, KsCustomObj* owner = nullptr) {
  return static_cast<XmlObj*>(
      XmlObj::StaticClass().CreateObj(owner, {Variant("TABLENAME"), Variant(table)}, nullptr));
}

double Date(int y, int m, int d) {
  double t = 0;
  TryEncodeDate(y, m, d, t);
  return t;
}

const std::string kFirmName = "M\xFCller & S\xF6hne <GmbH> \"Bau\" 'Nord' \xDF\xC4\xD6\xDC\xE9";
const std::string kFirmNote = "  Zeile 1\r\nZeile 2 & <\xE4> ]]> \t";

class ObjXml : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterDescriptor("XFIRMA", BuildFirm);
    RegisterDescriptor("XADR", BuildAddress);
    RegisterDescriptor("XPOS", BuildPosition);
    RegisterDescriptor("XOHNE", BuildUnkeyed);
  }

  // A firm with an address and a list of three positions, one without key.
  void SetUp() override {
    firm.reset(Create("XFIRMA"));
    firm->GetMember("ID").SetAsString("F1");
    firm->GetMember("NAME").SetAsString(kFirmName);
    firm->GetMember("GRUENDUNG").SetAsDateTime(Date(2024, 3, 15));
    firm->GetMember("ZEIT").SetAsDateTime(EncodeTime(14, 5, 9, 0));
    firm->GetMember("GEAENDERT").SetAsDateTime(Date(2024, 3, 15) + EncodeTime(8, 30, 0, 0));
    firm->GetMember("NOTIZ").SetAsString(kFirmNote);
    firm->GetMember("BILD").SetAsString("\x89PNG");
    firm->GetMember("UMSATZ").SetAsFloat(12.5);
    firm->GetMember("ANZAHL").SetAsInteger(7);
    firm->GetMember("INTERN_X").SetAsString("nicht schreiben");
    address = Create("XADR", firm.get());
    address->GetMember("ID").SetAsString("A1");
    address->GetMember("ORT").SetAsString("K\xF6ln");
    positions =
        static_cast<KsObjList*>(XmlPosList::StaticClass().CreateObj(firm.get(), {}, nullptr));
    const char* texts[] = {"a", "b", "c"};
    for (int i = 0; i < 3; ++i) {
      KsCustomObj* pos = positions->Add();
      if (i != 1) pos->GetMember("NR").SetAsInteger(i + 1);
      pos->GetMember("TEXT").SetAsString(texts[i]);
    }
  }

  std::string Save(KsCustomObj& obj, int indent = 0) {
    std::ostringstream out;
    obj.SaveToXML(out, indent);
    return out.str();
  }

  FormatGuard format{GermanFormatSettings()};
  RecordingMessageBoxes boxes;
  std::unique_ptr<XmlObj> firm;
  XmlObj* address = nullptr;
  KsObjList* positions = nullptr;
};

const char kFirmMembers[] =
    "  <ID>F1</ID>\r\n"
    "  <NAME>M\xC3\xBCller &amp; S\xC3\xB6hne &lt;GmbH&gt; &quot;Bau&quot; &apos;Nord&apos; "
    "\xC3\x9F\xC3\x84\xC3\x96\xC3\x9C\xE9</NAME>\r\n"
    "  <GRUENDUNG>2024-03-15</GRUENDUNG>\r\n"
    "  <ZEIT>14:05:09.000+01:00</ZEIT>\r\n"
    "  <GEAENDERT>2024-03-15T08:30:00.000+01:00</GEAENDERT>\r\n"
    "  <NOTIZ><![CDATA[Zeile 1\r\nZeile 2 &amp; &lt;\xC3\xA4&gt; ]]&gt;]]></NOTIZ>\r\n"
    "  <UMSATZ>12,5</UMSATZ>\r\n"
    "  <ANZAHL>7</ANZAHL>\r\n";

const char kAddress[] =
    "  <OBJ_XADR>\r\n"
    "    <ID>A1</ID>\r\n"
    "    <ORT>K\xC3\xB6ln</ORT>\r\n"
    "  </OBJ_XADR>\r\n";

const char kPositions[] =
    "  <OBJLIST_XPOS Count=\"3\">\r\n"
    "    <OBJ_XPOS>\r\n"
    "      <NR>1</NR>\r\n"
    "      <TEXT>a</TEXT>\r\n"
    "    </OBJ_XPOS>\r\n"
    "    <OBJ_XPOS>\r\n"
    "      <NR>3</NR>\r\n"
    "      <TEXT>c</TEXT>\r\n"
    "    </OBJ_XPOS>\r\n"
    "  </OBJLIST_XPOS>\r\n";

// The text written with the given indent: every line moves right, except the
// second line of the memo, which is part of the member's text.
std::string Indented(const std::string& text, int indent) {
  const std::string pad(static_cast<size_t>(indent), ' ');
  std::string out = pad;
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\n' && i + 1 < text.size() && text.compare(i + 1, 7, "Zeile 2") != 0)
      out += pad;
  }
  return out;
}

TEST_F(ObjXml, TreeIsWrittenByteForByte) {
  const std::string expected =
      std::string("<OBJ_XFIRMA>\r\n") + kFirmMembers + kAddress + kPositions + "</OBJ_XFIRMA>\r\n";
  EXPECT_EQ(Save(*firm), expected);
  EXPECT_EQ(Save(*firm, 4), Indented(expected, 4));
  // The member with an underscore is skipped; looking up its cut name is
  // reported like any unknown name.
  ASSERT_EQ(boxes.messages.size(), 2u);
  EXPECT_EQ(boxes.messages[0],
            "XmlObj.GetMember\r\nDas Feld \"INTERN\" ist in der Tabelle \"XFIRMA\" nicht bekannt.");
}

TEST_F(ObjXml, TreeReadsBackMemberByMember) {
  std::stringstream stream(Save(*firm));
  std::unique_ptr<XmlObj> copy(Create("XFIRMA"));
  stream.seekg(0, std::ios::end);  // reading starts at the beginning wherever the stream stands
  copy->LoadFromXML(stream);
  EXPECT_EQ(copy->GetMember("ID").GetAsString(), "F1");
  EXPECT_EQ(copy->GetMember("NAME").GetAsString(), kFirmName);
  EXPECT_EQ(copy->GetMember("GRUENDUNG").Value.Kind(), KsVarKind::DateTime);
  EXPECT_EQ(copy->GetMember("GRUENDUNG").GetAsFloat(), Date(2024, 3, 15));
  EXPECT_EQ(copy->GetMember("ZEIT").GetAsFloat(), EncodeTime(14, 5, 9, 0));
  EXPECT_EQ(copy->GetMember("GEAENDERT").GetAsFloat(), Date(2024, 3, 15) + EncodeTime(8, 30, 0, 0));
  EXPECT_EQ(copy->GetMember("NOTIZ").GetAsString(), "Zeile 1\r\nZeile 2 & <\xE4> ]]>");
  EXPECT_TRUE(copy->GetMember("BILD").Value.IsEmpty());
  EXPECT_EQ(copy->GetMember("UMSATZ").GetAsFloat(), 12.5);
  EXPECT_EQ(copy->GetMember("ANZAHL").GetAsInteger(), 7);
  EXPECT_TRUE(copy->GetMember("INTERN_X").Value.IsEmpty());
  EXPECT_EQ(copy->Children.Count(), 0);  // children are not read
}

TEST_F(ObjXml, SkipRules) {
  // No key member at all, or an empty key: nothing.
  std::unique_ptr<XmlObj> unkeyed(Create("XOHNE"));
  unkeyed->GetMember("TEXT").SetAsString("x");
  EXPECT_EQ(Save(*unkeyed), "");
  address->GetMember("ID").Value = Variant::Null();
  EXPECT_EQ(Save(*address), "");
  address->GetMember("ID").SetAsString("A1");
  // A failed check writes nothing, unless 0x0004 skips the check.
  static_cast<XmlObj*>(positions->Items(2))->Valid = false;
  EXPECT_EQ(Save(*firm), "");
  EXPECT_EQ(Save(*positions), "");
  firm->Flags |= ofSkipValidate;
  EXPECT_EQ(Save(*firm),
            std::string("<OBJ_XFIRMA>\r\n") + kFirmMembers + kAddress + "</OBJ_XFIRMA>\r\n");
  // Items that write nothing still count.
  positions->Flags |= ofSkipValidate;
  EXPECT_EQ(Save(*firm), std::string("<OBJ_XFIRMA>\r\n") + kFirmMembers + kAddress +
                             "  <OBJLIST_XPOS Count=\"3\">\r\n"
                             "    <OBJ_XPOS>\r\n      <NR>1</NR>\r\n      <TEXT>a</TEXT>\r\n"
                             "    </OBJ_XPOS>\r\n"
                             "  </OBJLIST_XPOS>\r\n"
                             "</OBJ_XFIRMA>\r\n");
  // 0x0100: the children stay out.
  firm->Flags |= ofNoDescend;
  EXPECT_EQ(Save(*firm), std::string("<OBJ_XFIRMA>\r\n") + kFirmMembers + "</OBJ_XFIRMA>\r\n");
}

TEST_F(ObjXml, ObjectWithoutValuesWritesNoElementEvenWithChildren) {
  std::unique_ptr<XmlObj> empty(Create("XFIRMA"));
  Create("XADR", empty.get())->GetMember("ID").SetAsString("A9");
  std::ostringstream out;
  empty->WriteXML(out, 0);
  EXPECT_EQ(out.str(), "");
  // A memo of blanks, like any empty text, writes no member line.
  empty->GetMember("ID").SetAsString("E");
  empty->GetMember("NOTIZ").SetAsString(" \t\r\n ");
  empty->Flags |= ofNoDescend;
  EXPECT_EQ(Save(*empty), "<OBJ_XFIRMA>\r\n  <ID>E</ID>\r\n</OBJ_XFIRMA>\r\n");
}

TEST_F(ObjXml, ChildErrorEndsTheChildrenAndListErrorClosesTheList) {
  address->GetMember("SEIT").SetAsString("kein Datum");
  EXPECT_EQ(Save(*firm), std::string("<OBJ_XFIRMA>\r\n") + kFirmMembers + "</OBJ_XFIRMA>\r\n");

  positions->Items(2)->GetMember("DATUM").SetAsString("kein Datum");
  positions->Flags |= ofSkipValidate;
  std::ostringstream out;
  EXPECT_THROW(positions->SaveToXML(out, 2), VariantError);
  EXPECT_EQ(out.str(),
            "  <OBJLIST_XPOS Count=\"3\">\r\n"
            "    <OBJ_XPOS>\r\n      <NR>1</NR>\r\n      <TEXT>a</TEXT>\r\n    </OBJ_XPOS>\r\n"
            "  </OBJLIST_XPOS>\r\n");
}

TEST_F(ObjXml, StreamErrorsAreRaised) {
  std::ostringstream out;
  out.setstate(std::ios::badbit);
  try {
    firm->SaveToXML(out, 0);
    FAIL() << "no error";
  } catch (const EObj& e) {
    EXPECT_STREQ(e.what(), "Der XML-Text konnte nicht geschrieben werden. [XmlObj.WriteXML]");
  }
  EXPECT_THROW(positions->SaveToXML(out, 0), EObj);
}

// The whole copy leaves out nothing SaveToXML skips (keyless, invalid and
// failing objects), keeps the kind of each value and raises on every failure.
TEST_F(ObjXml, WholeCopyLeavesNothingOut) {
  static_cast<XmlObj*>(positions->Items(2))->Valid = false;
  address->GetMember("SEIT").SetAsString("kein Datum");
  std::ostringstream out;
  firm->SaveWholeToXML(out, 0);
  const std::string text = out.str();
  EXPECT_EQ(Save(*firm), "");
  for (const char* part : {"  <UMSATZ Typ=\"F\">12.5</UMSATZ>\r\n",
                           "  <ANZAHL Typ=\"I\">7</ANZAHL>\r\n", "    <SEIT>kein Datum</SEIT>\r\n",
                           "    <OBJ_XPOS>\r\n      <TEXT>b</TEXT>\r\n    </OBJ_XPOS>\r\n",
                           "      <NR Typ=\"I\">3</NR>\r\n      <TEXT>c</TEXT>\r\n",
                           "<INTERN_X>nicht schreiben</INTERN_X>"})
    EXPECT_NE(text.find(part), std::string::npos) << part;
  std::ostringstream broken;
  broken.setstate(std::ios::badbit);
  EXPECT_THROW(firm->SaveWholeToXML(broken, 0), EObj);
}

// The whole copy byte for byte (the recovery file's format, which files on
// users' disks have): every kind of value with its mark, texts escaped,
// long texts untrimmed in CDATA, members without a value left out.
TEST_F(ObjXml, WholeCopyIsWrittenByteForByte) {
  firm->GetMember("GRUENDUNG").SetValue(Variant::FromDateTime(45366.25));
  firm->GetMember("ZEIT").SetValue(Variant::Null());
  firm->GetMember("GEAENDERT").SetValue(Variant(true));
  firm->GetMember("UMSATZ").SetValue(Variant::FromCurrency(0.1));
  firm->GetMember("ANZAHL").SetValue(Variant(-7));
  positions->Items(0)->GetMember("DATUM").SetValue(Variant(1.0 / 3));
  const std::string expected =
      "  <OBJ_XFIRMA>\r\n"
      "    <ID>F1</ID>\r\n"
      "    <NAME>M\xC3\xBCller &amp; S\xC3\xB6hne &lt;GmbH&gt; &quot;Bau&quot; &apos;Nord&apos; "
      "\xC3\x9F\xC3\x84\xC3\x96\xC3\x9C\xE9</NAME>\r\n"
      "    <GRUENDUNG Typ=\"D\">45366.25</GRUENDUNG>\r\n"
      "    <GEAENDERT Typ=\"B\">1</GEAENDERT>\r\n"
      "    <NOTIZ><![CDATA[  Zeile 1\r\nZeile 2 &amp; &lt;\xC3\xA4&gt; ]]&gt; \t]]></NOTIZ>\r\n"
      "    <BILD>\x89PNG</BILD>\r\n"
      "    <UMSATZ Typ=\"C\">0.1</UMSATZ>\r\n"
      "    <ANZAHL Typ=\"I\">-7</ANZAHL>\r\n"
      "    <INTERN_X>nicht schreiben</INTERN_X>\r\n"
      "    <OBJ_XADR>\r\n"
      "      <ID>A1</ID>\r\n"
      "      <ORT>K\xC3\xB6ln</ORT>\r\n"
      "    </OBJ_XADR>\r\n"
      "    <OBJLIST_XPOS Count=\"3\">\r\n"
      "      <OBJ_XPOS>\r\n"
      "        <NR Typ=\"I\">1</NR>\r\n"
      "        <TEXT>a</TEXT>\r\n"
      "        <DATUM Typ=\"F\">0.3333333333333333</DATUM>\r\n"
      "      </OBJ_XPOS>\r\n"
      "      <OBJ_XPOS>\r\n"
      "        <TEXT>b</TEXT>\r\n"
      "      </OBJ_XPOS>\r\n"
      "      <OBJ_XPOS>\r\n"
      "        <NR Typ=\"I\">3</NR>\r\n"
      "        <TEXT>c</TEXT>\r\n"
      "      </OBJ_XPOS>\r\n"
      "    </OBJLIST_XPOS>\r\n"
      "  </OBJ_XFIRMA>\r\n";
  for (int pass = 0; pass < 2; ++pass) {  // the first one makes the members not made yet
    std::ostringstream out;
    firm->SaveWholeToXML(out, 2);
    EXPECT_EQ(out.str(), expected) << "pass " << pass;
  }
}

// A stream that takes the first `room` characters and fails from then on.
class ShortBuffer : public std::stringbuf {
 public:
  explicit ShortBuffer(size_t room) : room_(room) {}

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    if (str().size() + static_cast<size_t>(n) > room_) return 0;
    return std::stringbuf::xsputn(s, n);
  }
  int_type overflow(int_type c) override {
    return str().size() >= room_ ? traits_type::eof() : std::stringbuf::overflow(c);
  }

 private:
  size_t room_;
};

// The recovery file is a whole copy: a child that cannot be written must
// reach its caller, which would otherwise report the copy as saved.
TEST_F(ObjXml, WholeCopyRaisesWhenAChildCannotBeWritten) {
  std::ostringstream whole;
  firm->SaveWholeToXML(whole, 0);
  const size_t child = whole.str().find("  <OBJ_XADR>");
  ASSERT_NE(child, std::string::npos);
  ShortBuffer buffer(child);
  std::ostream out(&buffer);
  EXPECT_THROW(firm->SaveWholeToXML(out, 0), EObj);
  EXPECT_EQ(buffer.str(), whole.str().substr(0, child));
}

struct LoadCase {
  const char* name;
  std::string text;
  std::string id;     // member ID afterwards
  std::string notiz;  // member NOTIZ afterwards
};

TEST_F(ObjXml, LoadingReadsTheFirstObjectElementOnly) {
  // clang-format off
  const LoadCase cases[] = {
      {"object twice", "<OBJ_XFIRMA><ID>1</ID></OBJ_XFIRMA><OBJ_XFIRMA><ID>2</ID><NOTIZ>n</NOTIZ></OBJ_XFIRMA>", "1", ""},
      {"inside other elements", "<a><ID>0</ID><OBJ_XFIRMA>\r\n <id>1</id><NOTIZ>n</NOTIZ></OBJ_XFIRMA></a>", "1", "n"},
      {"letter case of the object tag counts", "<obj_xfirma><ID>1</ID></obj_xfirma>", "", ""},
      {"deeper elements and unknown names are ignored",
       "<OBJ_XFIRMA><X><ID>9</ID></X><ID>1</ID><UNBEKANNT>u</UNBEKANNT></OBJ_XFIRMA>", "1", ""},
      {"children are not read", "<OBJ_XFIRMA><OBJ_XADR><ID>A</ID></OBJ_XADR><ID>1</ID></OBJ_XFIRMA>", "1", ""},
      {"text after a child's member belongs to the child", "<OBJ_XFIRMA><ID>1</ID><OBJ_XADR><ID>A</ID> </OBJ_XADR></OBJ_XFIRMA>", "1", ""},
      {"empty member tags take no depth", "<OBJ_XFIRMA><NOTIZ/><ID>1</ID></OBJ_XFIRMA><OBJ_XFIRMA><NOTIZ>n</NOTIZ></OBJ_XFIRMA>", "1", ""},
      {"empty object element", "<OBJ_XFIRMA/><OBJ_XFIRMA><ID>2</ID></OBJ_XFIRMA>", "", ""},
      {"stray end tag before", "</b><OBJ_XFIRMA><ID>1</ID></OBJ_XFIRMA>", "1", ""},
      {"memo without CDATA", "<OBJ_XFIRMA><NOTIZ>kurz</NOTIZ></OBJ_XFIRMA>", "", "kurz"},
      {"literal entities stay literal", "<OBJ_XFIRMA><ID>&amp;lt;</ID><NOTIZ><![CDATA[&amp;lt;]]></NOTIZ></OBJ_XFIRMA>", "&lt;", "&lt;"},
      {"truncated text", "<OBJ_XFIRMA><ID>1</ID><NOTIZ>abc", "1", "abc"},
  };
  // clang-format on
  for (const auto& c : cases) {
    std::unique_ptr<XmlObj> obj(Create("XFIRMA"));
    std::istringstream in(c.text);
    obj->LoadFromXML(in);
    EXPECT_EQ(obj->GetMember("ID").GetAsString(), c.id) << c.name;
    EXPECT_EQ(obj->GetMember("NOTIZ").GetAsString(), c.notiz) << c.name;
  }
  std::istringstream in("<OBJLIST_XPOS/>");
  try {
    positions->LoadFromXML(in);
    FAIL() << "lists read XML";
  } catch (const EObj& e) {
    EXPECT_STREQ(e.what(), "Abstrakter Fehler [XmlPosList.LoadFromXML]");
  }
}

struct TextCase {
  uint8_t type;
  Variant value;
  std::string text;
};

TEST_F(ObjXml, MemberTextForms) {
  const double day = Date(1999, 12, 31);
  const double noon = EncodeTime(12, 0, 1, 400);
  // clang-format off
  const TextCase cases[] = {
      {ftString, Variant(), ""},
      {ftString, Variant::Null(), ""},
      {ftString, Variant("a'b\"c"), "a&apos;b&quot;c"},
      {ftString, Variant("\x80\xE9\xFF"), "\x80\xE9\xFF"},
      {ftInteger, Variant(int32_t{-3}), "-3"},
      {ftBoolean, Variant(true), "True"},
      {ftAutoInc, Variant(int32_t{5}), "5"},
      {ftDate, Variant::FromDateTime(day + noon), "1999-12-31"},
      {ftDate, Variant("31.12.1999"), "1999-12-31"},
      {ftDate, Variant::FromDateTime(0), ""},
      {ftDate, Variant(""), ""},
      {ftTime, Variant::FromDateTime(noon), "12:00:01.000+01:00"},
      {ftTime, Variant::FromDateTime(Date(2024, 7, 1) + noon), "12:00:01.000+01:00"},
      {ftDateTime, Variant::FromDateTime(day + noon), "1999-12-31T12:00:01.000+01:00"},
      {static_cast<uint8_t>(ftDate | 0x80), Variant::FromDateTime(day), "1999-12-31"},
      {ftMemo, Variant(" \x01 a<b \x02 "), "<![CDATA[a&lt;b]]>"},
      {ftFmtMemo, Variant("x"), "<![CDATA[x]]>"},
      {ftBytes, Variant("x"), ""}, {ftVarBytes, Variant("x"), ""}, {ftBlob, Variant("x"), ""},
      {ftGraphic, Variant("x"), ""}, {19, Variant("x"), ""}, {20, Variant("x"), ""},
      {21, Variant("x"), ""}, {ftCursor, Variant("x"), ""},
  };
  // clang-format on
  for (const auto& c : cases) {
    KsFBDesc desc("T", "T");
    KsMember m(desc.AddField(false, "F", "", "", c.type));
    m.Value = c.value;
    EXPECT_EQ(m.GetXmlText(), c.text) << int(c.type) << " " << c.text;
  }
}

struct ReadCase {
  uint8_t type;
  std::string text;
  Variant value;  // expected Value afterwards
};

TEST_F(ObjXml, MemberTextsReadBack) {
  const double day = Date(2024, 2, 29);
  const double time = EncodeTime(23, 59, 58, 0);
  // clang-format off
  const ReadCase cases[] = {
      {ftString, "", Variant()},
      {ftString, "M\xC3\xBCller & <x>", Variant("M\xFCller & <x>")},
      {ftString, "&amp;", Variant("&amp;")},
      {ftString, "\xC3\xA4\xC3\x84\xC3\xB6\xC3\x96\xC3\xBC\xC3\x9C\xC3\x9F\xC3\xA9", Variant("\xE4\xC4\xF6\xD6\xFC\xDC\xDF\xC3\xA9")},
      {ftInteger, "12", Variant("12")},
      {ftDate, "2024-02-29", Variant::FromDateTime(day)},
      {ftDate, "2024-02-30", Variant::Null()},
      {ftDate, "29.02.2024", Variant::Null()},
      {ftTime, "23:59:58.000+01:00", Variant::FromDateTime(time)},
      {ftTime, "24:00:00", Variant::Null()},
      {ftDateTime, "2024-02-29T23:59:58.000+01:00", Variant::FromDateTime(day + time)},
      {ftDateTime, "2024-02-29", Variant::FromDateTime(day)},
      {ftDateTime, "2024-02-29Tspaet", Variant::Null()},
      {ftMemo, "<![CDATA[a &amp;lt; b \xC3\xA4]]>", Variant("a &lt; b \xE4")},
      {ftMemo, "<![CDATA[]]>", Variant("")},
      {ftFmtMemo, "plain", Variant("plain")},
      {ftString, "<![CDATA[&lt;]]>", Variant("<")},
      {ftBlob, "abc", Variant("")},
      {ftCursor, "abc", Variant("")},
  };
  // clang-format on
  for (const auto& c : cases) {
    KsFBDesc desc("T", "T");
    KsMember m(desc.AddField(false, "F", "", "", c.type));
    m.SetXmlText(c.text);
    EXPECT_EQ(m.Value.Kind(), c.value.Kind()) << c.text;
    if (!c.value.IsEmptyOrNull() && m.Value.Kind() == c.value.Kind()) {
      EXPECT_TRUE(VarEquals(m.Value, c.value)) << c.text;
    }
  }
}

// The written forms do not depend on the user's date format, so a file
// written under one format reads back under another.
TEST_F(ObjXml, DatesReadBackUnderAnyFormat) {
  const std::string text = Save(*firm);
  FormatGuard english(EnglishFormatSettings());
  std::unique_ptr<XmlObj> copy(Create("XFIRMA"));
  std::istringstream in(text);
  copy->LoadFromXML(in);
  EXPECT_EQ(copy->GetMember("GRUENDUNG").GetAsFloat(), Date(2024, 3, 15));
  EXPECT_EQ(copy->GetMember("GEAENDERT").GetAsFloat(), Date(2024, 3, 15) + EncodeTime(8, 30, 0, 0));
  EXPECT_EQ(Save(*copy).substr(0, 200), text.substr(0, 200));
}

}  // namespace
