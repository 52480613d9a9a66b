#pragma once

#include <QMap>
#include <QString>
#include <variant>

#include "ui/settings_store.h"

// The store in memory, for tests: a key that exists or not, and values that
// keep their type, so a test sees whether a string or an integer was written.
class MemorySettingsStore final : public SettingsStore {
 public:
  using Value = std::variant<QString, int32_t>;

  bool OpenForReading() override { return keyExists; }
  bool OpenForWriting() override {
    if (!writable) return false;
    keyExists = true;
    return true;
  }
  bool ValueExists(const QString& name) const override { return values.contains(name); }
  QString ReadString(const QString& name) const override {
    const auto it = values.constFind(name);
    if (it == values.cend()) return QString();
    if (const auto* s = std::get_if<QString>(&*it)) return *s;
    return QString::number(std::get<int32_t>(*it));
  }
  int32_t ReadInteger(const QString& name) const override {
    const auto it = values.constFind(name);
    const auto* i = it == values.cend() ? nullptr : std::get_if<int32_t>(&*it);
    return i ? *i : 0;
  }
  void WriteString(const QString& name, const QString& value) override { values[name] = value; }
  void WriteInteger(const QString& name, int32_t value) override { values[name] = value; }
  void Close() override { ++closeCount; }

  bool keyExists = false;
  bool writable = true;
  int closeCount = 0;
  QMap<QString, Value> values;
};
