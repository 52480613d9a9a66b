#include <QSplitter>
#include <QTest>
#include <algorithm>
#include <iterator>
#include <vector>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/ui/window_fixture.h"
#include "ui/area_rows.h"

namespace {

KsGAEBObj* EntryElement(const QTreeWidgetItem* entry) {
  return entry ? static_cast<KsGAEBObj*>(entry->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

// Positions in the order an estimator reads the LV: an area's sub-areas
// with theirs, then its own positions.
void CollectPositions(const KsGAEBObjList* areas, std::vector<KsGAEBObj*>& positions) {
  for (int i = 0; areas && i < areas->Count(); ++i) {
    const KsGAEBObj& area = *areas->Element(i);
    CollectPositions(area.ChildList("LVBEREICH"), positions);
    const KsGAEBObjList* own = area.ChildList("POSITION");
    for (int p = 0; own && p < own->Count(); ++p) positions.push_back(own->Element(p));
  }
}

bool Holds(const KsGAEBObj* area, const KsGAEBObj* element) {
  for (const KsGAEBObj* up = element; up; up = up->ParentElement())
    if (up == area) return true;
  return false;
}

}  // namespace

class GridInStepTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void GridKeepsItsHeightOverOpens_data();
  void GridKeepsItsHeightOverOpens();
  void TreeFollowsTheTab();
  void EmptyPriceSearchCrossesAreas_data();
  void EmptyPriceSearchCrossesAreas();

 private:
  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
};

void GridInStepTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void GridInStepTest::GridKeepsItsHeightOverOpens_data() {
  QTest::addColumn<QSize>("size");
  QTest::newRow("1280x800") << QSize(1280, 800);
  QTest::newRow("1024x768") << QSize(1024, 768);
}

// Reading shows the progress panel and hides it again; the grid must come
// back with as many rows as it had.
void GridInStepTest::GridKeepsItsHeightOverOpens() {
  QFETCH(QSize, size);
  MemorySettingsStore store;
  Window w(store);
  w.form.resize(size);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(RealTender("LV_Los02.P83")));
  // The first open takes the pages from under the start page; the grid's
  // columns settle in the events that follow.
  QCoreApplication::processEvents();
  const int rows = w.Grid().VisibleRowCount();
  QVERIFY2(rows > 15, qPrintable(QString::number(rows)));
  for (int open = 2; open <= 10; ++open) {
    QVERIFY(w.form.LoadFile(RealTender(open % 2 ? "LV_Los02.P83" : "LV_Los01.P83")));
    QCoreApplication::processEvents();
    QCOMPARE(w.Grid().VisibleRowCount(), rows);
  }
  // Nor does making the window smaller and larger again cost a row.
  for (const int shrink : {37, 5, 90}) {
    w.form.resize(size.width(), size.height() - shrink);
    QCoreApplication::processEvents();
    w.form.resize(size);
    QCoreApplication::processEvents();
    QCOMPARE(w.Grid().VisibleRowCount(), rows);
  }
}

// Choosing the tab shows the first LV area; the tree says so.
void GridInStepTest::TreeFollowsTheTab() {
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(RealTender("LV_Los02.P83")));
  auto* tree = w.Find<QTreeWidget>("tv");
  KsGAEBObj* first = w.form.Document().LvAreas->Element(0);
  QCOMPARE(EntryElement(tree->currentItem()), first);
  QCOMPARE(w.Grid().Model().Element(0), first);

  tree->setCurrentItem(tree->topLevelItem(tree->topLevelItemCount() - 1));  // "Optionen"
  tree->setCurrentItem(tree->topLevelItem(5)->child(1));  // an area's second sub-area
  const std::pair<const char*, QString> entries[] = {
      {"tsGAEBPrjInfo", QStringLiteral("GAEB- / Projekt-Info")},
      {"tsVergabeInfo", QStringLiteral("Vergabe-Info")},
      {"tsAG", QStringLiteral("Auftraggeber")},
      {"tsAN", QStringLiteral("Auftragnehmer")},
      {"tsOpt", QStringLiteral("Optionen")}};
  for (const auto& [page, entry] : entries) {
    w.ShowPage(page);
    QCOMPARE(tree->currentItem()->text(0), entry);
    QCOMPARE(w.Pages()->currentWidget()->objectName(), QString::fromLatin1(page));
  }
  w.Pages()->setCurrentWidget(w.TitPos());
  QCOMPARE(w.Grid().Model().Element(0), first);
  QCOMPARE(EntryElement(tree->currentItem()), first);
}

