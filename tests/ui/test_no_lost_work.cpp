#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/ui/window_fixture.h"
#include "ui/recent_files.h"

namespace {

using Answer = WindowDialogs::SaveChanges;

const QString kProgram = QStringLiteral("Tarvo Rudarur: Bieter - Preiserfassung");
// Row 1 of the first area of LV_Los01 is position 010010 without a price.
constexpr int kPositionRow = 1;

QByteArray FileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& content) {
  const QString path = dir.filePath(QString::fromLatin1(name));
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(content);
  return path;
}

// How the user closes the window.
enum class Route { CloseBox, Beenden, Esc };

}  // namespace

class NoLostWorkTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();

  void EscInTheEditorCancelsTheEntry();
  void ClosingAsksAboutUnsavedChanges_data();
  void ClosingAsksAboutUnsavedChanges();
  void UnchangedTenderClosesWithoutQuestion();
  void OpeningAnotherFileAsksFirst_data();
  void OpeningAnotherFileAsksFirst();
  void TitleShowsFileAndChanges();
  void FailedOpenKeepsThePreviousTender_data();
  void FailedOpenKeepsThePreviousTender();

 private:
  // A copy of LV_Los01 in the test's directory, opened in the window, with a
  // price typed into the first position.
  void OpenAndPrice(Window& w);

  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
  std::unique_ptr<QTemporaryDir> dir_;
  QString tender_;
};

void NoLostWorkTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void NoLostWorkTest::init() {
  boxes_.messages.clear();
  boxes_.questions.clear();
  boxes_.errors.clear();
  boxes_.answer = false;
  dir_ = std::make_unique<QTemporaryDir>();
  tender_ = dir_->filePath(QStringLiteral("LV_Los01.P83"));
  QVERIFY(QFile::copy(RealTender("LV_Los01.P83"), tender_));
}

void NoLostWorkTest::OpenAndPrice(Window& w) {
  w.ShowActive();
  QVERIFY(w.form.LoadFile(tender_));
  QVERIFY(!w.form.Document().Modified());
  w.TypeIntoCell(kPositionRow, "EP", QStringLiteral("4711"));
  QVERIFY(w.form.Document().Modified());
}

void NoLostWorkTest::EscInTheEditorCancelsTheEntry() {
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(tender_));
  PriceGrid& grid = w.Grid();
  QVERIFY(grid.SelectCell(kPositionRow, grid.Model().ColumnOf("EP")));
  QTest::keyClicks(&grid.Editor(), QStringLiteral("99"));
  QTest::keyClick(&grid.Editor(), Qt::Key_Escape);

  QVERIFY(w.form.isVisible());
  QVERIFY(grid.Editor().isHidden());
  QCOMPARE(QApplication::focusWidget(), &grid);
  QCOMPARE(grid.CurrentRow(), kPositionRow);
  QCOMPARE(grid.Model().index(kPositionRow, grid.Model().ColumnOf("EP")).data().toString(),
           QString());
  QVERIFY(!w.form.Document().Modified());
  QVERIFY(w.dialogs.savePrompts.isEmpty());

  // Without an editor Esc closes the window, like "Beenden".
  QTest::keyClick(&grid, Qt::Key_Escape);
  QVERIFY(!w.form.isVisible());
  QVERIFY(store.keyExists);
}

void NoLostWorkTest::ClosingAsksAboutUnsavedChanges_data() {
  QTest::addColumn<int>("route");
  QTest::addColumn<int>("answer");
  QTest::addColumn<QString>("saveTo");  // "" cancels the save dialog; "fehlt/" cannot be written
  QTest::addColumn<bool>("closed");
  QTest::addColumn<bool>("saved");
  const struct {
    const char* name;
    Route route;
    Answer answer;
    const char* saveTo;
    bool closed;
    bool saved;
  } cases[] = {
      {"close box, Abbrechen", Route::CloseBox, Answer::Cancel, "", false, false},
      {"close box, Nein", Route::CloseBox, Answer::Discard, "", true, false},
      {"close box, Ja", Route::CloseBox, Answer::Save, "Angebot.D84", true, true},
      {"close box, Ja, save dialog cancelled", Route::CloseBox, Answer::Save, "", false, false},
      {"close box, Ja, save fails", Route::CloseBox, Answer::Save, "fehlt/Angebot.D84", false,
       false},
      {"Beenden, Abbrechen", Route::Beenden, Answer::Cancel, "", false, false},
      {"Beenden, Ja", Route::Beenden, Answer::Save, "Angebot.D84", true, true},
      {"Esc, Abbrechen", Route::Esc, Answer::Cancel, "", false, false},
      {"Esc, Nein", Route::Esc, Answer::Discard, "", true, false},
  };
  for (const auto& c : cases)
    QTest::newRow(c.name) << int(c.route) << int(c.answer) << QString::fromLatin1(c.saveTo)
                          << c.closed << c.saved;
}

