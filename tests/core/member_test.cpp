#include "core/member.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/format_guard.h"

namespace {

KsFieldDesc Field(uint8_t type, int16_t size = 0, char fill = 0, uint8_t align = taLeftJustify) {
  KsFieldDesc f;
  f.Name = "F";
  f.FieldType = type;
  f.Size = size;
  f.FillChar = fill;
  f.Alignment = align;
  return f;
}

TEST(KsMember, FreshMemberReadsNeutral) {
  const KsFieldDesc f = Field(ftString, 10);
  KsMember m(&f);
  EXPECT_EQ(m.GetAsString(), "");
  EXPECT_EQ(m.GetAsInteger(), 0);
  EXPECT_EQ(m.GetAsFloat(), 0.0);
  EXPECT_FALSE(m.GetAsBoolean());
  EXPECT_FALSE(m.Modified);
  EXPECT_TRUE(m.Value.IsEmpty());
  EXPECT_EQ(m.Child(), nullptr);
}

TEST(KsMember, ChangeGuardMarksOnlyRealChanges) {
  const KsFieldDesc f = Field(ftString);
  KsMember m(&f);
  m.SetAsString("Beton");
  EXPECT_TRUE(m.Modified);
  m.Modified = false;
  m.SetAsString("Beton");
  EXPECT_FALSE(m.Modified);
  m.SetAsString("beton");  // strings compare case-sensitively
  EXPECT_TRUE(m.Modified);

  m.Modified = false;
  m.SetValue(m.Value);  // SetValue always marks
  EXPECT_TRUE(m.Modified);

  m.Value = Variant::Null();
  m.Modified = false;
  m.SetAsString("");  // a Null member always takes the value
  EXPECT_TRUE(m.Modified);
  EXPECT_EQ(m.Value.Kind(), KsVarKind::String);
}

TEST(KsMember, FloatAgainstLocaleStringUsesNumericComparison) {
  FormatGuard german(GermanFormatSettings());
  const KsFieldDesc f = Field(ftFloat, 2);
  KsMember m(&f);
  m.SetValue(Variant("12,50"));
  m.Modified = false;
  m.SetAsFloat(12.5);
  EXPECT_EQ(m.Value.Kind(), KsVarKind::String);
  EXPECT_EQ(m.GetAsString(), "12,50");
  EXPECT_FALSE(m.Modified);
  m.SetAsFloat(13);
  EXPECT_EQ(m.Value.Kind(), KsVarKind::Float);
  EXPECT_EQ(m.GetAsFloat(), 13.0);
  EXPECT_TRUE(m.Modified);
}

TEST(KsMember, ImpossibleConversionChangesNothing) {
  const KsFieldDesc f = Field(ftFloat);
  KsMember m(&f);
  m.SetValue(Variant("abc"));
  m.Modified = false;
  EXPECT_THROW(m.SetAsFloat(1.0), VariantError);
  EXPECT_EQ(m.GetAsString(), "abc");
  EXPECT_FALSE(m.Modified);
  EXPECT_THROW(m.GetAsInteger(), VariantError);
}

TEST(KsMember, NumberWithoutRaising) {
  FormatGuard german(GermanFormatSettings());
  const KsFieldDesc f = Field(ftFloat, 2);
  const struct {
    Variant value;
    bool isNumber;
    double number;
  } cases[] = {
      {Variant(), true, 0},
      {Variant::Null(), true, 0},
      {Variant("12,5"), true, 12.5},
      {Variant(2.25), true, 2.25},
      {Variant(int32_t{7}), true, 7},
      {Variant("abc"), false, -1},
      {Variant("1.234,5"), false, -1},
      {Variant::FromStringList({"1"}), false, -1},
  };
  for (const auto& c : cases) {
    KsMember m(&f);
    m.Value = c.value;
    double number = -1;
    EXPECT_EQ(m.TryAsFloat(number), c.isNumber) << m.GetAsString();
    EXPECT_EQ(number, c.number);
    EXPECT_EQ(m.AsFloatOr(-1), c.number);
  }
}

TEST(KsMember, StringSizeTruncatesOnlyTypedSetter) {
  const KsFieldDesc f = Field(ftString, 3);
  KsMember m(&f);
  m.SetAsString("ABCDE");
  EXPECT_EQ(m.GetAsString(), "ABC");
  m.SetValue(Variant("ABCDE"));
  EXPECT_EQ(m.GetAsString(), "ABCDE");
  const std::string umlauts = "\xC4\xD6\xDC\xE4\xF6";
  m.SetAsString(umlauts);
  EXPECT_EQ(m.GetAsString(), "\xC4\xD6\xDC");
  const std::string longText(100000, 'x');
  const KsFieldDesc unlimited = Field(ftString, 0);
  KsMember u(&unlimited);
  u.SetAsString(longText);
  EXPECT_EQ(u.GetAsString().size(), longText.size());
}

TEST(KsMember, Padding) {
  struct Case {
    uint8_t align;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {taRightJustify, "42", "00042"},
      {taLeftJustify, "42", "42000"},
      {taRightJustify, "1234567", "12345"},
      {taLeftJustify, "", "00000"},
  };
  for (const Case& c : cases) {
    const KsFieldDesc f = Field(ftString, 5, '0', c.align);
    KsMember m(&f);
    m.SetAsString(c.in);
    EXPECT_EQ(m.GetAsString(), c.out) << c.in;
    KsMember v(&f);
    v.SetValue(Variant(c.in));  // padded fields pad on SetValue too
    EXPECT_EQ(v.GetAsString(), c.out) << c.in;
  }
  const KsFieldDesc zero = Field(ftString, 0, '0');
  EXPECT_EQ(KsMember(&zero).PadValue("abc"), "");
}

TEST(KsMember, DateTimeZeroStoresNull) {
  const KsFieldDesc f = Field(ftDate);
  KsMember m(&f);
  m.SetAsDateTime(0);
  EXPECT_TRUE(m.Value.IsNull());
  EXPECT_TRUE(m.Modified);
  EXPECT_EQ(m.GetAsString(), "");
  EXPECT_EQ(m.GetAsFloat(), 0.0);
  m.SetAsDateTime(46000.5);
  EXPECT_EQ(m.Value.Kind(), KsVarKind::DateTime);
  EXPECT_DOUBLE_EQ(m.GetAsFloat(), 46000.5);
}

TEST(KsMember, BooleanByFieldType) {
  struct Case {
    uint8_t type;
    KsVarKind kind;
  };
  for (const Case& c :
       {Case{ftString, KsVarKind::String}, Case{ftInteger, KsVarKind::Integer},
        Case{ftSmallint, KsVarKind::Integer}, Case{ftBoolean, KsVarKind::Boolean}}) {
    const KsFieldDesc f = Field(c.type);
    KsMember m(&f);
    m.SetAsBoolean(true);
    EXPECT_EQ(m.Value.Kind(), c.kind);
    EXPECT_TRUE(m.GetAsBoolean());
    m.SetAsBoolean(false);
    EXPECT_FALSE(m.GetAsBoolean());
  }
  const KsFieldDesc s = Field(ftString);
  KsMember text(&s);
  text.SetAsBoolean(true);
  EXPECT_EQ(text.GetAsString(), "1");

  const KsFieldDesc fl = Field(ftFloat);
  KsMember number(&fl);
  number.SetAsBoolean(true);
  EXPECT_TRUE(number.Value.IsEmpty());
  EXPECT_FALSE(number.Modified);
}

TEST(KsMember, BooleanFromText) {
  const KsFieldDesc f = Field(ftString);
  for (const char* yes : {"ja", "Wahr", "yes", "T", "1", "J", "w", "Y"}) {
    KsMember m(&f);
    m.SetAsString(yes);
    EXPECT_TRUE(m.GetAsBoolean()) << yes;
  }
  for (const char* no : {"nein", "0", "x", "",
                         "\xDC"
                         "berall",
                         "N"}) {
    KsMember m(&f);
    m.SetAsString(no);
    EXPECT_FALSE(m.GetAsBoolean()) << no;
  }
}

TEST(KsMemberList, FindAndAssign) {
  KsFieldDesc bez = Field(ftString);
  bez.Name = "BEZ";
  KsFieldDesc bez2 = Field(ftString);
  bez2.Name = "BEZ";
  KsFieldDesc ep = Field(ftFloat);
  ep.Name = "EP";
  KsMemberList list;
  list.AddMembers({&bez, &bez2});
  list.AddMembers({&ep});
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.FindOrMake("bez"), &list.GetOrMake(0));  // first of two equal names
  EXPECT_EQ(list.Find("Ep")->FieldDesc, &ep);
  EXPECT_EQ(list.Find("OZ"), nullptr);
  EXPECT_EQ(list.FindOrMake("OZ"), nullptr);

