#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/element_values.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/tender_files.h"
#include "tests/support/totals_forwarder.h"
#include "ui/cell_editor.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/tit_pos_page.h"

namespace {

// Every column the user can choose, shown.
QString AllColumns(const KsFieldList& fields) {
  QString opt;
  for (int i = 0; i < fields.Count(); ++i)
    opt += QStringLiteral("1-") + QString::fromStdString(fields.Items(i).Name()) + u';';
  return opt;
}

void CollectAreas(const KsGAEBObjList* areas, std::vector<KsGAEBObj*>& out) {
  if (!areas) return;
  for (int i = 0; i < areas->Count(); ++i) {
    out.push_back(areas->Element(i));
    CollectAreas(areas->Element(i)->ChildList("LVBEREICH"), out);
  }
}

// A value in units of 10^-decimals as the grid shows it: German separators.
QString Shown(long long units, int decimals) {
  long long p = 1;
  for (int i = 0; i < decimals; ++i) p *= 10;
  const long long magnitude = units < 0 ? -units : units;
  QString whole = QString::number(magnitude / p);
  for (int at = whole.size() - 3; at > 0; at -= 3) whole.insert(at, u'.');
  const QString fraction = QString::number(magnitude % p).rightJustified(decimals, u'0');
  return (units < 0 ? QStringLiteral("-") : QString()) + whole + u',' + fraction;
}

// GB in cents from a unit price in thousandths, the quantity (3 decimals)
// and the discount in percent (2 decimals), rounded half away from zero.
long long AmountCents(long long priceThousandths, double quantity, double discount) {
  const __int128 exact = static_cast<__int128>(priceThousandths) * std::llround(quantity * 1000) *
                         (10000 - std::llround(discount * 100));
  const __int128 scale = 100000000;  // 10^(3 + 3 + 4 - 2)
  const __int128 magnitude = exact < 0 ? -exact : exact;
  const __int128 cents = (magnitude + scale / 2) / scale;
  return static_cast<long long>(exact < 0 ? -cents : cents);
}

}  // namespace

// Qt's model checker watches the price grid's model on real tenders: every
// reset, every change signal and every answer must keep the rules views
// rely on, while areas are shown, columns change and prices are typed.
class PriceGridModelTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void RealTenderUnderTheChecker_data();
  void RealTenderUnderTheChecker();

 private:
  std::unique_ptr<FormatGuard> format_;
};

void PriceGridModelTest::initTestCase() {
  PrepareGaeb();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void PriceGridModelTest::RealTenderUnderTheChecker_data() {
  QTest::addColumn<QString>("file");
  const QDir real(QStringLiteral(TARVO_TEST_DATA_DIR "/real"));
  for (const QString& name : real.entryList(QDir::Files, QDir::Name))
    QTest::newRow(name.toUtf8().constData()) << real.filePath(name);
}

void PriceGridModelTest::RealTenderUnderTheChecker() {
  QFETCH(QString, file);
  RecordingMessageBoxes boxes;
  KsLyxObj doc;
  QVERIFY2(doc.Import(file.toStdString()), doc.LastError.c_str());

  KsFieldList fields;
  GridColumnsEditor columns{fields};
  QWidget window;
  auto* page = new TitPosPage(doc, fields, columns, &window);
  (new QVBoxLayout(&window))->addWidget(page);
  const TotalsForwarder forwarder(doc, *page);
  PriceGrid& grid = page->Grid();
  PriceGridModel& model = grid.Model();
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);

  columns.ApplyOptText(AllColumns(fields));
  page->UpdateEpColumns();
  window.resize(1200, 700);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));

  std::vector<KsGAEBObj*> areas;
  CollectAreas(doc.LvAreas, areas);
  QVERIFY(!areas.empty());
  std::set<const KsGAEBObj*> priced;
  int checkedAmounts = 0;
  for (KsGAEBObj* area : areas) {
    page->ShowElement(area);
    QCOMPARE(model.Element(0), area);
    for (int row = 0; row < model.rowCount(); ++row) {
      KsGAEBObj* element = model.Element(row);
      if (!priced.insert(element).second) continue;
      const bool byUnitPrice = model.IsCellEditable(model.ColumnOf("EP"), element);
      const char* column = byUnitPrice ? "EP"
                           : model.IsCellEditable(model.ColumnOf("EPANTEIL1"), element)
                               ? "EPANTEIL1"
                               : "NACHLASSPROZ";
      const int col = model.ColumnOf(column);
      if (!model.IsCellEditable(col, element)) continue;
      const long long thousandths = (row * 7919 + 13) % 100000 + 10;
      const QString typed = Shown(thousandths, 3).remove(u'.');
      QVERIFY(grid.SelectCell(row, col));
      QTest::keyClicks(&grid.Editor(), typed);
      // Down: Enter after an area's last row would go on into the next area.
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
      if (!byUnitPrice) continue;
      QCOMPARE(model.index(row, col).data().toString(), Shown(thousandths, 3));
      const long long cents = AmountCents(thousandths, NumberValue(*element, "MENGE"),
                                          NumberValue(*element, "NACHLASSPROZ"));
      QCOMPARE(model.index(row, model.ColumnOf("GB")).data().toString(),
               cents == 0 ? QString() : Shown(cents, 2));
      ++checkedAmounts;
    }
  }
  QVERIFY(checkedAmounts > 0);

  // Fewer columns, a single position, nothing: each a reset under the checker.
  columns.ApplyOptText(QStringLiteral("1-OZ;1-EP;1-GB;"));
  page->UpdateEpColumns();
  QCOMPARE(model.columnCount(), 3);
  if (doc.Positions && doc.Positions->Count() > 0) {
    page->ShowElement(doc.Positions->Element(0));
    QCOMPARE(model.rowCount(), 1);
  }
  page->ShowElement(nullptr);
  QCOMPARE(model.rowCount(), 1);
  QVERIFY2(boxes.errors.empty(), boxes.errors.empty() ? "" : boxes.errors.front().c_str());
}

QTEST_MAIN(PriceGridModelTest)
#include "test_price_grid_model.moc"
