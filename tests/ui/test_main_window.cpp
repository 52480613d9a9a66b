#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProgressBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <memory>

#include "core/arena.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/format_guard.h"
#include "tests/support/memory_settings_store.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/support/recording_text_device.h"
#include "tests/support/tender_files.h"
#include "tests/support/test_files.h"
#include "tests/ui/window_fixture.h"
#include "ui/form_lyx.h"
#include "ui/grid_columns_editor.h"
#include "ui/info_fields.h"
#include "ui/price_grid.h"
#include "ui/price_grid_model.h"
#include "ui/print_command.h"
#include "ui/qstring_codec.h"
#include "ui/qt_settings_store.h"
#include "ui/recent_files.h"
#include "ui/tit_pos_page.h"

namespace {

const char kNoData[] =
    "Es sind keine Daten zum Drucken vorhanden. Bitte \xF6"
    "ffnen Sie zun\xE4"
    "chst eine "
    "GAEB-Datei.";
const char kOverwrite[] =
    "Die angegebene Datei existiert schon. M\xF6"
    "chten Sie sie \xFC"
    "berschreiben ?";

// The print target of a test: records the job title and prints into a recorder.
class RecordingPrintTarget : public PrintTarget {
 public:
  bool Choose(const std::string& title) override {
    jobTitle = title;
    return choose;
  }
  int PageChars(int) const override { return device.PageChars(); }
  std::unique_ptr<TextDevice> Open() override {
    ++openCount;
    return std::make_unique<Forward>(device);
  }
  int CountPages(const std::function<void(TextDevice&)>& print) override {
    RecordingTextDevice counter{120, 60};
    print(counter);
    return counter.lines.empty() ? 0 : counter.lines.back().page;
  }

  bool choose = true;
  std::string jobTitle;
  int openCount = 0;
  RecordingTextDevice device{120, 60};

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

QByteArray FileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool CopyTender(const char* name, const QString& to) { return QFile::copy(RealTender(name), to); }

// Keys as the user types them: each one to whatever has the focus by then.
void TypeToFocus(const QString& text) {
  for (const QChar c : text) QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();

  void OpeningShowsTheTender();
  void OpeningAnotherTenderFreesTheShownOne();
  void TypingAtOnceAfterOpeningPricesTheFirstPosition();
  void TypingAfterChoosingAnAreaPricesItsFirstPosition();
  void BidderDataGoesIntoTheFileWithoutBidder();
  void FileWithBidderReplacesTheFields();
  void BoundFieldsWriteTheirMember_data();
  void BoundFieldsWriteTheirMember();
  void BoundFieldsFitTheirMember();
  void LeavingThePageStoresTheField();
  void OfferDateIsChecked_data();
  void OfferDateIsChecked();

  void FirstStartKeepsTheDefaults();
  void StoredColumnConfiguration_data();
  void StoredColumnConfiguration();
  void StoredFontSize_data();
  void StoredFontSize();
  void StoredValuesFillTheWindow();
  void ClosingAfterOpenStoresTheBidder();
  void QtStoreKeepsTypesInTheUsersIniFile();

  void RecentFilesMoveToTheTop();
  void MissingRecentFileIsReported();

  void SaveProposesTheD84Name_data();
  void SaveProposesTheD84Name();
  void SaveAsksBeforeOverwriting();
  void SavingOverTheTenderAsksOrRefuses();
  void TenderWithoutVatTakesTheOptionsRate();
  void IncompleteOfferIsAskedAboutBeforeItLeaves();
  void XmlTenderIsSavedAsX84();
  void FailedSaveShowsTheReason();
  void SaveWithoutDocumentAsksForAFile();

  void PrintWithoutDataIsRefused();
  void PrintGoesThroughTheTextDevice();
  void PrintAfterFailedOpenShowsTheReason();
  void PrintWritesAPdfOfSeveralPages();

 private:
  RecordingMessageBoxes boxes_;
  std::unique_ptr<FormatGuard> format_;
};

void MainWindowTest::initTestCase() {
  RegisterGaebDescriptors();
  AddPositionDisplayFields();
  format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
}

void MainWindowTest::init() {
  boxes_.messages.clear();
  boxes_.questions.clear();
  boxes_.errors.clear();
  boxes_.answer = false;
}

void MainWindowTest::OpeningShowsTheTender() {
  MemorySettingsStore store;
  Window w(store);
  w.form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w.form));
  QVERIFY(w.Find<QWidget>("paHint")->isVisible());
  QCOMPARE(w.Find<QLabel>("lblProgBar")->text(), QStringLiteral("..."));

  const QString path = RealTender("LV_Los01.P83");
  w.form.LoadFile(path);
  QVERIFY(boxes_.messages.empty());
  const KsLyxObj& doc = w.form.Document();
  QVERIFY(doc.Loaded());
  QVERIFY(doc.LvAreas && doc.LvAreas->Count() > 1);

  QStringList expected = {"GAEB- / Projekt-Info", "Vergabe-Info", "Auftraggeber", "Auftragnehmer"};
  for (int i = 0; i < doc.LvAreas->Count(); ++i) {
    const KsGAEBObj& area = *doc.LvAreas->Element(i);
    expected << FromCp1252(area.Text("OZ") + " " + area.Text("BEZ"));
  }
  expected << QStringLiteral("Optionen");
  QCOMPARE(w.TopLevelEntries(), expected);
  QCOMPARE(expected.at(4), QStringLiteral("01 Vorbereitende Leistungen"));
  QCOMPARE(w.Find<QTreeWidget>("tv")->currentItem()->text(0), expected.at(4));
  QCOMPARE(w.Pages()->currentWidget(), static_cast<QWidget*>(w.TitPos()));

  KsGAEBObj* first = doc.LvAreas->Element(0);
  const PriceGridModel& grid = w.Find<PriceGrid>("sg")->Model();
  QCOMPARE(grid.Element(0), first);
  QCOMPARE(grid.rowCount(), 1 + CountItems(*first));

