#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <stdexcept>

#include "archive/archive_schema.h"
#include "archive/earlier_prices.h"
#include "db/query.h"
#include "tests/archive/archive_fixture.h"
#include "tests/support/test_files.h"

namespace {

ArchivedPosition Entry(const std::string& oz, const std::string& text, const std::string& unit,
                       double ep, const std::string& catalog = "") {
  ArchivedPosition p;
  p.Oz = oz;
  p.ShortText = text;
  p.LongText = "Langtext von " + text;
  p.Unit = unit;
  p.Quantity = 12.5;
  p.Ep = ep;
  p.Catalog = catalog;
  return p;
}

ArchivedOffer Offer(const std::string& file, const std::string& date,
                    std::vector<ArchivedPosition> positions) {
  ArchivedOffer o;
  o.OfferFile = file;
  o.Tender = "LV " + file;
  o.LvKey = "lv " + file;
  o.Project = "Projekt";
  o.Client = "Stadt Musterhausen";
  o.Date = date;
  o.Positions = std::move(positions);
  return o;
}

std::vector<double> Prices(const EarlierPrices& found) {
  std::vector<double> prices;
  for (const ArchiveMatch& m : found.Matches) prices.push_back(m.Entry.Position.Ep);
  return prices;
}

class ArchiveStore : public ArchiveTest {};

TEST_P(ArchiveStore, TablesAreMadeOnceWithTheirVersion) {
  { auto archive = Open(); }
  auto archive = Open();
  EXPECT_EQ(db->Texts("select VERSION from ARCHIVEVERSION"),
            std::vector<std::string>{std::to_string(kArchiveSchemaVersion)});
  EXPECT_EQ(archive->Counts(), (std::pair<int, int>{0, 0}));
}

TEST_P(ArchiveStore, ANewerArchiveIsRefusedAndLeftAsItIs) {
  { auto archive = Open(); }
  db->Exec({"update ARCHIVEVERSION set VERSION = 7"});
  try {
    Open();
    FAIL() << "opened";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("hat die Version 7"), std::string::npos) << e.what();
  }
  EXPECT_EQ(db->Texts("select VERSION from ARCHIVEVERSION"), std::vector<std::string>{"7"});
}

TEST_P(ArchiveStore, ADatabaseOfOtherTablesIsNoArchive) {
  db->Exec({"create table KUNDEN (NR integer)"});
  EXPECT_THROW(Open(), std::runtime_error);
  EXPECT_EQ(db->Texts("select count(*) from KUNDEN"), std::vector<std::string>{"0"});
  const std::string tables = GetParam() == Engine::SQLite
                                 ? "select count(*) from sqlite_master"
                                 : "select count(*) from information_schema.tables where "
                                   "table_schema = current_schema()";
  EXPECT_EQ(db->Texts(tables), std::vector<std::string>{"1"});
}

// Texts that would break a statement built from them are kept and found as
// they are: every value goes in as a parameter.
TEST_P(ArchiveStore, HostileTextsAreStoredAndFoundAsTheyAre) {
  const std::string hostile[] = {"Bauzaun 'herstellen'; drop table ARCHPOS; --",
                                 "O\"Reilly \\ 100% _ select * from ARCHOFFER",
                                 "Fl\xE4"
                                 "che \xBD m\xB2 \x80 ' or '1'='1"};
  auto archive = Open();
  std::vector<ArchivedPosition> positions;
  for (int i = 0; i < 3; ++i)
    positions.push_back(Entry("01." + std::to_string(i), hostile[i], "m'2", 10 + i, hostile[i]));
  archive->Store(Offer("/tmp/a'; delete from ARCHPOS; --.D84", "2026-01-02", positions));
  EXPECT_EQ(archive->Counts(), (std::pair<int, int>{1, 3}));
  for (int i = 0; i < 3; ++i) {
    const std::vector<ArchiveMatch> found = archive->Find({hostile[i], hostile[i], "m'2", "", ""});
    ASSERT_EQ(found.size(), 1u) << i;
    EXPECT_EQ(found[0].Fit, ArchiveFit::SameCatalog);
    EXPECT_EQ(found[0].Entry.Position.ShortText, hostile[i]);
    EXPECT_EQ(found[0].Entry.Position.Catalog, hostile[i]);
    EXPECT_EQ(found[0].Entry.Position.LongText, "Langtext von " + hostile[i]);
    EXPECT_EQ(found[0].Entry.OfferFile, "/tmp/a'; delete from ARCHPOS; --.D84");
    EXPECT_DOUBLE_EQ(found[0].Entry.Position.Ep, 10 + i);
  }
}

