// Price grid timings on one LV area with many positions: showing the area
// (rows, columns, window painted) and one unit-price edit up to the updated
// totals panel. Runs without a display.
//
//   bench_grid [positions]   (default 50000)

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/tender_generator.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/totals_forwarder.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/tit_pos_page.h"
#include "util/format_settings.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct Figures {
  std::vector<double> ms;
  void Add(double value) { ms.push_back(value); }
  void Print(const char* what) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %8.3f ms   min %8.3f ms   max %8.3f ms   (%zu runs)\n", what,
                ms[ms.size() / 2], ms.front(), ms.back(), ms.size());
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int positions = argc > 1 ? std::atoi(argv[1]) : 50000;
  SetFormatSettings(GermanFormatSettings());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();

  QTemporaryDir dir;
  const std::string path = QDir(dir.path()).filePath("grid.d83").toStdString();
  WriteSyntheticTenderFile(path, SingleAreaTender(positions));

  KsLyxObj doc;
  auto start = Clock::now();
  if (!doc.Import(path)) {
    std::fprintf(stderr, "import failed: %s\n", doc.LastError.c_str());
    return 1;
  }
  std::printf("positions %d, import %.0f ms\n", positions, MsSince(start));

  KsFieldList fields;
  GridColumnsEditor columns(fields);
  QWidget window;
  auto* page = new TitPosPage(doc, fields, columns, &window);
  (new QVBoxLayout(&window))->addWidget(page);
  const TotalsForwarder forwarder(doc, *page);
  window.resize(1280, 900);
  PriceGrid& grid = page->Grid();
  KsGAEBObj* area = doc.LvAreas->Element(0);

  // The first time, as after opening a file: rows, totals, first cell, and
  // the window shown and painted.
  start = Clock::now();
  page->UpdateEpColumns();
  page->ShowElement(area);
  page->ShowTotals();
  grid.SelectFirstEditable();
  window.show();
  window.activateWindow();
  while (!window.isActiveWindow() && MsSince(start) < 5000) app.processEvents();
  app.processEvents();
  std::printf("%-44s %8.3f ms\n", "first ShowElement + window shown", MsSince(start));

  Figures show;
  for (int run = 0; run < 7; ++run) {
    page->ShowElement(nullptr);
    app.processEvents();
    start = Clock::now();
    page->UpdateEpColumns();
    page->ShowElement(area);
    page->ShowTotals();
    grid.SelectFirstEditable();
    app.processEvents();
    show.Add(MsSince(start));
  }
  show.Print("ShowElement again + first cell + paint");

  // Prices are typed into two positions far down the list and taken with
  // Enter (on to the next row) and Shift+Enter (back), as a user would; every
  // commit changes the position's amount, the area's sum and the LV total.
  const int ep = grid.Model().ColumnOf("EP");
  const int last = grid.Model().rowCount() - 1;
  grid.SelectCell(last - 1, ep);
  app.processEvents();
  auto* sum = window.findChild<QLabel*>(QStringLiteral("lblSumme"));
  Figures commit, repaint;
  for (int run = 0; run < 51; ++run) {
    const QString before = sum->text();
    const bool back = run % 2;
    grid.Editor().setText(QStringLiteral("%1,25").arg(100 + run));
    grid.Editor().setModified(true);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, back ? Qt::ShiftModifier : Qt::NoModifier);
    start = Clock::now();
    QApplication::sendEvent(&grid.Editor(), &enter);
    commit.Add(MsSince(start));
    app.processEvents();
    repaint.Add(MsSince(start));
    if (sum->text() == before || grid.CurrentRow() != (back ? last - 1 : last)) {
      std::fprintf(stderr, "edit %d was not taken (row %d)\n", run, grid.CurrentRow());
      return 1;
    }
  }
  commit.Print("unit price Enter -> totals panel, next row");
  repaint.Print("... and the window painted");

  // The same edits straight through the totals, without the grid: the part
  // of the figures above that sums the area's positions.
  KsGAEBObj& position = *grid.Model().Element(last);
  Figures totals;
  for (int run = 0; run < 51; ++run) {
    start = Clock::now();
    SetPositionValue(position, std::to_string(200 + run) + ",75", "EP");
    totals.Add(MsSince(start));
  }
  totals.Print("SetPositionValue alone (with totals panel)");
  return 0;
}
