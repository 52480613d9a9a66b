#include <sys/stat.h>

#include <cerrno>
#include <exception>
#include <string_view>

#include "core/eobj.h"
#include "document/format_refusal.h"
#include "document/lyx_obj.h"
#include "gaeb/exchange_phase.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb90_head.h"
#include "gaeb/gaeb_classes.h"
#include "gaeb/gaeb_import.h"
#include "gaeb90/records.h"
#include "gaebxml/x83_reader.h"
#include "util/codec.h"
#include "util/format_ex.h"
#include "util/trim.h"

namespace {

constexpr int kImportBlockSize = 1024;

// Why a name given for import names no file to read, "" when it may: a name
// that does not exist, or a directory. Other failures (no permission) are
// left to the reader, which reports the system's reason.
std::string MissingFileText(const std::string& fileName) {
  if (fileName == TFileRead::kStandardInput) return "";
  struct stat info {};
  if (stat(fileName.c_str(), &info) != 0)
    return errno == ENOENT || errno == ENOTDIR ? "Die angegebene Datei %s existiert nicht." : "";
  return S_ISDIR(info.st_mode) ? "Die angegebene Datei %s ist ein Verzeichnis." : "";
}

KsGAEBObjList* NonEmpty(KsGAEBObjList* list) { return list && list->Count() > 0 ? list : nullptr; }

// Lines ended by CR alone come from systems that also convert the text; such
// a file is not read as one long line, nor guessed at.
bool EndsLinesWithCrOnly(std::string_view head) {
  return head.find('\n') == std::string_view::npos && head.find('\r') != std::string_view::npos;
}

// The message for a file that began no GAEB 2000 block and is no other
// format either, naming its first line that is not blank.
std::string UnknownFormat(KsFileReadGaeb00& reader) {
  reader.ConvertOem = reader.ConvertUtf8 = false;
  if (!reader.Rewind(0)) return UnknownFormatText(1, "", reader.DisplayName());
  std::string_view line;
  while (reader.ReadLine(line))
    if (!TrimmedView(line).empty())
      return UnknownFormatText(reader.LineNumber(), line, reader.DisplayName());
  return UnknownFormatText(0, "", reader.DisplayName());
}

// A tender asks for an offer (phase 83). A file of another phase is refused:
// an offer (84) of another program priced again would be taken for a tender.
// The program's own offers say they are offers (84) and are opened again to
// go on pricing them. A file without [DP] claims no phase and is read; so is
// any offer read only for its prices (`priceSource`).
std::string PhaseError(const KsGAEBObj& root, const KsGAEBObj& award, bool priceSource) {
  const std::string phase = award.Text("DP");
  if (phase.empty() || phase == "83" || (priceSource && phase == "84")) return "";
  const KsGAEBObj* info = root.Child("GAEBINFO");
  if (phase == "84" && info && Trim(info->Text("PROGNAME")) == KsLyxObj::kProgramName) return "";
  return "Die Datei ist eine GAEB 2000 Datei der Austauschphase " + phase +
         ExchangePhaseName(phase) +
         "; eingelesen werden nur Angebotsaufforderungen (Austauschphase 83, D83 oder P83) "
         "und die eigenen Angebote dieses Programms.";
}

}  // namespace

bool KsLyxObj::Import(const std::string& fileName, const std::string& tender) {
  tenderMissing_ = false;
  tenderFile_.clear();
  if (const std::string missing = MissingFileText(fileName); !missing.empty()) {
    LastError = FormatEx(missing, {Utf8ToCp1252(fileName)});
    return false;
  }
  CloseReader();
  ClearReferences();
  changes_.Reset();
  vatUnconfirmed_ = false;
  xmlOrigin_.reset();
  gaeb90Origin_.reset();
  ImportWarning.clear();
  try {
    reader_ = std::make_unique<KsFileReadGaeb00>(fileName, kImportBlockSize);
  } catch (const std::exception& e) {
    LastError = e.what();
    return false;
  }
  FreeTree();
  arena_.reset(Arena::Create());
  const ArenaScope scope(arena_.get());
  try {
    if (LooksLikeXml(reader_->Peek())) return ImportXml(tender);
    if (LooksLikeGaeb90(reader_->Peek())) return ImportGaeb90();
    if (EndsLinesWithCrOnly(reader_->Peek())) {
      LastError = "Die Datei " + reader_->DisplayName() +
                  " hat als Zeilenenden nur CR (Wagenr\xFC"
                  "cklauf); eine GAEB 2000 Datei hat die Zeilenenden CR LF.";
      return false;
    }
    if (LooksLikeDamagedGaeb90(reader_->Peek())) {
      LastError = DamagedGaeb90Text(reader_->Peek(), reader_->DisplayName());
      return false;
    }
    GaebRoot = NewGaebRoot(this);
    bool blockSeen = false;
    if (!ScanGaebHeader(*reader_, &blockSeen)) {
      LastError =
          blockSeen
              ? "Bei der angegeben Datei handelt es sich nicht um eine GAEB 2000 Datei bzw. nicht "
                "um eine GAEB 2000 Datei mit Vergabe-Daten."
              : UnknownFormat(*reader_);
      return false;
    }
  } catch (const std::exception& e) {
    LastError = e.what();
    return false;
  }

  return ReadAnnounced([this] { return ReadTree(); });
}

