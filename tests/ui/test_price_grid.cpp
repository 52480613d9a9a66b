#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <memory>
#include <string>

#include "document/cell_text.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/tender_files.h"
#include "tests/ui/page_fixture.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/read_only_color.h"
#include "ui/tit_pos_page.h"
#include "util/format_settings.h"

namespace {

// Area 01 holds area 01.01 (three positions) and one position of its own;
// area 02 holds forty positions without prices for paging. Rows of area 01:
// 0 "01", 1 "01.01", 2 "0010", 3 "0020", 4 "0030" (price breakdown), 5 "0040".
std::string SampleTender() {
  std::string many;
  for (int i = 1; i <= 40; ++i) many += Position("02." + std::to_string(1000 + i), "1", "St");
  return Tender(
      Area("01", "Rohbau",
           Area("01.01", "Erdarbeiten",
                Position("01.01.0010", "10", "m3",
                         Field("EP", "1234,5") + Description("Aushub", "Boden ausheben")) +
                    Position("01.01.0020", "2", "St") +
                    Position("01.01.0030", "4", "m", Field("EPAUFGL", "J"))) +
               Position("01.0040", "1", "psch", Field("EP", "100"))) +
      Area("02", "Ausbau", many));
}

// The page with the sample tender.
struct Fixture : PageFixture {
  explicit Fixture(const QString& opt = {}) : PageFixture(SampleTender(), opt) {}
};

const QString kEditColumns = QStringLiteral(
    "1-OZ;1-EP;1-EPANTEIL1;1-EPANTEIL2;1-NACHLASSPROZ;1-GB;1-NACHLASSABS;1-SUMMENACHNL;");

}  // namespace

class PriceGridTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void CatalogueHasTheColumns();
  void RowsAreDepthFirst();
  void CellsAreDrawnFromMembers();
  void EditingRule_data();
  void EditingRule();
  void TypedUnitPriceUpdatesCellAndTotals();
  void NumberFilter_data();
  void NumberFilter();
  void TypingIntoTheGridOpensTheEditor();
  void InvalidNumberIsReportedAndKept();
  void EitherDecimalSeparator_data();
  void EitherDecimalSeparator();
  void NegativeUnitPriceAsksOnce();
  void DiscountsAreCheckedLikePrices();
  void APriceOfZeroIsNoEmptyPrice();
  void UnitPriceOfABreakdownIsReadOnly();
  void FirstKeyOfABreakdownGoesToItsFirstComponent();
  void CellTextByType_data();
  void CellTextByType();
  void AreaDiscount();
  void ComponentsMakeTheUnitPrice();
  void RowKeys_data();
  void RowKeys();
  void PageKeys();
  void RightAndLeftCommitAndMove();
  void EmptyUnitPrice_data();
  void EmptyUnitPrice();
  void TabLeavesTheGrid();
  void LongTextFollowsTheRow();
  void ColumnConfiguration_data();
  void ColumnConfiguration();
  void StandardRestoresTheDefaults();
  void ColumnListMovesAndRefusesForeignDrops();
  void VatEntry_data();
  void VatEntry();
  void GridShowsWholeRows();
  void OzStaysInSightWhenScrolledSideways();

 private:
  RecordingMessageBoxes boxes_;
};

void PriceGridTest::initTestCase() {
  SetFormatSettings(GermanFormatSettings());
  PrepareGaeb();
}

void PriceGridTest::CatalogueHasTheColumns() {
  struct Expected {
    const char* name;
    const char* label;
    bool shown;
  };
  const Expected expected[] = {
      {"OZ", "OZ", true},
      {"_TARVO_POSTYP", "Typ", true},
      {"BEZ", "Kurztext", true},
      {"BEDARF", "Bedarf", false},
      {"ENTF", "entf.", false},
      {"EPAUFGL", "EP-Aufgliederung", false},
      {"NACHTRNR", "Nachtragsnr.", false},
      {"NACHTRSTATUS", "Nachtragsstatus", false},
      {"MENGE", "Menge", true},
      {"ME", "EH", true},
      {"EP", "EP", true},
      {"EPANTEIL1", "EP 1", false},
      {"EPANTEIL2", "EP 2", false},
      {"EPANTEIL3", "EP 3", false},
      {"EPANTEIL4", "EP 4", false},
      {"EPANTEIL5", "EP 5", false},
      {"EPANTEIL6", "EP 6", false},
      {"NACHLASSPROZ", "NL %", false},
      {"GB", "GB", true},
      {"NACHLASSABS", "NL abs", true},
      {"SUMMENACHNL", "Summe n NL", true},
  };
  KsFieldList fields;
  QCOMPARE(fields.Count(), 21);
  for (int i = 0; i < fields.Count(); ++i) {
    const KsField& field = fields.Items(i);
    QCOMPARE(field.Name(), std::string(expected[i].name));
    QCOMPARE(field.Desc->DisplayLabel, std::string(expected[i].label));
    QCOMPARE(bool(field.Flags & KsField::ShownByDefault), expected[i].shown);
    QVERIFY(field.Flags & KsField::Available);
  }
  QCOMPARE(fields.Find("EP")->ListText(), std::string("EP (Einheitspreis)"));
  QCOMPARE(fields.Find("_TARVO_POSTYP")->ListText(), std::string("Typ (Positionstyp: N,B,A,AB)"));
  QCOMPARE(fields.Find("GB")->ListText(), std::string("GB (Gesamtbetrag)"));
  QVERIFY(!fields.Find("ep"));
}

