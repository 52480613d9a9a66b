#include <QHeaderView>
#include <QHelpEvent>
#include <QImage>
#include <QTest>
#include <QToolTip>

#include "document/row_kind.h"
#include "gaeb/gaeb_catalogue.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/ui/page_fixture.h"
#include "tests/ui/window_fixture.h"
#include "ui/column_measure.h"
#include "ui/one_line.h"
#include "ui/price_cell_delegate.h"
#include "ui/read_only_color.h"

namespace {

const char kLongText[] =
    "Baustelleneinrichtung einschlie\xDF"
    "lich Vorhalten, R\xE4umen und Wiederherstellen aller Fl\xE4"
    "chen";

const char kLinesText[] = "Erdaushub\r\nBoden der Klasse 3\r\nseitlich lagern";

// Area 01 sums to 99.999.999,99 and has a discount of 1.000,00; area 02
// has one position with a long short text, area 03 one whose only text has
// three lines. Rows of area 01: 0 the area, 1 the priced position, 2 a
// position without a price.
std::string LargeTender() {
  return Tender(
      Area("01", "Rohbau",
           Field("NACHLASSABS", "1000") +
               Position("01.0010", "1", "psch", Field("EP", "99999999,99")) +
               Position("01.0020", "3", "m3")) +
      Area("02", "Ausbau", Position("02.0010", "12,5", "m2", Description(kLongText, "Langtext"))) +
      Area("03", "Erdarbeiten", Position("03.0010", "40", "m3", Description("", kLinesText))));
}

const QString kNumberColumns = QStringLiteral(
    "1-OZ;1-_TARVO_POSTYP;1-BEZ;1-MENGE;1-ME;1-EP;1-NACHLASSPROZ;1-GB;1-NACHLASSABS;"
    "1-SUMMENACHNL;");

struct Columns : PageFixture {
  explicit Columns(const QString& opt = kNumberColumns) : PageFixture(LargeTender(), opt) {}

  // Every text of the shown rows, except the short text, fits its column
  // in the font the row is drawn in.
  void CheckNothingIsCut() {
    const PriceGridModel& model = grid.Model();
    for (int row = 0; row < model.rowCount(); ++row) {
      QStyleOptionViewItem option;
      option.font = grid.font();
      for (int c = 0; c < model.columnCount(); ++c) {
        if (model.ColumnName(c) == "BEZ") continue;
        const QModelIndex index = model.index(row, c);
        const QString text = index.data().toString();
        const QFont font = PriceCellDelegate::CellFont(option, index);
        const int room = grid.columnWidth(c) - ColumnMeasure::kCellMargin;
        QVERIFY2(QFontMetrics(font).horizontalAdvance(text) <= room,
                 qPrintable(QStringLiteral("row %1, %2: \"%3\" in %4 pixels")
                                .arg(row)
                                .arg(QString::fromStdString(model.ColumnName(c)), text)
                                .arg(room)));
      }
    }
  }
};

}  // namespace

class GridColumnsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void NoNumberIsCut_data();
  void NoNumberIsCut();
  void LargerEntriesWidenTheColumns();
  void ShortTextTakesTheFreeWidth();
  void CutTextsShowWholeAsTooltip();
  void OneLineOfSeveral_data();
  void OneLineOfSeveral();
  void UserWidthsAreKept();
  void UserWidthsSurviveARestart();
  void ReadOnlyCellsAreTinted_data();
  void ReadOnlyCellsAreTinted();
  void CellsReadOnEveryPalette();
  void AreaRowsAreBold();

 private:
  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
};

void GridColumnsTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void GridColumnsTest::NoNumberIsCut_data() {
  QTest::addColumn<QFont>("font");
  QTest::newRow("the desktop's font") << QFont();
  QTest::newRow("large") << QFont(QStringLiteral("DejaVu Sans"), 16);
  QTest::newRow("serif") << QFont(QStringLiteral("DejaVu Serif"), 11);
  QTest::newRow("monospace") << QFont(QStringLiteral("Liberation Mono"), 10);
}

// The area's sum of 99.999.999,99 is drawn in bold; it fits in every font.
void GridColumnsTest::NoNumberIsCut() {
  QFETCH(QFont, font);
  Columns f;
  f.grid.setFont(font);
  f.page->BuildColumns();
  QCOMPARE(f.Cell(0, "GB"), QStringLiteral("99.999.999,99"));
  QCOMPARE(f.Cell(0, "SUMMENACHNL"), QStringLiteral("99.998.999,99"));
  f.CheckNothingIsCut();

  // The columns are made for such a sum in every area, also in one whose
  // own figures are small.
  const int gbWidth = f.grid.columnWidth(f.Column("GB"));
  f.page->ShowElement(f.doc.LvAreas->Element(1));
  f.CheckNothingIsCut();
  QCOMPARE(f.grid.columnWidth(f.Column("GB")), gbWidth);
}

