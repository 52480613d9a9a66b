#include <gtest/gtest.h>

#include <memory>

#include "core/eobj.h"
#include "core/obj.h"
#include "core/obj_classes.h"
#include "core/obj_list.h"
#include "tests/support/recording_message_boxes.h"

namespace {

// Descriptors of a small test schema: a header with three fields and a unique
// key, and items keyed by the header's key plus a running number.
std::unique_ptr<KsFBDesc> BuildHead() {
  auto d = std::make_unique<KsFBDesc>("TESTHEAD", "HEAD");
  d->AddField(true, "A", "", "A", ftString, 10);
  d->AddField(false, "B", "", "B", ftInteger);
  d->AddField(false, "C", "", "C", ftFloat, 2);
  return d;
}
std::unique_ptr<KsFBDesc> BuildItem() {
  auto d = std::make_unique<KsFBDesc>("TESTITEM", "ITEM");
  d->AddField(true, "HEADKEY", "", "", ftString, 10);
  d->AddField(true, "NR", "", "", ftInteger);
  d->AddField(false, "TEXT", "", "", ftString);
  d->AddField(false, "SUM", "", "", ftFloat, 2, taLeftJustify, 0, fbfCalculated);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "HEADKEY,NR", true}));
  return d;
}
std::unique_ptr<KsFBDesc> BuildKeyed() {
  auto d = std::make_unique<KsFBDesc>("TESTKEYED", "KEYED");
  d->AddField(true, "ID", "", "", ftString, 10);
  d->AddField(false, "NAME", "", "", ftString);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "ID", true}));
  return d;
}

int g_freed = 0;

class TestItem : public KsObj {
 public:
  ~TestItem() override { ++g_freed; }
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
};

struct TestItemClass : ObjClass {
  TestItemClass()
      : ObjClass("TestItem", &KsObj::StaticClass(),
                 [] { return static_cast<KsCustomObj*>(new TestItem); }) {}
  const std::string& ClassTablename() const override {
    static const std::string name = "TESTITEM";
    return name;
  }
};
const ObjClass& TestItem::StaticClass() {
  static const TestItemClass cls;
  return cls;
}

class TestItemList : public KsObjList {
 public:
  static const ObjClass& StaticClass();
  const ObjClass& Class() const override { return StaticClass(); }
};
struct TestItemListClass : ObjListClass {
  TestItemListClass()
      : ObjListClass("TestItemList", &KsObjList::StaticClass(),
                     [] { return static_cast<KsCustomObj*>(new TestItemList); }) {}
  const ObjClass* ClassItemClass() const override { return &TestItem::StaticClass(); }
};
const ObjClass& TestItemList::StaticClass() {
  static const TestItemListClass cls;
  return cls;
}

class ObjectModel : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RegisterDescriptor("TESTHEAD", BuildHead);
    RegisterDescriptor("TESTITEM", BuildItem);
    RegisterDescriptor("TESTKEYED", BuildKeyed);
  }
  void SetUp() override { g_freed = 0; }

  static std::unique_ptr<KsCustomObj> Generic(const std::string& table,
                                              KsCustomObj* owner = nullptr, KsParams extra = {}) {
    KsParams p{Variant("TABLENAME"), Variant(table)};
    p.insert(p.end(), extra.begin(), extra.end());
    return std::unique_ptr<KsCustomObj>(KsObjGeneric::StaticClass().CreateObj(owner, p, nullptr));
  }
  static std::vector<std::string> Names(const KsCustomObj& o) {
    std::vector<std::string> n;
    for (const KsMember& m : o.Members.All()) n.push_back(m.Name());
    return n;
  }
  RecordingMessageBoxes boxes;
};

