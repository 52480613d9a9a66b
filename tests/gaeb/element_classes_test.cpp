#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_elements.h"
#include "gaeb/gaeb_texts.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/test_document.h"

namespace {

class ElementClasses : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
  }

  KsGAEBObj* New(const std::string& key, KsCustomObj* owner = nullptr) {
    return dynamic_cast<KsGAEBObj*>(
        GaebClasses().CreateObj(key, owner, ImportParams(&doc), nullptr));
  }
  std::unique_ptr<KsGAEBObj> Root(const std::string& key) {
    return std::unique_ptr<KsGAEBObj>(New(key));
  }

  // A single child as the reader hangs it on its member.
  KsGAEBObj& Child(KsGAEBObj& owner, const std::string& member) {
    KsGAEBObj* child = New("GAEB" + member, &owner);
    owner.GetMember(member).SetChild(child);
    return *child;
  }
  static KsGAEBObj& Item(KsGAEBObj& owner, const std::string& list) {
    return *static_cast<KsGAEBObj*>(owner.ChildListOrNew(list)->Add());
  }
  KsGAEBObj& Describe(KsGAEBObj& owner, const std::string& shortText, const std::string& longText) {
    KsGAEBObj& d = Child(owner, "BESCHREIBUNG");
    d.SetValue("KURZTEXT", Variant(shortText));
    d.SetValue("LANGTEXT", Variant(longText));
    return d;
  }

  TestDocument doc;
  RecordingMessageBoxes boxes;
};

TEST_F(ElementClasses, TableNamesAndItemClassesFollowTheClassNames) {
  EXPECT_EQ(KsGGAEBInfo::StaticClass().ClassTablename(), "GAEBGAEBINFO");
  EXPECT_EQ(KsGMengensplit::StaticClass().ClassTablename(), "GAEBMENGENSPLIT");
  EXPECT_EQ(KsGPOSITION::StaticClass().ClassTablename(), "GAEBPOSITION");
  EXPECT_EQ(KsGLVGliedList::StaticClass().ClassItemClass(), &KsGLVGLIED::StaticClass());
  EXPECT_EQ(KsGZusTextList::StaticClass().ClassItemClass(), &KsGZusText::StaticClass());
  EXPECT_EQ(KsGAufmassList::StaticClass().ClassItemClass(), &KsGAufmass::StaticClass());
  EXPECT_EQ(KsGAEBObjList::StaticClass().ClassItemClass(), &KsGAEBObj::StaticClass());

  for (const char* key : {"GAEBGAEB", "gaebposition", "GAEBLVGliedList", "GAEBPOSITIONLIST"})
    EXPECT_NE(GaebClasses().FindClass(key), nullptr) << key;
  EXPECT_EQ(GaebClasses().FindClass("GAEBNAINFOLIST"), nullptr);
  std::unique_ptr<KsCustomObj> generic(
      GaebClasses().CreateObj("GAEBSTLBBAUKAT", nullptr, {}, nullptr));
  EXPECT_EQ(&generic->Class(), &KsObjGeneric::StaticClass());
}

// Reading a new element makes none of its lists; building into one makes it,
// empty, and from then on it is read like any other.
TEST_F(ElementClasses, NewLvMakesItsListsWhenBuiltIntoAndNoSingleChildren) {
  auto lv = Root("GAEBLV");
  ASSERT_NE(lv, nullptr);
  EXPECT_EQ(lv->ImportDoc, &doc);
  const KsGAEBObj& reading = *lv;
  for (const char* list : {"HINWEIS", "AUSFBESCHR", "LVBEREICH", "POSITION", "ZUSCHLPOSITION"}) {
    EXPECT_EQ(reading.ChildList(list), nullptr) << list;
    EXPECT_EQ(reading.Text(list), std::string("GAEB") + list + "LIST");
    EXPECT_FALSE(reading.Members.Holds(reading.Members.IndexOf(list))) << list;
  }
  for (const char* list : {"HINWEIS", "AUSFBESCHR", "LVBEREICH", "POSITION", "ZUSCHLPOSITION"}) {
    KsGAEBObjList* made = lv->ChildListOrNew(list);
    ASSERT_NE(made, nullptr) << list;
    EXPECT_EQ(made->Count(), 0) << list;
    EXPECT_EQ(reading.ChildList(list), made) << list;
    EXPECT_EQ(lv->GetMember(list).Value.ToString(), std::string("GAEB") + list + "LIST");
  }
  EXPECT_EQ(lv->Child("LVINFO"), nullptr);
  EXPECT_EQ(lv->GetMember("LVINFO").Value.ToString(), "GAEBLVINFO");
  EXPECT_EQ(lv->ChildList("POSITION")->TableName(), "GAEBPOSITION");
}

