#include <QDir>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "gaebxml/text_complements.h"
#include "tests/support/format_guard.h"
#include "tests/support/recording_message_boxes.h"
#include "tests/ui/window_fixture.h"
#include "ui/complement_panel.h"
#include "ui/qstring_codec.h"
#include "ui/recent_files.h"
#include "ui/tit_pos_page.h"

namespace {

const QString kData = QStringLiteral(TARVO_TEST_DATA_DIR "/xml/");
const QString kTender =
    kData + QStringLiteral("Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2024.X83");
const QString kOffer =
    kData + QStringLiteral("BVBS_Pruefdatei_GAEB_DA_XML_3_3_Bauausfuehrung_2021.X84");

KsGAEBObj* PositionWithOz(const KsGAEBObj& holder, const std::string& oz) {
  if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i)
      if (KsGAEBObj* found = PositionWithOz(*areas->Element(i), oz)) return found;
  if (const KsGAEBObjList* positions = holder.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i)
      if (positions->Element(i)->Text("OZ") == oz) return positions->Element(i);
  return nullptr;
}

}  // namespace

// The window opens an X84 with its tender, asking for the tender when it is
// not beside the offer, and lets the bidder fill in the text complements
// beside the long text.
class ComplementsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
  }

  void AnOfferWithoutItsTenderAsksForIt() {
    QTemporaryDir dir;
    const QString offer = dir.filePath(QStringLiteral("angebot.X84"));
    QVERIFY(QFile::copy(kOffer, offer));
    MemorySettingsStore store;
    RecordingMessageBoxes boxes;
    Window w(store);
    // Cancelled: nothing opens, nothing is said.
    QVERIFY(!w.form.LoadFile(offer));
    QCOMPARE(w.dialogs.tenderCount, 1);
    QCOMPARE(w.dialogs.tenderDirectory, dir.path());
    QVERIFY(boxes.messages.empty());
    QVERIFY(!w.form.Document().Loaded());
    w.dialogs.tenderAnswer = kTender;
    QVERIFY(w.form.LoadFile(offer));
    QCOMPARE(w.dialogs.tenderCount, 2);
    QVERIFY(w.form.Document().IsXmlOffer());
    QCOMPARE(w.form.RecentFiles().Path(0), offer);
    // What could not be placed is said once the offer shows.
    QCOMPARE(boxes.messages.size(), size_t{1});
    QVERIFY(boxes.messages[0].find("Texterg\xE4nzungen 62") != std::string::npos);
  }

  void TheComplementsOfAPositionAreFilledInBesideItsLongText() {
    MemorySettingsStore store;
    Window w(store);
    QVERIFY(w.form.LoadFile(kTender));
    KsGAEBObj* position = PositionWithOz(*w.form.Document().Lv, "0020020020");
    QVERIFY(position);
    w.TitPos()->ShowPosition(position);
    auto* panel = w.form.findChild<ComplementPanel*>();
    QVERIFY(panel);
    QTRY_COMPARE(panel->Fields().size(), size_t{2});
    QVERIFY(panel->isVisibleTo(w.TitPos()));
    auto* form = qobject_cast<QFormLayout*>(panel->layout());
    QVERIFY(form);
    auto* label = qobject_cast<QLabel*>(form->labelForField(panel->Fields()[0]));
    QVERIFY(label);
    QCOMPARE(label->text(), QStringLiteral("Breite von ... cm. (60)"));
    QLineEdit* height = panel->Fields()[1];
    height->setText(QStringLiteral("95,5 \u00FCber OK"));
    emit height->editingFinished();
    QCOMPARE(BidderComplements(*position)[1].Answer, ToCp1252(QStringLiteral("95,5 \u00FCber OK")));
    QVERIFY(w.form.Document().Modified());
    // A position without complements shows no fields.
    w.TitPos()->ShowPosition(PositionWithOz(*w.form.Document().Lv, "0020020010"));
    QTRY_VERIFY(panel->Fields().empty());
    QVERIFY(!panel->isVisibleTo(w.TitPos()));
  }

 private:
  std::unique_ptr<FormatGuard> format_;
};

QTEST_MAIN(ComplementsTest)
#include "test_complements.moc"