  QCOMPARE(w.Value("lblVersion"), QStringLiteral("1.2"));
  QCOMPARE(w.Value("lblAusgabe"), QStringLiteral("3/2002"));
  QCOMPARE(w.Value("lblErstellungsdatum"), QStringLiteral("31.03.2026 11:21"));
  QCOMPARE(w.Value("lblZeichensatz"), QStringLiteral("ANSI"));
  QCOMPARE(w.Value("lblPrjName"), QStringLiteral("11530"));
  QCOMPARE(w.Value("lblArt"), QStringLiteral("7"));
  QCOMPARE(w.Value("lblAbgabeOrt"), QStringLiteral("Potsdam, OT Gro\u00DF Glienicke"));
  QCOMPARE(w.Value("lblAgDVNr"), QStringLiteral("DRV Buro"));
  // NAME1 holds 40 characters: what the offer file can carry is what is shown.
  QCOMPARE(w.Value("lblAgAdresse"),
           QStringLiteral("Landesbetrieb f\u00FCr Hochwasserschutz und W Vergabestelle S\u00FCd\n"
                          "Willi-Brundert-Str. 14\n06132 Halle (Saale)"));
  QVERIFY(!w.Find<QLabel>("lblZertifikat")->isVisible());
  QCOMPARE(w.Edit("eWAE")->text(), QStringLiteral("EUR"));
  QCOMPARE(w.Edit("eWAEBez")->text(), QStringLiteral("Euro"));

  // Progress is hidden once reading has ended; the tree counted every area.
  QVERIFY(!w.Find<QWidget>("paHint")->isVisible());
  QVERIFY(w.Pages()->isVisible() && w.Find<QTreeWidget>("tv")->isVisible());
  int areas = 0;
  std::function<void(const KsGAEBObjList*)> count = [&](const KsGAEBObjList* list) {
    for (int i = 0; list && i < list->Count(); ++i) {
      ++areas;
      count(list->Element(i)->ChildList("LVBEREICH"));
    }
  };
  count(doc.LvAreas);
  QCOMPARE(w.form.NodeCount(), areas + (doc.Positions ? doc.Positions->Count() : 0));
  QCOMPARE(w.form.RecentFiles().Paths(), QStringList{path});
}

void MainWindowTest::BidderDataGoesIntoTheFileWithoutBidder() {
  MemorySettingsStore store;
  Window w(store);
  w.Edit("eName1")->setText(QStringLiteral("M\u00FCller Bau GmbH"));
  w.Edit("eOrt")->setText(QStringLiteral("K\u00F6ln"));
  w.Edit("eNameStaat")->setText(QStringLiteral("D"));
  w.form.LoadFile(RealTender("LV_Los01.P83"));

  const KsLyxObj::BidderValues file = w.form.Document().BidderData();
  QCOMPARE(file[BidderIndex("NAME1")], std::string("M\xFCller Bau GmbH"));
  QCOMPARE(file[BidderIndex("ORT")], std::string("K\xF6ln"));
  QCOMPARE(file[BidderIndex("ARTSTAAT")], std::string("EWR"));
  QCOMPARE(file[BidderIndex("NAMESTAAT")], std::string("D"));
  QCOMPARE(w.Edit("eName1")->text(), QStringLiteral("M\u00FCller Bau GmbH"));
}

// Opening the next tender gives back the memory of the one shown; closing
// the window gives back the rest.
void MainWindowTest::OpeningAnotherTenderFreesTheShownOne() {
  QTemporaryDir dir;
  std::string positions;
  for (int i = 1; i <= 3000; ++i)
    positions += Position(std::to_string(10000 + i), "2,5", "m",
                          Description("Mauerwerk", "Mauerwerk aus Kalksandstein, 24 cm dick"));
  const QString large = dir.filePath(QStringLiteral("gross.d83"));
  QVERIFY(WriteFile(large.toStdString(), Tender(Area("01", "Rohbau", positions))));
  const size_t before = Arena::TotalReservedBytes();
  {
    MemorySettingsStore store;
    Window w(store);
    w.form.LoadFile(large);
    QVERIFY(w.form.Document().Loaded());
    const size_t shown = Arena::TotalReservedBytes() - before;
    QVERIFY(shown > 0);
    w.form.LoadFile(RealTender("LV_Los01.P83"));
    QVERIFY(boxes_.messages.empty());
    QVERIFY(w.form.Document().Loaded());
    QVERIFY2(Arena::TotalReservedBytes() - before < shown, "the first tender is still alive");
  }
  QCOMPARE(Arena::TotalReservedBytes(), before);
}

// An estimator opens the tender and types the first price at once: it is the
// first position's unit price (010010, 1,000 psch), never the area's discount.
void MainWindowTest::TypingAtOnceAfterOpeningPricesTheFirstPosition() {
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  PriceGrid& grid = w.Grid();
  QVERIFY(grid.Editor().isHidden());
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&grid));
  QCOMPARE(grid.CurrentColumn(), grid.Model().ColumnOf("EP"));
  KsGAEBObj* position = grid.Model().Element(grid.CurrentRow());
  QVERIFY(IsPositionRow(position));
  QCOMPARE(position->Text("OZ"), std::string("010010"));

  TypeToFocus(QStringLiteral("250"));
  const KsLyxObj& doc = w.form.Document();
  QCOMPARE(position->Members.Find("EP")->AsFloatOr(0), 250.0);
  QCOMPARE(doc.LvAreas->Element(0)->Text("NACHLASSABS"), std::string());
  QCOMPARE(w.Value("lblSumme"), QStringLiteral("250,00"));
  QCOMPARE(w.Value("lblBruttoSumme"), QStringLiteral("297,50"));  // + 47,50 VAT at 19 %
}

