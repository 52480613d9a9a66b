#include "core/fb_desc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::vector<std::string> FieldNames(const KsFBDesc& d) {
  std::vector<std::string> names;
  for (const auto& f : d.Fields) names.push_back(f->Name);
  return names;
}

TEST(FBDesc, AddFieldAppendsWithAllAttributesAndOwner) {
  KsFBDesc d("GAEBTEST", "TEST");
  EXPECT_EQ(d.TableName, "GAEBTEST");
  EXPECT_EQ(d.ElementName, "TEST");
  d.AddField(false, "A", "", "", ftString);
  KsFieldDesc* f =
      d.AddField(true, "EP", "Einheitspreis", "EP", ftCurrency, 3, taCenter, '0', fbfCalculated);
  ASSERT_EQ(d.Fields.size(), 2u);
  EXPECT_EQ(d.Fields[1].get(), f);
  EXPECT_EQ(f->Owner, &d);
  EXPECT_EQ(d.Fields[0]->Owner, &d);
  EXPECT_TRUE(f->Required);
  EXPECT_EQ(f->Name, "EP");
  EXPECT_EQ(f->Hint, "Einheitspreis");
  EXPECT_EQ(f->DisplayLabel, "EP");
  EXPECT_EQ(f->FieldType, ftCurrency);
  EXPECT_EQ(f->Size, 3);
  EXPECT_EQ(f->Alignment, taCenter);
  EXPECT_TRUE(f->IsMultiValue());
  EXPECT_EQ(f->FillChar, '0');
  EXPECT_EQ(f->Flags, fbfCalculated);
  EXPECT_TRUE(f->DynamicLabel.empty());
  EXPECT_EQ(f->Reserved1, 0);
  EXPECT_FALSE(d.Fields[0]->Required);
  EXPECT_FALSE(d.Fields[0]->IsMultiValue());
}

TEST(FBDesc, FindFieldUpperCasesTheQueryOnly) {
  KsFBDesc d("T", "T");
  for (const char* name : {"EP", "_TARVO_POSTYP", "InstHaltInfo", "\xC4NDERUNG", "X\xF7", "X\xD7",
                           "\xDF", "\xFF", "\x9A", "{`}"}) {
    d.AddField(false, name, "", "", ftString);
  }
  struct Case {
    const char* query;
    const char* found;  // nullptr: no field
  };
  const Case cases[] = {
      {"ep", "EP"},
      {"Ep", "EP"},
      {"EP", "EP"},
      {"_tarvo_postyp", "_TARVO_POSTYP"},
      {"\xE4nderung", "\xC4NDERUNG"},  // accented small letters are upper-cased
      {"x\xF7", "X\xF7"},              // the division sign is not a letter
      {"\xDF", "\xDF"},                // sharp s has no upper case
      {"\xFF", "\xFF"},
      {"\x9A", "\x9A"},
      {"{`}", "{`}"},             // neighbours of a-z stay
      {"InstHaltInfo", nullptr},  // only upper-case names can be found
      {"INSTHALTINFO", nullptr},
      {"E", nullptr},
      {"", nullptr},
  };
  for (const Case& c : cases) {
    const KsFieldDesc* f = d.FindField(c.query);
    if (c.found) {
      ASSERT_NE(f, nullptr) << c.query;
      EXPECT_EQ(f->Name, c.found) << c.query;
    } else {
      EXPECT_EQ(f, nullptr) << c.query;
    }
  }
}

TEST(FBDesc, FindFieldMapsEveryAccentedSmallLetter) {
  for (int b = 0xE0; b <= 0xFE; ++b) {
    if (b == 0xF7) continue;
    KsFBDesc d("T", "T");
    d.AddField(false, std::string(1, static_cast<char>(b - 0x20)), "", "", ftString);
    EXPECT_NE(d.FindField(std::string(1, static_cast<char>(b))), nullptr) << b;
  }
}

TEST(FBDesc, FindFieldReturnsTheFirstOfEqualNames) {
  KsFBDesc d("T", "T");
  KsFieldDesc* first = d.AddField(false, "A", "", "", ftString);
  d.AddField(false, "A", "", "", ftInteger);
  EXPECT_EQ(d.FindField("a"), first);
}

TEST(FBDesc, MoveFieldRemovesAndInsertsAtTheNewIndex) {
  struct Case {
    int from, to;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {4, 2, {"A", "B", "E", "C", "D"}},
      {0, 4, {"B", "C", "D", "E", "A"}},
      {3, 0, {"D", "A", "B", "C", "E"}},
      {2, 2, {"A", "B", "C", "D", "E"}},
  };
  for (const Case& c : cases) {
    KsFBDesc d("T", "T");
    for (const char* n : {"A", "B", "C", "D", "E"}) d.AddField(false, n, "", "", ftString);
    const KsFieldDesc* moved = d.Fields[c.from].get();
    d.MoveField(c.from, c.to);
    EXPECT_EQ(FieldNames(d), c.expected) << c.from << "->" << c.to;
    EXPECT_EQ(d.Fields[c.to].get(), moved);
  }
}