void GridColumnsTest::LargerEntriesWidenTheColumns() {
  Columns f;
  const int before = f.grid.columnWidth(f.Column("GB"));
  QVERIFY(f.Select(2, "EP"));
  QTest::keyClicks(&f.editor, QStringLiteral("333333333,33"));
  f.Key(Qt::Key_Down);
  QCOMPARE(f.Cell(2, "GB"), QStringLiteral("999.999.999,99"));
  QCOMPARE(f.Cell(0, "GB"), QStringLiteral("1.099.999.999,98"));
  QVERIFY(f.grid.columnWidth(f.Column("GB")) > before);
  f.CheckNothingIsCut();
}

void GridColumnsTest::ShortTextTakesTheFreeWidth() {
  Columns f;
  for (const int width : {1280, 1024, 700}) {
    f.window.resize(width, 600);
    QCoreApplication::processEvents();
    int total = 0;
    for (int c = 0; c < f.grid.Model().columnCount(); ++c) total += f.grid.columnWidth(c);
    const int text = f.grid.columnWidth(f.Column("BEZ"));
    QVERIFY(text >= 20 * f.grid.fontMetrics().averageCharWidth());
    // The columns end at the right edge unless the short text is at its least.
    QVERIFY2(
        total == f.grid.viewport()->width() || text == 20 * f.grid.fontMetrics().averageCharWidth(),
        qPrintable(
            QStringLiteral("%1: %2 of %3").arg(width).arg(total).arg(f.grid.viewport()->width())));
  }
}