void PriceGridTest::RowsAreDepthFirst() {
  Fixture f;
  const char* const oz[] = {"01", "01.01", "01.01.0010", "01.01.0020", "01.01.0030", "01.0040"};
  QCOMPARE(f.grid.Model().rowCount(), 6);
  for (int row = 0; row < 6; ++row) QCOMPARE(f.Cell(row, "OZ"), QString::fromLatin1(oz[row]));
  QCOMPARE(f.grid.Model().headerData(f.Column("BEZ"), Qt::Horizontal, Qt::DisplayRole).toString(),
           QStringLiteral("Kurztext"));

  f.page->ShowElement(&f.Element(2));
  QCOMPARE(f.grid.Model().rowCount(), 1);
  QCOMPARE(f.Cell(0, "OZ"), QStringLiteral("01.01.0010"));

  f.page->ShowElement(f.doc.LvAreas->Element(1));
  QCOMPARE(f.grid.Model().rowCount(), 41);

  f.page->Clear();
  QCOMPARE(f.grid.Model().rowCount(), 1);
  QCOMPARE(f.grid.Model().columnCount(), 1);
  QVERIFY(!f.grid.Model().Element(0));
}

void PriceGridTest::CellsAreDrawnFromMembers() {
  Fixture f;
  QCOMPARE(f.Cell(2, "EP"), QStringLiteral("1.234,500"));
  QCOMPARE(f.Cell(2, "GB"), QStringLiteral("12.345,00"));
  QCOMPARE(f.Cell(2, "MENGE"), QStringLiteral("10,000"));
  QCOMPARE(f.Cell(2, "ME"), QStringLiteral("m3"));
  QCOMPARE(f.Cell(3, "EP"), QString());                    // no price yet
  QCOMPARE(f.Cell(3, "GB"), QString());                    // an amount of 0 is empty
  QCOMPARE(f.Cell(2, "NACHLASSABS"), QString());           // positions have no such member
  QCOMPARE(f.Cell(0, "GB"), QStringLiteral("12.445,00"));  // an area's sum
  QCOMPARE(f.Cell(1, "SUMMENACHNL"), QStringLiteral("12.345,00"));

  const QModelIndex price = f.Index(2, "EP");
  QCOMPARE(Qt::Alignment(price.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignRight,
           Qt::AlignRight);
  QCOMPARE(Qt::Alignment(f.Index(2, "OZ").data(Qt::TextAlignmentRole).toInt()) & Qt::AlignLeft,
           Qt::AlignLeft);
  QCOMPARE(price.data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::white));
  QCOMPARE(f.Index(2, "GB").data(Qt::BackgroundRole).value<QBrush>().color(),
           ReadOnlyColor(f.grid.palette().color(QPalette::Button)));
}

void PriceGridTest::EditingRule_data() {
  QTest::addColumn<int>("row");
  QTest::addColumn<QString>("column");
  QTest::addColumn<bool>("editable");
  const struct {
    int row;
    const char* column;
    bool editable;
  } cases[] = {
      {0, "NACHLASSPROZ", true}, {0, "NACHLASSABS", true},  {0, "EP", false},
      {0, "GB", false},          {0, "OZ", false},          {3, "EP", true},
      {3, "NACHLASSPROZ", true}, {3, "NACHLASSABS", false}, {3, "GB", false},
      {3, "EPANTEIL1", false},   {4, "EPANTEIL1", true},    {4, "EPANTEIL2", true},
      {4, "EP", false},  // priced by its components
  };
  for (const auto& c : cases)
    QTest::addRow("row %d %s", c.row, c.column) << c.row << c.column << c.editable;
}

// The cursor enters only editable cells; the long text follows the row anyway.
void PriceGridTest::EditingRule() {
  QFETCH(int, row);
  QFETCH(QString, column);
  QFETCH(bool, editable);
  Fixture f(kEditColumns);
  const std::string name = column.toStdString();
  QCOMPARE(f.Select(row, name.c_str()), editable);
  QCOMPARE(f.grid.CurrentRow() == row, editable);
  QCOMPARE(!f.editor.isHidden(), editable);
  QVERIFY(f.window.findChild<QTextEdit*>("reLTxt")->toPlainText().startsWith(
      QString::fromStdString(f.Element(row).Text("OZ"))));
}