void NoLostWorkTest::ClosingAsksAboutUnsavedChanges() {
  QFETCH(int, route);
  QFETCH(int, answer);
  QFETCH(QString, saveTo);
  QFETCH(bool, closed);
  QFETCH(bool, saved);
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  w.dialogs.saveChangesAnswer = Answer(answer);
  w.dialogs.saveAnswer = saveTo.isEmpty() ? QString() : dir_->filePath(saveTo);

  switch (Route(route)) {
    case Route::CloseBox:
      w.form.close();
      break;
    case Route::Beenden:
      w.Action("mEnd")->trigger();
      break;
    case Route::Esc:
      QTest::keyClick(&w.Grid(), Qt::Key_Escape);
      break;
  }
  QCOMPARE(w.dialogs.savePrompts,
           QStringList{QStringLiteral("Die \u00C4nderungen an LV_Los01.P83 speichern?")});
  QCOMPARE(!w.form.isVisible(), closed);
  QCOMPARE(store.keyExists, closed);  // settings are written only on the way out
  QCOMPARE(w.dialogs.saveCount, answer == int(Answer::Save) ? 1 : 0);
  const QByteArray offer = FileContent(dir_->filePath(QStringLiteral("Angebot.D84")));
  QCOMPARE(offer.contains("[EP]4711"), saved);
  if (saveTo.startsWith(QLatin1String("fehlt/"))) QCOMPARE(boxes_.messages.size(), size_t(1));
  if (!closed) QVERIFY(w.form.Document().Modified());
}

void NoLostWorkTest::UnchangedTenderClosesWithoutQuestion() {
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  w.TypeIntoCell(kPositionRow, "EP", QStringLiteral("0"));  // the price typed back
  QVERIFY(!w.form.Document().Modified());
  w.form.close();
  QVERIFY(w.dialogs.savePrompts.isEmpty());
  QVERIFY(!w.form.isVisible());
}

void NoLostWorkTest::OpeningAnotherFileAsksFirst_data() {
  QTest::addColumn<bool>("recent");
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("opened");
  QTest::newRow("Öffnen, Abbrechen") << false << int(Answer::Cancel) << false;
  QTest::newRow("Öffnen, Nein") << false << int(Answer::Discard) << true;
  QTest::newRow("Öffnen, Ja") << false << int(Answer::Save) << true;
  QTest::newRow("recent file, Abbrechen") << true << int(Answer::Cancel) << false;
  QTest::newRow("recent file, Nein") << true << int(Answer::Discard) << true;
}

// The question comes before the open dialog; cancelling it keeps the priced
// tender open.
void NoLostWorkTest::OpeningAnotherFileAsksFirst() {
  QFETCH(bool, recent);
  QFETCH(int, answer);
  QFETCH(bool, opened);
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  const QString other = RealTender("LV_Los02.P83");
  w.dialogs.saveChangesAnswer = Answer(answer);
  w.dialogs.saveAnswer = dir_->filePath(QStringLiteral("Angebot.D84"));
  if (recent) {
    w.form.RecentFiles().Add(other);
    w.form.RecentFiles().Entry(0)->trigger();
  } else {
    w.dialogs.openAnswer = other;
    w.form.OpenFile();
    QCOMPARE(w.dialogs.openCount, opened ? 1 : 0);
  }
  QCOMPARE(w.dialogs.savePrompts,
           QStringList{QStringLiteral("Die \u00C4nderungen an LV_Los01.P83 speichern?")});
  QCOMPARE(w.form.Document().FileName(), std::string(opened ? "LV_Los02.P83" : "LV_Los01.P83"));
  QCOMPARE(w.form.Document().Modified(), !opened);
  QCOMPARE(FileContent(w.dialogs.saveAnswer).contains("[EP]4711"), answer == int(Answer::Save));
}

