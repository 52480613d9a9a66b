#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/format_guard.h"
#include "tests/support/memory_settings_store.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_text_device.h"
#include "tests/ui/window_fixture.h"
#include "ui/form_lyx.h"
#include "ui/print_command.h"
#include "ui/read_only_color.h"
#include "ui/readable_color.h"
#include "ui/tender_file_types.h"

// The window at the estimator's pace: undo, the keyboard in the grid, the
// search, opening, the print preview, the start page and readable colours.
// LV_Los01: area 01 holds 010010 (quantity 1), 010020 (2), 010030 (1); area
// 02 starts with 020010.
namespace {

KsGAEBObj& Position(KsLyxObj& doc, int area, int index) {
  return *doc.LvAreas->Element(area)->ChildList("POSITION")->Element(index);
}
double Number(KsGAEBObj& element, const char* name) { return element.GetMember(name).GetAsFloat(); }

class CountingTarget : public PrintTarget {
 public:
  bool Choose(const std::string&) override { return true; }
  int PageChars(int) const override { return device.PageChars(); }
  std::unique_ptr<TextDevice> Open() override { return std::make_unique<Forward>(device); }
  int CountPages(const std::function<void(TextDevice&)>& print) override {
    RecordingTextDevice counter{120, 40};
    print(counter);
    return counter.lines.empty() ? 0 : counter.lines.back().page;
  }
  RecordingTextDevice device{120, 40};

 private:
  class Forward : public TextDevice {
   public:
    explicit Forward(RecordingTextDevice& to) : to_(to) {}
    void SetFontSize(int points) override { to_.SetFontSize(points); }
    int PageChars() const override { return to_.PageChars(); }
    int PageNumber() const override { return to_.PageNumber(); }
    void WriteLine(const std::string& text) override { to_.WriteLine(text); }
    void Close() override { to_.Close(); }

   private:
    RecordingTextDevice& to_;
  };
};

}  // namespace

class EstimatorPaceTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase();
  void UndoAndRedoCoverEveryEntry();
  void TakenOverPricesAreOneStepToUndo();
  void WorkbookPricesAreOneStepToUndo();
  void TabMovesWithinTheGrid();
  void EnterGoesOnIntoTheNextArea();
  void GridKeepsItsPlaceAcrossPages();
  void FindGoesToOzAndWords();
  void DroppedFileOpensAfterTheQuestion();
  void DialogsShowOffersAndProposeTheOffer();
  void PrintPreviewAndPageCount();
  void StartPageShowsWhatToDo();
  void ColoursComeFromThePalette();

 private:
  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
};

void EstimatorPaceTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void EstimatorPaceTest::UndoAndRedoCoverEveryEntry() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  KsLyxObj& doc = w.form.Document();
  QVERIFY(!w.Action("aUndo")->isEnabled());
  w.TypeIntoCell(1, "EP", QStringLiteral("12,5"));
  w.TypeIntoCell(2, "EP", QStringLiteral("10"));
  QCOMPARE(Number(Position(doc, 0, 1), "GB"), 20.0);
  QLineEdit* vat = w.Edit("eMWSt");
  vat->setFocus();
  vat->selectAll();
  QTest::keyClicks(vat, "7");
  QTest::keyClick(vat, Qt::Key_Return);
  QCOMPARE(Number(*doc.LvInfo, "UST"), 7.0);
  w.ShowPage("tsAN");
  w.Edit("eOrt")->setText(QStringLiteral("Leipzig"));
  w.Leave("eOrt");
  QCOMPARE(doc.BidderData()[BidderIndex("ORT")], std::string("Leipzig"));

  // Saving keeps the history.
  QTemporaryDir dir;
  w.dialogs.saveAnswer = dir.filePath(QStringLiteral("angebot.D84"));
  QVERIFY(w.form.SaveFile());
  QVERIFY(w.Action("aUndo")->isEnabled());

  w.Action("aUndo")->trigger();
  QCOMPARE(doc.BidderData()[BidderIndex("ORT")], std::string());
  QCOMPARE(w.Edit("eOrt")->text(), QString());
  w.Action("aUndo")->trigger();
  QCOMPARE(Number(*doc.LvInfo, "UST"), 19.0);
  QCOMPARE(Number(*doc.LvInfo, "SUMMEBRUTTO"), 38.68);  // 32,50 + 6,18 (19 % of 32,50 = 6,175)
  w.Action("aUndo")->trigger();
  QCOMPARE(Number(Position(doc, 0, 1), "EP"), 0.0);
  QCOMPARE(Number(Position(doc, 0, 1), "GB"), 0.0);
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 12.5);
  QCOMPARE(w.Grid().Model().Element(w.Grid().CurrentRow()), &Position(doc, 0, 1));
  w.Action("aUndo")->trigger();
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 0.0);
  QVERIFY(!w.Action("aUndo")->isEnabled());

  w.Action("aRedo")->trigger();
  QCOMPARE(Number(Position(doc, 0, 0), "GB"), 12.5);
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 12.5);
  QVERIFY(w.Action("aRedo")->isEnabled());

  // Another tender starts without history.
  w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
  QVERIFY(w.form.MayDiscardChanges());
  QVERIFY(w.form.LoadFile(RealTender("LV_Los02.P83")));
  QVERIFY(!w.Action("aUndo")->isEnabled());
  QVERIFY(!w.Action("aRedo")->isEnabled());
}

// The prices of another offer come in as one step and go out as one.
void EstimatorPaceTest::TakenOverPricesAreOneStepToUndo() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  w.TypeIntoCell(1, "EP", QStringLiteral("12,5"));
  w.TypeIntoCell(2, "EP", QStringLiteral("10"));
  QTemporaryDir dir;
  w.dialogs.saveAnswer = dir.filePath(QStringLiteral("letzte Woche.D84"));
  QVERIFY(w.form.SaveFile());

  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  KsLyxObj& doc = w.form.Document();
  QVERIFY(!w.Action("aUndo")->isEnabled());
  w.dialogs.openAnswer = w.dialogs.saveAnswer;
  w.Action("aTakeOver")->trigger();
  QCOMPARE(Number(Position(doc, 0, 0), "GB"), 12.5);
  QCOMPARE(Number(Position(doc, 0, 1), "GB"), 20.0);
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 32.5);
  QVERIFY(w.form.isWindowModified());

  w.Action("aUndo")->trigger();
  QVERIFY(HasEmptyUnitPrice(Position(doc, 0, 0)));
  QVERIFY(HasEmptyUnitPrice(Position(doc, 0, 1)));
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 0.0);
  QVERIFY(!w.Action("aUndo")->isEnabled());
  w.Action("aRedo")->trigger();
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 32.5);

  // The keys do the same from the grid.
  QTest::keyClick(&w.Grid(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 0.0);
  QTest::keyClick(&w.Grid(), Qt::Key_Y, Qt::ControlModifier);
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 32.5);
}

// A subcontractor's workbook (tests/data/sheet/README.md: 010010 1250,5,
// 010020 "85,25", 010030 =2*200) comes in as one step through the menu.
void EstimatorPaceTest::WorkbookPricesAreOneStepToUndo() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  KsLyxObj& doc = w.form.Document();
  w.dialogs.workbookAnswer = QStringLiteral(TARVO_TEST_DATA_DIR "/sheet/los01-typed.xlsx");
  w.Action("aSheetPrices")->trigger();
  QCOMPARE(Number(Position(doc, 0, 0), "GB"), 1250.5);
  QCOMPARE(Number(Position(doc, 0, 1), "GB"), 170.5);  // 2 St at 85,25
  QCOMPARE(Number(Position(doc, 0, 2), "GB"), 400.0);
  QCOMPARE(Number(*doc.LvAreas->Element(0), "SUMME"), 1821.0);

  w.Action("aUndo")->trigger();
  for (int i = 0; i < 3; ++i) QVERIFY(HasEmptyUnitPrice(Position(doc, 0, i)));
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 0.0);
  QVERIFY(!w.Action("aUndo")->isEnabled());
  w.Action("aRedo")->trigger();
  QCOMPARE(Number(*doc.LvAreas->Element(0), "SUMME"), 1821.0);
}