void PriceGridTest::TypedUnitPriceUpdatesCellAndTotals() {
  Fixture f;
  QCOMPARE(f.Label("lblSumme"), QStringLiteral("12.445,00"));
  QVERIFY(f.Select(3, "EP"));
  QCOMPARE(QApplication::focusWidget(), &f.editor);
  QTest::keyClicks(&f.editor, "1234,5");
  f.Key(Qt::Key_Return);

  QCOMPARE(f.Cell(3, "EP"), QStringLiteral("1.234,500"));
  QCOMPARE(f.Cell(3, "GB"), QStringLiteral("2.469,00"));
  QCOMPARE(f.Cell(1, "GB"), QStringLiteral("14.814,00"));
  QCOMPARE(f.Cell(0, "GB"), QStringLiteral("14.914,00"));
  QCOMPARE(f.Label("lblSumme"), QStringLiteral("14.914,00"));
  QCOMPARE(f.Label("lblMWStAbs"), QStringLiteral("2.833,66"));
  QCOMPARE(f.Label("lblBruttoSumme"), QStringLiteral("17.747,66"));
  QCOMPARE(f.grid.CurrentRow(), 5);  // Enter moved on, past the price made of components

  // In the last row Down takes the entry and stays.
  f.Key(Qt::Key_End);
  QTest::keyClicks(&f.editor, "200");
  f.Key(Qt::Key_Down);
  QCOMPARE(f.grid.CurrentRow(), 5);
  QCOMPARE(QApplication::focusWidget(), &f.editor);
  QCOMPARE(f.editor.text(), QStringLiteral("200"));
  QCOMPARE(f.Label("lblSumme"), QStringLiteral("15.014,00"));
}

void PriceGridTest::NumberFilter_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::newRow("letters") << "abc"
                           << "";
  QTest::newRow("decimal comma") << "12,5"
                                 << "12,5";
  QTest::newRow("negative") << "-3"
                            << "-3";
  QTest::newRow("decimal point") << "12.5"
                                 << "12.5";
  QTest::newRow("mixed") << "1x2.3 4"
                         << "12.34";
}

void PriceGridTest::NumberFilter() {
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  Fixture f;
  QVERIFY(f.Select(3, "EP"));
  QTest::keyClicks(&f.editor, typed);
  QCOMPARE(f.editor.text(), shown);
  QTest::keyClick(&f.editor, Qt::Key_Backspace);
  QCOMPARE(f.editor.text(), shown.left(shown.size() - 1));
}

void PriceGridTest::TypingIntoTheGridOpensTheEditor() {
  Fixture f;
  QVERIFY(f.Select(3, "EP"));
  f.grid.setFocus();  // the editor commits and hides
  QVERIFY(f.editor.isHidden());
  QTest::keyClick(&f.grid, Qt::Key_A);
  QVERIFY(f.editor.isHidden());
  QTest::keyClick(&f.grid, Qt::Key_7);
  QVERIFY(!f.editor.isHidden());
  QCOMPARE(f.editor.text(), QStringLiteral("7"));
  QTest::keyClick(&f.editor, Qt::Key_5);
  f.Key(Qt::Key_Return);
  QCOMPARE(f.Cell(3, "EP"), QStringLiteral("75,000"));
}

void PriceGridTest::InvalidNumberIsReportedAndKept() {
  Fixture f;
  boxes_.errors.clear();
  QVERIFY(f.Select(2, "EP"));
  QTest::keyClicks(&f.editor, "1-2");
  f.Key(Qt::Key_Down);
  QCOMPARE(boxes_.errors.size(), size_t(1));
  QCOMPARE(f.Cell(2, "EP"), QStringLiteral("1.234,500"));
  QCOMPARE(f.grid.CurrentRow(), 3);
}

void PriceGridTest::EitherDecimalSeparator_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("price");       // empty: refused, the price stays
  QTest::addColumn<QByteArray>("refusal");  // the message then, when the text is a number
  QTest::newRow("point") << "12.5"
                         << "12,500" << QByteArray();
  QTest::newRow("comma") << "12,5"
                         << "12,500" << QByteArray();
  QTest::newRow("grouped") << "1.234,5"
                           << "1.234,500" << QByteArray();
  QTest::newRow("grouped, English") << "1,234.5"
                                    << "1.234,500" << QByteArray();
  QTest::newRow("comma, three decimals") << "1,234"
                                         << "1,234" << QByteArray();
  QTest::newRow("point, three decimals")
      << "1.234" << QString()
      << QByteArray("Der Wert 1.234 ist mehrdeutig. Bitte 1234 oder 1,234 schreiben.");
  QTest::newRow("two points") << "1.2.3" << QString() << QByteArray();
  QTest::newRow("grouped, no decimals") << "1.234.567" << QString() << QByteArray();
}

// A "." is the decimal separator when the text holds no ","; a text that is
// no number, or could be either of two, is refused with the German message.
void PriceGridTest::EitherDecimalSeparator() {
  QFETCH(QString, typed);
  QFETCH(QString, price);
  QFETCH(QByteArray, refusal);
  Fixture f;
  boxes_.errors.clear();
  QVERIFY(f.Select(2, "EP"));
  QTest::keyClicks(&f.editor, typed);
  f.Key(Qt::Key_Return);
  if (price.isEmpty()) {
    const std::string message =
        refusal.isEmpty() ? "'" + typed.toStdString() + "' ist kein g\xFCltiger Gleitkommawert."
                          : refusal.toStdString();
    QCOMPARE(boxes_.errors, std::vector<std::string>{message});
    QCOMPARE(f.Cell(2, "EP"), QStringLiteral("1.234,500"));
  } else {
    QVERIFY(boxes_.errors.empty());
    QCOMPARE(f.Cell(2, "EP"), price);
  }
}

