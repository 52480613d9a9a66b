#include "ui/qt_settings_store.h"

#include <QDebug>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// QSettings reads its file as it is made, so the file is looked at first.
std::unique_ptr<QSettings> IniSettings(const QString& file) {
  const QFileInfo info(file);
  if (!info.exists() || info.isFile())
    return std::make_unique<QSettings>(file, QSettings::IniFormat);
  qWarning().noquote() << QStringLiteral(
                              "Warnung: Die Einstellungsdatei %1 ist keine gew\u00f6hnliche "
                              "Datei; die Einstellungen werden weder gelesen noch gespeichert.")
                              .arg(file);
  return nullptr;
}

#ifdef Q_OS_WIN
QString UserLocation() { return QStringLiteral("HKEY_CURRENT_USER\\Software\\Tarvo_Redurir"); }

std::unique_ptr<QSettings> UserSettings(const QString& location) {
  return std::make_unique<QSettings>(location, QSettings::NativeFormat);
}
#else
QString UserLocation() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Software/Tarvo_Redurir.ini");
}

std::unique_ptr<QSettings> UserSettings(const QString& location) { return IniSettings(location); }
#endif

}  // namespace

QtSettingsStore::QtSettingsStore()
    : location_(UserLocation()), settings_(UserSettings(location_)) {}

QtSettingsStore::QtSettingsStore(const QString& iniFile)
    : location_(iniFile), settings_(IniSettings(iniFile)) {}

QtSettingsStore::~QtSettingsStore() = default;

// A key without values reads like a missing one: everything keeps its default.
bool QtSettingsStore::OpenForReading() {
  if (!settings_) return false;
  settings_->sync();
  return !settings_->allKeys().isEmpty();
}

bool QtSettingsStore::OpenForWriting() { return settings_ && settings_->isWritable(); }

bool QtSettingsStore::ValueExists(const QString& name) const {
  return settings_ && settings_->contains(name);
}

QString QtSettingsStore::ReadString(const QString& name) const {
  return settings_ ? settings_->value(name).toString() : QString();
}

int32_t QtSettingsStore::ReadInteger(const QString& name) const {
  bool ok = false;
  const int value = settings_ ? settings_->value(name).toInt(&ok) : 0;
  return ok ? value : 0;
}

void QtSettingsStore::WriteString(const QString& name, const QString& value) {
  if (settings_) settings_->setValue(name, value);
}

void QtSettingsStore::WriteInteger(const QString& name, int32_t value) {
  if (settings_) settings_->setValue(name, static_cast<int>(value));
}

void QtSettingsStore::Close() {
  if (settings_) settings_->sync();
}

QString QtSettingsStore::Location() const { return location_; }