TEST_P(ArchiveStore, SavingTheSameOfferAgainReplacesItsEntries) {
  auto archive = Open();
  archive->Store(Offer("/a.D84", "2026-01-02",
                       {Entry("1", "Bauzaun", "m", 5.5), Entry("2", "Oberboden", "m3", 7.25)}));
  archive->Store(Offer("/b.D84", "2026-01-03", {Entry("1", "Bauzaun", "m", 6)}));
  ArchivedPosition withParts = Entry("1", "Bauzaun", "m", 9.125);
  withParts.Components[0] = 4.125;
  withParts.Components[5] = 5;
  archive->Store(Offer("/a.D84", "2026-02-01", {withParts}));
  EXPECT_EQ(archive->Counts(), (std::pair<int, int>{2, 2}));
  const std::vector<ArchiveMatch> found = archive->Find({"", "Bauzaun", "m", "", ""});
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].Entry.OfferFile, "/a.D84");  // the later date first
  EXPECT_DOUBLE_EQ(found[0].Entry.Position.Ep, 9.125);
  EXPECT_EQ(found[0].Entry.Position.Components[0], 4.125);
  EXPECT_FALSE(found[0].Entry.Position.Components[1].has_value());
  EXPECT_EQ(found[0].Entry.Position.Components[5], 5.0);
  EXPECT_EQ(found[0].Entry.Date, "2026-02-01");
  EXPECT_TRUE(archive->Find({"", "Oberboden", "m3", "", ""}).empty());

  // An offer saved without prices leaves nothing of its earlier entries.
  archive->Store(Offer("/a.D84", "2026-02-02", {}));
  EXPECT_EQ(archive->Counts(), (std::pair<int, int>{1, 1}));
}

// A large offer is written row by row as its positions come, still in one
// step: every row arrives numbered in order, the offer counts them, and a
// failure after some rows were written leaves the offer's earlier entries as
// they were.
TEST_P(ArchiveStore, ALargeOfferIsWrittenInPartsAndWhole) {
  const int n = 207;
  std::vector<ArchivedPosition> many;
  for (int i = 1; i <= n; ++i)
    many.push_back(Entry(std::to_string(i), "Position " + std::to_string(i), "St", i));
  auto archive = Open();
  archive->Store(Offer("/gross.D84", "2026-03-01", many));
  EXPECT_EQ(archive->Counts(), (std::pair<int, int>{1, n}));
  KsQuery q;
  q.SetDatabaseName(archive->Connection().Name());
  q.AddLine(
      "select o.POSITIONS, count(*), min(p.NR), max(p.NR), sum(p.EP), "
      "count(distinct p.OZ) from ARCHOFFER o join ARCHPOS p on p.OFFERID = o.OFFERID "
      "where cast(p.NR as varchar(10)) = p.OZ group by o.POSITIONS");
  q.OpenQuery();
  ASSERT_FALSE(q.Eof());
  EXPECT_EQ(q.FieldValue(0).ToInteger(), n);
  EXPECT_EQ(q.FieldValue(1).ToInteger(), n);
  EXPECT_EQ(q.FieldValue(2).ToInteger(), 1);
  EXPECT_EQ(q.FieldValue(3).ToInteger(), n);
  EXPECT_DOUBLE_EQ(q.FieldValue(4).ToFloat(), n * (n + 1) / 2.0);
  EXPECT_EQ(q.FieldValue(5).ToInteger(), n);
  q.Close();

  const auto failing = [&many](const std::function<void(const ArchivedPosition&)>& take) {
    for (int i = 0; i < 103; ++i) take(many[static_cast<size_t>(i)]);
    throw std::runtime_error("Die Verbindung ist abgebrochen.");
  };
  EXPECT_THROW(archive->Store(Offer("/gross.D84", "2026-04-01", {}), failing), std::runtime_error);
  EXPECT_EQ(archive->Counts(), (std::pair<int, int>{1, n}));
  const std::vector<ArchiveMatch> found = archive->Find({"", "Position 7", "St", "", ""});
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Entry.Date, "2026-03-01");
}