TEST(FBDesc, MoveFieldOutOfRangeThrowsAndKeepsTheFields) {
  KsFBDesc d("T", "T");
  for (const char* n : {"A", "B"}) d.AddField(false, n, "", "", ftString);
  for (auto [from, to] : {std::pair{2, 0}, {0, 2}, {-1, 0}, {0, -1}}) {
    EXPECT_THROW(d.MoveField(from, to), std::out_of_range);
  }
  EXPECT_EQ(FieldNames(d), (std::vector<std::string>{"A", "B"}));
}

TEST(FBDesc, FirstUniqueIndex) {
  KsFBDesc d("T", "T");
  EXPECT_EQ(d.FirstUniqueIndex(), nullptr);
  d.IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"I1", "A", false}));
  EXPECT_EQ(d.FirstUniqueIndex(), nullptr);
  d.IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"I2", "A,B", true}));
  d.IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"I3", "C", true}));
  ASSERT_NE(d.FirstUniqueIndex(), nullptr);
  EXPECT_EQ(d.FirstUniqueIndex()->Name, "I2");
}

// The registry is shared by the whole test program: these tests only use
// names beginning with "FbDescTest" and look only at those.
int builds = 0;

std::unique_ptr<KsFBDesc> CountingBuilder() {
  ++builds;
  return std::make_unique<KsFBDesc>("FbDescTestCounted", "COUNTED");
}

std::unique_ptr<KsFBDesc> PlainBuilder() { return std::make_unique<KsFBDesc>("X", "X"); }

std::vector<std::string> TestNames() {
  std::vector<std::string> names = RegisteredDescriptorNames();
  std::erase_if(names, [](const std::string& n) { return n.rfind("FbDescTest", 0) != 0; });
  return names;
}

TEST(FBDescRegistry, KeepsOrdinalCaseSensitiveOrder) {
  for (const char* suffix : {"b", "B", "\xE4", "a", "A", "1", "Ab", "_"}) {
    RegisterDescriptor(std::string("FbDescTestOrder") + suffix, PlainBuilder);
  }
  const std::vector<std::string> expected = {
      "FbDescTestOrder1", "FbDescTestOrderA", "FbDescTestOrderAb", "FbDescTestOrderB",
      "FbDescTestOrder_", "FbDescTestOrdera", "FbDescTestOrderb",  "FbDescTestOrder\xE4"};
  std::vector<std::string> names = TestNames();
  std::erase_if(names, [](const std::string& n) { return n.rfind("FbDescTestOrder", 0) != 0; });
  EXPECT_EQ(names, expected);
  for (const std::string& n : expected) EXPECT_NE(FindDescriptor(n), nullptr) << n;
  const std::vector<std::string> all = RegisteredDescriptorNames();
  EXPECT_TRUE(std::is_sorted(all.begin(), all.end()));
}

TEST(FBDescRegistry, BuildsOnFirstLookupOnlyAndMatchesCase) {
  RegisterDescriptor("FbDescTestCounted", CountingBuilder);
  EXPECT_EQ(builds, 0);  // registering does not build
  KsFBDesc* first = FindDescriptor("FbDescTestCounted");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->ElementName, "COUNTED");
  EXPECT_EQ(FindDescriptor("FbDescTestCounted"), first);
  EXPECT_EQ(builds, 1);
  EXPECT_EQ(FindDescriptor("fbdesctestcounted"), nullptr);
  EXPECT_EQ(FindDescriptor("FBDESCTESTCOUNTED"), nullptr);
  EXPECT_EQ(FindDescriptor("FbDescTestCounte"), nullptr);
  EXPECT_EQ(FindDescriptor("FbDescTestCountedX"), nullptr);
  EXPECT_EQ(builds, 1);
}

// A name registered again stands for the new descriptor from then on, even
// right after the old one was found.
TEST(FBDescRegistry, ALaterRegistrationWins) {
  RegisterDescriptor("FbDescTestAgain", PlainBuilder);
  KsFBDesc* first = FindDescriptor("FbDescTestAgain");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(FindDescriptor("FbDescTestAgain"), first);
  RegisterDescriptor("FbDescTestAgain",
                     [] { return std::make_unique<KsFBDesc>("FbDescTestAgain", "AGAIN"); });
  KsFBDesc* second = FindDescriptor("FbDescTestAgain");
  ASSERT_NE(second, nullptr);
  EXPECT_NE(second, first);
  EXPECT_EQ(second->ElementName, "AGAIN");
}

}  // namespace