void PriceGridTest::NegativeUnitPriceAsksOnce() {
  Fixture f;
  boxes_.questions.clear();
  boxes_.answer = false;
  QVERIFY(f.Select(3, "EP"));
  QTest::keyClicks(&f.editor, "-5,5");
  f.Key(Qt::Key_Return);
  f.page->CommitEdit();
  QCOMPARE(boxes_.questions, std::vector<std::string>{"Der Einheitspreis -5,500 ist negativ. "
                                                      "Soll er \xFC"
                                                      "bernommen werden?"});
  QCOMPARE(f.Cell(3, "EP"), QString());

  boxes_.answer = true;
  QVERIFY(f.Select(3, "EP"));
  QTest::keyClicks(&f.editor, "-5,5");
  f.Key(Qt::Key_Return);
  f.page->CommitEdit();
  QCOMPARE(boxes_.questions.size(), size_t(2));
  QCOMPARE(f.Cell(3, "EP"), QStringLiteral("-5,500"));
  QCOMPARE(f.Cell(3, "GB"), QStringLiteral("-11,00"));

  // A price that is not negative asks nothing.
  QVERIFY(f.Select(3, "EP"));
  QTest::keyClicks(&f.editor, "5,5");
  f.page->CommitEdit();
  QCOMPARE(boxes_.questions.size(), size_t(2));
  boxes_.answer = false;
}

// A discount above 50 % or above the area's sum is asked about, one beyond
// 100 % refused with the German message; either way it is not taken.
void PriceGridTest::DiscountsAreCheckedLikePrices() {
  Fixture f(kEditColumns);
  boxes_.questions.clear();
  boxes_.errors.clear();
  boxes_.answer = false;
  const struct {
    int row;
    const char* column;
    const char* typed;
    std::string question, error;
  } entries[] = {
      {0, "NACHLASSPROZ", "60",
       "Ein Nachlass von 60,00 % ist ungew\xF6hnlich hoch. Soll er \xFC"
       "bernommen werden?",
       ""},
      {0, "NACHLASSABS", "12445,01",
       "Der Nachlass 12.445,01 ist h\xF6her als die Summe 12.445,00 des LV-Bereichs 01. Soll er "
       "\xFC"
       "bernommen werden?",
       ""},
      {2, "NACHLASSPROZ", "150", "", "Der Nachlass muss zwischen 0 und 100 % liegen."},
  };
  for (const auto& e : entries) {
    QVERIFY(f.Select(e.row, e.column));
    QTest::keyClicks(&f.editor, e.typed);
    f.Key(Qt::Key_Return);
    f.page->CommitEdit();
    QCOMPARE(f.Cell(e.row, e.column), QString());
  }
  QCOMPARE(boxes_.questions, (std::vector<std::string>{entries[0].question, entries[1].question}));
  QCOMPARE(boxes_.errors, std::vector<std::string>{entries[2].error});
  QCOMPARE(f.Label("lblSumme"), QStringLiteral("12.445,00"));
}

// A price of 0 typed is a price: shown, with its amount, and passed by the
// search for positions without a price.
void PriceGridTest::APriceOfZeroIsNoEmptyPrice() {
  Fixture f;
  QVERIFY(f.Select(3, "EP"));
  QTest::keyClicks(&f.editor, "0");
  f.page->CommitEdit();
  QCOMPARE(f.Cell(3, "EP"), QStringLiteral("0,000"));
  QCOMPARE(f.Cell(3, "GB"), QStringLiteral("0,00"));
  QVERIFY(!HasEmptyUnitPrice(*f.grid.Model().Element(3)));
  QVERIFY(f.Select(2, "EP"));
  f.Key(Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(f.grid.Model().Element(0), f.doc.LvAreas->Element(1));
  QCOMPARE(f.grid.CurrentRow(), 1);
}

// Where the client asked for components, EP is their sum: the cursor does not
// enter it, and a click on it says where the price goes.
void PriceGridTest::UnitPriceOfABreakdownIsReadOnly() {
  Fixture f(kEditColumns);
  boxes_.messages.clear();
  QVERIFY(!f.Select(4, "EP"));
  const QModelIndex price = f.Index(4, "EP");
  QCOMPARE(price.data(Qt::BackgroundRole).value<QBrush>().color(),
           ReadOnlyColor(f.grid.palette().color(QPalette::Button)));
  QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.grid.visualRect(price).center());
  QCOMPARE(boxes_.messages, std::vector<std::string>{PriceBreakdownHint()});
  QVERIFY(f.grid.CurrentRow() != 4 || f.grid.CurrentColumn() != f.Column("EP"));

  // A click on a cell that is simply read-only says nothing.
  QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {},
                    f.grid.visualRect(f.Index(4, "GB")).center());
  QCOMPARE(boxes_.messages.size(), size_t(1));

  QVERIFY(f.Select(4, "EPANTEIL1"));
  QTest::keyClicks(&f.editor, "2.5");
  f.page->CommitEdit();
  QCOMPARE(f.Cell(4, "EP"), QStringLiteral("2,500"));
  QCOMPARE(f.Cell(4, "GB"), QStringLiteral("10,00"));
}