TEST_F(ObjectModel, RegistryCreatesRegisteredOrGenericClasses) {
  KsObjClasses reg;
  reg.AddClassType("TESTITEM", &TestItem::StaticClass());
  reg.AddClassType("AAA", &KsObj::StaticClass());
  EXPECT_EQ(reg.FindClass("testItem"), &TestItem::StaticClass());
  std::unique_ptr<KsCustomObj> item(reg.CreateObj("TestItem", nullptr, {}, nullptr));
  EXPECT_EQ(&item->Class(), &TestItem::StaticClass());
  EXPECT_EQ(item->Members.Count(), 3);  // the calculated field gets no member

  std::unique_ptr<KsCustomObj> unknown(reg.CreateObj("NOPE", nullptr, {}, nullptr));
  EXPECT_EQ(&unknown->Class(), &KsObjGeneric::StaticClass());
  EXPECT_EQ(unknown->TableName(), "");
  EXPECT_EQ(unknown->Members.Count(), 0);

  std::unique_ptr<KsCustomObj> named(
      reg.CreateObj("NOPE", nullptr, {Variant("TableName"), Variant("TESTHEAD")}, nullptr));
  EXPECT_EQ(named->TableName(), "TESTHEAD");

  try {
    reg.AddClassType("testitem", &KsObj::StaticClass());
    FAIL() << "second registration accepted";
  } catch (const EObj& e) {
    EXPECT_STREQ(e.what(),
                 "F\xFCr die Tabelle testitem wurde bereits eine Objektklasse angemeldet. "
                 "[ObjClasses_AddClassType.]");
  }
}

TEST_F(ObjectModel, MembersFollowCatalogueOrderAndMemberParameter) {
  auto all = Generic("TESTHEAD");
  EXPECT_EQ(Names(*all), (std::vector<std::string>{"A", "B", "C"}));
  auto some = Generic("TESTHEAD", nullptr, {Variant("MEMBER"), Variant("C,A")});
  EXPECT_EQ(Names(*some), (std::vector<std::string>{"A", "C"}));
  EXPECT_TRUE(boxes.messages.empty());
}

TEST_F(ObjectModel, GetMemberOfUnknownNameShowsMessageAndReturnsPlaceholder) {
  auto head = Generic("TESTHEAD");
  EXPECT_EQ(&head->GetMember("b"), &head->Members.GetOrMake(1));
  EXPECT_EQ(&head->GetMember("XYZ"), &NoMember());
  EXPECT_EQ(&head->GetMember("XYZ"), &NoMember());
  ASSERT_EQ(boxes.messages.size(), 2u);
  EXPECT_EQ(boxes.messages[0],
            "KsObjGeneric.GetMember\r\nDas Feld \"XYZ\" ist in der Tabelle \"TESTHEAD\" nicht "
            "bekannt.");
  EXPECT_TRUE(head->ReadValue("XYZ").IsEmpty());
  head->WriteValue("XYZ", Variant("x"));
  EXPECT_EQ(boxes.messages.size(), 2u);
  head->SetValue("a", Variant("wert"));
  EXPECT_EQ(head->GetValue("A").ToString(), "wert");
}

TEST_F(ObjectModel, ChildrenAreOwnedAndUnlinkThemselves) {
  auto parent = Generic("TESTHEAD");
  auto* p = static_cast<KsObj*>(parent.get());
  auto* first = TestItem::StaticClass().CreateObj(parent.get(), {}, nullptr);
  EXPECT_EQ(p->Children.Count(), 1);
  EXPECT_EQ(first->Owner(), parent.get());
  delete first;  // a child freed first leaves its parent
  EXPECT_EQ(p->Children.Count(), 0);

  auto* a = TestItem::StaticClass().CreateObj(parent.get(), {}, nullptr);
  auto* b = TestItem::StaticClass().CreateObj(parent.get(), {}, nullptr);
  ASSERT_EQ(p->Children.Count(), 1);  // one child per table name: the later one
  EXPECT_EQ(p->ChildAt(0), b);
  delete a;  // no longer listed, so the parent would not free it
  EXPECT_EQ(p->ChildAt(0), b);

  g_freed = 0;
  parent.reset();
  EXPECT_EQ(g_freed, 1);
}

