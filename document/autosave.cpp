#include "document/autosave.h"

#include <sys/stat.h>

#include "document/lyx_obj.h"
#include "document/recovery_file.h"

void Autosave::Opened(const std::string& tenderPath) {
  Discard();
  tender_ = tenderPath;
  struct stat info {};
  const bool known = stat(tenderPath.c_str(), &info) == 0;
  tenderSize_ = known ? static_cast<long long>(info.st_size) : -1;
  tenderMTime_ = known ? static_cast<long long>(info.st_mtime) : 0;
}

bool Autosave::Secure(KsLyxObj& doc, long long now, bool force) {
  if (interval_ <= 0 || !doc.Loaded() || !doc.Modified()) return false;
  if (!force && last_ != 0 && now - last_ < interval_) return false;
  if (!claim_.Held()) claim_ = RecoveryClaim::ForTender(tender_);
  RecoveryHead head;
  head.TenderPath = tender_;
  head.Xml = doc.IsXml();
  if (const GaebXmlOrigin* origin = doc.XmlOrigin()) head.Origin = *origin;
  head.SavedAt = now;
  head.VatUnconfirmed = doc.VatRateUnconfirmed();
  head.TenderSize = tenderSize_;
  head.TenderMTime = tenderMTime_;
  WriteRecoveryFile(claim_.Path(), doc, head);
  last_ = now;
  return true;
}

void Autosave::Discard() {
  claim_.Remove();
  last_ = 0;
}
