// Storing and loading 100,000 items of one list on SQLite, each in the one
// transaction the list opens for itself. Items per second are rows per second.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/obj.h"
#include "core/obj_list.h"
#include "db/database.h"
#include "db/query.h"

namespace {

constexpr int kItems = 100000;

std::unique_ptr<KsFBDesc> Row() {
  auto d = std::make_unique<KsFBDesc>("BENCHROW", "ROW");
  d->AddField(true, "HEADID", "", "", ftString, 10);
  d->AddField(true, "NR", "", "", ftInteger);
  d->AddField(false, "OZ", "", "", ftString, 20);
  d->AddField(false, "TEXT", "", "", ftString, 60);
  d->AddField(false, "QTY", "", "", ftFloat);
  d->AddField(false, "PRICE", "", "", ftCurrency);
  d->IndexDescs.push_back(std::make_unique<IndexDesc>(IndexDesc{"PK", "HEADID,NR", true}));
  return d;
}

class BenchRow : public KsObj {
 public:
  static const ObjClass& StaticClass() {
    struct Cls : ObjClass {
      Cls()
          : ObjClass("BenchRow", &KsObj::StaticClass(),
                     [] { return static_cast<KsCustomObj*>(new BenchRow); }) {}
      const std::string& ClassTablename() const override {
        static const std::string name = "BENCHROW";
        return name;
      }
    };
    static const Cls cls;
    return cls;
  }
  const ObjClass& Class() const override { return StaticClass(); }
};

class RowList : public KsObjList {
 public:
  static const ObjClass& StaticClass() {
    struct Cls : ObjListClass {
      Cls()
          : ObjListClass("RowList", &KsObjList::StaticClass(),
                         [] { return static_cast<KsCustomObj*>(new RowList); }) {}
      const ObjClass* ClassItemClass() const override { return &BenchRow::StaticClass(); }
    };
    static const Cls cls;
    return cls;
  }
  const ObjClass& Class() const override { return StaticClass(); }
};

// A database file in a temporary folder with the table, removed afterwards.
class BenchDatabase {
 public:
  BenchDatabase() {
    RegisterDescriptor("BENCHROW", Row);
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvo-bench-XXXXXX").string();
    folder_ = mkdtemp(pattern.data());
    ConnectionParams p;
    p.DatabaseName = folder_ + "/bench.db";
    db = std::make_unique<DbConnection>("bench", p);
    Exec(
        "create table BENCHROW (HEADID varchar(10), NR integer, OZ varchar(20), TEXT "
        "varchar(60), QTY double precision, PRICE numeric(15,3), primary key (HEADID, NR))");
  }
  ~BenchDatabase() {
    db.reset();
    std::filesystem::remove_all(folder_);
  }
  void Exec(const std::string& sql) {
    KsQuery q;
    q.SetDatabaseName("bench");
    q.AddLine(sql);
    q.ExecQuery();
  }
  std::unique_ptr<RowList> NewList() {
    std::unique_ptr<RowList> list(
        static_cast<RowList*>(RowList::StaticClass().CreateObj(nullptr, {}, db.get())));
    list->ChangePKValues({Variant("LV1")});
    return list;
  }
  std::unique_ptr<RowList> FilledList() {
    auto list = NewList();
    for (int i = 1; i <= kItems; ++i) {
      KsCustomObj* row = list->Add();
      row->GetMember("NR").SetAsInteger(i);
      row->GetMember("OZ").SetAsString("01.02." + std::to_string(i));
      row->GetMember("TEXT").SetAsString("Mauerwerk aus Kalksandstein, Dicke 24 cm, Nr. " +
                                         std::to_string(i));
      row->GetMember("QTY").SetAsFloat(i * 0.25);
      row->GetMember("PRICE").SetAsFloat(12.345);
    }
    return list;
  }
  std::unique_ptr<DbConnection> db;

 private:
  std::string folder_;
};

void BM_StoreItems(benchmark::State& state) {
  BenchDatabase bench;
  for (auto _ : state) {
    state.PauseTiming();
    bench.Exec("delete from BENCHROW");
    auto list = bench.FilledList();
    state.ResumeTiming();
    list->StoreToDB();
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}

void BM_LoadItems(benchmark::State& state) {
  BenchDatabase bench;
  bench.FilledList()->StoreToDB();
  for (auto _ : state) {
    auto list = bench.NewList();
    list->LoadFromDB({Variant("LV1")});
    if (list->Count() != kItems) state.SkipWithError("rows missing");
  }
  state.SetItemsProcessed(state.iterations() * kItems);
}

}  // namespace

BENCHMARK(BM_StoreItems)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadItems)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