TEST_F(ObjectModel, ListOperations) {
  std::unique_ptr<KsObjList> list(
      static_cast<KsObjList*>(TestItemList::StaticClass().CreateObj(nullptr, {}, nullptr)));
  EXPECT_EQ(list->TableName(), "TESTITEM");
  EXPECT_EQ(list->PKMemberVariantCount, 1);
  EXPECT_EQ(Names(*list), (std::vector<std::string>{"HEADKEY"}));  // shared leading key

  KsCustomObj* i0 = list->Add();
  KsCustomObj* i1 = list->Add();
  KsCustomObj* i2 = list->Insert(0);
  EXPECT_EQ(list->Items(0), i2);
  KsCustomObj* i3 = list->Insert(3);  // at or beyond the last position: stays at the end
  EXPECT_EQ(list->Items(3), i3);
  KsCustomObj* i4 = list->Insert(4);
  EXPECT_EQ(list->Items(4), i4);
  EXPECT_EQ(list->IndexOf(i1), 2);
  EXPECT_EQ(list->IndexOf(nullptr), -1);

  list->Delete(-1);
  list->Delete(5);
  EXPECT_EQ(list->Count(), 5);
  auto outsider =
      std::unique_ptr<KsCustomObj>(TestItem::StaticClass().CreateObj(nullptr, {}, nullptr));
  list->Remove(outsider.get());
  EXPECT_EQ(list->Count(), 5);

  for (KsMember& m : list->Members.HeldMembers()) m.Modified = false;
  for (int i = 0; i < list->Count(); ++i)
    for (KsMember& m : list->Items(i)->Members.HeldMembers()) m.Modified = false;
  EXPECT_FALSE(list->IsModified());
  list->Remove(i0);
  EXPECT_EQ(list->Count(), 4);
  ASSERT_EQ(list->Removed.size(), 1u);
  EXPECT_EQ(list->RemovedItems(0), i0);
  EXPECT_TRUE(list->IsModified());

  list->Remove(KsObjList::kRemoveAll);
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->Removed.size(), 5u);

  KsCustomObj* moved = outsider.release();
  list->AddObj(moved, 0);
  EXPECT_EQ(list->Items(0), moved);
  list->AddObj(nullptr, 0);
  EXPECT_EQ(list->Count(), 1);

  g_freed = 0;
  list.reset();
  EXPECT_EQ(g_freed, 6);  // items and removed objects alike

  EXPECT_THROW(KsObjList::StaticClass().ClassTablename(), EObj);
}

TEST_F(ObjectModel, ClearFreesItemsAndKeepsListUsable) {
  std::unique_ptr<KsObjList> list(
      static_cast<KsObjList*>(TestItemList::StaticClass().CreateObj(nullptr, {}, nullptr)));
  for (int i = 0; i < 3; ++i) list->Add();
  list->State = osInDatabase | osLoadTried;
  list->Clear();
  EXPECT_EQ(g_freed, 3);
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(list->State, 0);
  list->Add();
  EXPECT_EQ(list->Count(), 1);
}

TEST_F(ObjectModel, PrimaryKeys) {
  auto keyed = Generic("TESTKEYED");
  EXPECT_EQ(keyed->PKCount, 1);
  EXPECT_EQ(&keyed->GetPKMember(0), &keyed->Members.GetOrMake(0));
  try {
    keyed->GetPKMember(1);
    FAIL();
  } catch (const EObj& e) {
    EXPECT_STREQ(
        e.what(),
        "Die Nummer des PK ist gr\xF6sser als die Anzahl der PKs [KsObjGeneric.GetPKMember]");
  }
  try {
    keyed->SetPKNames("A,B,C,D,E,F");
    FAIL();
  } catch (const EObj& e) {
    EXPECT_STREQ(e.what(),
                 "\"A,B,C,D,E,F\" enth\xE4lt zu viele PKs (max:5). [KsObjGeneric.SetPKNames]");
  }
  EXPECT_EQ(keyed->PKCount, 0);
  EXPECT_TRUE(boxes.messages.empty());  // raised before any lookup

  keyed->SetPKNames("ID");
  try {
    keyed->ChangePKValues({});
    FAIL();
  } catch (const EObj& e) {
    EXPECT_STREQ(e.what(),
                 "Zum Laden/Speichern des Objektes \"TESTKEYED\" wurde kein Wert f\xFCr den PK "
                 "angegeben. [KsObjGeneric.ChangePKValues]");
  }

  // A child whose FKNames name the owner's key takes its value, also on later changes.
  auto* child = KsObjGeneric::StaticClass().CreateObj(
      keyed.get(), {Variant("TABLENAME"), Variant("TESTITEM"), Variant("FKNames"), Variant("ID")},
      nullptr);
  keyed->ChangePKValues({Variant("K-7")});
  EXPECT_EQ(keyed->Members.Get(0).GetAsString(), "K-7");
  EXPECT_EQ(child->Members.Get(0).GetAsString(), "K-7");
}