// The same after choosing another area in the tree: the keys typed there
// price the area's first position (020010, 1,000); arrows still move in the tree.
void MainWindowTest::TypingAfterChoosingAnAreaPricesItsFirstPosition() {
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  auto* tree = w.Find<QTreeWidget>("tv");
  tree->setFocus();
  tree->setCurrentItem(tree->topLevelItem(4));
  QTest::keyClick(tree, Qt::Key_Down);
  QCOMPARE(tree->currentItem()->text(0),
           QStringLiteral("02 Vorbereitung und Durchf\u00FChrung der Messungen"));
  PriceGrid& grid = w.Grid();
  QVERIFY(grid.Editor().isHidden());
  KsGAEBObj* position = grid.Model().Element(grid.CurrentRow());
  QCOMPARE(position->Text("OZ"), std::string("020010"));
  QCOMPARE(grid.CurrentColumn(), grid.Model().ColumnOf("EP"));

  TypeToFocus(QStringLiteral("12,5"));
  QCOMPARE(position->Members.Find("EP")->AsFloatOr(0), 12.5);
  QCOMPARE(w.Value("lblSumme"), QStringLiteral("12,50"));
  QCOMPARE(w.Value("lblBruttoSumme"), QStringLiteral("14,88"));  // 12,50 * 19 % = 2,375
  QCOMPARE(w.form.Document().LvAreas->Element(1)->Text("NACHLASSPROZ"), std::string());
}

// A saved offer carries the bidder; opening it again puts all fifteen values
// back into the fields, whatever they held.
void MainWindowTest::FileWithBidderReplacesTheFields() {
  QTemporaryDir dir;
  const QString offer = dir.filePath(QStringLiteral("angebot.D84"));
  MemorySettingsStore store;
  Window w(store);
  w.Edit("eName1")->setText(QStringLiteral("Muster Bau"));
  w.Edit("eStrasse")->setText(QStringLiteral("Hauptstra\u00DFe 1"));
  w.Edit("eDVNr")->setText(QStringLiteral("4711"));
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.dialogs.saveAnswer = offer;
  w.form.SaveFile();
  QVERIFY(boxes_.messages.empty());

  for (QLineEdit* field : w.form.findChildren<QLineEdit*>())
    if (field->objectName().startsWith(QLatin1Char('e'))) field->setText(QStringLiteral("x"));
  w.form.LoadFile(offer);
  QVERIFY(boxes_.messages.empty());
  QCOMPARE(w.Edit("eName1")->text(), QStringLiteral("Muster Bau"));
  QCOMPARE(w.Edit("eStrasse")->text(), QStringLiteral("Hauptstra\u00DFe 1"));
  QCOMPARE(w.Edit("eDVNr")->text(), QStringLiteral("4711"));
  QCOMPARE(w.Edit("eArtStaat")->text(), QStringLiteral("EWR"));
  QCOMPARE(w.Edit("eName2")->text(), QString());
  QCOMPARE(w.Edit("eEMail")->text(), QString());
}

void MainWindowTest::BoundFieldsWriteTheirMember_data() {
  QTest::addColumn<QString>("field");
  QTest::addColumn<QString>("page");
  QTest::addColumn<QString>("owner");  // VergabeInfo, An or Adresse
  QTest::addColumn<QString>("member");
  QTest::addColumn<bool>("stored");
  QTest::newRow("currency") << "eWAE"
                            << "tsVergabeInfo"
                            << "VergabeInfo"
                            << "WAE" << true;
  QTest::newRow("currency name") << "eWAEBez"
                                 << "tsVergabeInfo"
                                 << "VergabeInfo"
                                 << "WAEBEZ" << true;
  QTest::newRow("bidder number") << "eDVNr"
                                 << "tsAN"
                                 << "An"
                                 << "DVNR" << true;
  QTest::newRow("vehicle code") << "eNameStaat"
                                << "tsAN"
                                << "An"
                                << "NAMESTAAT" << true;
  QTest::newRow("name") << "eName1"
                        << "tsAN"
                        << "Adresse"
                        << "NAME1" << true;
  QTest::newRow("vat number") << "eUStIdent"
                              << "tsAN"
                              << "Adresse"
                              << "USTIDENT" << true;
  QTest::newRow("other page active") << "eName1"
                                     << "tsAG"
                                     << "Adresse"
                                     << "NAME1" << false;
}

void MainWindowTest::BoundFieldsWriteTheirMember() {
  QFETCH(QString, field);
  QFETCH(QString, page);
  QFETCH(QString, owner);
  QFETCH(QString, member);
  QFETCH(bool, stored);
  MemorySettingsStore store;
  Window w(store);
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  KsLyxObj& doc = w.form.Document();
  const KsGAEBObj* element = owner == QLatin1String("VergabeInfo") ? doc.VergabeInfo
                             : owner == QLatin1String("An")        ? doc.An
                                                                   : doc.An->Child("ADRESSE");
  const std::string before = element->Text(member.toStdString());

  w.ShowPage(qPrintable(page));
  w.Edit(qPrintable(field))->setText(QStringLiteral("CHF"));
  w.Leave(qPrintable(field));
  QCOMPARE(element->Text(member.toStdString()), stored ? std::string("CHF") : before);
}

// A field longer than its member would let the bidder type what the file
// cannot carry; a bidder field missing from the table would lose its value.
void MainWindowTest::BoundFieldsFitTheirMember() {
  MemorySettingsStore store;
  Window w(store);
  for (auto bindings : {OfferFieldBindings(), BidderFieldBindings(), AddressFieldBindings()}) {
    for (const EntryField& binding : bindings) {
      const KsFBDesc* element = FindDescriptor(std::string("GAEB") + binding.Element);
      QVERIFY2(element, binding.Element);
      const KsFieldDesc* field = element->FindField(binding.Member);
      QVERIFY2(field, binding.Member);
      const int size =
          field->FieldType == ftDate ? int(std::string("31.12.2026").size()) : field->Size;
      QVERIFY2(size > 0, binding.Member);
      QCOMPARE(w.Edit(binding.ObjectName)->maxLength(), size);
    }
  }
}

