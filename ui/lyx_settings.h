#pragma once

class KsLyxObj;
class KsSettingsStore;
class QAction;
class QCheckBox;
class TGridColumnsEditor;
class TInfoPages;
class TRecentFiles;
class TTitPosPage;

// The parts of the main window that the settings are read into and written from.
struct KsLyxSettingsParts {
  TGridColumnsEditor& Columns;
  TInfoPages& InfoPages;
  QCheckBox& PrintLTxt;
  QCheckBox& ShowMapiClient;
  QAction& FontNormal;
  QAction& FontLarge;
  TTitPosPage& TitPos;
  TRecentFiles& RecentFiles;
  const KsLyxObj& Document;
};

// Once while the window is created: a missing key leaves every design default.
void ReadSettings(KsSettingsStore& store, const KsLyxSettingsParts& parts);
// Once when the window closes. The bidder values are written only while a
// tender is loaded, since edits reach them through the document.
void WriteSettings(KsSettingsStore& store, const KsLyxSettingsParts& parts);
