#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "archive/archive_location.h"
#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/ui/window_fixture.h"
#include "ui/archive_panel.h"
#include "ui/tit_pos_page.h"

namespace {

// LV_Los01, area 01: row 1 is 010010 (1 psch), row 2 010020 (2 St), row 3
// 010030 (1 psch), none priced.
KsGAEBObj& Position(KsLyxObj& doc, int index) {
  return *doc.LvAreas->Element(0)->ChildList("POSITION")->Element(index);
}
double Number(KsGAEBObj& element, const char* name) { return element.GetMember(name).GetAsFloat(); }

}  // namespace

// The earlier prices of the archive offered for the next tender: beside
// the long text for one position, and for every open position at once.
class ArchivePanelTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void ThePanelOffersTheEarlierPriceAndEnterTakesIt();
  void EveryOpenPositionTakesItsPriceInOneStep();
  void WithoutTheArchiveThePanelStaysHidden();
  void AnArchiveThatFailsIsNamedAndLeftAlone();

 private:
  // Prices rows 1 and 2 of the tender, saves the offer (which enters the
  // archive), and opens the tender again without prices.
  void PriceSaveAndReopen(Window& w);

  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
  std::unique_ptr<QTemporaryDir> dir_;
  QString tender_;
};

void ArchivePanelTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void ArchivePanelTest::init() {
  dir_ = std::make_unique<QTemporaryDir>();
  qputenv("XDG_DATA_HOME", dir_->filePath(QStringLiteral("data")).toLocal8Bit());
  tender_ = dir_->filePath(QStringLiteral("LV_Los01.P83"));
  QVERIFY(QFile::copy(RealTender("LV_Los01.P83"), tender_));
  boxes_.messages.clear();
  boxes_.questions.clear();
}

void ArchivePanelTest::PriceSaveAndReopen(Window& w) {
  w.ShowActive();
  QVERIFY(w.form.LoadFile(tender_));
  w.TypeIntoCell(1, "EP", QStringLiteral("4711"));
  w.TypeIntoCell(2, "EP", QStringLiteral("12,5"));
  w.dialogs.saveAnswer = dir_->filePath(QStringLiteral("letztes Jahr.D84"));
  QVERIFY(w.form.SaveFile());
  QVERIFY(w.form.LoadFile(tender_));
  QVERIFY(HasEmptyUnitPrice(Position(w.form.Document(), 0)));
}

void ArchivePanelTest::ThePanelOffersTheEarlierPriceAndEnterTakesIt() {
  MemorySettingsStore store;
  Window w(store);
  PriceSaveAndReopen(w);
  KsLyxObj& doc = w.form.Document();
  ArchivePanel& panel = w.TitPos()->Archive();
  QVERIFY(w.Grid().SelectCell(1, w.Grid().Model().ColumnOf("EP")));
  QVERIFY(panel.isVisible());
  QCOMPARE(panel.Count(), 1);
  const QString stats = w.Value("lblArchiveStats");
  QVERIFY2(stats.contains(QStringLiteral("zuletzt 4.711,000")), qPrintable(stats));
  auto* list = w.Find<QTreeWidget>("lvArchive");
  QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("4.711,000"));

  // Row 3 was not priced: nothing to offer.
  QVERIFY(w.Grid().SelectCell(3, w.Grid().Model().ColumnOf("EP")));
  QVERIFY(!panel.isVisible());

  QVERIFY(w.Grid().SelectCell(2, w.Grid().Model().ColumnOf("EP")));
  QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("12,500"));
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0));
  QTest::keyClick(list, Qt::Key_Return);
  QCOMPARE(Number(Position(doc, 1), "EP"), 12.5);
  QCOMPARE(Number(Position(doc, 1), "GB"), 25.0);  // 2 St at 12,50
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 25.0);
  QVERIFY(w.form.isWindowModified());
  QVERIFY(boxes_.messages.empty());

  w.Action("aUndo")->trigger();
  QVERIFY(HasEmptyUnitPrice(Position(doc, 1)));
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 0.0);
}