TEST_F(ObjectModel, CloneAndAssign) {
  auto keyed = Generic("TESTKEYED");
  auto source =
      Generic("TESTHEAD", keyed.get(),
              {Variant("LOAD_ONDEMAND"), Variant(true), Variant("ONDEMAND"), Variant(false)});
  KsCustomObj* src = source.release();  // owned by keyed now
  src->SetValue("A", Variant("Wand"));
  src->SetValue("C", Variant(2.5));
  auto* grandChild = TestItem::StaticClass().CreateObj(src, {}, nullptr);
  grandChild->SetValue("TEXT", Variant("innen"));
  EXPECT_EQ(src->Flags, ofLoadOnDemand);

  auto other = Generic("TESTHEAD");
  KsCustomObj* copy = src->Clone(other.get());
  EXPECT_EQ(copy->Owner(), other.get());
  EXPECT_EQ(static_cast<KsObj*>(other.get())->Children.Count(), 1);
  EXPECT_EQ(copy->Flags, ofLoadOnDemand);
  EXPECT_EQ(copy->TableName(), "");  // a generic clone gets no table name, hence no members
  EXPECT_EQ(copy->Members.Count(), 0);

  auto target = Generic("TESTHEAD");
  target->Assign(*src);
  EXPECT_EQ(target->GetValue("A").ToString(), "Wand");
  EXPECT_EQ(target->GetValue("C").ToFloat(), 2.5);
  auto* t = static_cast<KsObj*>(target.get());
  ASSERT_EQ(t->Children.Count(), 1);
  EXPECT_NE(t->ChildAt(0), grandChild);
  EXPECT_EQ(t->ChildAt(0)->GetValue("TEXT").ToString(), "innen");
  EXPECT_TRUE(target->IsModified());
  EXPECT_TRUE(target->Validate(true));
}

class CountingObserver : public Observer {
 public:
  void Update(KsCustomObj* sender, int event, const KsParams&) override {
    seen.emplace_back(sender, event);
  }
  std::vector<std::pair<KsCustomObj*, int>> seen;
};

TEST_F(ObjectModel, NotifyReachesActiveObserversAndOwners) {
  auto parent = Generic("TESTHEAD");
  auto* child = TestItem::StaticClass().CreateObj(parent.get(), {}, nullptr);
  CountingObserver all, onlyFive, inactive, onParent;
  onlyFive.Events = 1u << 5;
  inactive.Active = false;
  child->Observers =
      std::make_unique<std::vector<Observer*>>(std::vector<Observer*>{&all, &onlyFive, &inactive});
  parent->Observers = std::make_unique<std::vector<Observer*>>(std::vector<Observer*>{&onParent});

  child->Notify(false, child, {}, 3);
  child->Notify(true, child, {}, 5);
  EXPECT_EQ(all.seen.size(), 2u);
  ASSERT_EQ(onlyFive.seen.size(), 1u);
  EXPECT_EQ(onlyFive.seen[0].second, 5);
  EXPECT_TRUE(inactive.seen.empty());
  ASSERT_EQ(onParent.seen.size(), 1u);
  EXPECT_EQ(onParent.seen[0].first, child);
}

TEST_F(ObjectModel, ParametersAreTakenInPairs) {
  auto o = Generic("TESTHEAD", nullptr,
                   {Variant(static_cast<int32_t>(7)), Variant("ONDEMAND"), Variant("LOAD_BLOB"),
                    Variant(true), Variant("LOAD_MEMO")});
  // (7, "ONDEMAND") is skipped, ("LOAD_BLOB", true) applies, the unpaired last entry is ignored.
  EXPECT_EQ(o->Flags, ofLoadBlob);
}

}  // namespace
