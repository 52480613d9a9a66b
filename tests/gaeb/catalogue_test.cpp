#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_classes.h"
#include "util/same_text.h"

namespace {

class Catalogue : public ::testing::Test {
 protected:
  // What the program does at start: register, then the window adds its fields.
  void SetUp() override {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
  }
};

std::string Upper(std::string text) {
  for (char& c : text) c = AsciiUpper(c);
  return text;
}

// Keys and block names are matched in any case, as the reader does.
const KsFieldDesc* FieldNamed(const KsFBDesc& desc, const std::string& name) {
  for (const auto& field : desc.Fields)
    if (SameText(field->Name, name)) return field.get();
  return nullptr;
}

bool HoldsElements(const KsFieldDesc& field) {
  return field.FieldType == ftUnknown || field.FieldType == ftCursor;
}

// Each builder makes the descriptor of its own table, named after its
// element, and registering finds it under that name.
TEST_F(Catalogue, EveryBuilderMakesTheTableItIsFiledUnder) {
  std::set<std::string> tables;
  for (const GaebDescriptorBuilder& builder : GaebDescriptorBuilders()) {
    const std::unique_ptr<KsFBDesc> desc = builder.Build();
    EXPECT_EQ(desc->TableName, builder.TableName);
    EXPECT_EQ(desc->TableName, "GAEB" + desc->ElementName);
    EXPECT_TRUE(tables.insert(desc->TableName).second) << desc->TableName << " twice";
    EXPECT_FALSE(desc->Fields.empty()) << desc->TableName;
    const KsFBDesc* registered = FindDescriptor(builder.TableName);
    ASSERT_NE(registered, nullptr) << builder.TableName;
    EXPECT_EQ(registered->ElementName, desc->ElementName);
  }
}

// What the reader, the writer and the grid rely on for every field: it
// belongs to its descriptor, its name is its own within the element in any
// case (keys are matched so), its type is one they handle, and a field that
// holds elements carries nothing a value would.
TEST_F(Catalogue, EveryFieldIsOneTheTreeCanHold) {
  const std::set<int> handled = {ftUnknown, ftString, ftInteger, ftFloat, ftCurrency,
                                 ftDate,    ftTime,   ftMemo,    ftCursor};
  for (const GaebDescriptorBuilder& builder : GaebDescriptorBuilders()) {
    const KsFBDesc& desc = *FindDescriptor(builder.TableName);
    std::set<std::string> names;
    for (const auto& field : desc.Fields) {
      SCOPED_TRACE(desc.TableName + "." + field->Name);
      EXPECT_EQ(field->Owner, &desc);
      EXPECT_FALSE(field->Name.empty());
      EXPECT_TRUE(names.insert(Upper(field->Name)).second) << "twice";
      EXPECT_EQ(handled.count(field->FieldType), 1u) << int(field->FieldType);
      EXPECT_GE(field->Size, 0);
      EXPECT_EQ(field->FillChar, 0);
      if (HoldsElements(*field)) {
        EXPECT_EQ(field->Size, 0);
        EXPECT_TRUE(field->DisplayLabel.empty() && field->Hint.empty());
      }
    }
  }
}

// Every element of the catalogue is reached from the root through child and
// list fields and has a class the reader makes it with: none is described
// that the reader could never build.
TEST_F(Catalogue, ElementsFormOneTreeFromTheRoot) {
  std::set<std::string> reached;
  std::vector<std::string> open = {"GAEB"};
  while (!open.empty()) {
    const std::string element = Upper(open.back());
    open.pop_back();
    if (!reached.insert(element).second) continue;
    const KsFBDesc* desc = FindDescriptor("GAEB" + element);
    if (!desc) continue;
    for (const auto& field : desc->Fields)
      if (HoldsElements(*field)) open.push_back(field->Name);
  }
  for (const GaebDescriptorBuilder& builder : GaebDescriptorBuilders()) {
    EXPECT_EQ(reached.count(FindDescriptor(builder.TableName)->ElementName), 1u)
        << builder.TableName << " is not reached from GAEB";
    EXPECT_NE(GaebClasses().FindClass(builder.TableName), nullptr) << builder.TableName;
  }
}

// Every block of the real tenders stands where the catalogue has it: a
// child or list field of the block that holds it, of an element the
// descriptor knows. A block the catalogue lacks would be skipped unread.
TEST_F(Catalogue, RealTendersHaveEveryBlockWhereTheCatalogueHasIt) {
  int files = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(TARVO_TEST_DATA_DIR) + "/real")) {
    const std::string path = entry.path().string();
    if (entry.path().extension() != ".P83") continue;
    ++files;
    KsFileReadGaeb00 reader(path, 1024);
    std::vector<const KsFBDesc*> holders;
    int blocks = 0;
    std::string name, value;
    TTokenKind kind = tkBegin;
    for (reader.ReadToken(name, kind, value); kind != tkEof; reader.ReadToken(name, kind, value)) {
      if (kind == tkEnd && !holders.empty()) holders.pop_back();
      if (kind != tkBegin) continue;
      ++blocks;
      const std::string element = Upper(name);
      if (!holders.empty()) {
        const KsFieldDesc* field = FieldNamed(*holders.back(), element);
        EXPECT_TRUE(field && HoldsElements(*field))
            << path << ": " << name << " in " << holders.back()->ElementName;
      } else {
        EXPECT_EQ(element, "GAEB") << path;
      }
      const KsFBDesc* desc = FindDescriptor("GAEB" + element);
      ASSERT_NE(desc, nullptr) << path << ": " << name;
      holders.push_back(desc);
    }
    EXPECT_GT(blocks, 10) << path;
    EXPECT_TRUE(holders.empty()) << path;
  }
  EXPECT_GE(files, 4);
}

