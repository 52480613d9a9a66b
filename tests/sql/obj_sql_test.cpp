#include <gtest/gtest.h>

#include <functional>

#include "core/eobj.h"
#include "db/query.h"
#include "tests/sql/sql_schema.h"
#include "tests/support/recording_message_boxes.h"
#include "util/date_time.h"

namespace {

// An operation and the EObj message it must raise.
struct ErrorCase {
  std::function<void()> run;
  std::string message;
};

template <size_t N>
void ExpectErrors(const ErrorCase (&cases)[N]) {
  for (const ErrorCase& c : cases) {
    try {
      c.run();
      ADD_FAILURE() << "no error, expected " << c.message;
    } catch (const EObj& e) {
      EXPECT_EQ(e.what(), c.message);
    }
  }
}

class ObjSql : public SchemaTest {
 protected:
  static std::string StoreText(KsObj& obj) {
    KsQuery q;
    obj.BuildStoreQuery(q, false);
    return q.Text();
  }
  static std::string LoadText(KsObj& obj, const std::vector<Variant>& keys) {
    KsQuery q;
    obj.BuildLoadQuery(q, keys);
    return q.Text();
  }
  static double Day(int y, int m, int d) {
    double v = 0;
    TryEncodeDate(y, m, d, v);
    return v;
  }
  RecordingMessageBoxes boxes;
};

TEST_P(ObjSql, NewObjectIsInsertedWithItsNonEmptyMembers) {
  auto head = NewHead(&Main(), "H1");
  head->GetMember("NAME").SetAsString("Rohbau");
  head->GetMember("CNT").SetAsInteger(5);
  head->GetMember("DAY").SetAsDateTime(0);  // Null: not inserted
  EXPECT_EQ(StoreText(*head), "insert into SQLHEAD (ID,NAME,CNT) values (:ID,:NAME,:CNT) ");
  head->StoreToDB();
  EXPECT_EQ(db->Texts("select ID, NAME, CNT, PRICE, DAY from SQLHEAD"),
            std::vector<std::string>{"H1|Rohbau|5|<null>|<null>"});
  EXPECT_EQ(head->StoredValueOf(head->GetMember("ID")).ToString(), "H1");
  EXPECT_FALSE(head->GetMember("NAME").Modified);
  EXPECT_TRUE(head->GetMember("DAY").Modified);
}

TEST_P(ObjSql, UpdateWritesOnlyChangedMembersToTheRowOfTheOldKey) {
  auto head = NewHead(&Main(), "H1");
  head->GetMember("NAME").SetAsString("Alt");
  head->GetMember("CNT").SetAsInteger(5);
  head->StoreToDB();
  db->Exec({"update SQLHEAD set CNT = 99, PRICE = 1.5"});  // someone else's change

  head->GetMember("NAME").SetAsString("Neu");
  EXPECT_EQ(StoreText(*head), "update SQLHEAD set NAME=:NAME where \nID=:ID_OLD ");
  head->StoreToDB();
  EXPECT_EQ(db->Texts("select ID, NAME, CNT, PRICE from SQLHEAD"),
            std::vector<std::string>{"H1|Neu|99|1,5"});
  EXPECT_FALSE(head->IsModified());

  KsQuery nothing;
  EXPECT_FALSE(head->BuildStoreQuery(nothing, false));
  EXPECT_EQ(nothing.Text(), "");
}

TEST_P(ObjSql, KeyChangedInMemoryMovesTheStoredRow) {
  auto head = NewHead(&Main(), "H1");
  head->GetMember("NAME").SetAsString("A");
  head->StoreToDB();
  head->GetMember("ID").SetAsString("H2");
  EXPECT_EQ(StoreText(*head), "update SQLHEAD set ID=:ID where \nID=:ID_OLD ");
  head->StoreToDB();
  EXPECT_EQ(db->Texts("select ID, NAME from SQLHEAD"), std::vector<std::string>{"H2|A"});
  EXPECT_EQ(head->StoredValueOf(head->GetMember("ID")).ToString(), "H2");
}

TEST_P(ObjSql, DeleteRunsOnlyForStoredObjects) {
  db->Exec({"insert into SQLHEAD (ID, NAME) values ('H1', 'da')"});
  auto fresh = NewHead(&Main(), "H1");
  fresh->DeleteFromDB();  // never stored: no statement, although the key matches a row
  EXPECT_EQ(db->Texts("select ID from SQLHEAD"), std::vector<std::string>{"H1"});

  auto loaded = NewHead(&Main(), "");
  loaded->LoadFromDB({Variant("H1")});
  loaded->DeleteFromDB();
  EXPECT_TRUE(db->Texts("select ID from SQLHEAD").empty());
  EXPECT_TRUE(loaded->StoredKey(0).IsNull());
  EXPECT_FALSE(loaded->KeyStored());
  EXPECT_TRUE(loaded->StoredValueOf(loaded->GetMember("NAME")).IsEmpty());  // no key member
  EXPECT_EQ(loaded->State & osInDatabase, 0);
}

TEST_P(ObjSql, EveryFieldTypeRoundTrips) {
  const std::string text =
      "Gr\xFC\xDF"
      "e \x96 'x' \x80";
  const std::string memo = "Zeile 1\r\nZeile 2 \xE4\xF6\xFC\xDF \x84Zitat\x93";
  const std::string bytes("\x00\x01'\\\xFF\x80 ", 7);
  const double stamp = Day(2024, 5, 17) + EncodeTime(8, 30, 15, 125);
  auto head = NewHead(&Main(), "H1");
  head->GetMember("NAME").SetAsString(text);
  head->GetMember("CNT").SetAsInteger(-2147483647);
  head->GetMember("SMALL").SetValue(Variant("12"));  // bound as an integer
  head->GetMember("PRICE").SetAsFloat(1234.5678);
  head->GetMember("AMOUNT").SetValue(Variant::FromCurrency(-12.34));
  head->GetMember("DONE").SetAsBoolean(true);
  head->GetMember("DAY").SetAsString("17.05.2024");  // a text by the user's date format
  head->GetMember("CLOCK").SetAsDateTime(EncodeTime(23, 59, 58, 0));
  head->GetMember("STAMP").SetAsDateTime(stamp);
  head->GetMember("NOTE").SetAsString(memo);
  head->GetMember("DATA").SetValue(Variant(bytes));
  head->StoreToDB();

  auto back = NewHead(&Main(), "",
                      {Variant("LOAD_BLOB"), Variant(true), Variant("LOAD_MEMO"), Variant(true)});
  back->LoadFromDB({Variant("H1")});
  const KsMember& m = back->GetMember("NAME");
  EXPECT_EQ(m.GetAsString(), text);
  EXPECT_EQ(back->GetMember("CNT").GetAsInteger(), -2147483647);
  EXPECT_EQ(back->GetMember("SMALL").GetAsInteger(), 12);
  EXPECT_EQ(back->GetMember("PRICE").GetAsFloat(), 1234.5678);
  EXPECT_DOUBLE_EQ(back->GetMember("AMOUNT").GetAsFloat(), -12.34);
  EXPECT_TRUE(back->GetMember("DONE").GetAsBoolean());
  EXPECT_EQ(back->GetMember("DAY").GetAsFloat(), Day(2024, 5, 17));
  EXPECT_DOUBLE_EQ(back->GetMember("CLOCK").GetAsFloat(), EncodeTime(23, 59, 58, 0));
  EXPECT_DOUBLE_EQ(back->GetMember("STAMP").GetAsFloat(), stamp);
  EXPECT_EQ(back->GetMember("STAMP").GetAsString(), "17.05.2024 08:30:15");
  EXPECT_EQ(back->GetMember("NOTE").GetAsString(), memo);
  EXPECT_EQ(back->GetMember("DATA").GetAsString(), bytes);
  EXPECT_FALSE(back->IsModified());
  EXPECT_EQ(back->State, osInDatabase | osLoadTried);
  EXPECT_EQ(db->Texts("select NAME from SQLHEAD where DONE = '1'").size(), 1u);
}

TEST_P(ObjSql, NullsAreWrittenUnlessTheFlagLeavesThemOut) {
  auto head = NewHead(&Main(), "H1");
  for (const char* name : {"NAME", "CNT", "PRICE", "DONE", "DAY", "STAMP", "NOTE", "DATA"})
    head->GetMember(name).SetValue(Variant("1"));
  head->StoreToDB();
  for (const char* name : {"NAME", "CNT", "PRICE", "DONE", "DAY", "STAMP", "NOTE", "DATA"})
    head->GetMember(name).SetValue(Variant::Null());
  head->Flags |= ofUpdateSkipNull;
  EXPECT_EQ(StoreText(*head), "");
  head->Flags &= static_cast<uint16_t>(~ofUpdateSkipNull);
  head->StoreToDB();
  EXPECT_EQ(db->Texts("select ID, NAME, CNT, PRICE, DONE, DAY, STAMP, NOTE, DATA from SQLHEAD"),
            std::vector<std::string>{"H1|<null>|<null>|<null>|<null>|<null>|<null>|<null>|<null>"});
}

TEST_P(ObjSql, LoadSetsStateAndKeysAndSelectsColumnsByFlags) {
  db->Exec({"insert into SQLHEAD (ID, NAME, NOTE, DATA) values ('H1', 'Kopf', 'lang', NULL)"});
  auto head = NewHead(&Main(), "");
  EXPECT_EQ(LoadText(*head, {Variant("H1")}),
            "select ID,NAME,CNT,SMALL,PRICE,AMOUNT,DONE,DAY,CLOCK,STAMP from SQLHEAD where "
            "\nID=:PK_ID");
  head->LoadFromDB({Variant("H1")});
  EXPECT_EQ(head->GetMember("NAME").GetAsString(), "Kopf");
  EXPECT_TRUE(head->GetMember("NOTE").Value.IsEmpty());  // memo not asked for
  EXPECT_EQ(head->StoredValueOf(head->GetMember("ID")).ToString(), "H1");
  EXPECT_EQ(head->State, osInDatabase | osLoadTried);

  head->Flags |= ofLoadMemo | ofLoadEmptyOnly;
  EXPECT_EQ(LoadText(*head, {Variant("H1")}), "select NOTE from SQLHEAD where \nID=:PK_ID");
  head->LoadFromDB({Variant("H1")});
  EXPECT_EQ(head->GetMember("NOTE").GetAsString(), "lang");
  head->Flags = ofLoadBlob;
  EXPECT_EQ(LoadText(*head, {Variant("H1")}),
            "select ID,NAME,CNT,SMALL,PRICE,AMOUNT,DONE,DAY,CLOCK,STAMP,DATA from SQLHEAD where "
            "\nID=:PK_ID");

  head->LoadFromDB({Variant("NOPE")});
  EXPECT_EQ(head->State, osLoadTried);
  EXPECT_EQ(head->GetMember("NAME").GetAsString(), "Kopf");
}

TEST_P(ObjSql, OnDemandChildLoadsOnlyWhenTheParentAsks) {
  db->Exec({"insert into SQLHEAD (ID) values ('H1')",
            "insert into SQLNOTE (HEADID, REMARK) values ('H1', 'Hinweis')"});
  for (bool ask : {false, true}) {
    auto head = NewHead(&Main(), "", {Variant("LOAD_ONDEMAND"), Variant(ask)});
    SqlNote& note = head->AddNote();
    head->LoadFromDB({Variant("H1")});
    EXPECT_EQ(note.GetMember("REMARK").GetAsString(), ask ? "Hinweis" : "") << ask;
    EXPECT_EQ(note.State, ask ? osInDatabase | osLoadTried : 0) << ask;
  }
}

TEST_P(ObjSql, PaddedKeysAreLookedUpAsStored) {
  // A key with a fill character is stored padded; one without is not padded
  // with anything when it is looked up.
  db->Exec({"create table SQLPAD (CODE varchar(5) primary key, NAME varchar(10))",
            "insert into SQLHEAD (ID, NAME) values ('H1', 'ohne')"});
  auto pad = NewGeneric(&Main(), "SQLPAD");
  pad->GetMember("CODE").SetAsString("42");
  pad->GetMember("NAME").SetAsString("mit");
  pad->StoreToDB();
  EXPECT_EQ(db->Texts("select CODE from SQLPAD"), std::vector<std::string>{"00042"});
  auto again = NewGeneric(&Main(), "SQLPAD");
  again->LoadFromDB({Variant("42")});
  EXPECT_EQ(again->GetMember("NAME").GetAsString(), "mit");
  auto head = NewHead(&Main(), "");
  head->LoadFromDB({Variant("H1")});
  EXPECT_EQ(head->GetMember("NAME").GetAsString(), "ohne");
}

TEST_P(ObjSql, MissingKeysAndConnectionsRaiseGermanErrors) {
  auto nokey = NewGeneric(&Main(), "SQLNOKEY");
  auto missing = NewGeneric(&Main(), "SQLMISSING");
  auto keyless = NewHead(&Main(), "");
  auto offline = NewHead(nullptr, "H1");
  auto list = NewHead(&Main(), "H1");
  const std::string noKey = "Im Objekt \"SQLNOKEY\" wurde kein PK definiert [KsObjGeneric.";
  const std::string noValue =
      "Zum Laden/Speichern des Objektes \"SQLHEAD\" wurde kein Wert f\xFCr den PK angegeben.";
  KsQuery q;
  const ErrorCase cases[] = {
      {[&] { nokey->LoadFromDB({Variant(1)}); }, noKey + "LoadFromDB]"},
      {[&] { static_cast<KsObj&>(*nokey).BuildLoadQuery(q, {Variant(1)}); },
       noKey + "BuildLoadQuery]"},
      {[&] { nokey->StoreToDB(); }, noKey + "BuildStoreQuery]"},
      {[&] { nokey->DeleteFromDB(); }, noKey + "DeleteSelfFromDB]"},
      {[&] { keyless->LoadFromDB({}); }, noValue + " [SqlHead.BuildLoadQuery]"},
      {[&] { keyless->StoreToDB(); }, noValue + " Feld:ID [SqlHead.BuildStoreQuery]"},
      {[&] { offline->StoreToDB(); },
       "F\xFCr das Objekt \"SQLHEAD\" ist keine Datenbankverbindung gesetzt. "
       "[SqlHead.BuildStoreQuery]"},
      {[&] {
         list->ItemList().LoadFromDB({Variant("H1"), Variant(1)});
       },
       "Zum Laden der Liste \"SQLITEM\" wurden 2 PK-Werte angegeben, sie hat aber nur 1 PKs. "
       "[SqlItemList.LoadFromDB]"},
      {[&] { missing->LoadFromDB({Variant("x")}); },
       "Beim Laden des Objektes trat ein Fehler auf. " +
           std::string("select ID,NAME from SQLMISSING where \nID=:PK_ID").substr(0, 40) +
           "... [KsObjGeneric.ExecuteLoadQuery]"},
  };
  ExpectErrors(cases);
  EXPECT_FALSE(Main().InTransaction());
}

TEST_P(ObjSql, NamesThatAreNoIdentifiersNeverReachTheDatabase) {
  const std::string evilTable = kEvilTable;
  auto evil = NewGeneric(&Main(), evilTable);
  evil->GetMember("ID").SetAsString("x");
  auto bad = NewGeneric(&Main(), "SQLBADCOL");
  bad->GetMember("ID").SetAsString("x");
  const std::string table = "Der Tabellenname \"" + evilTable +
                            "\" ist in SQL-Anweisungen nicht zul\xE4ssig (erlaubt sind "
                            "Buchstaben, Ziffern und Unterstrich). [KsObjGeneric.";
  const std::string column =
      " der Tabelle \"SQLBADCOL\" ist in SQL-Anweisungen nicht zul\xE4ssig (erlaubt sind "
      "Buchstaben und Ziffern). [KsObjGeneric.";
  const ErrorCase cases[] = {
      {[&] { evil->StoreToDB(); }, table + "BuildStoreQuery]"},
      {[&] { evil->LoadFromDB({Variant("x")}); }, table + "BuildLoadQuery]"},
      {[&] { bad->LoadFromDB({Variant("x")}); },
       "Der Spaltenname \"X_OLD\"" + column + "BuildLoadQuery]"},
      {[&] {
         bad->GetMember("A=1 or 1").SetAsString("y");
         bad->StoreToDB();
       },
       "Der Spaltenname \"A=1 or 1\"" + column + "BuildStoreQuery]"},
  };
  ExpectErrors(cases);
  EXPECT_TRUE(db->Texts("select HEADID from SQLITEM").empty());  // the table is still there
}

TARVO_ON_BOTH_ENGINES(ObjSql);

}  // namespace
