#include "document/autosave.h"

#include <chrono>
#include <exception>

#include "document/lyx_obj.h"

Autosave::~Autosave() {
  try {
    Wait();
  } catch (const std::exception&) {
    // the earlier file stays; nobody is left to tell
  }
}

void Autosave::Opened(const std::string& tenderPath) {
  Discard();
  tender_ = tenderPath;
  stamp_ = StampOf(tenderPath);
}

void Autosave::Restored(RecoveryClaim claim, const RecoveryHead& head) {
  Discard();
  tender_ = head.TenderPath;
  stamp_.Size = head.TenderSize;
  stamp_.MTime = head.TenderMTime;
  stamp_.Hash = head.TenderHash;
  claim_ = std::move(claim);
}

bool Autosave::WriterIdle() {
  if (!writing_.valid()) return true;
  if (writing_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) return false;
  std::future<PiecedText> done = std::move(writing_);
  try {
    spare_ = done.get();
  } catch (...) {
    due_ = true;  // tried again with the next call
    throw;
  }
  return true;
}

bool Autosave::Secure(KsLyxObj& doc, long long now, bool force) {
  if (interval_ <= 0 || !doc.Loaded()) return false;
  if (!doc.Modified()) {
    // Undone back to the file: nothing is left to recover, and a file of an
    // undone state must not be offered after a crash.
    if (claim_.Held()) Discard();
    return false;
  }
  if (!force && !due_ && last_ != 0 && now - last_ < interval_) return false;
  if (!WriterIdle()) {
    due_ = true;
    return false;
  }
  if (!claim_.Held()) claim_ = RecoveryClaim::ForTender(tender_);
  RecoveryHead head;
  head.TenderPath = tender_;
  head.Xml = doc.IsXml();
  if (const GaebXmlOrigin* origin = doc.XmlOrigin()) head.Origin = *origin;
  if (const Gaeb90Origin* origin = doc.Gaeb90Source()) {
    head.Gaeb90 = true;
    head.Gaeb90Source = *origin;
  }
  head.SavedAt = now;
  head.VatUnconfirmed = doc.VatRateUnconfirmed();
  head.TenderSize = stamp_.Size;
  head.TenderMTime = stamp_.MTime;
  head.TenderHash = stamp_.Hash;
  MakeRecoveryText(doc, head, spare_);
  writing_ =
      std::async(std::launch::async, [path = claim_.Path(), text = std::move(spare_)]() mutable {
        WriteRecoveryText(path, text);
        return std::move(text);
      });
  last_ = now;
  due_ = false;
  return true;
}

void Autosave::Wait() {
  if (!writing_.valid()) return;
  writing_.wait();
  WriterIdle();
}

void Autosave::Discard() {
  try {
    Wait();
  } catch (const std::exception&) {
    // the file goes anyway
  }
  claim_.Remove();
  spare_ = PiecedText();  // the room goes with the file
  last_ = 0;
  due_ = false;
}