bool KsLyxObj::ReadAnnounced(const std::function<bool()>& read) {
  NotifyObservers(lcReadStart);
  bool result = false;
  try {
    result = read();
  } catch (const std::exception& e) {
    LastError = e.what();
  }
  if (!result) ClearReferences();
  NotifyObservers(lcReadEnd);
  return result;
}

void KsLyxObj::CompleteTree() {
  BindReferences();
  DetectEpBreakdown();
  RecalculateAll();
}

bool KsLyxObj::ImportPriceSource(const std::string& fileName, const KsLyxObj& into) {
  priceSource_ = true;
  bool read = Import(fileName);
  const std::string tenderOfInto =
      into.TenderFile().empty() ? into.TenderPath() : into.TenderFile();
  if (!read && TenderMissing() && into.IsXml() && !tenderOfInto.empty()) {
    const std::string missing = LastError;
    read = Import(fileName, tenderOfInto);
    if (!read) LastError = missing;
  }
  priceSource_ = false;
  return read;
}

bool KsLyxObj::ReadTree() {
  std::unique_ptr<KsGGAEB> root = ReadGaebRoot(*this);
  if (!root) {
    LastError = "In der Datei konnte kein GAEB-Objekt gefunden werden.";
    return false;
  }
  GaebRoot = std::move(root);
  if (const KsGAEBObj* award = GaebRoot->Child("VERGABE")) {
    LastError = PhaseError(*GaebRoot, *award, priceSource_);
    if (!LastError.empty()) return false;
  }
  if (const int64_t replaced = reader_->ReplacedCharacters(); replaced > 0)
    ImportWarning = std::to_string(replaced) +
                    " Zeichen der Datei gibt es im Zeichensatz Windows-1252 nicht; sie wurden "
                    "durch \"?\" ersetzt.";
  CompleteTree();
  return true;
}

// Binds every reference, creating what the file left out as an empty element
// so that the window and the writer always find the whole skeleton.
void KsLyxObj::BindReferences() {
  KsGAEBObj& root = *GaebRoot;
  GaebInfo = &BindChild(root, "GAEBINFO");
  PrjInfo = &BindChild(root, "PRJINFO");
  KsGAEBObj& award = BindChild(root, "VERGABE");
  VergabeInfo = &BindChild(award, "VERGABEINFO");
  Ag = &BindChild(award, "AG");
  BindChild(*Ag, "ADRESSE");
  An = &BindChild(award, "AN");
  BindChild(*An, "ADRESSE");
  Lv = &BindChild(award, "LV");
  LvInfo = &BindChild(*Lv, "LVINFO");
  LvAreas = NonEmpty(Lv->ChildList("LVBEREICH"));
  Positions = NonEmpty(Lv->ChildList("POSITION"));
}

KsGAEBObj& KsLyxObj::BindChild(KsGAEBObj& holder, const std::string& memberName) {
  KsMember& member = holder.GetMember(memberName);
  if (&member == &NoMember())
    throw EObj(holder.ClassName(), "Das Element " + memberName + " ist nicht bekannt.", "Import");
  KsGAEBObj* child = holder.ChildOrNew(member.Name(), this);
  if (!child) throw EObj(holder.ClassName(), Uncreatable(memberName), "Import");
  return *child;
}