void EstimatorPaceTest::TabMovesWithinTheGrid() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  PriceGrid& grid = w.Grid();
  const int ep = grid.Model().ColumnOf("EP");
  QVERIFY(grid.SelectCell(1, ep));
  QTest::keyClicks(&grid.Editor(), "10");
  QTest::keyClick(&grid.Editor(), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), &grid.Editor());
  QVERIFY(grid.CurrentRow() != 1 || grid.CurrentColumn() != ep);
  QCOMPARE(Number(Position(w.form.Document(), 0, 0), "EP"), 10.0);
  QTest::keyClick(&grid.Editor(), Qt::Key_Backtab, Qt::ShiftModifier);
  QCOMPARE(grid.CurrentRow(), 1);
  QCOMPARE(grid.CurrentColumn(), ep);
  // Tab after a row's last cell goes on to the next row.
  for (int i = 0; i < 20 && grid.CurrentRow() == 1; ++i)
    QTest::keyClick(&grid.Editor(), Qt::Key_Tab);
  QCOMPARE(grid.CurrentRow(), 2);
  QCOMPARE(QApplication::focusWidget(), &grid.Editor());
  QTest::keyClick(&grid.Editor(), Qt::Key_Tab, Qt::ControlModifier);
  QVERIFY(QApplication::focusWidget() != &grid.Editor());
}

void EstimatorPaceTest::EnterGoesOnIntoTheNextArea() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  KsLyxObj& doc = w.form.Document();
  w.TypeIntoCell(3, "EP", QStringLiteral("5"));
  QCOMPARE(Number(Position(doc, 0, 2), "EP"), 5.0);
  PriceGrid& grid = w.Grid();
  QCOMPARE(grid.Model().Element(0), doc.LvAreas->Element(1));
  QCOMPARE(grid.Model().Element(grid.CurrentRow()), &Position(doc, 1, 0));
  QCOMPARE(grid.CurrentColumn(), grid.Model().ColumnOf("EP"));
  QVERIFY(w.Find<QTreeWidget>("tv")->currentItem()->text(0).startsWith(QStringLiteral("02 ")));
}

void EstimatorPaceTest::GridKeepsItsPlaceAcrossPages() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  KsLyxObj& doc = w.form.Document();
  w.TitPos()->ShowArea(doc.LvAreas->Element(1));
  PriceGrid& grid = w.Grid();
  QVERIFY(grid.SelectCell(3, grid.Model().ColumnOf("EP")));
  w.ShowPage("tsOpt");
  w.ShowPage("tsTitPos");
  QCOMPARE(grid.Model().Element(0), doc.LvAreas->Element(1));
  QCOMPARE(grid.CurrentRow(), 3);
  QCOMPARE(grid.CurrentColumn(), grid.Model().ColumnOf("EP"));
  // Through the tree as well.
  auto* tree = w.Find<QTreeWidget>("tv");
  tree->setCurrentItem(tree->findItems(QStringLiteral("Auftragnehmer"), Qt::MatchExactly).value(0));
  tree->setCurrentItem(tree->topLevelItem(5));
  QCOMPARE(grid.Model().Element(0), doc.LvAreas->Element(1));
  QCOMPARE(grid.CurrentRow(), 3);
}

