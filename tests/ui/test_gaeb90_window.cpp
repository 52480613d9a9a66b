#include <QDir>
#include <QTest>
#include <QTreeWidget>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_files.h"
#include "tests/ui/window_fixture.h"
#include "ui/file_argument.h"

// A GAEB 90 tender named on the window's command line, opened as the
// program's start opens it: the file argument taken from the arguments (a
// path relative to the current folder), then loaded into the window.
class Gaeb90WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
  }
  void init() {
    boxes_.messages.clear();
    boxes_.errors.clear();
    boxes_.warnings.clear();
  }

  void TheFileArgumentOpensItsAreas();
  void ADamagedFileArgumentIsRefusedNamingTheLine();

 private:
  // What the program's start opens for the arguments, from the test data folder.
  static QString Argument(const QString& relative) {
    const QString before = QDir::currentPath();
    QDir::setCurrent(QStringLiteral(TARVO_TEST_DATA_DIR));
    const QString file =
        FileArgument({QStringLiteral("tarvo"), QStringLiteral("-style=fusion"), relative});
    QDir::setCurrent(before);
    return file;
  }

  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
};

void Gaeb90WindowTest::TheFileArgumentOpensItsAreas() {
  const QString file = Argument(QStringLiteral("gaeb90/LV_Los02.D83"));
  QCOMPARE(file, QStringLiteral(TARVO_TEST_DATA_DIR "/gaeb90/LV_Los02.D83"));
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(file));
  QVERIFY(boxes_.messages.empty());
  QVERIFY(w.form.windowTitle().startsWith(QStringLiteral("LV_Los02.D83")));
  // The six areas of the LV, their OZ as columns 3-4 hold it, with the texts
  // of their records 12; below them their sections.
  const QStringList areas = {QStringLiteral(" 1 Bauvorbereitende und baubegleitende Leistungen"),
                             QStringLiteral(" 2 Kampfmitteluntersuchung"),
                             QStringLiteral(" 3 Baustelleneinrichtung"),
                             QStringLiteral(" 4 Felduntersuchungen"),
                             QStringLiteral(" 5 Laboruntersuchungen"),
                             QStringLiteral(" 6 Dokumentation")};
  const QStringList entries = w.TopLevelEntries();
  QCOMPARE(entries.mid(4, areas.size()), areas);
  QCOMPARE(entries.size(), 4 + areas.size() + 1);
  auto* tree = w.Find<QTreeWidget>("tv");
  QCOMPARE(tree->topLevelItem(4)->childCount(), 5);
  QCOMPARE(tree->currentItem()->text(0), areas.first());
  QCOMPARE(w.Pages()->currentWidget(), static_cast<QWidget*>(w.TitPos()));

  // Choosing a section shows its positions in the grid.
  tree->setCurrentItem(tree->topLevelItem(5)->child(0));
  const KsGAEBObj* section =
      w.form.Document().Lv->ChildList("LVBEREICH")->Element(1)->ChildList("LVBEREICH")->Element(0);
  const PriceGrid& grid = w.Grid();
  QVERIFY(grid.Model().rowCount() > 0);
  const KsGAEBObj* position = grid.Model().Element(grid.CurrentRow());
  QVERIFY(position);
  QCOMPARE(position->ParentElement(), section);
}

// A GAEB 90 file whose first line was garbled is named for what it is; the
// window stays empty.
void Gaeb90WindowTest::ADamagedFileArgumentIsRefusedNamingTheLine() {
  TempDir dir;
  std::string bytes = ReadFile(TARVO_TEST_DATA_DIR "/gaeb90/LV_Los01.D83");
  bytes[0] = 'x';
  const QString file = QString::fromStdString(dir.Write("Los 1.D83", bytes));
  QCOMPARE(Argument(file), file);
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(!w.form.LoadFile(file));
  QVERIFY(!w.form.Document().Loaded());
  QCOMPARE(boxes_.messages.size(), size_t{1});
  const std::string& error = boxes_.messages.front();
  QVERIFY2(error.find("Zeile 1 der Datei " + dir.Path("Los 1.D83") +
                      ": erwartet wird der Kopfsatz 00 einer GAEB 90 Datei, gefunden \"x0") !=
               std::string::npos,
           error.c_str());
  QVERIFY(error.find("die Datei ist besch\xE4"
                     "digt.") != std::string::npos);
}

QTEST_MAIN(Gaeb90WindowTest)
#include "test_gaeb90_window.moc"
