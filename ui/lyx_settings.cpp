#include "ui/lyx_settings.h"

#include <QAction>
#include <QCheckBox>
#include <QSet>
#include <QSpinBox>
#include <QStringTokenizer>

#include "document/lyx_obj.h"
#include "ui/archive_options.h"
#include "ui/field_list.h"
#include "ui/grid_columns_editor.h"
#include "ui/info_pages.h"
#include "ui/options_page.h"
#include "ui/price_grid.h"
#include "ui/qstring_codec.h"
#include "ui/recent_files.h"
#include "ui/settings_store.h"
#include "ui/tit_pos_page.h"

namespace {

const QString kOpt = QStringLiteral("Opt");
const QString kPrintLTxt = QStringLiteral("PrintLTxt");
const QString kShowMapiClient = QStringLiteral("ShowMapiClient");
const QString kFont = QStringLiteral("Font");
const QString kColumnWidths = QStringLiteral("ColWidths");
const QString kDefaultVatRate = QStringLiteral("StdMWSt");
const QString kAutoSave = QStringLiteral("AutoSichern");

QString FileValue(int index) { return QStringLiteral("FILE%1").arg(index); }

QString BidderValue(size_t index) { return QString::fromLatin1(kBidderFields[index].Member); }

// Lists in the settings are cleaned as they are read: a damaged or hostile
// file cannot make the window hold (and write back) thousands of entries.

// The "NAME=width;" entries of known columns, the first of each name.
QString KnownColumnWidths(const QString& text, const KsFieldList& fields) {
  QString known;
  QSet<QString> names;
  for (const QStringView entry : QStringTokenizer(text, QLatin1Char(';'))) {
    const QString name = entry.left(entry.indexOf(QLatin1Char('='))).toString();
    if (fields.Find(ToCp1252(name)) && !names.contains(name)) {
      names.insert(name);
      known += entry;
      known += QLatin1Char(';');
    }
  }
  return known;
}

// No file system takes a longer path; such a name would only make the menu
// unusable.
constexpr qsizetype kLongestPath = 4096;

// The recent files in their order, each once (as RecentFileList::Add
// compares them) and none too long for a path.
QStringList RecentFilePaths(const SettingsStore& store) {
  QStringList paths;
  for (int i = 0; i < RecentFileList::kCount; ++i) {
    const QString path = store.ReadString(FileValue(i));
    if (!path.isEmpty() && path.size() <= kLongestPath &&
        !paths.contains(path, Qt::CaseInsensitive))
      paths << path;
  }
  return paths;
}

}  // namespace

void ReadSettings(SettingsStore& store, const LyxSettingsParts& parts) {
  if (!store.OpenForReading()) return;

  const QString opt = store.ReadString(kOpt);
  if (!opt.isEmpty()) parts.Columns.ApplyOptText(opt);

  KsLyxObj::BidderValues bidder;
  for (size_t i = 0; i < bidder.size(); ++i) bidder[i] = ToCp1252(store.ReadString(BidderValue(i)));
  parts.InfoPages.SetBidderValues(bidder);

  if (store.ValueExists(kPrintLTxt)) parts.PrintLTxt.setChecked(store.ReadInteger(kPrintLTxt) != 0);
  if (store.ValueExists(kShowMapiClient))
    parts.ShowMapiClient.setChecked(store.ReadInteger(kShowMapiClient) != 0);
  if (store.ValueExists(kFont)) parts.TitPos.SetLongTextFontSize(store.ReadInteger(kFont));
  parts.FontNormal.setChecked(parts.TitPos.LongTextFontSize() == 8);
  parts.FontLarge.setChecked(parts.TitPos.LongTextFontSize() == 10);
  parts.TitPos.Grid().SetUserWidthsText(
      KnownColumnWidths(store.ReadString(kColumnWidths), parts.Columns.Fields()));
  if (store.ValueExists(kDefaultVatRate))
    parts.Options.SetDefaultVatRate(store.ReadString(kDefaultVatRate));
  if (store.ValueExists(kAutoSave)) parts.Options.eAutoSave->setValue(store.ReadInteger(kAutoSave));
  parts.Options.Archive->Read(store);

  const QStringList paths = RecentFilePaths(store);
  for (int i = 0; i < RecentFileList::kCount; ++i) parts.RecentFiles.SetPath(i, paths.value(i));
}

void WriteSettings(SettingsStore& store, const LyxSettingsParts& parts) {
  const QString opt = parts.Columns.OptText();
  if (!store.OpenForWriting()) return;
  store.WriteString(kOpt, opt);

  if (parts.Document.An) {
    const KsLyxObj::BidderValues bidder = parts.Document.BidderData();
    for (size_t i = 0; i < bidder.size(); ++i)
      store.WriteString(BidderValue(i), FromCp1252(bidder[i]));
  }

  store.WriteInteger(kPrintLTxt, parts.PrintLTxt.isChecked() ? 1 : 0);
  store.WriteInteger(kShowMapiClient, parts.ShowMapiClient.isChecked() ? 1 : 0);
  store.WriteInteger(kFont, parts.TitPos.LongTextFontSize());
  store.WriteString(kColumnWidths, parts.TitPos.Grid().UserWidthsText());
  store.WriteString(kDefaultVatRate, parts.Options.DefaultVatRateText());
  store.WriteInteger(kAutoSave, parts.Options.eAutoSave->value());
  parts.Options.Archive->Write(store);

  for (int i = 0; i < RecentFileList::kCount; ++i) {
    const QString path = parts.RecentFiles.Path(i);
    if (!path.isEmpty()) store.WriteString(FileValue(i), path);
  }
  store.Close();
}