void EstimatorPaceTest::FindGoesToOzAndWords() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  KsLyxObj& doc = w.form.Document();
  PriceGrid& grid = w.Grid();
  auto* tree = w.Find<QTreeWidget>("tv");
  auto* longText = w.Find<QTextEdit>("reLTxt");
  QLineEdit* find = w.Edit("eFind");
  const auto search = [&](const char* text) {
    w.Action("aFind")->trigger();
    QVERIFY(find->isVisible());
    find->setText(QString::fromUtf8(text));
    QTest::keyClick(find, Qt::Key_Return);
  };
  const auto current = [&] { return grid.Model().Element(grid.CurrentRow()); };

  for (const char* oz : {"01.0020", "010020", "01 0020", "1.0020"}) {
    w.ShowPage("tsOpt");
    search(oz);
    QCOMPARE(current(), &Position(doc, 0, 1));
  }
  search("anlaufberatung BAUFELDÜBERGABE");
  QCOMPARE(current(), &Position(doc, 0, 0));
  QVERIFY(longText->toPlainText().startsWith(QStringLiteral("010010")));

  search("erschwerniszulage fuer");
  QCOMPARE(current(), &Position(doc, 1, 3));
  QVERIFY(tree->currentItem()->text(0).startsWith(QStringLiteral("02 ")));
  QVERIFY(longText->toPlainText().startsWith(QStringLiteral("020040")));
  w.Action("aFindNext")->trigger();
  QCOMPARE(current(), &Position(doc, 1, 4));
  w.Action("aFindPrevious")->trigger();
  QCOMPARE(current(), &Position(doc, 1, 3));

  search("Bauzaun");
  QCOMPARE(current(), &Position(doc, 1, 3));
  QCOMPARE(w.Value("lblFindResult"), QStringLiteral("\u201EBauzaun\u201C wurde nicht gefunden."));
  // Esc closes the search line, not the window.
  QTest::keyClick(find, Qt::Key_Escape);
  QVERIFY(w.form.isVisible());
  QVERIFY(!find->isVisible());
}

void EstimatorPaceTest::DroppedFileOpensAfterTheQuestion() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.ShowActive();
  w.TypeIntoCell(1, "EP", QStringLiteral("3"));
  const auto drop = [&w](const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    const QPoint at = w.form.rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.form, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w.form, &dropped);
    return true;
  };
  QVERIFY(!drop(QStringLiteral(TARVO_TEST_DATA_DIR "/README.md")));
  w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Cancel;
  QVERIFY(drop(RealTender("LV_Los02.P83")));
  QCOMPARE(w.dialogs.savePrompts.size(), 1);
  QCOMPARE(w.form.Document().FileName(), std::string("LV_Los01.P83"));
  w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
  QVERIFY(drop(RealTender("LV_Los02.P83")));
  QCOMPARE(w.form.Document().FileName(), std::string("LV_Los02.P83"));
}

void EstimatorPaceTest::DialogsShowOffersAndProposeTheOffer() {
  const QString first = OpenFileFilter().section(QStringLiteral(";;"), 0, 0);
  const QString patterns = first.section(QLatin1Char('('), 1).chopped(1);
  for (const QString name : {"a.D83", "a.p83", "a.X83", "a.d84", "a.P84", "a.x84", "a.X84"}) {
    bool shown = false;
    for (const QString& pattern : patterns.split(QLatin1Char(' ')))
      shown = shown || QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                           .match(name)
                           .hasMatch();
    QVERIFY2(shown, qPrintable(name));
  }
  QVERIFY(OpenFileFilter().contains(QStringLiteral(";;Ausschreibungen (")));

  QTemporaryDir dir;
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  QCOMPARE(w.dialogs.saveDirectory, QString());
  w.dialogs.saveAnswer = dir.filePath(QStringLiteral("mein Angebot.D84"));
  QVERIFY(w.form.SaveFile());
  QCOMPARE(w.dialogs.saveDirectory, QFileInfo(RealTender("LV_Los01.P83")).absolutePath());
  w.dialogs.saveAnswer.clear();
  w.form.SaveFile();
  QCOMPARE(w.dialogs.saveDirectory, dir.path());
  QCOMPARE(w.dialogs.saveProposal, QStringLiteral("mein Angebot.D84"));
  // A reopened offer proposes itself.
  QVERIFY(w.form.LoadFile(dir.filePath(QStringLiteral("mein Angebot.D84"))));
  w.form.SaveFile();
  QCOMPARE(w.dialogs.saveDirectory, dir.path());
  QCOMPARE(w.dialogs.saveProposal, QStringLiteral("mein Angebot.D84"));
}

