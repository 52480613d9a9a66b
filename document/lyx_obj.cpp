#include "document/lyx_obj.h"

#include <algorithm>
#include <exception>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "util/format_ex.h"
#include "util/trim.h"

namespace {

bool ListHasBreakdown(const KsGAEBObjList* positions) {
  if (!positions) return false;
  for (int i = 0; i < positions->Count(); ++i)
    if (HasPriceBreakdown(*positions->Element(i))) return true;
  return false;
}

// Depth first: the sub-areas before the area's own positions.
bool AreasHaveBreakdown(const KsGAEBObjList* areas) {
  if (!areas) return false;
  for (int i = 0; i < areas->Count(); ++i) {
    const KsGAEBObj& area = *areas->Element(i);
    if (AreasHaveBreakdown(area.ChildList("LVBEREICH")) ||
        ListHasBreakdown(area.ChildList("POSITION")))
      return true;
  }
  return false;
}

// The element holding a bidder field: the bidder or his address.
KsGAEBObj* BidderHolder(KsGAEBObj* bidder, const EntryField& field) {
  if (!bidder) return nullptr;
  return InAddress(field) ? bidder->Child("ADRESSE") : bidder;
}

}  // namespace

KsLyxObj::KsLyxObj() = default;

KsLyxObj::~KsLyxObj() {
  ClearReferences();
  FreeTree();
  observers_.clear();
  CloseReader();
}

const std::string& KsLyxObj::TenderPath() const {
  return reader_ ? reader_->FileName() : restoredFrom_;
}

std::string KsLyxObj::FileName() const {
  const std::string& path = TenderPath();
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void KsLyxObj::FreeTree() {
  history_.Clear();
  if (arena_) arena_->Retire();
  GaebRoot.reset();
}

void KsLyxObj::CloseReader() {
  reader_.reset();
  restoredFrom_.clear();
  LastError.clear();
}

void KsLyxObj::DetectEpBreakdown() {
  EpBreakdown = ListHasBreakdown(Positions) || AreasHaveBreakdown(LvAreas);
}

void KsLyxObj::RecalculateAll() {
  if (!Lv) return;
  // Cleared however the calculation ends, or later edits would store every value.
  struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
  } scope(recalcAll_);
  CalcAll(*Lv);
}

std::vector<KsGAEBObj*> KsLyxObj::Undo() {
  std::vector<KsGAEBObj*> changed = history_.Undo();
  if (!changed.empty()) {
    RecalculateAll();
    NotifyObservers(lcTotalsChanged);
  }
  return changed;
}

std::vector<KsGAEBObj*> KsLyxObj::Redo() {
  std::vector<KsGAEBObj*> changed = history_.Redo();
  if (!changed.empty()) {
    RecalculateAll();
    NotifyObservers(lcTotalsChanged);
  }
  return changed;
}

// Not an edit: the offer stays equal to the file until the user changes something.
bool KsLyxObj::TakeDefaultVatRate(double rate) {
  if (!Loaded()) return false;
  const KsMember* given = LvInfo->Members.Find("UST");
  if (given && !Trim(given->GetAsString()).empty()) return false;
  try {
    SetVatRate(*Lv, FormatEx("%.2n", {rate}));
  } catch (const std::exception&) {
    return false;
  }
  vatUnconfirmed_ = true;
  return true;
}

void KsLyxObj::AddObserver(KsLyxObserver* observer) { observers_.push_back(observer); }

void KsLyxObj::RemoveObserver(KsLyxObserver* observer) {
  const auto it = std::find(observers_.begin(), observers_.end(), observer);
  if (it != observers_.end()) observers_.erase(it);
}

void KsLyxObj::NotifyObservers(int code) {
  // A copy, so an observer may unregister itself while being told.
  const std::vector<KsLyxObserver*> observers = observers_;
  for (KsLyxObserver* observer : observers) observer->Update(*this, code);
}

bool KsLyxObj::MergeBidderData(const BidderValues& values) {
  const KsGAEBObj* address = An ? An->Child("ADRESSE") : nullptr;
  if (address && !Trim(address->Text("NAME1")).empty()) return true;
  for (size_t i = 0; i < kBidderFields.size(); ++i) {
    KsGAEBObj* holder = BidderHolder(An, kBidderFields[i]);
    if (!holder) continue;
    // FindOrMake rather than GetMember: NoMember is shared and must stay empty.
    if (KsMember* member = holder->Members.FindOrMake(kBidderFields[i].Member))
      member->SetAsString(values[i]);
  }
  return false;
}

KsLyxObj::BidderValues KsLyxObj::BidderData() const {
  BidderValues values;
  for (size_t i = 0; i < kBidderFields.size(); ++i)
    if (const KsGAEBObj* holder = BidderHolder(An, kBidderFields[i]))
      values[i] = holder->Text(kBidderFields[i].Member);
  return values;
}

void KsLyxObj::ClearReferences() {
  Lv = nullptr;
  LvInfo = nullptr;
  GaebInfo = nullptr;
  PrjInfo = nullptr;
  VergabeInfo = nullptr;
  Ag = nullptr;
  An = nullptr;
  LvAreas = nullptr;
  Positions = nullptr;
}
