#include "ui/qt_settings_store.h"

#include <QStandardPaths>

namespace {

#ifdef Q_OS_WIN
std::unique_ptr<QSettings> UserSettings() {
  return std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\Tarvo_Redurir"),
                                     QSettings::NativeFormat);
}
#else
std::unique_ptr<QSettings> UserSettings() {
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  return std::make_unique<QSettings>(config + QStringLiteral("/Software/Tarvo_Redurir.ini"),
                                     QSettings::IniFormat);
}
#endif

}  // namespace

QtSettingsStore::QtSettingsStore() : settings_(UserSettings()) {}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

// A key without values reads like a missing one: everything keeps its default.
bool QtSettingsStore::OpenForReading() {
  settings_->sync();
  return !settings_->allKeys().isEmpty();
}

bool QtSettingsStore::OpenForWriting() { return settings_->isWritable(); }

bool QtSettingsStore::ValueExists(const QString& name) const { return settings_->contains(name); }

QString QtSettingsStore::ReadString(const QString& name) const {
  return settings_->value(name).toString();
}

int32_t QtSettingsStore::ReadInteger(const QString& name) const {
  bool ok = false;
  const int value = settings_->value(name).toInt(&ok);
  return ok ? value : 0;
}

void QtSettingsStore::WriteString(const QString& name, const QString& value) {
  settings_->setValue(name, value);
}

void QtSettingsStore::WriteInteger(const QString& name, int32_t value) {
  settings_->setValue(name, static_cast<int>(value));
}

void QtSettingsStore::Close() { settings_->sync(); }

QString QtSettingsStore::Location() const { return settings_->fileName(); }
