// The window from its start to the first LV area shown: the process starts,
// the main window opens, reads FILE and builds its pages, and the price grid
// is painted with the first area's rows. Then the program ends, so that
// `/usr/bin/time bench_window_open FILE` measures what the user waits for
// (bench/process_bench.sh does). Runs without a display (offscreen).
//
//   bench_window_open FILE
//
// Prints the milliseconds from the start of main to the first painted grid
// and the number of rows shown.

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>

#include "gaeb/gaeb_catalogue.h"
#include "ui/form_lyx.h"
#include "ui/price_grid.h"
#include "ui/qt_settings_store.h"
#include "ui/window_dialogs.h"

namespace {

using Clock = std::chrono::steady_clock;

// Nothing is asked while a file opens; any question would mean a failure.
class NoDialogs : public WindowDialogs {
 public:
  QString OpenFileName(QWidget*) override { return {}; }
  QString TenderFileName(QWidget*, const QString&) override { return {}; }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  QString OpenWorkbookName(QWidget*) override { return {}; }
  QString SaveWorkbookName(QWidget*, const QString&) override { return {}; }
  bool ChoosePrinter(QWidget*, QPrinter&) override { return false; }
  SaveChanges AskSaveChanges(QWidget*, const QString&) override { return SaveChanges::Cancel; }
  bool GoOnDespite(QWidget*, const QString&) override { return false; }
  std::optional<QString> InputBox(QWidget*, const QString&, const QString&,
                                  const QString&) override {
    return std::nullopt;
  }
};

// Ends the program once the grid has painted rows.
class FirstPaint : public QObject {
 public:
  FirstPaint(PriceGrid& grid, Clock::time_point start) : grid_(grid), start_(start) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !done_ && grid_.model() &&
        grid_.model()->rowCount() > 0) {
      done_ = true;
      const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start_).count();
      std::printf("first area shown after %.1f ms (%d rows)\n", ms, grid_.model()->rowCount());
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  PriceGrid& grid_;
  Clock::time_point start_;
  bool done_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  const Clock::time_point start = Clock::now();
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  // The window keeps its column widths in a settings file of its own here,
  // so that the user's settings neither change nor change the figure.
  const QTemporaryDir settingsDir;
  QtSettingsStore settings(settingsDir.filePath(QStringLiteral("bench.ini")));
  NoDialogs dialogs;
  TFormLyx window(settings, dialogs);
  window.show();
  PriceGrid* grid = window.findChild<PriceGrid*>();
  if (!grid) return 1;
  FirstPaint watcher(*grid, start);
  grid->viewport()->installEventFilter(&watcher);
  if (!window.LoadFile(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "%s could not be opened\n", argv[1]);
    return 1;
  }
  return QApplication::exec();
}