TEST_F(Catalogue, PositionBeginsWithTheDisplayFields) {
  const KsFBDesc* position = FindDescriptor("GAEBPOSITION");
  ASSERT_NE(position, nullptr);
  ASSERT_EQ(position->Fields.size(), 45u);
  const char* first[] = {"OZ", "_TARVO_POSTYP", "ZZGRUPPENR", "BEZ", "ZZLFDNR", "BEAUFTRAGT"};
  for (size_t i = 0; i < std::size(first); ++i) EXPECT_EQ(position->Fields[i]->Name, first[i]);
  EXPECT_EQ(position->Fields.back()->Name, "UNTERBESCHR");
  const KsFieldDesc* ep = position->FindField("ep");
  ASSERT_NE(ep, nullptr);
  EXPECT_EQ(ep->Name, "EP");
  EXPECT_EQ(position->FindField("_tarvo_postyp"), position->Fields[1].get());
}

TEST_F(Catalogue, StartUpStepsAreIdempotent) {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  AddPositionDisplayFields();
  const std::vector<std::string> names = RegisteredDescriptorNames();
  for (const GaebDescriptorBuilder& builder : GaebDescriptorBuilders())
    EXPECT_EQ(std::count(names.begin(), names.end(), builder.TableName), 1) << builder.TableName;
  EXPECT_EQ(FindDescriptor("GAEBPOSITION")->Fields.size(), 45u);
}

TEST_F(Catalogue, DescriptorIsBuiltOnceAndNamesMatchCase) {
  KsFBDesc* position = FindDescriptor("GAEBPOSITION");
  ASSERT_NE(position, nullptr);
  EXPECT_EQ(FindDescriptor("GAEBPOSITION"), position);
  EXPECT_EQ(FindDescriptor("gaebposition"), nullptr);
  EXPECT_EQ(FindDescriptor("GaebPosition"), nullptr);
  EXPECT_EQ(FindDescriptor("POSITION"), nullptr);
  EXPECT_EQ(FindDescriptor("GAEBLOSGR"), nullptr);  // LOSGR has no descriptor
}

std::unique_ptr<KsFBDesc> FirstBuilder() {
  auto d = std::make_unique<KsFBDesc>("!FIRST", "FIRST");
  d->AddField(false, "A", "", "", ftString);
  return d;
}

TEST_F(Catalogue, NameSortingBeforeAllOthersGoesFirst) {
  const std::vector<std::string> before = RegisteredDescriptorNames();
  EXPECT_TRUE(std::is_sorted(before.begin(), before.end()));
  RegisterDescriptor("!FIRST", FirstBuilder);
  const std::vector<std::string> after = RegisteredDescriptorNames();
  ASSERT_EQ(after.size(), before.size() + 1);
  EXPECT_EQ(after.front(), "!FIRST");
  EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin() + 1));
  ASSERT_NE(FindDescriptor("!FIRST"), nullptr);
  EXPECT_EQ(FindDescriptor("!FIRST")->ElementName, "FIRST");
  for (const std::string& name : after) EXPECT_NE(FindDescriptor(name), nullptr) << name;
  for (const GaebDescriptorBuilder& builder : GaebDescriptorBuilders())
    EXPECT_EQ(FindDescriptor(builder.TableName)->TableName, builder.TableName);
}

}  // namespace
