#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <exception>
#include <memory>

#include "document/lyx_obj.h"
#include "document/offer_check.h"
#include "document/offer_search.h"
#include "document/tender_overwrite.h"
#include "gaeb/file_read_gaeb00.h"
#include "ui/archive_options.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/lyx_observer_form.h"
#include "ui/options_page.h"
#include "ui/price_grid.h"
#include "ui/qstring_codec.h"
#include "ui/recent_files.h"
#include "ui/tender_file_types.h"
#include "ui/tit_pos_page.h"
#include "ui/window_dialogs.h"
#include "util/message_boxes.h"

namespace {

// Paths go to the file system as its own bytes, not as Windows-1252 text.
std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString PathFromNative(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

const char kOverwriteQuestion[] =
    "Die angegebene Datei existiert schon. M\xF6"
    "chten Sie sie \xFC"
    "berschreiben ?";

// The name with its extension (from the last ".") replaced, or added.
QString WithExtension(const QString& name, const QString& extension) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return (dot < 0 ? name : name.left(dot)) + extension;
}

}  // namespace

void TFormLyx::OpenFile() {
  if (!MayDiscardChanges()) return;
  const QString path = dialogs_.OpenFileName(this);
  if (!path.isEmpty()) LoadFile(path);
}

bool TFormLyx::LoadFile(const QString& path) {
  CommitEdits();
  auto incoming = std::make_unique<KsLyxObj>();
  incoming->AddObserver(observer_.get());
  bool imported = incoming->Import(NativePath(path));
  // An X84 without its tender beside it: the user names the tender.
  if (!imported && incoming->TenderMissing()) {
    const QString tender = dialogs_.TenderFileName(this, QFileInfo(path).absolutePath());
    if (tender.isEmpty()) {
      incoming->RemoveObserver(observer_.get());
      return false;
    }
    imported = incoming->Import(NativePath(path), NativePath(tender));
  }
  if (!imported) {
    incoming->RemoveObserver(observer_.get());
    MessageBoxes().ShowMessage(incoming->LastError);
    return false;
  }
  incoming->TakeDefaultVatRate(tsOpt->DefaultVatRate());
  TakeDocument(std::move(incoming));
  if (document_->MergeBidderData(infoPages_->BidderValues()))
    infoPages_->SetBidderValues(document_->BidderData());
  document_->NotifyObservers(lcTotalsChanged);
  tsTitPos->UpdateEpColumns();
  BuildTree();
  recentFiles_->Add(path);
  currentFile_ = path;
  offerFile_ = IsOfferFileName(path) ? path : QString();
  autosave_.Opened(NativePath(path));
  autosaveFailureShown_ = false;
  UpdateTitle();
  pc->show();
  tsTitPos->Grid().setFocus();
  if (!document_->ImportWarning.empty()) MessageBoxes().ShowMessage(document_->ImportWarning);
  return true;
}

void TFormLyx::TakeDocument(std::unique_ptr<KsLyxObj> incoming) {
  pc->hide();
  tv->clear();
  infoPages_->SetDocument(*incoming);
  tsTitPos->SetDocument(*incoming);
  document_->RemoveObserver(observer_.get());
  std::swap(document_, incoming);  // the old tender goes when nothing shows it any more
  offerFile_.clear();
  search_ = std::make_unique<OfferSearch>(*document_);
  searchPreparation_->start();
  lastHit_ = hitRow_ = nullptr;
  UpdateEditActions();
  ShowStartPage(false);
  document_->NotifyObservers(lcDisplaying);
  infoPages_->Fill();
}

bool TFormLyx::TenderLoadedOrSaySo() {
  if (document_->Loaded()) return true;
  MessageBoxes().ShowMessage(
      "Bitte lesen Sie zun\xE4"
      "chst eine Datei ein.");
  return false;
}

// Without a loaded tender there is no tree to write, so the command says
// what to do first, as sending does.
bool TFormLyx::SaveFile() {
  if (!TenderLoadedOrSaySo()) return false;
  CommitEdits();
  return MayLetOfferGo(CheckOffer(*document_)) && SaveOffer();
}

