#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextTable>
#include <memory>

#include "ui/help_form.h"
#include "ui/info_dialog.h"
#include "ui/printer_text_device.h"
#include "ui/qstring_codec.h"
#include "util/version.h"

namespace {

std::unique_ptr<QPrinter> PdfPrinter(const QString& file) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(file);
  return printer;
}

// Qt writes every page as an uncompressed dictionary with the line "/Type /Page".
int PdfPageCount(const QString& file) {
  QFile pdf(file);
  if (!pdf.open(QIODevice::ReadOnly)) return -1;
  return static_cast<int>(pdf.readAll().count("/Type /Page\n"));
}

}  // namespace

class FoundationsTest : public QObject {
  Q_OBJECT

 private slots:
  void HelpWindowHasTheGuide();
  void HelpHeadingsAreBold_data();
  void HelpHeadingsAreBold();
  void HelpOptionNamesAreItalic_data();
  void HelpOptionNamesAreItalic();
  void HelpLegendListsThePositionTypes();
  void InfoDialogShowsVersionAndCloses();
  void InfoDialogTextsAreNotClipped();
  void CodecMapsWindows1252_data();
  void CodecMapsWindows1252();
  void PrinterBreaksPagesIntoPdf();
  void PrinterCountsEmbeddedLineBreaks();
  void PrinterStartsNoEmptyPage();
  void PrinterFontSizeChangesPageChars();
  void PrinterToUnwritableFileWritesNothing();
};

void FoundationsTest::HelpWindowHasTheGuide() {
  TFormHelp help;
  help.show();
  QVERIFY(QTest::qWaitForWindowExposed(&help));
  QCOMPARE(help.windowTitle(), QStringLiteral("Hilfe"));
  QCOMPARE(help.size(), QSize(800, 600));
  auto* view = help.findChild<QTextEdit*>(QStringLiteral("reLTxt"));
  QVERIFY(view);
  QVERIFY(view->isReadOnly());
  QCOMPARE(view->geometry(), help.rect());
  QVERIFY(view->toPlainText().size() > 3500);
}

void FoundationsTest::HelpHeadingsAreBold_data() {
  QTest::addColumn<QString>("heading");
  for (const char* heading :
       {"Tarvo Rudarur: Bieter - Preiserfassung", "Auftragnehmer", "Titel und Positionen",
        "Optionen", "Besonderheit EP-Aufgleiderung", "Weitere Funktionen"})
    QTest::newRow(heading) << QString::fromUtf8(heading);
}

// Each heading is a paragraph of its own, set in bold.
void FoundationsTest::HelpHeadingsAreBold() {
  QFETCH(QString, heading);
  TFormHelp help;
  help.show();
  const QTextDocument* doc = help.findChild<QTextEdit*>(QStringLiteral("reLTxt"))->document();
  bool found = false;
  for (QTextBlock block = doc->begin(); block.isValid() && !found; block = block.next()) {
    if (block.text() != heading) continue;
    found = true;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QCOMPARE(cursor.charFormat().fontWeight(), int(QFont::Bold));
  }
  QVERIFY2(found, qPrintable(heading));
}

void FoundationsTest::HelpOptionNamesAreItalic_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("Standard") << QStringLiteral("Standard");
  QTest::newRow("Langtext drucken") << QStringLiteral("Langtext drucken");
}

void FoundationsTest::HelpOptionNamesAreItalic() {
  QFETCH(QString, name);
  TFormHelp help;
  help.show();
  const QTextDocument* doc = help.findChild<QTextEdit*>(QStringLiteral("reLTxt"))->document();
  const QTextCursor hit =
      doc->find(name, 0, QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords);
  QVERIFY(!hit.isNull());
  QVERIFY(hit.charFormat().fontItalic());
}

void FoundationsTest::HelpLegendListsThePositionTypes() {
  TFormHelp help;
  help.show();
  const QTextDocument* doc = help.findChild<QTextEdit*>(QStringLiteral("reLTxt"))->document();
  const QTextCursor anchor = doc->find(QStringLiteral("Normalposition"));
  QVERIFY(!anchor.isNull());
  QTextTable* table = anchor.currentTable();
  QVERIFY(table);
  const QStringList expected[] = {
      {"Typ", "Bezeichnung", "betragsbildend"},
      {"N", "Normalposition", "ja"},
      {"B", "Bedarfsposition", "ja"},
      {"A", "Alternativposition", "nein"},
      {"AB", "Alternative Bedarfsposition", "nein"},
  };
  QCOMPARE(table->rows(), 5);
  QCOMPARE(table->columns(), 3);
  for (int row = 0; row < 5; ++row) {
    for (int col = 0; col < 3; ++col) {
      const QTextTableCell cell = table->cellAt(row, col);
      QTextCursor text = cell.firstCursorPosition();
      text.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
      QCOMPARE(text.selectedText(), expected[row][col]);
      QCOMPARE(text.charFormat().fontUnderline(), row == 0);
    }
  }
}

void FoundationsTest::InfoDialogShowsVersionAndCloses() {
  TDlgInfoLyx info;
  QCOMPARE(info.windowTitle(), QStringLiteral("Info"));
  QCOMPARE(info.size(), QSize(289, 301));
  QStringList texts;
  for (const QLabel* label : info.findChildren<QLabel*>()) texts << label->text();
  QVERIFY(texts.contains(QStringLiteral("Tarvo Rudarur")));
  QVERIFY(texts.contains(QStringLiteral("Bieter - Preiserfassung")));
  QVERIFY(texts.contains(QStringLiteral("Version  ") + QLatin1String(kTarvoVersion)));

  info.show();
  QVERIFY(QTest::qWaitForWindowExposed(&info));
  auto* ok = info.findChild<QPushButton*>();
  QVERIFY(ok);
  QCOMPARE(ok->text(), QStringLiteral("OK"));
  QVERIFY(ok->isDefault());
  QTest::keyClick(&info, Qt::Key_Return);
  QVERIFY(!info.isVisible());
  QCOMPARE(info.result(), int(QDialog::Accepted));
}

