#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QTreeWidget>

#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "ui/form_lyx.h"
#include "ui/info_pages.h"
#include "ui/qstring_codec.h"
#include "ui/recent_files.h"
#include "ui/tit_pos_page.h"
#include "ui/window_dialogs.h"
#include "util/message_boxes.h"

namespace {

// Paths go to the file system as its own bytes, not as Windows-1252 text.
std::string NativePath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString PathFromNative(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// The name with its extension (from the last ".") replaced, or added.
QString WithExtension(const QString& name, const QString& extension) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return (dot < 0 ? name : name.left(dot)) + extension;
}

}  // namespace

void TFormLyx::OpenFile() {
  const QString path = dialogs_.OpenFileName(this);
  if (!path.isEmpty()) LoadFile(path);
}

void TFormLyx::LoadFile(const QString& path) {
  pc->hide();
  tv->clear();
  tsTitPos->Clear();
  if (!document_->Import(NativePath(path))) {
    MessageBoxes().ShowMessage(document_->LastError);
    pc->show();
    return;
  }
  document_->NotifyObservers(lcDisplaying);
  infoPages_->Fill();
  if (document_->MergeBidderData(infoPages_->BidderValues()))
    infoPages_->SetBidderValues(document_->BidderData());
  document_->NotifyObservers(lcTotalsChanged);
  tsTitPos->UpdateEpColumns();
  BuildTree();
  tsTitPos->SelectFirstEditable();
  recentFiles_->Add(path);
  pc->show();
}

// Without a loaded tender there is no tree to write, so the command says
// what to do first, as sending does.
void TFormLyx::SaveFile() {
  if (!document_->Loaded()) {
    MessageBoxes().ShowMessage(
        "Bitte lesen Sie zun\xE4"
        "chst eine Datei ein.");
    return;
  }
  CommitEdits();
  const QString imported = PathFromNative(document_->Reader()->FileName());
  const QString proposed =
      WithExtension(PathFromNative(document_->FileName()), QStringLiteral(".D84"));
  const QString name = dialogs_.SaveFileName(this, QFileInfo(imported).absolutePath(), proposed);
  if (name.trimmed().isEmpty()) return;
  if (QFileInfo::exists(name) &&
      !MessageBoxes().AskYesNo("Die angegebene Datei existiert schon. M\xF6"
                               "chten Sie sie "
                               "\xFC"
                               "berschreiben ?"))
    return;
  if (document_->ExportD84(NativePath(name)))
    recentFiles_->Add(name);
  else
    MessageBoxes().ShowMessage(document_->LastError);
}

void TFormLyx::RecentFileChosen(const QString& path) {
  if (QFileInfo(path).isFile())
    LoadFile(path);
  else
    MessageBoxes().ShowError("Die angegebene Datei " + ToCp1252(path) + " existiert nicht mehr.");
}