// Choosing another page takes the focus from the field while its page is
// still the active one, so the edit reaches the document.
void MainWindowTest::LeavingThePageStoresTheField() {
  MemorySettingsStore store;
  Window w(store);
  w.form.show();
  w.form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w.form));
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowPage("tsAN");
  QLineEdit* name2 = w.Edit("eName2");
  name2->setFocus();
  QVERIFY(name2->hasFocus());
  name2->setText(QStringLiteral("Niederlassung S\u00FCd"));
  w.Pages()->setCurrentWidget(w.TitPos());
  QVERIFY(!name2->hasFocus());
  QCOMPARE(w.form.Document().BidderData()[BidderIndex("NAME2")], std::string("Niederlassung S\xFC"
                                                                             "d"));
}

void MainWindowTest::OfferDateIsChecked_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("shown");
  QTest::addColumn<QString>("stored");
  QTest::addColumn<bool>("refused");
  QTest::newRow("valid") << "15.03.2026"
                         << "15.03.2026"
                         << "15.03.2026" << false;
  QTest::newRow("blanks around") << " 1.4.2026 "
                                 << "1.4.2026"
                                 << "1.4.2026" << false;
  QTest::newRow("empty") << ""
                         << ""
                         << "" << false;
  QTest::newRow("31 February") << "31.02.2005"
                               << ""
                               << "02.01.2026" << true;
  QTest::newRow("letters") << "morgen"
                           << ""
                           << "02.01.2026" << true;
  QTest::newRow("with a time") << "1.4.26 1:0"
                               << ""
                               << "02.01.2026" << true;
}

void MainWindowTest::OfferDateIsChecked() {
  QFETCH(QString, typed);
  QFETCH(QString, shown);
  QFETCH(QString, stored);
  QFETCH(bool, refused);
  MemorySettingsStore store;
  Window w(store);
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  KsMember* date = w.form.Document().VergabeInfo->Members.FindOrMake("ANGEBDATUM");
  QVERIFY(date);
  date->SetAsString("02.01.2026");

  w.ShowPage("tsVergabeInfo");
  w.Edit("eAngebDatum")->setText(typed);
  w.Leave("eAngebDatum");
  QCOMPARE(w.Edit("eAngebDatum")->text(), shown);
  QCOMPARE(FromCp1252(date->GetAsString()), stored);
  if (refused)
    QCOMPARE(boxes_.messages,
             std::vector<std::string>{"Bitte geben Sie ein g\xFCltiges Datum ein. (DD.MM.YYY)"});
  else
    QVERIFY(boxes_.messages.empty());
}

void MainWindowTest::FirstStartKeepsTheDefaults() {
  MemorySettingsStore store;
  {
    Window w(store);
    QCOMPARE(w.Edit("eArtStaat")->text(), QStringLiteral("EWR"));
    QCOMPARE(w.Edit("eName1")->text(), QString());
    QVERIFY(!w.Find<QCheckBox>("cboxPrintLTxt")->isChecked());
    QVERIFY(w.Find<QCheckBox>("cboxShowMapiClient")->isChecked());
    QVERIFY(w.Action("mFontNormal")->isChecked());
    QVERIFY(!w.Action("mFontLarge")->isChecked());
    QCOMPARE(w.Columns()->ItemCount(), 21);
    QCOMPARE(w.Edit("eStdMWSt")->text(), QStringLiteral("19,00"));
    QVERIFY(w.form.RecentFiles().Paths().isEmpty());
    w.form.close();
  }
  QVERIFY(store.keyExists);
  QVERIFY(
      store.ReadString("Opt").startsWith(QStringLiteral("1-OZ;1-_TARVO_POSTYP;1-BEZ;0-BEDARF;")));
  QVERIFY(std::holds_alternative<int32_t>(store.values.value("PrintLTxt")));
  QCOMPARE(store.ReadInteger("PrintLTxt"), 0);
  QCOMPARE(store.ReadInteger("ShowMapiClient"), 1);
  QCOMPARE(store.ReadInteger("Font"), 8);
  QCOMPARE(store.ReadString("StdMWSt"), QStringLiteral("19,00"));
  for (const EntryField& bidder : kBidderFields)
    QVERIFY2(!store.ValueExists(QString::fromLatin1(bidder.Member)), bidder.Member);
  QVERIFY(!store.ValueExists(QStringLiteral("FILE0")));
}

void MainWindowTest::StoredColumnConfiguration_data() {
  QTest::addColumn<QString>("opt");
  QTest::addColumn<QString>("written");
  QTest::addColumn<QStringList>("shown");
  QTest::newRow("two columns") << "1-EP;1-OZ;"
                               << "1-EP;1-OZ;" << QStringList{"EP", "OZ"};
  QTest::newRow("unknown skipped") << "1-EP;1-XYZ;0-OZ;1-GB;"
                                   << "1-EP;0-OZ;1-GB;" << QStringList{"EP", "GB"};
  QTest::newRow("names are case-sensitive") << "1-ep;1-OZ;"
                                            << "1-OZ;" << QStringList{"OZ"};
}

void MainWindowTest::StoredColumnConfiguration() {
  QFETCH(QString, opt);
  QFETCH(QString, written);
  QFETCH(QStringList, shown);
  MemorySettingsStore store;
  store.keyExists = true;
  store.values["Opt"] = opt;
  Window w(store);
  w.form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w.form));
  const PriceGridModel& grid = w.Find<PriceGrid>("sg")->Model();
  QStringList columns;
  for (int c = 0; c < grid.columnCount(); ++c)
    columns << QString::fromStdString(grid.ColumnName(c));
  QCOMPARE(columns, shown);
  w.form.close();
  QCOMPARE(store.ReadString("Opt"), written);
}

void MainWindowTest::StoredFontSize_data() {
  QTest::addColumn<int>("stored");
  QTest::addColumn<bool>("normal");
  QTest::addColumn<bool>("large");
  QTest::addColumn<int>("shown");
  QTest::newRow("8") << 8 << true << false << 8;
  QTest::newRow("10") << 10 << false << true << 10;
  QTest::newRow("9") << 9 << false << false << 10;
}

