#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "ui/settings_store.h"

// The store through QSettings: the registry key
// HKEY_CURRENT_USER\Software\Tarvo_Redurir on Windows, elsewhere an INI file
// of the user (~/.config/Software/Tarvo_Redurir.ini) or the one named.
//
// An INI file that is there but no regular file (a FIFO would keep the
// window from ever appearing, a device or a folder holds no settings) is
// neither read nor written, so the program starts with its defaults and
// leaves the thing as it was; a warning on stderr says so.
class QtSettingsStore final : public SettingsStore {
 public:
  QtSettingsStore();
  explicit QtSettingsStore(const QString& iniFile);
  ~QtSettingsStore() override;

  bool OpenForReading() override;
  bool OpenForWriting() override;
  bool ValueExists(const QString& name) const override;
  QString ReadString(const QString& name) const override;
  int32_t ReadInteger(const QString& name) const override;
  void WriteString(const QString& name, const QString& value) override;
  void WriteInteger(const QString& name, int32_t value) override;
  void Close() override;

  // Where the values are kept (the file name or the registry path).
  QString Location() const;

 private:
  QString location_;
  std::unique_ptr<QSettings> settings_;  // null for a file that is not used
};