void NoLostWorkTest::TitleShowsFileAndChanges() {
  MemorySettingsStore store;
  Window w(store);
  QCOMPARE(w.form.windowTitle(), kProgram);
  OpenAndPrice(w);
  QCOMPARE(w.form.windowTitle(), QStringLiteral("LV_Los01.P83[*] - ") + kProgram);
  QVERIFY(w.form.isWindowModified());

  w.dialogs.saveAnswer = dir_->filePath(QStringLiteral("Angebot.D84"));
  QVERIFY(w.form.SaveFile());
  QCOMPARE(w.form.windowTitle(), QStringLiteral("Angebot.D84[*] - ") + kProgram);
  QVERIFY(!w.form.isWindowModified());

  // A bidder field counts as soon as it is left.
  w.ShowPage("tsAN");
  w.Edit("eOrt")->setText(QStringLiteral("Ulm"));
  w.Leave("eOrt");
  QVERIFY(w.form.isWindowModified());
  w.Edit("eOrt")->setText(QString());
  w.Leave("eOrt");
  QVERIFY(!w.form.isWindowModified());

  // So does the VAT rate.
  auto* vat = w.Find<QLineEdit>("eMWSt");
  w.Pages()->setCurrentWidget(w.TitPos());
  vat->setFocus();
  vat->selectAll();
  QTest::keyClicks(vat, QStringLiteral("7"));
  QTest::keyClick(vat, Qt::Key_Return);
  QVERIFY(w.form.isWindowModified());
}

void NoLostWorkTest::FailedOpenKeepsThePreviousTender_data() {
  QTest::addColumn<QByteArray>("content");  // empty: the file does not exist
  QTest::newRow("no GAEB file") << QByteArray("Das ist keine GAEB-Datei\n");
  QTest::newRow("missing file") << QByteArray();
  QTest::newRow("award data without root block")
      << QByteArray("#begin[VERGABE]\r\n[DP]83[end]\r\n#end[VERGABE]\r\n");
}

// Everything of the priced tender stays: tree, grid, totals, title, changes.
void NoLostWorkTest::FailedOpenKeepsThePreviousTender() {
  QFETCH(QByteArray, content);
  MemorySettingsStore store;
  Window w(store);
  OpenAndPrice(w);
  const KsLyxObj* before = &w.form.Document();
  const QStringList entries = w.TopLevelEntries();
  const QString sum = w.Value("lblSumme");
  KsGAEBObj* firstRow = w.Grid().Model().Element(0);
  const QString title = w.form.windowTitle();

  const QString bad = content.isEmpty() ? dir_->filePath(QStringLiteral("fehlt.d83"))
                                        : WriteFile(*dir_, "kaputt.d83", content);
  QVERIFY(!w.form.LoadFile(bad));
  QCOMPARE(boxes_.messages.size(), size_t(1));
  QCOMPARE(&w.form.Document(), before);
  QVERIFY(w.form.Document().Loaded());
  QVERIFY(w.form.Document().Modified());
  QCOMPARE(w.TopLevelEntries(), entries);
  QCOMPARE(w.Grid().Model().Element(0), firstRow);
  QCOMPARE(w.Value("lblSumme"), sum);
  QCOMPARE(w.form.windowTitle(), title);
  QVERIFY(w.form.isWindowModified());
  QVERIFY(w.Pages()->isVisible() && w.Find<QTreeWidget>("tv")->isVisible());
  QCOMPARE(w.form.RecentFiles().Paths(), QStringList{tender_});

  // And it can still be priced.
  w.TypeIntoCell(kPositionRow + 1, "EP", QStringLiteral("3"));
  QVERIFY(w.Value("lblSumme") != sum);
}

QTEST_MAIN(NoLostWorkTest)
#include "test_no_lost_work.moc"