void MainWindowTest::StoredFontSize() {
  QFETCH(int, stored);
  QFETCH(bool, normal);
  QFETCH(bool, large);
  QFETCH(int, shown);
  MemorySettingsStore store;
  store.keyExists = true;
  store.values["Font"] = stored;
  Window w(store);
  QCOMPARE(w.Action("mFontNormal")->isChecked(), normal);
  QCOMPARE(w.Action("mFontLarge")->isChecked(), large);
  w.form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w.form));
  QCOMPARE(w.TitPos()->LongTextFontSize(), shown);

  // Each click toggles the item clicked and sets the other to the opposite.
  w.Action("mFontLarge")->trigger();
  QCOMPARE(w.Action("mFontNormal")->isChecked(), !w.Action("mFontLarge")->isChecked());
  QCOMPARE(w.TitPos()->LongTextFontSize(), w.Action("mFontNormal")->isChecked() ? 8 : 10);
}

void MainWindowTest::StoredValuesFillTheWindow() {
  MemorySettingsStore store;
  store.keyExists = true;
  store.values["NAME1"] = QStringLiteral("Stra\u00DFenbau Nord");
  store.values["USTIDENT"] = QStringLiteral("DE123");
  store.values["DVNR"] = QStringLiteral("77");
  store.values["PrintLTxt"] = 1;
  store.values["ShowMapiClient"] = 0;
  store.values["FILE0"] = QStringLiteral("/tmp/b.d83");
  store.values["FILE1"] = QStringLiteral("/tmp/a.d83");
  Window w(store);
  QCOMPARE(w.Edit("eName1")->text(), QStringLiteral("Stra\u00DFenbau Nord"));
  QCOMPARE(w.Edit("eUStIdent")->text(), QStringLiteral("DE123"));
  QCOMPARE(w.Edit("eDVNr")->text(), QStringLiteral("77"));
  QCOMPARE(w.Edit("eArtStaat")->text(), QString());  // a missing value empties the field
  QVERIFY(w.Find<QCheckBox>("cboxPrintLTxt")->isChecked());
  QVERIFY(!w.Find<QCheckBox>("cboxShowMapiClient")->isChecked());
  QCOMPARE(w.form.RecentFiles().Paths(), (QStringList{"/tmp/b.d83", "/tmp/a.d83"}));

  w.form.close();
  QCOMPARE(store.ReadString("FILE1"), QStringLiteral("/tmp/a.d83"));
  QVERIFY(!store.ValueExists(QStringLiteral("FILE2")));
  QCOMPARE(store.ReadInteger("PrintLTxt"), 1);
  QCOMPARE(store.ReadInteger("ShowMapiClient"), 0);
}

// The edit in the field that still has the focus reaches the store too,
// whether or not the offer is saved.
void MainWindowTest::ClosingAfterOpenStoresTheBidder() {
  MemorySettingsStore store;
  Window w(store);
  w.form.show();
  w.form.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w.form));
  w.Edit("eName1")->setText(QStringLiteral("Erstname"));
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.ShowPage("tsAN");
  QLineEdit* phone = w.Edit("eTelefon");
  phone->setFocus();
  phone->setText(QStringLiteral("0221 12345"));
  // The offer is not saved; the bidder's own data are kept all the same.
  w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
  w.Action("mEnd")->trigger();
  QCOMPARE(w.dialogs.savePrompts,
           QStringList{QStringLiteral("Die \u00C4nderungen an LV_Los01.P83 speichern?")});
  QVERIFY(!w.form.isVisible());
  QCOMPARE(store.ReadString("NAME1"), QStringLiteral("Erstname"));
  QCOMPARE(store.ReadString("TELEFON"), QStringLiteral("0221 12345"));
  QCOMPARE(store.ReadString("ARTSTAAT"), QStringLiteral("EWR"));
  QCOMPARE(store.ReadString("FILE0"), RealTender("LV_Los01.P83"));
}

void MainWindowTest::QtStoreKeepsTypesInTheUsersIniFile() {
  QVERIFY(QtSettingsStore().Location().endsWith(QStringLiteral("/Software/Tarvo_Redurir.ini")));

  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("Software/Tarvo_Redurir.ini"));
  {
    QtSettingsStore store(file);
    QVERIFY(!store.OpenForReading());
    QVERIFY(store.OpenForWriting());
    store.WriteString(QStringLiteral("Opt"), QStringLiteral("1-EP;1-OZ;"));
    store.WriteString(QStringLiteral("NAME1"), QStringLiteral("M\u00FCller, Bau & Co"));
    store.WriteInteger(QStringLiteral("Font"), 10);
    store.Close();
  }
  QtSettingsStore store(file);
  QVERIFY(store.OpenForReading());
  QCOMPARE(store.ReadString(QStringLiteral("Opt")), QStringLiteral("1-EP;1-OZ;"));
  QCOMPARE(store.ReadString(QStringLiteral("NAME1")), QStringLiteral("M\u00FCller, Bau & Co"));
  QCOMPARE(store.ReadInteger(QStringLiteral("Font")), 10);
  QCOMPARE(store.ReadInteger(QStringLiteral("NAME1")), 0);
  QVERIFY(!store.ValueExists(QStringLiteral("FILE0")));
}

