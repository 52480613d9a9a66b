#include <exception>

#include "document/lyx_obj.h"
#include "document/recovery_file.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_obj.h"

bool KsLyxObj::Restore(const std::string& recoveryFile, RecoveryHead& head) {
  // Read into an arena of its own first, so a bad file leaves the open offer.
  ArenaHold arena(Arena::Create());
  RecoveredOffer offer;
  {
    const ArenaScope scope(arena.get());
    std::string error;
    if (!ReadRecoveryFile(recoveryFile, this, offer, error)) {
      LastError = error;
      return false;
    }
  }
  CloseReader();
  ClearReferences();
  FreeTree();
  arena_ = std::move(arena);
  GaebRoot = std::move(offer.Root);
  xmlOrigin_ = offer.Head.Xml ? std::make_unique<GaebXmlOrigin>(offer.Head.Origin) : nullptr;
  gaeb90Origin_ =
      offer.Head.Gaeb90 ? std::make_unique<Gaeb90Origin>(offer.Head.Gaeb90Source) : nullptr;
  restoredFrom_ = offer.Head.TenderPath;
  tenderFile_.clear();
  vatUnconfirmed_ = offer.Head.VatUnconfirmed;
  ImportWarning.clear();
  NotifyObservers(lcReadStart);
  try {
    BindReferences();
    DetectEpBreakdown();
  } catch (const std::exception& e) {
    LastError = e.what();
    ClearReferences();
    NotifyObservers(lcReadEnd);
    return false;
  }
  changes_.Reset();
  changes_.MarkUnsaved();
  head = std::move(offer.Head);
  NotifyObservers(lcReadEnd);
  return true;
}
