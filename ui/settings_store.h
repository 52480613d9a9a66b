#pragma once

#include <QString>
#include <cstdint>

// The per-user key "Software\Tarvo_Redurir" with string and 32-bit integer values.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // Opens the key for reading without creating it; false when it does not exist.
  virtual bool OpenForReading() = 0;
  // Opens the key for writing, creating it when missing; false when that fails.
  virtual bool OpenForWriting() = 0;
  virtual bool ValueExists(const QString& name) const = 0;
  // "" or 0 for a missing value (or an integer that is not one).
  virtual QString ReadString(const QString& name) const = 0;
  virtual int32_t ReadInteger(const QString& name) const = 0;
  virtual void WriteString(const QString& name, const QString& value) = 0;
  virtual void WriteInteger(const QString& name, int32_t value) = 0;
  // Ends a writing session; the values are then in the store.
  virtual void Close() = 0;
};