void GridInStepTest::EmptyPriceSearchCrossesAreas_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<int>("top");  // the area the search starts in: a top-level entry ...
  QTest::addColumn<int>("sub");  // ... or one of its sub-areas (-1: the entry itself)
  QTest::addColumn<bool>("next");
  QTest::newRow("Ctrl+N from the first area") << "LV_Los02.P83" << 4 << -1 << true;
  QTest::newRow("Ctrl+N from a sub-area") << "LV_Los02.P83" << 4 << 0 << true;
  QTest::newRow("Ctrl+L from the last area") << "LV_Los02.P83" << 9 << -1 << false;
  QTest::newRow("Ctrl+L from a sub-area") << "1561-02_ROHBAUARBEITEN.P83" << 5 << 1 << false;
}

// Ctrl+N (Ctrl+L) visits every position without a price after (before) the
// start, in order, showing the area on the level of the start that holds it,
// with the tree on that area all the way.
void GridInStepTest::EmptyPriceSearchCrossesAreas() {
  QFETCH(QString, file);
  QFETCH(int, top);
  QFETCH(int, sub);
  QFETCH(bool, next);
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(RealTender(qPrintable(file))));
  auto* tree = w.Find<QTreeWidget>("tv");
  QTreeWidgetItem* start = tree->topLevelItem(top);
  if (sub >= 0) start = start->child(sub);
  QVERIFY(start && EntryElement(start));
  tree->setCurrentItem(start);
  KsGAEBObj* startArea = EntryElement(start);
  const int level = AreaDepth(*startArea);

  std::vector<KsGAEBObj*> all;
  CollectPositions(w.form.Document().LvAreas, all);
  std::vector<KsGAEBObj*> expected;
  if (next) {
    auto from =
        std::find_if(all.begin(), all.end(), [&](KsGAEBObj* p) { return Holds(startArea, p); });
    expected.assign(from, all.end());
  } else {
    auto to =
        std::find_if(all.begin(), all.end(), [&](KsGAEBObj* p) { return Holds(startArea, p); });
    expected.assign(std::make_reverse_iterator(to), all.rend());
  }
  QVERIFY(expected.size() > 10);

  w.Grid().SelectFirstEditable();
  QCOMPARE(w.Grid().CurrentRow(), 0);  // the area's discount
  for (KsGAEBObj* position : expected) {
    QTest::keyClick(QApplication::focusWidget(), next ? Qt::Key_N : Qt::Key_L, Qt::ControlModifier);
    const PriceGridModel& grid = w.Grid().Model();
    QCOMPARE(grid.Element(w.Grid().CurrentRow()), position);
    QCOMPARE(w.Grid().CurrentColumn(), grid.ColumnOf("EP"));
    KsGAEBObj* shown = grid.Element(0);
    QVERIFY(Holds(shown, position));
    QCOMPARE(AreaDepth(*shown), std::min(level, AreaDepth(*position->ParentElement())));
    QCOMPARE(EntryElement(tree->currentItem()), shown);
  }
  // At the end of the LV the cursor stays.
  QTest::keyClick(QApplication::focusWidget(), next ? Qt::Key_N : Qt::Key_L, Qt::ControlModifier);
  QCOMPARE(w.Grid().Model().Element(w.Grid().CurrentRow()), expected.back());
}

QTEST_MAIN(GridInStepTest)
#include "test_grid_in_step.moc"