  KsMember* firstAddress = &list.GetOrMake(0);
  list.AddMembers({&ep});  // further blocks never move earlier members
  EXPECT_EQ(firstAddress, &list.GetOrMake(0));

  KsMemberList source;
  source.AddMembers({&ep, &bez});
  source.GetOrMake(0).SetAsFloat(3.5);
  source.GetOrMake(1).SetAsString("Mauerwerk");
  list.AssignValues(source);
  EXPECT_EQ(list.Get(0).GetAsString(), "Mauerwerk");
  EXPECT_EQ(list.Get(1).GetAsString(), "Mauerwerk");
  EXPECT_EQ(list.Get(2).GetAsFloat(), 3.5);
  EXPECT_TRUE(list.Get(2).Modified);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

// A member of a child field holds its child, whatever its value; a member
// of any other field holds none and refuses one, and so does the blank a
// field without a member reads as.
TEST(KsMemberList, OnlyMembersOfChildFieldsHoldAChild) {
  KsFieldDesc key = Field(ftString);
  key.Name = "ID";
  KsFieldDesc element = Field(ftUnknown);
  element.Name = "ADRESSE";
  KsFieldDesc list = Field(ftCursor);
  list.Name = "ZUSTEXT";
  KsMemberList members;
  members.AddMembers({&key, &element, &list});
  int a = 0, b = 0;
  auto* address = reinterpret_cast<KsCustomObj*>(&a);  // only compared, never used
  auto* notes = reinterpret_cast<KsCustomObj*>(&b);
  EXPECT_EQ(members.Get(1).Child(), nullptr);
  members.GetOrMake(1).SetChild(address);
  members.GetOrMake(2).SetChild(notes);
  members.GetOrMake(1).SetValue(Variant("GAEBADRESSE"));
  members.GetOrMake(1).SetValue(Variant::Null());
  EXPECT_EQ(members.Get(1).Child(), address);
  EXPECT_EQ(members.Get(2).Child(), notes);

  EXPECT_THROW(members.GetOrMake(0).SetChild(address), std::logic_error);
  members.GetOrMake(0).SetChild(nullptr);
  EXPECT_EQ(members.Get(0).Child(), nullptr);
  members.GetOrMake(2).SetChild(nullptr);
  EXPECT_EQ(members.Get(2).Child(), nullptr);
  EXPECT_EQ(members.Get(1).Child(), address);
  members.Clear();
}

// Get, Find, All and HeldMembers read members in field order without making
// any; a field without a member reads as a fresh one of that field. Only the
// lookups named for it make one.
TEST(KsMemberList, ReadingMakesNoMembers) {
  std::vector<KsFieldDesc> fields(6, Field(ftString));
  const char* names[] = {"OZ", "MENGE", "ME", "EP", "GB", "BEZ"};
  for (size_t i = 0; i < fields.size(); ++i) fields[i].Name = names[i];
  KsMemberList list;
  list.AddMembers({&fields[0], &fields[1], &fields[2], &fields[3], &fields[4], &fields[5]});
  list.GetOrMake(4).SetAsString("12,50");
  list.FindOrMake("menge")->SetAsString("3");

  const KsMemberList& reading = list;
  std::vector<std::string> read;
  int i = 0;
  for (const KsMember& m : reading.All()) {
    EXPECT_EQ(&m, &reading.Get(i)) << i;
    EXPECT_EQ(m.FieldDesc, &fields[static_cast<size_t>(i)]);
    EXPECT_FALSE(m.Modified && !reading.Holds(i)) << i;
    read.push_back(m.GetAsString());
    ++i;
  }
  EXPECT_EQ(read, (std::vector<std::string>{"", "3", "", "", "12,50", ""}));
  EXPECT_THROW(reading.Get(reading.Count()), std::out_of_range);
  EXPECT_EQ(reading.Find("ep")->FieldDesc, &fields[3]);
  EXPECT_TRUE(reading.Find("bez")->Value.IsEmpty());
  std::vector<std::string> held;
  for (const KsMember& m : reading.HeldMembers()) held.push_back(m.Name());
  EXPECT_EQ(held, (std::vector<std::string>{"MENGE", "GB"}));
  for (const int blank : {0, 2, 3, 5}) EXPECT_FALSE(reading.Holds(blank)) << blank;
  list.MakeAll();
  for (int k = 0; k < list.Count(); ++k) EXPECT_TRUE(list.Holds(k)) << k;
  EXPECT_EQ(list.Get(1).GetAsString(), "3");
}

// Lists longer than the members a list marks as made at a glance: fields on
// both sides of that limit are found alike, whatever the order they were made
// in, and a member keeps its place while more are made around it.
TEST(KsMemberList, ManyFieldsAreHeldAndReadAlike) {
  std::vector<KsFieldDesc> fields(70, Field(ftString));
  std::vector<const KsFieldDesc*> layout;
  for (size_t i = 0; i < fields.size(); ++i) {
    fields[i].Name = "F" + std::to_string(i);
    layout.push_back(&fields[i]);
  }
  KsMemberList list;
  list.AddMembers(layout);
  const std::vector<int> made = {69, 2, 64, 0, 63, 66, 1, 65, 30, 68, 10, 67, 62, 3};
  std::vector<const KsMember*> places;
  for (const int i : made) {
    KsMember& m = list.GetOrMake(i);
    m.SetAsString(std::to_string(i));
    places.push_back(&m);
  }
  for (size_t k = 0; k < made.size(); ++k) {
    EXPECT_EQ(&list.GetOrMake(made[k]), places[k]) << made[k];
    EXPECT_EQ(&list.Get(made[k]), places[k]) << made[k];
    EXPECT_EQ(list.Get(made[k]).FieldIndex(), made[k]);
  }
  int i = 0;
  for (const KsMember& m : list.All()) {
    const bool isMade = std::find(made.begin(), made.end(), i) != made.end();
    EXPECT_EQ(list.Holds(i), isMade) << i;
    EXPECT_EQ(m.GetAsString(), isMade ? std::to_string(i) : "") << i;
    EXPECT_EQ(&m, &list.Get(i)) << i;
    ++i;
  }
  EXPECT_EQ(i, 70);
  std::vector<int> held;
  for (const KsMember& m : list.HeldMembers()) held.push_back(m.FieldIndex());
  std::vector<int> sorted = made;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(held, sorted);
  EXPECT_FALSE(list.Holds(-1));
  EXPECT_FALSE(list.Holds(70));
  EXPECT_EQ(list.Find("F64")->GetAsString(), "64");
  list.Clear();
  list.AddMembers(layout);
  for (int k = 0; k < list.Count(); ++k) EXPECT_FALSE(list.Holds(k)) << k << " after Clear";
}

// A value the target cannot take ends the copy with the field's name; the
// copy is not taken for whole.
TEST(KsMemberList, CopyThatFailsNamesTheField) {
  KsFieldDesc name = Field(ftString);
  name.Name = "NAME";
  KsFieldDesc code = Field(ftString, 5, '0', taRightJustify);
  code.Name = "CODE";
  KsMemberList target;
  target.AddMembers({&name, &code});
  KsFieldDesc raw = Field(ftUnknown);
  raw.Name = "CODE";
  KsMemberList source;
  source.AddMembers({&name, &raw});
  source.GetOrMake(0).SetAsString("Rohbau");
  int object = 0;
  source.GetOrMake(1).SetValue(Variant::FromPointer(&object));  // has no text
  try {
    target.AssignValues(source);
    FAIL() << "no error";
  } catch (const VariantError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Feld CODE: ", 0), 0u) << e.what();
  }
  EXPECT_EQ(target.Get(0).GetAsString(), "Rohbau");
}

TEST(KsMember, NoMemberIsEmptyAndUntyped) {
  EXPECT_EQ(NoMember().GetFieldType(), ftUnknown);
  EXPECT_TRUE(NoMember().Value.IsEmpty());
  EXPECT_EQ(NoMember().Name(), "");
}

}  // namespace