// The tender it was read from is replaced only after a question of its own,
// and never by an offer that cannot carry it.
bool TFormLyx::SaveOffer() {
  // Once there is an offer file, its folder and name are proposed again; a
  // restored offer has no reader, so the tender it names decides otherwise.
  const QString imported = PathFromNative(document_->TenderPath());
  const QString proposed =
      offerFile_.isEmpty() ? WithExtension(PathFromNative(document_->FileName()),
                                           QString::fromLatin1(document_->OfferExtension().c_str()))
                           : QFileInfo(offerFile_).fileName();
  const QString directory = QFileInfo(offerFile_.isEmpty() ? imported : offerFile_).absolutePath();
  bool gaeb2000 = false;
  const QString name = document_->IsGaeb90()
                           ? dialogs_.SaveOfferFileName(this, directory, proposed, gaeb2000)
                           : dialogs_.SaveFileName(this, directory, proposed);
  if (name.trimmed().isEmpty()) return false;
  const TenderOverwrite over =
      CheckTenderOverwrite(*document_, document_->TenderPath(), NativePath(name));
  if (over == TenderOverwrite::Destroys) {
    MessageBoxes().ShowMessage(TenderOverwriteText(over, NativePath(name)));
    return false;
  }
  const std::string question = over == TenderOverwrite::Replaces
                                   ? TenderOverwriteText(over, NativePath(name))
                               : QFileInfo::exists(name) ? std::string(kOverwriteQuestion)
                                                         : std::string();
  if (!question.empty() && !MessageBoxes().AskYesNo(question)) return false;
  if (!document_->ExportD84(NativePath(name), gaeb2000 ? KsLyxObj::OfferFormat::Gaeb2000
                                                       : KsLyxObj::OfferFormat::AsTender)) {
    MessageBoxes().ShowMessage(document_->LastError);
    return false;
  }
  document_->MarkSaved();
  autosave_.Discard();
  recentFiles_->Add(name);
  currentFile_ = name;
  offerFile_ = name;
  UpdateTitle();
  EnterIntoArchive(NativePath(name));
  return true;
}

// After the offer is written: the archive may fail, the save stands.
void TFormLyx::EnterIntoArchive(const std::string& offerFile) {
  if (!tsOpt->Archive->Enabled()) return;
  std::string failure;
  try {
    failure = archiveOnSave_.OfferSaved(tsOpt->Archive->Location(), *document_, offerFile);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  if (!failure.empty()) statusBar()->showMessage(FromCp1252(failure));
}

bool TFormLyx::MayDiscardChanges() {
  CommitEdits();
  if (!document_->Loaded() || !document_->Modified()) return true;
  switch (dialogs_.AskSaveChanges(this, QStringLiteral("Die \u00C4nderungen an %1 speichern?")
                                            .arg(QFileInfo(currentFile_).fileName()))) {
    case WindowDialogs::SaveChanges::Save:
      return SaveOffer();
    case WindowDialogs::SaveChanges::Discard:
      autosave_.Discard();
      return true;
    case WindowDialogs::SaveChanges::Cancel:
      break;
  }
  return false;
}

void TFormLyx::UpdateTitle() {
  const QString program = QStringLiteral("Tarvo Rudarur: Bieter - Preiserfassung");
  setWindowTitle(currentFile_.isEmpty()
                     ? program
                     : QFileInfo(currentFile_).fileName() + QStringLiteral("[*] - ") + program);
  setWindowModified(document_->Modified());
}

void TFormLyx::RecentFileChosen(const QString& path) {
  if (!QFileInfo(path).isFile())
    MessageBoxes().ShowError("Die angegebene Datei " + ToCp1252(path) + " existiert nicht mehr.");
  else if (MayDiscardChanges())
    LoadFile(path);
}

bool TFormLyx::SecureOffer(bool force) {
  autosave_.SetInterval(tsOpt->eAutoSave->value());
  try {
    return autosave_.Secure(*document_, QDateTime::currentSecsSinceEpoch(), force);
  } catch (const std::exception& e) {
    if (!autosaveFailureShown_) {
      autosaveFailureShown_ = true;
      MessageBoxes().ShowMessage(e.what());
    }
    return false;
  }
}
