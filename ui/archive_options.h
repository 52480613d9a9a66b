#pragma once

#include <QGroupBox>

#include "archive/archive_location.h"
#include "archive/archive_suggestion.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class SettingsStore;

// "Preisarchiv" on the page "&Optionen": whether saved offers enter the
// archive, and which archive: the user's own file or a PostgreSQL server
// of the team (host or socket folder, port, database, user, password).
class ArchiveOptions : public QGroupBox {
  Q_OBJECT
 public:
  explicit ArchiveOptions(QWidget* parent = nullptr);

  QCheckBox* cboxArchive = nullptr;  // "Preise im Archiv speichern"
  QCheckBox* cboxServer = nullptr;   // "PostgreSQL-Server statt der eigenen Datei"
  QLineEdit* eArchHost = nullptr;
  QSpinBox* eArchPort = nullptr;
  QLineEdit* eArchDatabase = nullptr;
  QLineEdit* eArchUser = nullptr;
  QLineEdit* eArchPassword = nullptr;
  QComboBox* cbArchSuggestion = nullptr;  // "letzter Preis" or "Median"

  bool Enabled() const;
  // The price "Preise aus Archiv übernehmen" enters.
  ArchiveSuggestion::Price SuggestedPrice() const;
  // Where the entries go; raises std::runtime_error (German) when the
  // user's data folder is unknown or the server is named without host or
  // database.
  ArchiveLocation Location() const;

  // The settings of the archive (the password too; no log sees it).
  void Read(const SettingsStore& store);
  void Write(SettingsStore& store) const;

 private:
  void ServerChosen();
  QLabel* lblFile_ = nullptr;
};
