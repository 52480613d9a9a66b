#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QVBoxLayout>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/tender_files.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/print_command.h"
#include "ui/qstring_codec.h"
#include "ui/tit_pos_page.h"
#include "ui/window_dialogs.h"
#include "util/format_settings.h"

namespace {

const char kParagraph[] =
    "Toilettencontainer aufstellen, unterhalten, vorhalten und abtransportieren. Bei "
    "t\xE4glicher Nutzung ist die Toilettenkabine mindestens zweimal w\xF6"
    "chentlich zu reinigen. Verbrauchs- und Betriebskosten werden gesondert verg\xFCtet.";

// Area 01 with a note of two paragraphs; a position with a rich text of two
// paragraphs and a line break, one with a plain text of two lines and one
// whose single paragraph is longer than any window.
std::string LongTextTender() {
  return Tender(Area(
      "01", "Baustelleneinrichtung",
      Block("HINWEIS", Description("", "{\\rtf1 Hinweis eins\\par Hinweis zwei\\par}")) +
          Position("01.0010", "1", "St",
                   Description("Container",
                               "{\\rtf1\\ansi Container abtransportieren\\par "
                               "und entsorgen\\line inkl. Geb\\'fchren\\par}")) +
          Position("01.0020", "1", "St", Description("Zaun", "Bauzaun aufstellen\r\nund abbauen")) +
          Position("01.0030", "1", "St", Description("WC", kParagraph))));
}

// The page in a window of its own, at the size of a screen.
struct PageWindow {
  TempDir dir;
  KsLyxObj doc;
  KsFieldList fields;
  GridColumnsEditor columns{fields};
  QWidget window;
  TitPosPage* page = new TitPosPage(doc, fields, columns, &window);
  QTextEdit* view = page->findChild<QTextEdit*>(QStringLiteral("reLTxt"));

  explicit PageWindow(QSize size) {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(page);
    window.resize(size);
    if (!doc.Import(dir.Write("lv.d83", LongTextTender()))) qFatal("%s", doc.LastError.c_str());
    page->BuildColumns();
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qFatal("window not shown");
  }

  KsGAEBObj* Area() const { return doc.LvAreas->Element(0); }
  KsGAEBObj* Position(int index) const { return Area()->ChildList("POSITION")->Element(index); }
};

// Prints into the PDF file that the test names, on paper of the given size,
// as the print dialog would.
class PdfDialogs : public WindowDialogs {
 public:
  explicit PdfDialogs(QString file, QPageSize paper = QPageSize(QPageSize::A4))
      : file_(std::move(file)), paper_(std::move(paper)) {}
  QString OpenFileName(QWidget*) override { return {}; }
  QString TenderFileName(QWidget*, const QString&) override { return {}; }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  QString OpenWorkbookName(QWidget*) override { return {}; }
  QString SaveWorkbookName(QWidget*, const QString&) override { return {}; }
  SaveChanges AskSaveChanges(QWidget*, const QString&) override { return SaveChanges::Cancel; }
  bool GoOnDespite(QWidget*, const QString&) override { return true; }
  std::optional<QString> InputBox(QWidget*, const QString&, const QString&,
                                  const QString&) override {
    return std::nullopt;
  }
  bool ChoosePrinter(QWidget*, QPrinter& printer) override {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file_);
    printer.setPageSize(paper_);
    return true;
  }

 private:
  QString file_;
  QPageSize paper_;
};

QString RealTender(const char* name) {
  return QStringLiteral(TARVO_TEST_DATA_DIR "/real/") + QString::fromLatin1(name);
}

// The output of poppler's pdftotext with these options.
QString PdfToText(const QString& pdf, const QStringList& options) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"), options + QStringList{pdf, QStringLiteral("-")});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    qWarning("pdftotext failed: %s", process.readAllStandardError().constData());
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

QString Simplified(const QString& text) { return text.simplified(); }

}  // namespace

class LongTextsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void ViewKeepsTheLineBreaks_data();
  void ViewKeepsTheLineBreaks();
  void ViewWrapsAtItsWidth_data();
  void ViewWrapsAtItsWidth();
  void PrintedTenderFitsBetweenTheMargins();
  void PaperTooNarrowIsRefused();
};

void LongTextsTest::initTestCase() {
  SetFormatSettings(GermanFormatSettings());
  PrepareGaeb();
}

void LongTextsTest::ViewKeepsTheLineBreaks_data() {
  QTest::addColumn<int>("position");
  QTest::addColumn<QString>("shown");
  QTest::newRow("area notes") << -1 << QStringLiteral("01\nHinweis eins\nHinweis zwei\n");
  QTest::newRow("rich text") << 0
                             << QStringLiteral(
                                    "01.0010\nContainer abtransportieren\nund "
                                    "entsorgen\ninkl. Geb\u00fchren");
  QTest::newRow("plain lines") << 1 << QStringLiteral("01.0020\nBauzaun aufstellen\nund abbauen");
}

void LongTextsTest::ViewKeepsTheLineBreaks() {
  QFETCH(int, position);
  QFETCH(QString, shown);
  PageWindow w(QSize(1024, 768));
  w.page->ShowElement(position < 0 ? w.Area() : w.Position(position));
  QCOMPARE(w.view->toPlainText(), shown);
}