void MainWindowTest::RecentFilesMoveToTheTop() {
  MemorySettingsStore store;
  Window w(store);
  RecentFileList& recent = w.form.RecentFiles();
  for (int i = 1; i <= 9; ++i) recent.Add(QStringLiteral("/lv/Datei%1.d83").arg(i));
  recent.Add(QStringLiteral("/LV/DATEI3.D83"));
  QCOMPARE(recent.Paths().size(), 9);
  QCOMPARE(recent.Paths().first(), QStringLiteral("/lv/Datei3.d83"));
  QCOMPARE(recent.Paths().at(1), QStringLiteral("/lv/Datei9.d83"));

  recent.Add(QStringLiteral("/lv/Zehn & Co.d83"));
  const QStringList paths = recent.Paths();
  QCOMPARE(paths.size(), 9);
  QCOMPARE(paths.first(), QStringLiteral("/lv/Zehn & Co.d83"));
  QVERIFY(!paths.contains(QStringLiteral("/lv/Datei1.d83")));
  QVERIFY(paths.contains(QStringLiteral("/lv/Datei2.d83")));

  // The menu lists the entries in this order between its two separators.
  QMenu* file = w.form.menuBar()->findChild<QMenu*>(QStringLiteral("mmDatei"));
  QStringList between;
  bool inside = false;
  for (QAction* action : file->actions()) {
    if (action->objectName() == QLatin1String("mmBreakBeforeFiles"))
      inside = true;
    else if (action->objectName() == QLatin1String("mmBreakAfterFiles"))
      inside = false;
    else if (inside && action->isVisible())
      between << action->data().toString();
  }
  QCOMPARE(between, paths);
  QCOMPARE(recent.Entry(0)->text(), QStringLiteral("/lv/Zehn && Co.d83"));
}

void MainWindowTest::MissingRecentFileIsReported() {
  MemorySettingsStore store;
  Window w(store);
  w.form.RecentFiles().Add(QStringLiteral("/nicht/vorhanden/Bau.d83"));
  w.form.RecentFiles().Entry(0)->trigger();
  QCOMPARE(boxes_.errors,
           std::vector<std::string>{
               "Die angegebene Datei /nicht/vorhanden/Bau.d83 existiert nicht mehr."});
  QCOMPARE(w.form.RecentFiles().Paths().size(), 1);
}

void MainWindowTest::SaveProposesTheD84Name_data() {
  const QString gaeb2000 = QStringLiteral("LV_Los01.P83");
  const QString xml = QStringLiteral("../xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83");
  QTest::addColumn<QString>("tender");
  QTest::addColumn<QString>("imported");
  QTest::addColumn<QString>("proposed");
  QTest::newRow("D83") << gaeb2000 << "Bau.D83"
                       << "Bau.D84";
  QTest::newRow("other extension") << gaeb2000 << "angebot.x83"
                                   << "angebot.D84";
  QTest::newRow("two dots") << gaeb2000 << "los.1.p83"
                            << "los.1.D84";
  QTest::newRow("no extension") << gaeb2000 << "Bau"
                                << "Bau.D84";
  QTest::newRow("X83") << xml << "Bau.X83"
                       << "Bau.X84";
  QTest::newRow("XML named D83") << xml << "Bau.d83"
                                 << "Bau.X84";
}

// The user cancels: nothing is written.
void MainWindowTest::SaveProposesTheD84Name() {
  QFETCH(QString, tender);
  QFETCH(QString, imported);
  QFETCH(QString, proposed);
  QTemporaryDir dir;
  const QString path = dir.filePath(imported);
  QVERIFY(CopyTender(tender.toLatin1().constData(), path));
  MemorySettingsStore store;
  Window w(store);
  w.form.LoadFile(path);
  w.form.SaveFile();
  QCOMPARE(w.dialogs.saveProposal, proposed);
  QCOMPARE(w.dialogs.saveDirectory, QFileInfo(path).absolutePath());
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{imported});
}

void MainWindowTest::SaveAsksBeforeOverwriting() {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("Bau.D84"));
  QFile old(target);
  QVERIFY(old.open(QIODevice::WriteOnly));
  old.write("alt\n");
  old.close();

  MemorySettingsStore store;
  Window w(store);
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.dialogs.saveAnswer = target;
  boxes_.answer = false;
  w.form.SaveFile();
  QCOMPARE(boxes_.questions, std::vector<std::string>{kOverwrite});
  QCOMPARE(FileContent(target), QByteArray("alt\n"));

  boxes_.answer = true;
  w.form.SaveFile();
  QCOMPARE(boxes_.questions.size(), size_t(2));
  QVERIFY(FileContent(target).startsWith("#begin[GAEB]"));
  QVERIFY(boxes_.messages.empty());
  QCOMPARE(w.form.RecentFiles().Paths().first(), target);
  // Writing counts its steps up to the number the tree counted.
  QCOMPARE(w.Find<QProgressBar>("progBar")->maximum(), w.form.NodeCount());
  QCOMPARE(w.Find<QProgressBar>("progBar")->value(), w.form.NodeCount());
}

// The tender is never lost to its own offer: an X84 (no quantities, no
// texts) is refused over the X83 it came from; a D84 over its P83 is asked
// about in words of its own; over an offer the usual question is asked.
void MainWindowTest::SavingOverTheTenderAsksOrRefuses() {
  QTemporaryDir dir;
  MemorySettingsStore store;
  {
    const QString x83 = dir.filePath(QStringLiteral("Bau.X83"));
    QVERIFY(CopyTender("../xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83", x83));
    const QByteArray tender = FileContent(x83);
    Window w(store);
    QVERIFY(w.form.LoadFile(x83));
    w.dialogs.saveAnswer = x83;
    boxes_.answer = true;
    QVERIFY(!w.form.SaveFile());
    QVERIFY(boxes_.questions.empty());
    QCOMPARE(boxes_.messages,
             std::vector<std::string>{"Die Datei Bau.X83 ist die gelesene Ausschreibung. Das "
                                      "Angebot kann sie nicht ersetzen, ohne ihre Mengen und "
                                      "Texte zu verlieren; sie wird nicht \xFC"
                                      "berschrieben. Bitte w\xE4hlen Sie einen anderen "
                                      "Dateinamen."});
    QCOMPARE(FileContent(x83), tender);
  }
  boxes_.messages.clear();
  const QString p83 = dir.filePath(QStringLiteral("Bau.P83"));
  QVERIFY(CopyTender("LV_Los01.P83", p83));
  const QByteArray tender = FileContent(p83);
  Window w(store);
  QVERIFY(w.form.LoadFile(p83));
  w.dialogs.saveAnswer = p83;
  boxes_.answer = false;
  QVERIFY(!w.form.SaveFile());
  const std::string replaced =
      "Die Ausschreibung Bau.P83 wird durch das Angebot ersetzt. Fortfahren?";
  QCOMPARE(boxes_.questions, std::vector<std::string>{replaced});
  QCOMPARE(FileContent(p83), tender);
  boxes_.answer = true;
  QVERIFY(w.form.SaveFile());
  QVERIFY(FileContent(p83).contains("[PROGNAME]Quorva"));
  QVERIFY(w.form.LoadFile(p83));
  QVERIFY(w.form.SaveFile());
  QCOMPARE(boxes_.questions, (std::vector<std::string>{replaced, replaced, kOverwrite}));
  QVERIFY(boxes_.messages.empty());
}