// An area whose first position is priced by its components: the first key
// typed after showing it goes into the first component, never into EP or a
// discount.
void PriceGridTest::FirstKeyOfABreakdownGoesToItsFirstComponent() {
  PageFixture f(Tender(Area("01", "Rohbau",
                            Position("01.0010", "4", "m", Field("EPAUFGL", "J")) +
                                Position("01.0020", "2", "St"))),
                kEditColumns);
  f.page->ShowArea(f.doc.LvAreas->Element(0));
  QVERIFY(f.editor.isHidden());
  QCOMPARE(f.grid.CurrentRow(), 1);
  QCOMPARE(f.grid.CurrentColumn(), f.Column("EPANTEIL1"));
  f.grid.setFocus();
  QTest::keyClicks(&f.grid, "7");
  f.Key(Qt::Key_Return);
  QCOMPARE(f.Cell(1, "EPANTEIL1"), QStringLiteral("7,000"));
  QCOMPARE(f.Cell(1, "EP"), QStringLiteral("7,000"));
  QCOMPARE(f.Cell(1, "GB"), QStringLiteral("28,00"));
  QCOMPARE(f.Cell(0, "NACHLASSABS"), QString());
}

void PriceGridTest::CellTextByType_data() {
  QTest::addColumn<QString>("member");
  QTest::addColumn<QString>("entry");
  QTest::addColumn<bool>("converts");
  QTest::addColumn<QString>("editText");
  QTest::addColumn<bool>("numeric");
  QTest::newRow("string") << "ME"
                          << "m2" << true << "m2" << false;
  QTest::newRow("integer") << "NACHTRNR"
                           << "12" << true << "12" << false;
  QTest::newRow("integer, not a number") << "NACHTRNR"
                                         << "1x" << false << "" << false;
  QTest::newRow("price, rounded") << "EP"
                                  << "12,3456" << true << "12,346" << true;
  QTest::newRow("price, not a number") << "EP"
                                       << "abc" << false << "1234,5" << true;
  // An empty entry takes the price back: no price, which is not a price of 0.
  QTest::newRow("price, empty") << "EP"
                                << "" << true << "" << true;
  QTest::newRow("price, zero") << "EP"
                               << "0" << true << "0" << true;
}

// What the editor offers and how an entry is taken, by the member's type.
void PriceGridTest::CellTextByType() {
  QFETCH(QString, member);
  QFETCH(QString, entry);
  QFETCH(bool, converts);
  QFETCH(QString, editText);
  QFETCH(bool, numeric);
  Fixture f;
  KsGAEBObj& position = f.Element(2);
  KsMember& m = position.GetMember(member.toStdString());
  bool raised = false;
  try {
    ApplyCellText(position, m, entry.toStdString());
  } catch (const std::exception&) {
    raised = true;
  }
  QCOMPARE(raised, !converts);
  const CellEdit edit = CellEditText(m);
  QVERIFY(edit.Editable);
  QCOMPARE(QString::fromStdString(edit.Text), editText);
  QCOMPARE(edit.Numeric, numeric);
}

void PriceGridTest::AreaDiscount() {
  Fixture f;
  QVERIFY(!f.Select(0, "EP"));
  QVERIFY(f.Select(0, "NACHLASSABS"));
  QTest::keyClicks(&f.editor, "445");
  f.page->CommitEdit();
  QCOMPARE(f.Cell(0, "NACHLASSABS"), QStringLiteral("445,00"));
  QCOMPARE(f.Cell(0, "SUMMENACHNL"), QStringLiteral("12.000,00"));
  QCOMPARE(f.Label("lblSumme"), QStringLiteral("12.000,00"));
  QVERIFY(f.editor.isHidden());
}

void PriceGridTest::ComponentsMakeTheUnitPrice() {
  Fixture f(kEditColumns);
  QVERIFY(f.doc.EpBreakdown);
  QVERIFY(!f.Select(3, "EPANTEIL1"));
  QVERIFY(f.Select(4, "EPANTEIL1"));
  QTest::keyClicks(&f.editor, "1,1111");
  f.Key(Qt::Key_Right);  // modified: commit, then the next editable column
  QCOMPARE(f.grid.CurrentColumn(), f.Column("EPANTEIL2"));
  QTest::keyClicks(&f.editor, "2,2222");
  f.page->CommitEdit();
  QCOMPARE(f.Cell(4, "EPANTEIL1"), QStringLiteral("1,111"));
  QCOMPARE(f.Cell(4, "EP"), QStringLiteral("3,333"));
  QCOMPARE(f.Cell(4, "GB"), QStringLiteral("13,33"));
}

