#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "tests/support/format_guard.h"
#include "tests/ui/window_fixture.h"

namespace {

QByteArray FileContent(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

// "Speichern unter" answers a GAEB 90 tender with a GAEB 90 D84 unless the
// user chooses the GAEB 2000 D84; a GAEB 2000 tender gets no such choice.
class Gaeb90SaveTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    format_ = std::make_unique<FormatGuard>(GermanFormatSettings());
  }

  void TheChosenFormatIsWritten_data() {
    QTest::addColumn<QString>("tender");
    QTest::addColumn<bool>("gaeb2000");
    QTest::addColumn<int>("offerDialogs");
    QTest::addColumn<QByteArray>("begins");
    QTest::newRow("GAEB 90") << "gaeb90/LV_Los01.D83" << false << 1 << QByteArray("00        84L");
    QTest::newRow("GAEB 90 as GAEB 2000")
        << "gaeb90/LV_Los01.D83" << true << 1 << QByteArray("#begin[GAEB]");
    QTest::newRow("GAEB 2000") << "real/LV_Los01.P83" << true << 0 << QByteArray("#begin[GAEB]");
  }

  void TheChosenFormatIsWritten() {
    QFETCH(QString, tender);
    QFETCH(bool, gaeb2000);
    QFETCH(int, offerDialogs);
    QFETCH(QByteArray, begins);
    QTemporaryDir dir;
    MemorySettingsStore store;
    Window w(store);
    QVERIFY(w.form.LoadFile(QStringLiteral(TARVO_TEST_DATA_DIR "/") + tender));
    SetPositionValue(*w.form.Document()
                          .Lv->ChildList("LVBEREICH")
                          ->Element(0)
                          ->ChildList("POSITION")
                          ->Element(0),
                     "4711", "EP");
    w.dialogs.saveGaeb2000 = gaeb2000;
    w.dialogs.saveAnswer = dir.filePath(QStringLiteral("Angebot.D84"));
    QVERIFY(w.form.SaveFile());
    QCOMPARE(w.dialogs.offerSaveCount, offerDialogs);
    QCOMPARE(w.dialogs.saveProposal.right(12), QStringLiteral("LV_Los01.D84"));
    QVERIFY(FileContent(w.dialogs.saveAnswer).startsWith(begins));
  }

 private:
  std::unique_ptr<FormatGuard> format_;
};

QTEST_MAIN(Gaeb90SaveTest)
#include "test_gaeb90_save.moc"