void LongTextsTest::ViewWrapsAtItsWidth_data() {
  QTest::addColumn<QSize>("screen");
  QTest::newRow("1280x800") << QSize(1280, 800);
  QTest::newRow("1024x768") << QSize(1024, 768);
}

// The long paragraph takes several lines, none wider than the view.
void LongTextsTest::ViewWrapsAtItsWidth() {
  QFETCH(QSize, screen);
  PageWindow w(screen);
  w.page->ShowElement(w.Position(2));
  QCOMPARE(w.view->toPlainText(), FromCp1252(std::string("01.0030\n") + kParagraph));
  const QTextBlock paragraph = w.view->document()->lastBlock();
  QVERIFY(paragraph.layout()->lineCount() > 1);
  for (int i = 0; i < paragraph.layout()->lineCount(); ++i)
    QVERIFY(paragraph.layout()->lineAt(i).naturalTextWidth() <= w.view->viewport()->width());
  QCOMPARE(w.view->horizontalScrollBar()->maximum(), 0);
}

// A real tender with long texts, printed to PDF: no line is longer than the
// page holds, every word lies inside margins of 15 mm, and the long texts
// are there word for word.
void LongTextsTest::PrintedTenderFitsBetweenTheMargins() {
  RecordingMessageBoxes boxes;
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("angebot.pdf"));
  KsLyxObj doc;
  QVERIFY(doc.Import(QFile::encodeName(RealTender("1561-02_ROHBAUARBEITEN.P83")).toStdString()));
  PdfDialogs dialogs(pdf);
  QtPrintTarget target(dialogs, nullptr);
  PrintOfferCommand(doc, true, target);
  QVERIFY2(boxes.errors.empty(), boxes.errors.empty() ? "" : boxes.errors[0].c_str());

  // Every word lies between the margins.
  const QString boxesXml = PdfToText(pdf, {QStringLiteral("-bbox")});
  static const QRegularExpression kPage(QStringLiteral(R"re(<page width="([\d.]+)")re"));
  static const QRegularExpression kWord(
      QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="[\d.]+" xMax="([\d.]+)")re"));
  const QRegularExpressionMatch page = kPage.match(boxesXml);
  QVERIFY(page.hasMatch());
  const double pageWidth = page.captured(1).toDouble();
  const double margin = 15 / 25.4 * 72;
  int words = 0;
  for (auto it = kWord.globalMatch(boxesXml); it.hasNext(); ++words) {
    const QRegularExpressionMatch word = it.next();
    QVERIFY2(word.captured(1).toDouble() >= margin - 0.5, qPrintable(word.captured(0)));
    QVERIFY2(word.captured(2).toDouble() <= pageWidth - margin + 0.5, qPrintable(word.captured(0)));
  }
  QVERIFY(words > 3000);

  // The text laid out in columns of the table font's width (0.6 of its 8
  // points) from the paper's left edge: no line reaches into the right
  // margin, none starts in the left one.
  const double pitch = 0.6 * 8;
  const QString layout =
      PdfToText(pdf, {QStringLiteral("-layout"), QStringLiteral("-fixed"), QString::number(pitch)});
  const QStringList lines = layout.split(QLatin1Char('\n'));
  QVERIFY(lines.size() > 500);
  const int lastColumn = static_cast<int>((pageWidth - margin) / pitch);
  const int firstColumn = static_cast<int>(margin / pitch);
  for (QString line : lines) {
    line.remove(QLatin1Char('\f'));
    QVERIFY2(line.size() <= lastColumn, qPrintable(line));
    QVERIFY2(line.trimmed().isEmpty() || !line.left(firstColumn).trimmed().size(),
             qPrintable(line));
  }

  // A long text spread over several lines, and the line-broken text of
  // another, read back as the words they are made of.
  const QString printed = Simplified(layout);
  for (int index : {0, 5}) {
    const KsGAEBObj& position = *doc.LvAreas->Element(0)->ChildList("POSITION")->Element(index);
    const QString longText = Simplified(FromCp1252(LongText(position)));
    QVERIFY(longText.size() > 100);
    QVERIFY2(printed.contains(longText), qPrintable(longText));
  }
}

// On A6 the table does not fit: the command says so and prints nothing.
void LongTextsTest::PaperTooNarrowIsRefused() {
  RecordingMessageBoxes boxes;
  QTemporaryDir dir;
  const QString pdf = dir.filePath(QStringLiteral("a6.pdf"));
  KsLyxObj doc;
  QVERIFY(doc.Import(QFile::encodeName(RealTender("LV_Los02.P83")).toStdString()));
  PdfDialogs dialogs(pdf, QPageSize(QPageSize::A6));
  QtPrintTarget target(dialogs, nullptr);
  PrintOfferCommand(doc, true, target);
  QCOMPARE(boxes.errors.size(), size_t{1});
  QCOMPARE(boxes.errors[0],
           std::string("Der Angebotsdruck braucht mindestens 73 Zeichen je Zeile, auf die Seite "
                       "passen nur 44. Bitte w\xE4hlen Sie das Querformat oder ein breiteres "
                       "Papier."));
  QVERIFY(!QFile::exists(pdf));
}

QTEST_MAIN(LongTextsTest)
#include "test_long_texts.moc"