void GridColumnsTest::CutTextsShowWholeAsTooltip() {
  Columns f;
  f.window.resize(700, 600);
  f.page->ShowElement(f.doc.LvAreas->Element(1));
  QCoreApplication::processEvents();
  const auto tooltipOver = [&f](int row) {
    const QRect cell = f.grid.visualRect(f.Index(row, "BEZ"));
    QHelpEvent help(QEvent::ToolTip, cell.center(), f.grid.viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(f.grid.viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  QCOMPARE(tooltipOver(1), QString::fromLatin1(kLongText));
  tooltipOver(0);  // "Ausbau" fits
  QTRY_VERIFY(!QToolTip::isVisible());

  // A short text of several lines keeps them, shows its first and has them
  // all in its tooltip, however wide the column.
  f.window.resize(1600, 600);
  f.page->ShowElement(f.doc.LvAreas->Element(2));
  QCoreApplication::processEvents();
  QCOMPARE(f.Cell(1, "BEZ"), QString::fromLatin1(kLinesText));
  QCOMPARE(tooltipOver(1), QString::fromLatin1(kLinesText));
}

void GridColumnsTest::OneLineOfSeveral_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("shown");
  const QString more = QString(QChar(0x2026));
  QTest::newRow("one line") << "Erdaushub"
                            << "Erdaushub";
  QTest::newRow("CR LF") << "Erdaushub\r\nBoden"
                         << "Erdaushub" + more;
  QTest::newRow("LF, blanks before the break") << "Erdaushub  \nBoden"
                                               << "Erdaushub" + more;
  QTest::newRow("leading empty lines") << "\r\n\r\nErdaushub\r\nBoden"
                                       << "Erdaushub" + more;
  QTest::newRow("trailing break only") << "Erdaushub\r\n"
                                       << "Erdaushub\r\n";
  QTest::newRow("paragraph separator") << "Erdaushub" + QString(QChar::ParagraphSeparator) + "Boden"
                                       << "Erdaushub" + more;
  QTest::newRow("empty") << ""
                         << "";
}

void GridColumnsTest::OneLineOfSeveral() {
  QFETCH(QString, text);
  QFETCH(QString, shown);
  QCOMPARE(OneLine(text), shown);
}

// A width set by dragging stays for other areas and other files; a number
// column does not become narrower than its numbers.
void GridColumnsTest::UserWidthsAreKept() {
  Columns f;
  QHeaderView& header = *f.grid.horizontalHeader();
  header.resizeSection(f.Column("OZ"), 150);
  header.resizeSection(f.Column("GB"), 20);
  QCOMPARE(f.grid.columnWidth(f.Column("OZ")), 150);
  const int gb = f.grid.columnWidth(f.Column("GB"));
  QVERIFY(gb > 20);
  f.CheckNothingIsCut();

  f.page->ShowElement(f.doc.LvAreas->Element(1));
  f.page->BuildColumns();
  QCOMPARE(f.grid.columnWidth(f.Column("OZ")), 150);
  QVERIFY(f.grid.UserWidthsText().endsWith(QStringLiteral(";OZ=150;")));
}

void GridColumnsTest::UserWidthsSurviveARestart() {
  MemorySettingsStore store;
  {
    Window w(store);
    w.ShowActive();
    QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
    w.Grid().horizontalHeader()->resizeSection(w.Grid().Model().ColumnOf("OZ"), 133);
    QVERIFY(w.form.LoadFile(RealTender("LV_Los02.P83")));
    QCOMPARE(w.Grid().columnWidth(w.Grid().Model().ColumnOf("OZ")), 133);
    w.form.close();
  }
  QCOMPARE(store.ReadString(QStringLiteral("ColWidths")), QStringLiteral("OZ=133;"));
  Window w(store);
  w.ShowActive();
  QCOMPARE(w.Grid().columnWidth(w.Grid().Model().ColumnOf("OZ")), 133);
}

void GridColumnsTest::ReadOnlyCellsAreTinted_data() {
  QTest::addColumn<QColor>("buttonFace");
  QTest::newRow("Windows 10") << QColor(0xF0, 0xF0, 0xF0);
  QTest::newRow("Fusion") << QColor(0xEF, 0xEF, 0xEF);
  QTest::newRow("white") << QColor(Qt::white);
  QTest::newRow("Windows classic") << QColor(0xD4, 0xD0, 0xC8);
  QTest::newRow("dark") << QColor(0x35, 0x35, 0x35);
}

// Read-only cells stand apart from the white editable ones, and where the
// button face is dark enough they keep the lighter button face.
void GridColumnsTest::ReadOnlyCellsAreTinted() {
  QFETCH(QColor, buttonFace);
  const QColor tint = ReadOnlyColor(buttonFace);
  QVERIFY2(tint.lightness() <= 230, qPrintable(tint.name()));
  QVERIFY(tint.lightness() >= std::min(buttonFace.lightness(), 230));

  Columns f;
  f.grid.SetReadOnlyColor(tint);
  const QImage shot = f.grid.grab().toImage();
  const QRect editable = f.grid.visualRect(f.Index(2, "EP"));
  const QRect readOnly = f.grid.visualRect(f.Index(2, "GB"));
  const QPoint header(0, f.grid.horizontalHeader()->height());
  QCOMPARE(shot.pixelColor(editable.topLeft() + header + QPoint(3, 3)), QColor(Qt::white));
  QVERIFY(shot.pixelColor(readOnly.topLeft() + header + QPoint(3, 3)).lightness() <= 230);
}

// On a dark desktop the text of white cells is dark, and that of tinted
// cells light where the tint is dark.
void GridColumnsTest::CellsReadOnEveryPalette() {
  Columns f;
  QPalette dark = f.grid.palette();
  for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
    dark.setColor(role, QColor(0x35, 0x35, 0x35));
  dark.setColor(QPalette::Text, Qt::white);
  dark.setColor(QPalette::WindowText, Qt::white);
  f.grid.setPalette(dark);
  f.grid.SetReadOnlyColor(ReadOnlyColor(dark.color(QPalette::Button)));
  const QImage shot = f.grid.grab().toImage();
  const QPoint header(0, f.grid.horizontalHeader()->height());
  const auto darkest = [&](const QRect& cell) {
    int least = 255;
    for (int x = cell.left(); x <= cell.right(); ++x)
      for (int y = cell.top(); y <= cell.bottom(); ++y)
        least = std::min(least, shot.pixelColor(QPoint(x, y) + header).lightness());
    return least;
  };
  const auto lightest = [&](const QRect& cell) {
    int most = 0;
    for (int x = cell.left(); x <= cell.right(); ++x)
      for (int y = cell.top(); y <= cell.bottom(); ++y)
        most = std::max(most, shot.pixelColor(QPoint(x, y) + header).lightness());
    return most;
  };
  QVERIFY(darkest(f.grid.visualRect(f.Index(1, "EP"))) < 100);      // "99.999.999,990" on white
  QVERIFY(lightest(f.grid.visualRect(f.Index(1, "MENGE"))) > 200);  // "1,000" on the dark tint
}

void GridColumnsTest::AreaRowsAreBold() {
  Columns f;
  for (int row = 0; row < f.grid.Model().rowCount(); ++row) {
    const QVariant font = f.Index(row, "OZ").data(Qt::FontRole);
    QCOMPARE(font.isValid() && font.value<QFont>().bold(), IsAreaRow(&f.Element(row)));
  }
}

QTEST_MAIN(GridColumnsTest)
#include "test_grid_columns.moc"