TEST_F(ElementClasses, LookupsAreSilentAndAreasAnswerGbWithTheirSum) {
  auto area = Root("GAEBLVBEREICH");
  EXPECT_EQ(&area->GetMember("GB"), area->Members.FindOrMake("SUMME"));
  EXPECT_EQ(&area->GetMember("gb"), &NoMember());
  EXPECT_EQ(&area->GetMember("UNBEKANNT"), &NoMember());
  EXPECT_TRUE(boxes.messages.empty());

  std::unique_ptr<KsGAEBObj> element(dynamic_cast<KsGAEBObj*>(GaebClasses().CreateObj(
      "GAEBAG", nullptr, {Variant("gaebimp00"), DocumentParam(&doc)}, nullptr)));
  EXPECT_EQ(element->ImportDoc, &doc);
}

TEST_F(ElementClasses, ShortAndLongTexts) {
  auto lv = Root("GAEBLV");
  KsGAEBObj& bare = Item(*lv, "POSITION");
  EXPECT_EQ(ShortText(bare, 255), "");
  EXPECT_EQ(LongText(bare), "");

  KsGAEBObj& longOnly = Item(*lv, "POSITION");
  const std::string text300(300, 'L');
  Describe(longOnly, "", text300);
  EXPECT_EQ(ShortText(longOnly, 255), std::string(252, 'L') + "...");
  EXPECT_EQ(LongText(longOnly), text300);

  KsGAEBObj& beton = Item(*lv, "POSITION");
  Describe(beton, "  Beton  ", "Beton C25/30\r\nin Fundamente");
  EXPECT_EQ(ShortText(beton, 255), "Beton");
  EXPECT_EQ(LongText(beton), "Beton C25/30\r\nin Fundamente");

  KsGAEBObj& rich = Item(*lv, "POSITION");
  Describe(rich, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Mauerwerk\\par}", "");
  EXPECT_EQ(ShortText(rich, 255), "Mauerwerk");

  KsGAEBObj& paragraphs = Item(*lv, "POSITION");
  Describe(paragraphs, "", "{\\rtf1 Ger\\'e4t abtransportieren\\par und\\line entsorgen.\\par}");
  EXPECT_EQ(LongText(paragraphs), "Ger\xE4t abtransportieren\r\nund\r\nentsorgen.");
  EXPECT_EQ(ShortText(paragraphs, 255), "Ger\xE4t abtransportieren\r\nund\r\nentsorgen.");

  KsGAEBObj& area = Item(*lv, "LVBEREICH");
  Describe(Item(area, "HINWEIS"), "", "Hinweis eins");
  Describe(Item(area, "HINWEIS"), "", "{\\rtf1 Absatz 1\\par Absatz 2\\par}");
  Item(area, "HINWEIS");  // without a description: nothing
  KsGAEBObj& ausf = Item(area, "AUSFBESCHR");
  for (const char* t : {"Ausf\xFChrung A", "Ausf\xFChrung B"})
    static_cast<KsGAEBObj*>(ausf.ChildListOrNew("BESCHREIBUNG")->Add())
        ->SetValue("LANGTEXT", Variant(t));
  EXPECT_EQ(AreaLongText(area),
            "Hinweis eins\r\nAbsatz 1\r\nAbsatz 2\r\nAusf\xFChrung A\r\nAusf\xFChrung B\r\n");
}