// Four of twelve real X83 give no rate: the offer takes the option's, marked
// as such until it is confirmed; a rate in the tender is kept.
void MainWindowTest::TenderWithoutVatTakesTheOptionsRate() {
  MemorySettingsStore store;
  store.keyExists = true;
  store.values["StdMWSt"] = QStringLiteral("7");
  {
    Window w(store);
    QCOMPARE(w.Edit("eStdMWSt")->text(), QStringLiteral("7,00"));
    w.ShowActive();
    QVERIFY(
        w.form.LoadFile(RealTender("../xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83")));
    auto* hint = w.Find<QLabel>("lblMWStHinweis");
    QCOMPARE(w.Edit("eMWSt")->text(), QStringLiteral("7,00"));
    QVERIFY(hint->isVisible());
    QVERIFY(w.form.Document().VatRateUnconfirmed());
    QVERIFY(!w.form.Document().Modified());
    QVERIFY(!w.form.isWindowModified());

    w.Edit("eMWSt")->setFocus();
    QTest::keyClick(w.Edit("eMWSt"), Qt::Key_Return);  // confirmed as it stands
    QVERIFY(!hint->isVisible());
    QVERIFY(!w.form.Document().VatRateUnconfirmed());
    QCOMPARE(w.form.Document().LvInfo->Members.Find("UST")->AsFloatOr(0), 7.0);

    QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
    QCOMPARE(w.Edit("eMWSt")->text(), QStringLiteral("19,00"));
    QVERIFY(!hint->isVisible());

    // A rate written with three digits after a dot is refused, as in the grid.
    w.Edit("eMWSt")->setFocus();
    w.Edit("eMWSt")->selectAll();
    QTest::keyClicks(w.Edit("eMWSt"), QStringLiteral("16.000"));
    QTest::keyClick(w.Edit("eMWSt"), Qt::Key_Return);
    QCOMPARE(boxes_.errors, std::vector<std::string>{"Der Wert 16.000 ist mehrdeutig. Bitte 16000 "
                                                     "oder 16,000 schreiben."});
    QCOMPARE(w.form.Document().LvInfo->Members.Find("UST")->AsFloatOr(0), 19.0);
    QCOMPARE(w.Edit("eMWSt")->text(), QStringLiteral("19,00"));

    QLineEdit* option = w.Edit("eStdMWSt");
    option->setText(QStringLiteral("150"));
    option->setModified(true);
    emit option->editingFinished();
    QCOMPARE(option->text(), QStringLiteral("7,00"));
    QCOMPARE(boxes_.messages, std::vector<std::string>{"Der Standard-Mehrwertsteuersatz muss eine "
                                                       "Zahl zwischen 0 und 100 sein."});
    option->setText(QStringLiteral("16"));
    option->setModified(true);
    emit option->editingFinished();
    QCOMPARE(option->text(), QStringLiteral("16,00"));
    w.dialogs.saveChangesAnswer = WindowDialogs::SaveChanges::Discard;
    w.form.close();
  }
  QCOMPARE(store.ReadString("StdMWSt"), QStringLiteral("16,00"));
}

// Before the offer leaves, what it lacks is named in one question; Abbrechen
// leads to the first gap, and an offer without gaps goes without a question.
void MainWindowTest::IncompleteOfferIsAskedAboutBeforeItLeaves() {
  QTemporaryDir dir;
  MemorySettingsStore store;
  Window w(store);
  w.ShowActive();
  QVERIFY(w.form.LoadFile(RealTender("LV_Los01.P83")));
  w.dialogs.goOnAnswer = false;
  w.dialogs.saveAnswer = dir.filePath(QStringLiteral("Bau.D84"));
  QVERIFY(!w.form.SaveFile());
  QCOMPARE(w.dialogs.saveCount, 0);
  QCOMPARE(w.dialogs.findingPrompts,
           QStringList{QStringLiteral("Das Angebot ist noch nicht vollst\u00E4ndig:\n"
                                      "\n- 13 Positionen haben keinen Einheitspreis (die erste: "
                                      "OZ 010010)."
                                      "\n- Der Name des Bieters fehlt (Seite \"Auftragnehmer\")."
                                      "\n- In der Anschrift des Bieters fehlt: Stra\u00DFe, PLZ, "
                                      "Ort.")});
  PriceGrid& grid = w.Grid();
  QCOMPARE(w.Pages()->currentWidget(), static_cast<QWidget*>(w.TitPos()));
  QVERIFY(!grid.Editor().isHidden());
  QCOMPARE(grid.Model().Element(grid.CurrentRow())->Text("OZ"), std::string("010010"));

  // Priced, the first gap is the bidder; printing asks as saving does.
  std::function<void(const KsGAEBObjList*)> price = [&](const KsGAEBObjList* areas) {
    for (int i = 0; areas && i < areas->Count(); ++i) {
      price(areas->Element(i)->ChildList("LVBEREICH"));
      const KsGAEBObjList* positions = areas->Element(i)->ChildList("POSITION");
      for (int p = 0; positions && p < positions->Count(); ++p)
        SetPositionValue(*positions->Element(p), "10", "EP");
    }
  };
  grid.CommitEdit();
  price(w.form.Document().LvAreas);
  w.form.aPrintExecute();
  QCOMPARE(w.dialogs.printCount, 0);
  QCOMPARE(w.dialogs.findingPrompts.size(), 2);
  QVERIFY(!w.dialogs.findingPrompts.last().contains(QStringLiteral("Einheitspreis")));
  QCOMPARE(w.Pages()->currentWidget(), w.Find<QWidget>("tsAN"));
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.Edit("eName1")));

  for (const auto& [field, text] :
       {std::pair{"eName1", "Bau AG"}, {"eStrasse", "Weg 1"}, {"ePLZ", "89073"}, {"eOrt", "Ulm"}}) {
    w.Edit(field)->setText(QString::fromLatin1(text));
    w.Leave(field);
  }
  w.dialogs.pdfFile = dir.filePath(QStringLiteral("angebot.pdf"));
  w.form.aPrintExecute();
  QCOMPARE(w.dialogs.printCount, 1);
  QVERIFY(w.form.SaveFile());
  QCOMPARE(w.dialogs.findingPrompts.size(), 2);
}