void PriceGridTest::RowKeys_data() {
  QTest::addColumn<int>("start");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("expected");
  QTest::newRow("Enter") << 2 << int(Qt::Key_Return) << int(Qt::NoModifier) << 3;
  QTest::newRow("Shift+Enter") << 3 << int(Qt::Key_Return) << int(Qt::ShiftModifier) << 2;
  QTest::newRow("Down") << 2 << int(Qt::Key_Down) << int(Qt::NoModifier) << 3;
  QTest::newRow("Down at the end") << 5 << int(Qt::Key_Down) << int(Qt::NoModifier) << 5;
  QTest::newRow("Alt+Down") << 2 << int(Qt::Key_Down) << int(Qt::AltModifier) << 2;
  QTest::newRow("Up") << 3 << int(Qt::Key_Up) << int(Qt::NoModifier) << 2;
  QTest::newRow("Up skips areas") << 2 << int(Qt::Key_Up) << int(Qt::NoModifier) << 2;
  QTest::newRow("Home") << 5 << int(Qt::Key_Home) << int(Qt::NoModifier) << 2;
  QTest::newRow("End") << 2 << int(Qt::Key_End) << int(Qt::NoModifier) << 5;
}

void PriceGridTest::RowKeys() {
  QFETCH(int, start);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, expected);
  Fixture f;
  QVERIFY(f.Select(start, "EP"));
  f.Key(key, Qt::KeyboardModifiers(modifiers));
  QCOMPARE(f.grid.CurrentRow(), expected);
  QCOMPARE(f.grid.CurrentColumn(), f.Column("EP"));
  QCOMPARE(QApplication::focusWidget(), &f.editor);
}

void PriceGridTest::PageKeys() {
  Fixture f;
  f.page->ShowElement(f.doc.LvAreas->Element(1));  // area row and 40 positions
  const int page = f.grid.VisibleRowCount();
  QVERIFY(page > 2 && page < 30);
  QVERIFY(f.Select(1, "EP"));
  f.Key(Qt::Key_PageDown);
  QCOMPARE(f.grid.CurrentRow(), 1 + page);
  f.Key(Qt::Key_PageDown);
  f.Key(Qt::Key_PageDown);
  QCOMPARE(f.grid.CurrentRow(), 40);  // beyond the end: the last row
  f.Key(Qt::Key_PageUp);
  QCOMPARE(f.grid.CurrentRow(), 40 - page);
  QVERIFY(f.Select(3, "EP"));
  f.Key(Qt::Key_PageUp);  // before the start: the first row, scrolled to the top
  QCOMPARE(f.grid.CurrentRow(), 1);
  QCOMPARE(f.grid.TopRow(), 0);
}

void PriceGridTest::RightAndLeftCommitAndMove() {
  Fixture f(kEditColumns);
  QVERIFY(f.Select(3, "EP"));
  f.Key(Qt::Key_Left);  // nothing editable to the left
  QCOMPARE(f.grid.CurrentColumn(), f.Column("EP"));
  QTest::keyClicks(&f.editor, "5");
  f.Key(Qt::Key_Right);  // EP 1 is read-only here: on to NL %
  QCOMPARE(f.grid.CurrentColumn(), f.Column("NACHLASSPROZ"));
  QCOMPARE(f.Cell(3, "EP"), QStringLiteral("5,000"));
  QCOMPARE(f.Cell(3, "GB"), QStringLiteral("10,00"));
  QTest::keyClicks(&f.editor, "10");
  f.Key(Qt::Key_Left);
  QCOMPARE(f.grid.CurrentColumn(), f.Column("EP"));
  QCOMPARE(f.Cell(3, "GB"), QStringLiteral("9,00"));
  f.Key(Qt::Key_Right);
  f.Key(Qt::Key_Right);  // the last editable column: stays
  QCOMPARE(f.grid.CurrentColumn(), f.Column("NACHLASSPROZ"));
}

void PriceGridTest::EmptyUnitPrice_data() {
  QTest::addColumn<QString>("opt");
  QTest::addColumn<int>("start");
  QTest::addColumn<bool>("next");
  QTest::addColumn<int>("expected");
  QTest::addColumn<QString>("column");
  QTest::addColumn<int>("area");  // the LV area shown afterwards
  const QString standard;
  const QString ep = QStringLiteral("EP");
  QTest::newRow("next") << standard << 2 << true << 3 << ep << 0;
  // 0030 is priced by its components, which are not shown; 0040 has a
  // price: on into area 02, its first position.
  QTest::newRow("next skips priced") << standard << 3 << true << 1 << ep << 1;
  QTest::newRow("previous") << standard << 5 << false << 3 << ep << 0;
  QTest::newRow("previous from the first") << standard << 2 << false << 2 << ep << 0;
  QTest::newRow("EP first column") << "1-EP;1-OZ;" << 2 << true << 3 << ep << 0;
  QTest::newRow("components") << kEditColumns << 3 << true << 4 << "EPANTEIL1" << 0;
}

void PriceGridTest::EmptyUnitPrice() {
  QFETCH(QString, opt);
  QFETCH(int, start);
  QFETCH(bool, next);
  QFETCH(int, expected);
  QFETCH(QString, column);
  QFETCH(int, area);
  Fixture f(opt);
  QVERIFY(f.Select(start, "EP"));
  f.Key(next ? Qt::Key_N : Qt::Key_L, Qt::ControlModifier);
  QCOMPARE(f.grid.Model().Element(0), f.doc.LvAreas->Element(area));
  QCOMPARE(f.grid.CurrentRow(), expected);
  QCOMPARE(f.grid.CurrentColumn(), f.Column(column.toStdString().c_str()));
}