// Saved again while it is the latest offer, an offer keeps its rows and
// only what changed is written; the archive then holds what a fresh save of
// it would. An offer saved again after another one comes anew as the latest.
TEST_P(ArchiveStore, SavedAgainItHoldsWhatAFreshSaveWouldAndWritesOnlyWhatChanged) {
  std::vector<ArchivedPosition> first;
  for (int i = 1; i <= 150; ++i)
    first.push_back(Entry(std::to_string(i), "Position " + std::to_string(i), "m", i));
  first[3].Quantity.reset();
  first[4].Components[2] = 1.25;
  auto archive = Open();
  archive->Store(Offer("/a.D84", "2026-03-01", first));
  archive->Store(Offer("/b.D84", "2026-03-01", {Entry("1", "Bauzaun", "m", 8)}));
  archive->Store(Offer("/a.D84", "2026-03-01", first));
  const auto numbers = [this] {
    return db->Texts("select OFFERFILE from ARCHOFFER order by OFFERID");
  };
  EXPECT_EQ(numbers(), (std::vector<std::string>{"/b.D84", "/a.D84"}));

  if (GetParam() == Engine::SQLite)
    db->Exec({"create table WRITTEN (NR integer)",
              "create trigger ROWUPDATED after update on ARCHPOS begin insert into WRITTEN "
              "values (new.NR); end",
              "create trigger ROWINSERTED after insert on ARCHPOS begin insert into WRITTEN "
              "values (new.NR); end"});
  std::vector<ArchivedPosition> second(first.begin(), first.end() - 30);
  second[1].Ep = 99.5;
  second[3].Quantity = 3;
  second[4].Components[2].reset();
  second[110].ShortText = "Position 111, ge\xE4ndert";
  archive->Store(Offer("/a.D84", "2026-03-01", second));
  EXPECT_EQ(numbers(), (std::vector<std::string>{"/b.D84", "/a.D84"}));
  if (GetParam() == Engine::SQLite) {
    EXPECT_EQ(db->Texts("select NR from WRITTEN order by NR"),
              (std::vector<std::string>{"2", "4", "5", "111"}));
  }

  archive->Store(Offer("/fresh.D84", "2026-03-01", second));
  const auto rows = [this](const char* file) {
    return db->Texts(
        "select p.NR, p.OZ, p.SHORTTEXT, p.LONGTEXT, p.UNIT, p.QUANTITY, p.EP, p.EPANTEIL1, "
        "p.EPANTEIL2, p.EPANTEIL3, p.EPANTEIL4, p.EPANTEIL5, p.EPANTEIL6, p.CATALOG, p.TEXTKEY, "
        "p.UNITKEY, p.OFFERDATE, o.POSITIONS, o.OFFERDATE from ARCHPOS p join ARCHOFFER o on "
        "o.OFFERID = p.OFFERID where o.OFFERFILE = '" +
        std::string(file) + "' order by p.NR");
  };
  EXPECT_EQ(rows("/a.D84").size(), 120u);
  EXPECT_EQ(rows("/a.D84"), rows("/fresh.D84"));

  // A later day is written whole; without priced positions the offer goes.
  archive->Store(Offer("/fresh.D84", "2026-03-02", second));
  EXPECT_EQ(db->Texts("select distinct p.OFFERDATE from ARCHPOS p join ARCHOFFER o on "
                      "o.OFFERID = p.OFFERID where o.OFFERFILE = '/fresh.D84'"),
            std::vector<std::string>{"2026-03-02"});
  archive->Store(Offer("/fresh.D84", "2026-03-02", {}));
  EXPECT_EQ(archive->Counts(), (std::pair<int, int>{2, 121}));
}

