#include <gtest/gtest.h>

#include <memory>

#include "core/obj.h"
#include "core/obj_list.h"

namespace {

std::unique_ptr<KsFBDesc> Keyed() {
  auto d = std::make_unique<KsFBDesc>("FINDITEM", "FIND");
  d->AddField(true, "GROUP", "", "", ftString, 10);
  d->AddField(true, "NR", "", "", ftInteger);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "GROUP,NR", true}));
  return d;
}

class FindByPK : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterDescriptor("FINDITEM", Keyed); }
  FindByPK() { list.reset(KsObjList::StaticClass().CreateObj(nullptr, {}, nullptr)); }
  KsObjList& List() { return static_cast<KsObjList&>(*list); }
  void Add(const Variant& group, const Variant& nr) {
    KsCustomObj* item = KsObjGeneric::StaticClass().CreateObj(
        nullptr, {Variant("TABLENAME"), Variant("FINDITEM")}, nullptr);
    item->ChangePKValues({group, nr});
    List().AddObj(item, -1);
  }
  std::unique_ptr<KsCustomObj> list;
};

TEST_F(FindByPK, BinarySearchGivesTheItemOrTheInsertionPosition) {
  struct Case {
    std::vector<int> keys;
    bool descending;
    int search;
    int index;
    bool found;
  } cases[] = {
      {{}, false, 25, 0, false},           {{10, 20, 30}, false, 25, 2, false},
      {{10, 20, 30}, false, 20, 1, true},  {{10, 20, 30}, false, 5, 0, false},
      {{10, 20, 30}, false, 35, 3, false}, {{10}, false, 10, 0, true},
      {{30, 20, 10}, true, 25, 1, false},  {{30, 20, 10}, true, 10, 2, true},
      {{30, 20, 10}, true, 40, 0, false},  {{10, 20, 20, 30}, false, 20, 1, true},
  };
  for (const Case& c : cases) {
    List().Clear();
    List().Flags = c.descending ? ofDescendingKeys : 0;
    for (int k : c.keys) Add(Variant("A"), Variant(k));
    int index = -7;
    KsCustomObj* item = List().FindByPK({Variant("A"), Variant(c.search)}, index);
    EXPECT_EQ(index, c.index) << c.search;
    EXPECT_EQ(item, c.found ? List().Items(c.index) : nullptr) << c.search;
  }
}

TEST_F(FindByPK, LaterKeysDecideWhenEarlierOnesAreEqual) {
  Add(Variant("A"), Variant(2));
  Add(Variant("B"), Variant(1));
  Add(Variant("B"), Variant(3));
  Add(Variant("b"), Variant(1));  // lower case sorts after upper case
  int index;
  EXPECT_EQ(List().FindByPK({Variant("B"), Variant(3)}, index), List().Items(2));
  EXPECT_EQ(List().FindByPK({Variant("B"), Variant(2)}, index), nullptr);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(List().FindByPK({Variant("b"), Variant("1")}, index), List().Items(3));
  EXPECT_EQ(List().FindByPK({Variant("B")}, index), List().Items(1));
}

TEST_F(FindByPK, AComparisonThatFailsFindsNothing) {
  Add(Variant("A"), Variant(1));
  Add(Variant("A"), Variant(2));
  int index = 0;
  EXPECT_EQ(List().FindByPK({Variant("A"), Variant("zwei")}, index), nullptr);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(List().FindByPK({Variant("A"), Variant(1), Variant(1)}, index), nullptr);
  EXPECT_EQ(index, -1);  // more values than keys
}

}  // namespace