void ArchivePanelTest::EveryOpenPositionTakesItsPriceInOneStep() {
  MemorySettingsStore store;
  Window w(store);
  PriceSaveAndReopen(w);
  KsLyxObj& doc = w.form.Document();

  boxes_.answer = false;  // shown first; "Nein" enters nothing
  w.Action("aArchivePrices")->trigger();
  QCOMPARE(boxes_.questions.size(), size_t(1));
  const std::string& list = boxes_.questions.front();
  QVERIFY2(list.find("010010") != std::string::npos && list.find("010020") != std::string::npos,
           list.c_str());
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 0.0);

  boxes_.answer = true;
  w.Action("aArchivePrices")->trigger();
  QCOMPARE(Number(Position(doc, 0), "GB"), 4711.0);
  QCOMPARE(Number(Position(doc, 1), "GB"), 25.0);
  QVERIFY(HasEmptyUnitPrice(Position(doc, 2)));
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 4736.0);  // 4.711,00 + 2 x 12,50
  QCOMPARE(w.form.statusBar()->currentMessage(),
           QStringLiteral("2 Preise aus dem Archiv \u00FCbernommen."));

  w.Action("aUndo")->trigger();
  QCOMPARE(Number(*doc.LvInfo, "SUMME"), 0.0);
  QVERIFY(!w.Action("aUndo")->isEnabled());

  // Nothing left to fill: said so, nothing asked.
  w.Action("aRedo")->trigger();
  boxes_.questions.clear();
  const size_t told = boxes_.messages.size();
  w.Action("aArchivePrices")->trigger();
  QVERIFY(boxes_.questions.empty());
  QCOMPARE(boxes_.messages.size(), told + 1);
  QVERIFY2(boxes_.messages.back().rfind("Das Preisarchiv hat f\xFCr keine der ", 0) == 0,
           boxes_.messages.back().c_str());
}

void ArchivePanelTest::WithoutTheArchiveThePanelStaysHidden() {
  MemorySettingsStore store;
  Window w(store);
  PriceSaveAndReopen(w);
  w.Find<QCheckBox>("cboxArchive")->setChecked(false);
  QVERIFY(w.Grid().SelectCell(1, w.Grid().Model().ColumnOf("EP")));
  QVERIFY(!w.TitPos()->Archive().isVisible());
}

// A damaged archive is named in the panel and not opened again at every
// row; naming another archive is tried at once.
void ArchivePanelTest::AnArchiveThatFailsIsNamedAndLeftAlone() {
  MemorySettingsStore store;
  Window w(store);
  PriceSaveAndReopen(w);
  const QString damaged = dir_->filePath(QStringLiteral("kaputt.sqlite"));
  QFile file(damaged);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(4096, 'x'));
  file.close();
  ArchiveLocation location;
  location.File = damaged.toStdString();
  int asked = 0;
  QWidget parent;
  auto* panel = new ArchivePanel(&parent);
  panel->SetLocationSource([&]() -> std::optional<ArchiveLocation> {
    ++asked;
    return location;
  });
  KsLyxObj& doc = w.form.Document();
  panel->Show(doc, &Position(doc, 0));
  QVERIFY(!panel->isHidden());
  const QString told = panel->findChild<QLabel*>(QStringLiteral("lblArchiveStats"))->text();
  QVERIFY2(told.startsWith(QStringLiteral("Preisarchiv: ")), qPrintable(told));
  QCOMPARE(panel->Count(), 0);

  // Made whole again, the same archive is left alone for a while...
  QVERIFY(QFile::remove(damaged));
  QVERIFY(QFile::copy(QString::fromStdString(ArchiveLocation::Default().File), damaged));
  panel->Show(doc, &Position(doc, 1));
  QCOMPARE(panel->Count(), 0);
  QCOMPARE(panel->findChild<QLabel*>(QStringLiteral("lblArchiveStats"))->text(), told);
  // ...another one is read at once.
  location = ArchiveLocation::Default();
  panel->Show(doc, &Position(doc, 1));
  QCOMPARE(panel->Count(), 1);
  QCOMPARE(asked, 3);
}

QTEST_MAIN(ArchivePanelTest)
#include "test_archive_panel.moc"