void PriceGridTest::TabLeavesTheGrid() {
  Fixture f("1-OZ;1-NACHLASSABS;1-GB;");
  QVERIFY(f.Select(0, "NACHLASSABS"));
  QTest::keyClicks(&f.editor, "5");
  f.Key(Qt::Key_Tab, Qt::ControlModifier);  // Ctrl+Tab: on to the next control, the VAT entry
  QCOMPARE(QApplication::focusWidget(), f.window.findChild<QLineEdit*>("eMWSt"));
  QVERIFY(f.editor.isHidden());
  QCOMPARE(f.Cell(0, "NACHLASSABS"), QStringLiteral("5,00"));

  // Without EP the empty-price keys do nothing.
  QVERIFY(f.Select(0, "NACHLASSABS"));
  f.Key(Qt::Key_N, Qt::ControlModifier);
  QCOMPARE(f.grid.CurrentRow(), 0);
}

void PriceGridTest::LongTextFollowsTheRow() {
  Fixture f;
  auto* view = f.window.findChild<QTextEdit*>("reLTxt");
  QCOMPARE(view->toPlainText(), QStringLiteral("01\n"));
  QVERIFY(f.Select(2, "EP"));
  QCOMPARE(view->toPlainText(), QStringLiteral("01.01.0010\nBoden ausheben"));
  QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {},
                    f.grid.visualRect(f.Index(5, "OZ")).center());
  QCOMPARE(view->toPlainText(), QStringLiteral("01.0040\n"));
  QCOMPARE(f.grid.CurrentRow(), 2);  // the read-only cell did not become current

  QCOMPARE(f.page->LongTextFontSize(), 8);
  f.page->SetLongTextFontSize(10);
  QCOMPARE(view->font().pointSize(), 10);
}

void PriceGridTest::ColumnConfiguration_data() {
  QTest::addColumn<QString>("opt");
  QTest::addColumn<QStringList>("columns");
  QTest::addColumn<int>("items");
  QTest::newRow("two in order") << "1-EP;1-OZ;" << QStringList{"EP", "OZ"} << 2;
  QTest::newRow("unknown skipped") << "1-EP;1-XYZ;1-ep;0-OZ;" << QStringList{"EP"} << 2;
  QTest::newRow("none checked") << "0-EP;0-OZ;" << QStringList{""} << 2;
  QTest::newRow("empty keeps the list") << "" << QStringList{"OZ", "Typ"} << 21;
}

void PriceGridTest::ColumnConfiguration() {
  QFETCH(QString, opt);
  QFETCH(QStringList, columns);
  QFETCH(int, items);
  Fixture f(opt);
  QCOMPARE(f.columns.ItemCount(), items);
  QStringList headers;
  for (int c = 0; c < f.grid.Model().columnCount(); ++c)
    headers << f.grid.Model().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
  QCOMPARE(headers.mid(0, columns.size()), columns);
  if (!opt.isEmpty()) {
    QCOMPARE(headers.size(), columns.size());
    QCOMPARE(f.columns.OptText(), opt.contains("XYZ") ? QStringLiteral("1-EP;0-OZ;") : opt);
  }
}

void PriceGridTest::StandardRestoresTheDefaults() {
  Fixture f("1-EP;1-OZ;");
  f.columns.findChild<QPushButton*>("btnStandard")->click();
  f.page->BuildColumns();
  QCOMPARE(f.columns.ItemCount(), 21);
  QCOMPARE(f.grid.Model().columnCount(), 9);
  QCOMPARE(f.columns.OptText().left(48),
           QStringLiteral("1-OZ;1-_TARVO_POSTYP;1-BEZ;0-BEDARF;0-ENTF;0-EPA"));

  // Without a price breakdown in the file the component columns stay off.
  f.columns.SetAvailable("EPANTEIL1", false);
  auto* list = f.columns.findChild<QListWidget*>("lGridFields");
  QVERIFY(!(list->item(11)->flags() & Qt::ItemIsEnabled));
  list->item(11)->setCheckState(Qt::Checked);
  QCOMPARE(f.columns.ShownColumns().size(), size_t(9));
}

void PriceGridTest::ColumnListMovesAndRefusesForeignDrops() {
  Fixture f;
  auto* list = f.columns.findChild<QListWidget*>("lGridFields");
  f.columns.MoveItem(10, 0);  // EP to the front
  QCOMPARE(f.columns.ItemField(0)->Name(), std::string("EP"));
  QCOMPARE(f.columns.ItemField(1)->Name(), std::string("OZ"));
  QCOMPARE(list->item(0)->checkState(), Qt::Checked);

  const QString before = f.columns.OptText();
  QMimeData mime;
  mime.setText(QStringLiteral("OZ"));
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                  Qt::NoModifier);
  QApplication::sendEvent(list->viewport(), &drop);
  QVERIFY(!drop.isAccepted());
  QCOMPARE(f.columns.OptText(), before);
}