TEST_P(ArchiveStore, FitsComeCatalogueFirstThenTextWithTheSameUnit) {
  auto archive = Open();
  archive->Store(Offer("/alt.D84", "2025-03-01",
                       {Entry("1", "Bauzaun herstellen, vorhalten und entfernen", "m", 8),
                        Entry("2", "Bauzaun herst., vorh., entf.", "lfm", 9),
                        Entry("3", "BAUZAUN herstellen vorhalten entfernen", "St", 99),
                        Entry("4", "Schutzzaun", "m", 12, "STLNR:123")}));
  archive->Store(Offer("/neu.D84", "2026-03-01",
                       {Entry("7", "Bauzaun herstellen/vorhalten/entfernen", "m", 10)}));
  const std::vector<ArchiveMatch> found =
      archive->Find({"STLNR:123", "Bauzaun herstellen, vorhalten, entfernen", "m", "", ""});
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].Fit, ArchiveFit::SameCatalog);
  EXPECT_DOUBLE_EQ(found[0].Entry.Position.Ep, 12);
  EXPECT_EQ(found[1].Fit, ArchiveFit::SameText);
  // Same text, newest first; the one in pieces (St) is no fit.
  EXPECT_DOUBLE_EQ(found[1].Entry.Position.Ep, 10);
  // Within one offer the later position first.
  EXPECT_EQ(found[2].Entry.Position.Oz, "2");
  EXPECT_EQ(found[3].Entry.Position.Oz, "1");

  // A suggestion asks for the best-fitting group alone.
  ArchiveQuery best{"STLNR:123", "Bauzaun herstellen, vorhalten, entfernen", "m", "", ""};
  best.BestFitOnly = true;
  const std::vector<ArchiveMatch> catalogue = archive->Find(best);
  ASSERT_EQ(catalogue.size(), 1u);
  EXPECT_EQ(catalogue[0].Fit, ArchiveFit::SameCatalog);
  best.Catalog = "STLNR:999";
  const std::vector<ArchiveMatch> text = archive->Find(best);
  ASSERT_EQ(text.size(), 3u);
  EXPECT_EQ(text[0].Fit, ArchiveFit::SameText);
  EXPECT_DOUBLE_EQ(text[0].Entry.Position.Ep, 10);

  // The free text search of the command line takes every unit.
  const EarlierPrices any = FindEarlierPrices(*archive, "bauzaun HERSTELLEN vorhalten entfernen");
  EXPECT_EQ(Prices(any), (std::vector<double>{10, 99, 9, 8}));
  EXPECT_EQ(any.Statistics.Count, 4);
  EXPECT_DOUBLE_EQ(any.Statistics.Last, 10);
  EXPECT_DOUBLE_EQ(any.Statistics.Lowest, 8);
  EXPECT_DOUBLE_EQ(any.Statistics.Median, 9.5);  // (9 + 10) / 2
  EXPECT_DOUBLE_EQ(any.Statistics.Highest, 99);
}

TEST_P(ArchiveStore, AnUnreachableArchiveSaysWhereItIs) {
  ArchiveLocation location = Location();
  if (location.Kind == ArchiveLocation::Engine::SQLite) {
    location.File = "/proc/kein/archiv.sqlite";
  } else {
    location.Database = "gibt_es_nicht";
    location.Password = "geheim";
  }
  try {
    PriceArchive archive(location);
    FAIL() << "opened";
  } catch (const std::runtime_error& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find(GetParam() == Engine::SQLite ? "/proc/kein" : "gibt_es_nicht"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("geheim"), std::string::npos) << text;
  }
}

TARVO_ON_BOTH_ENGINES(ArchiveStore);

// Files that are no archive are refused before anything is written to them.
TEST(ArchiveFile, DamagedOrForeignFilesAreRefusedAndLeftUntouched) {
  TempDir dir;
  const std::string tender = dir.Write("lv.sqlite", "GAEB-Datei, keine Datenbank\n");
  std::string damaged(4096, '\x7f');
  damaged.replace(0, 16, std::string("SQLite format 3\0", 16));
  const std::string broken = dir.Write("kaputt.sqlite", damaged);
  for (const std::string& file : {tender, broken}) {
    const std::string before = ReadFile(file);
    ArchiveLocation location;
    location.File = file;
    try {
      PriceArchive archive(location);
      ADD_FAILURE() << "opened " << file;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
      EXPECT_NE(std::string(e.what()).find("unver\xE4ndert"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ReadFile(file), before) << file;
  }
}

TEST(ArchiveFile, TheDefaultArchiveIsInTheUsersDataFolder) {
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string keep = saved ? saved : "";
  setenv("XDG_DATA_HOME", "/srv/daten", 1);
  EXPECT_EQ(ArchiveLocation::Default().File, "/srv/daten/Tarvo_Redurir/Preisarchiv.sqlite");
  if (saved)
    setenv("XDG_DATA_HOME", keep.c_str(), 1);
  else
    unsetenv("XDG_DATA_HOME");
}

TEST(ArchiveFile, TheCommandLineNamesAServerByItsParts) {
  const ArchiveLocation l =
      ArchiveLocation::Parse("postgresql:dbname=preise host=/run/postgresql user=anna");
  EXPECT_EQ(l.Kind, ArchiveLocation::Engine::PostgreSQL);
  EXPECT_EQ(l.Describe(), "PostgreSQL anna@/run/postgresql:5432/preise");
  EXPECT_EQ(ArchiveLocation::Parse("/x/a.sqlite").File, "/x/a.sqlite");
  EXPECT_THROW(ArchiveLocation::Parse("postgresql:host=h"), std::runtime_error);
  EXPECT_THROW(ArchiveLocation::Parse("postgresql:host=h dbname=d port=x"), std::runtime_error);
  EXPECT_THROW(ArchiveLocation::Parse("postgresql:host=h dbname=d password=x"), std::runtime_error);
}

}  // namespace
