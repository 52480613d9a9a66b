#include <dirent.h>

#include <filesystem>
#include <utility>

#include "document/lyx_obj.h"
#include "gaeb/file_read.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaebxml/x83_mapper.h"
#include "gaebxml/x83_reader.h"
#include "gaebxml/x84_answers.h"
#include "util/codec.h"
#include "util/same_text.h"
#include "util/trim.h"

namespace {

std::string Shown(const std::string& path) { return Utf8ToCp1252(path); }

KsGAEBObj* LvOf(KsGAEBObj& root) {
  KsGAEBObj* award = root.Child("VERGABE");
  return award ? award->Child("LV") : nullptr;
}

// The bidder of the offer replaces the tender's, field by field (an empty
// field of the offer empties the tender's).
void TakeBidder(const KsGAEBObj& offerRoot, KsLyxObj& document) {
  const KsGAEBObj* award = offerRoot.Child("VERGABE");
  const KsGAEBObj* bidder = award ? award->Child("AN") : nullptr;
  const KsGAEBObj* address = bidder ? bidder->Child("ADRESSE") : nullptr;
  for (const EntryField& field : kBidderFields) {
    const KsGAEBObj* from = InAddress(field) ? address : bidder;
    KsGAEBObj* to = InAddress(field) ? document.An->Child("ADRESSE") : document.An;
    if (!to) continue;
    if (KsMember* member = to->Members.FindOrMake(field.Member))
      member->SetAsString(from ? from->Text(field.Member) : std::string());
  }
}

}  // namespace

bool KsLyxObj::IsXmlOffer() const {
  const KsGAEBObj* award = VergabeInfo ? VergabeInfo->ParentElement() : nullptr;
  return IsXml() && award && Trim(award->Text("DP")) == "84";
}

bool KsLyxObj::ImportXml(const std::string& tender) {
  return ReadAnnounced([this, &tender] { return ReadXmlTree(tender); });
}

std::string KsLyxObj::FindXmlTender(const std::string& given) {
  if (!given.empty()) return given;
  const std::string offer = reader_->FileName();
  const std::filesystem::path path(offer);
  std::filesystem::path expected = path;
  expected.replace_extension(".X83");
  if (offer != TFileRead::kStandardInput) {
    std::error_code error;
    const std::filesystem::path folder = path.parent_path().empty() ? "." : path.parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
      const std::filesystem::path& candidate = entry.path();
      if (candidate.stem() == path.stem() && SameText(candidate.extension().string(), ".X83") &&
          entry.is_regular_file(error))
        return candidate.string();
    }
  }
  tenderMissing_ = true;
  throw X83Error(
      "Das Angebot " + Shown(offer) +
      " enth\xE4lt nur Preise, weder Mengen noch Texte; seine Ausschreibung wird neben ihm als " +
      Shown(expected.string()) +
      " gesucht und wurde nicht gefunden. Bitte w\xE4hlen Sie die zugeh\xF6rige Ausschreibung.");
}

bool KsLyxObj::ReadXmlTree(const std::string& tender) {
  X83Input input;
  input.Pieces = [this] { return reader_->ReadBlock(); };
  // Read again from the start when the file is read as a whole document.
  input.Whole = [this] {
    std::string bytes;
    if (reader_->Rewind(0)) reader_->ReadRest(bytes);
    return bytes;
  };
  X83Result read = ReadX83(input, *this);
  if (!read.Root) {
    LastError = read.Error;
    return false;
  }
  std::unique_ptr<KsGAEBObj> offer;
  if (read.Offer && (!read.CarriesTender || !tender.empty())) {
    const std::string tenderPath = FindXmlTender(tender);
    X83Result answered = ReadX83File(tenderPath, *this);
    if (answered.Root && answered.Offer) {
      answered.Root.reset();
      answered.Error = "Sie ist selbst ein Angebot (Austauschphase 84).";
    }
    if (!answered.Root) {
      LastError = "Die Ausschreibung " + Shown(tenderPath) + " zum Angebot: " + answered.Error;
      return false;
    }
    KsGAEBObj* offerLv = LvOf(*read.Root);
    KsGAEBObj* tenderLv = LvOf(*answered.Root);
    if (!offerLv || !tenderLv) throw X83Error("Das Angebot hat kein Leistungsverzeichnis.");
    const std::string placed =
        EnterX84Answers(*offerLv, *tenderLv, Shown(reader_->FileName()), Shown(tenderPath));
    offer = std::move(read.Root);
    read.Root = std::move(answered.Root);
    read.Origin = std::move(answered.Origin);
    read.Warning = answered.Warning + (answered.Warning.empty() || placed.empty() ? "" : " ") +
                   placed + (read.Warning.empty() ? "" : " " + read.Warning);
    tenderFile_ = tenderPath;
  }
  GaebRoot = std::move(read.Root);
  xmlOrigin_ = std::make_unique<GaebXmlOrigin>(std::move(read.Origin));
  ImportWarning = std::move(read.Warning);
  CompleteTree();
  if (read.Offer) {
    if (KsMember* phase = VergabeInfo->ParentElement()->Members.FindOrMake("DP"))
      phase->SetAsString("84");
    if (offer) TakeBidder(*offer, *this);
  }
  return true;
}
