#include "ui/archive_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <stdexcept>

#include "ui/qstring_codec.h"
#include "ui/settings_store.h"

namespace {

const QString kArchive = QStringLiteral("ArchivSpeichern");
const QString kServer = QStringLiteral("ArchivServer");
const QString kHost = QStringLiteral("ArchivHost");
const QString kPort = QStringLiteral("ArchivPort");
const QString kDatabase = QStringLiteral("ArchivDatenbank");
const QString kUser = QStringLiteral("ArchivBenutzer");
const QString kPassword = QStringLiteral("ArchivPasswort");
const QString kSuggestion = QStringLiteral("ArchivVorschlag");

QLineEdit* Edit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

}  // namespace

ArchiveOptions::ArchiveOptions(QWidget* parent) : QGroupBox(QStringLiteral("Preisarchiv"), parent) {
  setObjectName(QStringLiteral("gbArchive"));
  cboxArchive = new QCheckBox(QStringLiteral("Preise im Archiv speichern"), this);
  cboxArchive->setObjectName(QStringLiteral("cboxArchive"));
  cboxArchive->setChecked(true);
  cboxArchive->setToolTip(
      QStringLiteral("Jedes gespeicherte Angebot tr\u00E4gt seine Einheitspreise ins Archiv ein"));
  lblFile_ = new QLabel(this);
  lblFile_->setObjectName(QStringLiteral("lblArchiveFile"));
  lblFile_->setWordWrap(true);
  try {
    lblFile_->setText(
        QStringLiteral("Eigene Datei: ") +
        QFile::decodeName(QByteArray::fromStdString(ArchiveLocation::Default().File)));
  } catch (const std::exception& e) {
    lblFile_->setText(FromCp1252(e.what()));
  }
  cboxServer =
      new QCheckBox(QStringLiteral("PostgreSQL-Server des Teams statt der eigenen Datei"), this);
  cboxServer->setObjectName(QStringLiteral("cboxArchiveServer"));
  eArchHost = Edit("eArchHost", this);
  eArchHost->setToolTip(
      QStringLiteral("Name des Servers oder Ordner seines Sockets (etwa /run/postgresql)"));
  eArchPort = new QSpinBox(this);
  eArchPort->setObjectName(QStringLiteral("eArchPort"));
  eArchPort->setRange(1, 65535);
  eArchPort->setValue(5432);
  eArchDatabase = Edit("eArchDatabase", this);
  eArchUser = Edit("eArchUser", this);
  eArchPassword = Edit("eArchPassword", this);
  eArchPassword->setEchoMode(QLineEdit::Password);
  cbArchSuggestion = new QComboBox(this);
  cbArchSuggestion->setObjectName(QStringLiteral("cbArchSuggestion"));
  cbArchSuggestion->addItems({QStringLiteral("letzter Preis"), QStringLiteral("Median")});
  cbArchSuggestion->setToolTip(
      QStringLiteral("Welcher Preis bei \u201EPreise aus Archiv \u00FCbernehmen\u201C "
                     "eingetragen wird"));
  auto* suggestion = new QFormLayout;
  suggestion->addRow(QStringLiteral("Vorschlag aus dem Archiv:"), cbArchSuggestion);
  auto* server = new QFormLayout;
  server->addRow(QStringLiteral("Server:"), eArchHost);
  server->addRow(QStringLiteral("Port:"), eArchPort);
  server->addRow(QStringLiteral("Datenbank:"), eArchDatabase);
  server->addRow(QStringLiteral("Benutzer:"), eArchUser);
  server->addRow(QStringLiteral("Passwort:"), eArchPassword);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(cboxArchive);
  layout->addWidget(lblFile_);
  layout->addWidget(cboxServer);
  layout->addLayout(server);
  layout->addLayout(suggestion);
  connect(cboxServer, &QCheckBox::toggled, this, &ArchiveOptions::ServerChosen);
  connect(cboxArchive, &QCheckBox::toggled, this, &ArchiveOptions::ServerChosen);
  ServerChosen();
}

void ArchiveOptions::ServerChosen() {
  const bool on = cboxArchive->isChecked();
  const bool server = on && cboxServer->isChecked();
  cboxServer->setEnabled(on);
  lblFile_->setEnabled(on && !server);
  for (QWidget* w : std::initializer_list<QWidget*>{eArchHost, eArchPort, eArchDatabase, eArchUser,
                                                    eArchPassword})
    w->setEnabled(server);
}

bool ArchiveOptions::Enabled() const { return cboxArchive->isChecked(); }

ArchiveSuggestion::Price ArchiveOptions::SuggestedPrice() const {
  return cbArchSuggestion->currentIndex() == 1 ? ArchiveSuggestion::Price::Median
                                               : ArchiveSuggestion::Price::Last;
}

ArchiveLocation ArchiveOptions::Location() const {
  if (!cboxServer->isChecked()) return ArchiveLocation::Default();
  ArchiveLocation location;
  location.Kind = ArchiveLocation::Engine::PostgreSQL;
  location.Host = ToCp1252(eArchHost->text().trimmed());
  location.Port = eArchPort->value();
  location.Database = ToCp1252(eArchDatabase->text().trimmed());
  location.User = ToCp1252(eArchUser->text().trimmed());
  location.Password = ToCp1252(eArchPassword->text());
  if (location.Host.empty() || location.Database.empty())
    throw std::runtime_error(
        "F\xFCr das Preisarchiv auf dem PostgreSQL-Server fehlen Server oder Datenbank (Seite "
        "Optionen).");
  return location;
}

void ArchiveOptions::Read(const SettingsStore& store) {
  if (store.ValueExists(kArchive)) cboxArchive->setChecked(store.ReadInteger(kArchive) != 0);
  if (store.ValueExists(kServer)) cboxServer->setChecked(store.ReadInteger(kServer) != 0);
  eArchHost->setText(store.ReadString(kHost));
  if (store.ValueExists(kPort) && store.ReadInteger(kPort) > 0)
    eArchPort->setValue(store.ReadInteger(kPort));
  eArchDatabase->setText(store.ReadString(kDatabase));
  eArchUser->setText(store.ReadString(kUser));
  eArchPassword->setText(store.ReadString(kPassword));
  if (store.ValueExists(kSuggestion))
    cbArchSuggestion->setCurrentIndex(store.ReadInteger(kSuggestion) == 1 ? 1 : 0);
}

void ArchiveOptions::Write(SettingsStore& store) const {
  store.WriteInteger(kArchive, cboxArchive->isChecked() ? 1 : 0);
  store.WriteInteger(kServer, cboxServer->isChecked() ? 1 : 0);
  store.WriteString(kHost, eArchHost->text());
  store.WriteInteger(kPort, eArchPort->value());
  store.WriteString(kDatabase, eArchDatabase->text());
  store.WriteString(kUser, eArchUser->text());
  store.WriteString(kPassword, eArchPassword->text());
  store.WriteInteger(kSuggestion, cbArchSuggestion->currentIndex());
}