TEST_F(ElementClasses, NumberingMask) {
  EXPECT_EQ(OZMask(nullptr), "");
  struct Case {
    std::vector<std::pair<const char*, const char*>> glieder;
    const char* mask;
  };
  const Case cases[] = {
      {{}, ""},
      {{{"LOS", "1"}, {"LVSTUFE", "2"}, {"POSITION", "3"}}, "122PPP"},
      {{{"LVStufe", "2"}, {"LVSTUFE", "2"}, {"Position", "4"}, {"Index", "1"}}, "1122PPPPX"},
      {{{"LVSTUFE", "2"}, {"LVSTUFE", "x"}, {"POSITION", "4"}}, "11------------"},
      {{{"BEREICH", "3"}, {"POSITION", "2"}}, "PP"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    auto info = Root("GAEBLVINFO");
    for (const auto& [typ, laenge] : c.glieder) {
      KsGAEBObj& glied = Item(*info, "LVGLIED");
      glied.SetValue("TYP", Variant(typ));
      glied.SetValue("LAENGE", Variant(laenge));
    }
    EXPECT_EQ(OZMask(info->ChildList("LVGLIED")), c.mask);
  }
}

TEST_F(ElementClasses, AdditionalTextsAndItemCounts) {
  auto prj = Root("GAEBPRJINFO");
  KsGAEBObj& first = Item(*prj, "ZUSTEXT");
  first.SetValue("TEXT", Variant("Anlage"));
  first.AddValueLine("plan1.pdf", first.GetMember("EXTDAT"));
  first.AddValueLine("plan2.pdf", first.GetMember("EXTDAT"));
  Item(*prj, "ZUSTEXT").SetValue("TEXT", Variant("Hinweis"));
  EXPECT_EQ(ZusTextSummary(prj->ChildList("ZUSTEXT")),
            "Anlage:\r\nplan1.pdf\r\nplan2.pdf\r\n\r\n\r\nHinweis");

  auto lv = Root("GAEBLV");
  for (int positions : {3, 4}) {
    KsGAEBObj& area = Item(*lv, "LVBEREICH");
    for (int i = 0; i < positions; ++i) Item(area, "POSITION");
  }
  Item(*lv, "POSITION");
  EXPECT_EQ(CountItems(*lv), 10);
}

// A copy of a position is a whole position of its own: its description and
// lists are copies, reachable through its members, and freeing the original
// leaves it intact.
TEST_F(ElementClasses, CloneCopiesChildrenAndPointsMembersAtTheCopies) {
  auto lv = Root("GAEBLV");
  KsGAEBObj& position = Item(*lv, "POSITION");
  position.SetValue("OZ", Variant("0010"));
  Describe(position, "Estrich", "Zementestrich");
  Item(position, "UNTERBESCHR").SetValue("ME", Variant("m2"));

  std::unique_ptr<KsCustomObj> copy(position.Clone(nullptr));
  auto* clone = dynamic_cast<KsGAEBObj*>(copy.get());
  ASSERT_NE(clone, nullptr);
  lv.reset();
  EXPECT_EQ(clone->Text("OZ"), "0010");
  ASSERT_NE(clone->Child("BESCHREIBUNG"), nullptr);
  EXPECT_EQ(clone->Child("BESCHREIBUNG")->Owner(), clone);
  EXPECT_EQ(ShortText(*clone, 255), "Estrich");
  ASSERT_NE(clone->ChildList("UNTERBESCHR"), nullptr);
  ASSERT_EQ(clone->ChildList("UNTERBESCHR")->Count(), 1);
  EXPECT_EQ(clone->ChildList("UNTERBESCHR")->Element(0)->Text("ME"), "m2");
  EXPECT_EQ(clone->ChildList("MENGENSPLIT")->Count(), 0);
}

}  // namespace