void PriceGridTest::VatEntry_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("answer");
  QTest::addColumn<QString>("rate");
  QTest::addColumn<QString>("vat");
  QTest::addColumn<QString>("gross");
  QTest::addColumn<int>("questions");
  QTest::addColumn<int>("errors");
  const struct {
    const char* name;
    const char* typed;
    bool answer;
    const char* rate;
    const char* vat;
    const char* gross;
    int questions, errors;
  } cases[] = {
      {"19", "19", false, "19,00", "2.364,55", "14.809,55", 0, 0},
      {"7,5", " 7,5 ", false, "7,50", "933,38", "13.378,38", 0, 0},
      {"7.5", "7.5", false, "7,50", "933,38", "13.378,38", 0, 0},
      {"25", "25", false, "25,00", "3.111,25", "15.556,25", 0, 0},
      {"empty", "", false, "0,00", "0,00", "12.445,00", 0, 0},
      // Refused with the German message; the rate stays.
      {"not a number", "19 %", false, "19,00", "2.364,55", "14.809,55", 0, 1},
      {"above 100", "150", false, "19,00", "2.364,55", "14.809,55", 0, 1},
      {"negative", "-7", false, "19,00", "2.364,55", "14.809,55", 0, 1},
      // Above 25 % the rate is asked for.
      {"30, taken", "30", true, "30,00", "3.733,50", "16.178,50", 1, 0},
      {"30, declined", "30", false, "19,00", "2.364,55", "14.809,55", 1, 0},
      {"100", "100", true, "100,00", "12.445,00", "24.890,00", 1, 0},
  };
  for (const auto& c : cases)
    QTest::newRow(c.name) << c.typed << c.answer << c.rate << c.vat << c.gross << c.questions
                          << c.errors;
}

void PriceGridTest::VatEntry() {
  QFETCH(QString, typed);
  QFETCH(bool, answer);
  QFETCH(QString, rate);
  QFETCH(QString, vat);
  QFETCH(QString, gross);
  QFETCH(int, questions);
  QFETCH(int, errors);
  Fixture f;
  boxes_.errors.clear();
  boxes_.questions.clear();
  boxes_.answer = answer;
  auto* entry = f.window.findChild<QLineEdit*>("eMWSt");
  QCOMPARE(entry->maxLength(), 6);
  QCOMPARE(entry->text(), QStringLiteral("19,00"));
  QTest::keyClick(&f.window, Qt::Key_M, Qt::AltModifier);
  QCOMPARE(QApplication::focusWidget(), entry);
  entry->selectAll();
  QTest::keyClick(entry, Qt::Key_Delete);
  QTest::keyClicks(entry, typed);
  QTest::keyClick(entry, Qt::Key_Return);
  QCOMPARE(QApplication::focusWidget(), &f.grid);
  QCOMPARE(entry->text(), rate);
  QCOMPARE(f.Label("lblMWStAbs"), vat);
  QCOMPARE(f.Label("lblBruttoSumme"), gross);
  QVERIFY(!entry->isModified());
  QCOMPARE(boxes_.questions.size(), size_t(questions));
  QCOMPARE(boxes_.errors.size(), size_t(errors));
  boxes_.answer = false;
}

void PriceGridTest::GridShowsWholeRows() {
  Fixture f;
  for (const int height : {600, 613, 650, 431}) {
    f.window.resize(900, height);
    QCoreApplication::processEvents();
    const int rows = f.grid.height() - f.grid.horizontalHeader()->height();
    QCOMPARE(rows % PriceGrid::kRowPitch, 0);
  }
}

// Too narrow for its columns (a small screen, a large scale factor), the
// grid scrolls sideways to the cell being priced; the OZ stays in sight at
// the left edge, row beside row, and never covers the cell.
void PriceGridTest::OzStaysInSightWhenScrolledSideways() {
  Fixture f;
  auto* frozen = f.grid.findChild<QTableView*>(QStringLiteral("frozenColumn"));
  QVERIFY(frozen);
  QCOMPARE(f.grid.Model().ColumnName(0), std::string("OZ"));
  QVERIFY(!frozen->isVisible());
  f.window.resize(330, 400);
  QCoreApplication::processEvents();
  const int last = f.grid.Model().columnCount() - 1;
  QVERIFY(f.Select(2, "EP"));
  QCoreApplication::processEvents();
  QVERIFY(f.grid.horizontalScrollBar()->value() > 0);
  QVERIFY(frozen->isVisible());
  QCOMPARE(frozen->geometry().left(), 0);
  QCOMPARE(frozen->columnWidth(0), f.grid.columnWidth(0));
  for (int column = 1; column <= last; ++column) QVERIFY(frozen->isColumnHidden(column));
  const QModelIndex current = f.grid.currentIndex();
  QVERIFY(f.grid.visualRect(current).left() >= f.grid.columnWidth(0));
  QCOMPARE(frozen->visualRect(f.grid.Model().index(4, 0)).top(),
           f.grid.visualRect(f.grid.Model().index(4, current.column())).top());
  QCOMPARE(f.grid.Model().index(4, 0).data().toString(), QStringLiteral("01.01.0030"));

  f.window.resize(1400, 400);
  QCoreApplication::processEvents();
  QCOMPARE(f.grid.horizontalScrollBar()->value(), 0);
  QVERIFY(!frozen->isVisible());
}

QTEST_MAIN(PriceGridTest)
#include "test_price_grid.moc"