void EstimatorPaceTest::PrintPreviewAndPageCount() {
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("1561-02_ROHBAUARBEITEN.P83")));
  w.ShowActive();
  int previewPages = 0;
  QTimer::singleShot(200, [&previewPages] {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<QPrintPreviewDialog*>(top);
      if (!dialog) continue;
      if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
        previewPages = preview->pageCount();
      dialog->reject();
    }
  });
  w.Action("aPreview")->trigger();
  QVERIFY2(previewPages > 1, qPrintable(QString::number(previewPages)));

  CountingTarget target;
  PrintOfferCommand(w.form.Document(), true, target);
  const int pages = target.device.lines.back().page;
  QVERIFY(pages > 1);
  for (int page = 1; page <= pages; ++page) {
    const std::string head = target.device.Page(page).at(0);
    const std::string expected = "Seite " + std::to_string(page) + " von " + std::to_string(pages);
    QVERIFY2(head.ends_with(expected), head.c_str());
  }
}

void EstimatorPaceTest::StartPageShowsWhatToDo() {
  MemorySettingsStore store;
  {
    Window w(store);
    w.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w.form));
    QVERIFY(w.Find<QWidget>("paStart")->isVisible());
    QVERIFY(!w.Find<QWidget>("splitter")->isVisible());
    QVERIFY(w.Value("lblStartOpen").contains(QStringLiteral("Ausschreibung \u00F6ffnen (F4)")));
    QVERIFY(w.Value("lblStartOpen").contains(QStringLiteral("hierher ziehen")));
    QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
    QVERIFY(!w.Find<QWidget>("paStart")->isVisible());
    QVERIFY(w.Find<QWidget>("splitter")->isVisible());
    w.form.close();
  }
  Window again(store);
  again.form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&again.form));
  QVERIFY(again.Value("lblStartRecent").contains(QStringLiteral("LV_Los01.P83")));
}

// Text against its background at 4.5:1 at least, on the light and the dark palette.
void EstimatorPaceTest::ColoursComeFromThePalette() {
  const QPalette original = QApplication::palette();
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  for (const QPalette& palette : {QApplication::style()->standardPalette(), DarkPalette()}) {
    QApplication::setPalette(palette);
    MemorySettingsStore store;
    Window w(store);
    QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
    const QPalette view = w.Find<QTextEdit>("reLTxt")->palette();
    QVERIFY(ContrastRatio(view.color(QPalette::Text), view.color(QPalette::Base)) >= kMinContrast);
    const QPalette value = w.Find<QLabel>("lblAbgabeOrt")->palette();
    QVERIFY(ContrastRatio(value.color(QPalette::WindowText), value.color(QPalette::Window)) >=
            kMinContrast);
    const QColor readOnly = ReadOnlyColor(palette.color(QPalette::Button));
    QVERIFY(ContrastRatio(palette.color(QPalette::Text), readOnly) >= kMinContrast);
    const QPalette editor = w.Grid().Editor().palette();
    QVERIFY(ContrastRatio(editor.color(QPalette::Text), editor.color(QPalette::Base)) >=
            kMinContrast);
  }
  QApplication::setPalette(original);
}

QTEST_MAIN(EstimatorPaceTest)
#include "test_estimator_pace.moc"