// An X83 opens like a D83 and is answered with an X84.
void MainWindowTest::XmlTenderIsSavedAsX84() {
  QTemporaryDir dir;
  MemorySettingsStore store;
  Window w(store);
  QVERIFY(w.form.LoadFile(RealTender("../xml/Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83")));
  QVERIFY(w.TopLevelEntries().contains(QStringLiteral("001 Bauhauptgewerke")));
  const QString target = dir.filePath(QStringLiteral("Bau.X84"));
  w.dialogs.saveAnswer = target;
  QVERIFY(w.form.SaveFile());
  QVERIFY(boxes_.messages.empty());
  const QByteArray x84 = FileContent(target);
  QVERIFY(x84.startsWith("<?xml"));
  QVERIFY(x84.contains("<GAEB xmlns=\"http://www.gaeb.de/GAEB_DA_XML/DA84/3.3\">"));
  QCOMPARE(w.form.RecentFiles().Paths().first(), target);
}

void MainWindowTest::FailedSaveShowsTheReason() {
  QTemporaryDir dir;
  MemorySettingsStore store;
  Window w(store);
  w.form.LoadFile(RealTender("LV_Los01.P83"));
  w.dialogs.saveAnswer = dir.filePath(QStringLiteral("fehlt/Bau.D84"));
  w.form.SaveFile();
  QCOMPARE(boxes_.messages.size(), size_t(1));
  QVERIFY(QString::fromStdString(boxes_.messages[0])
              .startsWith(QStringLiteral("Fehler beim Schreiben der Datei: ")));
  QCOMPARE(w.form.RecentFiles().Paths().size(), 1);
  QVERIFY(!w.Pages()->isHidden());
}

void MainWindowTest::SaveWithoutDocumentAsksForAFile() {
  MemorySettingsStore store;
  Window w(store);
  w.form.SaveFile();
  QCOMPARE(boxes_.messages, std::vector<std::string>{"Bitte lesen Sie zun\xE4"
                                                     "chst eine Datei ein."});
  QCOMPARE(w.dialogs.saveCount, 0);
}

void MainWindowTest::PrintWithoutDataIsRefused() {
  MemorySettingsStore store;
  Window w(store);
  w.form.aPrintExecute();
  QCOMPARE(boxes_.errors, std::vector<std::string>{kNoData});
  QCOMPARE(w.dialogs.printCount, 0);
}

void MainWindowTest::PrintGoesThroughTheTextDevice() {
  KsLyxObj doc;
  QVERIFY(doc.Import(QFile::encodeName(RealTender("LV_Los01.P83")).toStdString()));
  RecordingPrintTarget cancelled;
  cancelled.choose = false;
  PrintOfferCommand(doc, false, cancelled);
  QCOMPARE(cancelled.jobTitle, std::string("Angebotsdruck LV_Los01"));
  QCOMPARE(cancelled.openCount, 0);

  RecordingPrintTarget target;
  PrintOfferCommand(doc, false, target);
  QCOMPARE(target.openCount, 1);
  QCOMPARE(target.device.closeCount, 1);
  const std::vector<std::string> first = target.device.Page(1);
  QVERIFY(first.size() > 3);
  const int pages = target.device.lines.back().page;
  const std::string number = "Seite 1 von " + std::to_string(pages);
  QCOMPARE(first[0], std::string(120 - number.size(), ' ') + number);
  QCOMPARE(first[1], std::string("Angebotsdruck LV_Los01"));
  const std::string text = target.device.Text();
  QVERIFY(text.find("Projekt: 11530 ") != std::string::npos);
  QVERIFY(text.find("Titel / Positionen") != std::string::npos);
  QVERIFY(text.find("Gesamtsumme : ") != std::string::npos);
  QVERIFY(boxes_.errors.empty());
}

void MainWindowTest::PrintAfterFailedOpenShowsTheReason() {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("leer.d83"));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.close();
  KsLyxObj doc;
  QVERIFY(!doc.Import(QFile::encodeName(path).toStdString()));
  RecordingPrintTarget target;
  PrintOfferCommand(doc, false, target);
  QCOMPARE(target.jobTitle, std::string("Angebotsdruck leer"));
  QCOMPARE(boxes_.errors, std::vector<std::string>{kNoData});
  QCOMPARE(target.openCount, 0);
}

void MainWindowTest::PrintWritesAPdfOfSeveralPages() {
  QTemporaryDir dir;
  MemorySettingsStore store;
  Window w(store);
  w.form.LoadFile(RealTender("1561-02_ROHBAUARBEITEN.P83"));
  w.dialogs.pdfFile = dir.filePath(QStringLiteral("angebot.pdf"));
  w.form.aPrintExecute();
  QVERIFY(boxes_.errors.empty());
  QCOMPARE(w.dialogs.jobTitle, QStringLiteral("Angebotsdruck 1561-02_ROHBAUARBEITEN"));
  const QByteArray pdf = FileContent(w.dialogs.pdfFile);
  QVERIFY(pdf.startsWith("%PDF"));
  QVERIFY2(pdf.count("/Type /Page\n") > 1, qPrintable(QString::number(pdf.count("/Type /Page\n"))));
}

QTEST_MAIN(MainWindowTest)
#include "test_main_window.moc"
