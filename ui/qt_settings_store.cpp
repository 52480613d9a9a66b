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

KsQtSettingsStore::KsQtSettingsStore() : settings_(UserSettings()) {}

KsQtSettingsStore::KsQtSettingsStore(const QString& iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {}

KsQtSettingsStore::~KsQtSettingsStore() = default;

// A key without values reads like a missing one: everything keeps its default.
bool KsQtSettingsStore::OpenForReading() {
  settings_->sync();
  return !settings_->allKeys().isEmpty();
}

bool KsQtSettingsStore::OpenForWriting() { return settings_->isWritable(); }

bool KsQtSettingsStore::ValueExists(const QString& name) const { return settings_->contains(name); }

QString KsQtSettingsStore::ReadString(const QString& name) const {
  return settings_->value(name).toString();
}

int32_t KsQtSettingsStore::ReadInteger(const QString& name) const {
  bool ok = false;
  const int value = settings_->value(name).toInt(&ok);
  return ok ? value : 0;
}

void KsQtSettingsStore::WriteString(const QString& name, const QString& value) {
  settings_->setValue(name, value);
}

void KsQtSettingsStore::WriteInteger(const QString& name, int32_t value) {
  settings_->setValue(name, static_cast<int>(value));
}

void KsQtSettingsStore::Close() { settings_->sync(); }

QString KsQtSettingsStore::Location() const { return settings_->fileName(); }