// At the fixed size every label must get the room it asks for.
void FoundationsTest::InfoDialogTextsAreNotClipped() {
  TDlgInfoLyx info;
  info.show();
  QVERIFY(QTest::qWaitForWindowExposed(&info));
  for (const QLabel* label : info.findChildren<QLabel*>()) {
    const QString what = label->text();
    if (label->wordWrap())
      QVERIFY2(label->height() >= label->heightForWidth(label->width()), qPrintable(what));
    else
      QVERIFY2(label->width() >= label->sizeHint().width() &&
                   label->height() >= label->sizeHint().height(),
               qPrintable(what));
    QVERIFY2(info.rect().contains(QRect(label->mapTo(&info, QPoint(0, 0)), label->size())),
             qPrintable(what));
  }
}

void FoundationsTest::CodecMapsWindows1252_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<QByteArray>("bytes");
  QTest::newRow("umlauts") << QStringLiteral("\u00C4rger \u00FCber \u00D6l, Gr\u00FC\u00DFe")
                           << QByteArray(
                                  "\xC4rger \xFC"
                                  "ber \xD6l, Gr\xFC\xDF"
                                  "e");
  QTest::newRow("euro and dash") << QStringLiteral("12,50 \u20AC \u2013 \u201ENetto\u201C")
                                 << QByteArray("12,50 \x80 \x96 \x84Netto\x93");
  QTest::newRow("empty") << QString() << QByteArray();
}

void FoundationsTest::CodecMapsWindows1252() {
  QFETCH(QString, text);
  QFETCH(QByteArray, bytes);
  const std::string cp1252 = ToCp1252(text);
  QCOMPARE(QByteArray::fromStdString(cp1252), bytes);
  QCOMPARE(FromCp1252(cp1252), text);
}

void FoundationsTest::PrinterBreaksPagesIntoPdf() {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("angebot.pdf"));
  auto printer = PdfPrinter(file);
  PrinterTextDevice device(*printer);
  QVERIFY(device.IsOpen());
  device.SetFontSize(9);
  QCOMPARE(device.PageNumber(), 1);
  int last_page = 1;
  for (int i = 1; i <= 200; ++i) {
    device.WriteLine("Zeile " + std::to_string(i) +
                     " Stra\xDF"
                     "e \x80");
    QVERIFY(device.PageNumber() == last_page || device.PageNumber() == last_page + 1);
    last_page = device.PageNumber();
  }
  QVERIFY(last_page > 1);
  device.Close();

  QFile pdf(file);
  QVERIFY(pdf.open(QIODevice::ReadOnly));
  QVERIFY(pdf.read(5) == "%PDF-");
  QCOMPARE(PdfPageCount(file), last_page);
}

// A line with embedded CR LF takes as many lines on paper as its parts.
void FoundationsTest::PrinterCountsEmbeddedLineBreaks() {
  QTemporaryDir dir;
  auto single_printer = PdfPrinter(dir.filePath(QStringLiteral("single.pdf")));
  auto joined_printer = PdfPrinter(dir.filePath(QStringLiteral("joined.pdf")));
  PrinterTextDevice single(*single_printer);
  PrinterTextDevice joined(*joined_printer);
  for (int i = 0; i < 60; ++i) {
    single.WriteLine("a");
    single.WriteLine("b");
    single.WriteLine("");
    joined.WriteLine("a\r\nb\r\n");
    QCOMPARE(joined.PageNumber(), single.PageNumber());
  }
  QVERIFY(joined.PageNumber() > 1);
}

// Filling a page exactly moves the page number on, but the job only gets a
// new page when something is written to it.
void FoundationsTest::PrinterStartsNoEmptyPage() {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("voll.pdf"));
  auto printer = PdfPrinter(file);
  PrinterTextDevice device(*printer);
  int lines = 0;
  while (device.PageNumber() == 1) {
    device.WriteLine("x");
    ++lines;
  }
  QVERIFY(lines > 20);
  device.Close();
  QCOMPARE(PdfPageCount(file), 1);
}

void FoundationsTest::PrinterFontSizeChangesPageChars() {
  QTemporaryDir dir;
  auto printer = PdfPrinter(dir.filePath(QStringLiteral("breite.pdf")));
  PrinterTextDevice device(*printer);
  device.SetFontSize(9);
  const int at9 = device.PageChars();
  device.SetFontSize(8);
  const int at8 = device.PageChars();
  QVERIFY2(at9 > 60 && at9 < 140, qPrintable(QString::number(at9)));
  QVERIFY(at8 > at9);
}

void FoundationsTest::PrinterToUnwritableFileWritesNothing() {
  QTemporaryDir dir;
  auto printer = PdfPrinter(dir.filePath(QStringLiteral("fehlt/angebot.pdf")));
  QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
  PrinterTextDevice device(*printer);
  QVERIFY(!device.IsOpen());
  device.WriteLine("Zeile");
  QCOMPARE(device.PageNumber(), 1);
  QCOMPARE(device.PageChars(), 0);
  device.Close();
}

QTEST_MAIN(FoundationsTest)
#include "test_foundations.moc"
