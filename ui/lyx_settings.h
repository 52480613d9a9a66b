#pragma once

class KsLyxObj;
class SettingsStore;
class QAction;
class QCheckBox;
class GridColumnsEditor;
class InfoPageSet;
class OptionsPage;
class RecentFileList;
class TitPosPage;

// The parts of the main window that the settings are read into and written from.
struct LyxSettingsParts {
  GridColumnsEditor& Columns;
  InfoPageSet& InfoPages;
  QCheckBox& PrintLTxt;
  QCheckBox& ShowMapiClient;
  QAction& FontNormal;
  QAction& FontLarge;
  TitPosPage& TitPos;
  RecentFileList& RecentFiles;
  const KsLyxObj& Document;
  OptionsPage& Options;
};

// Once while the window is created: a missing key leaves every design default.
void ReadSettings(SettingsStore& store, const LyxSettingsParts& parts);
// Once when the window closes. The bidder values are written only while a
// tender is loaded, since edits reach them through the document.
void WriteSettings(SettingsStore& store, const LyxSettingsParts& parts);
