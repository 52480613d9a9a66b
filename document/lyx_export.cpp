#include <exception>
#include <ostream>
#include <stdexcept>
#include <utility>

#include "document/atomic_file.h"
#include "document/lyx_obj.h"
#include "gaeb/file_write_gaeb00.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb90/d84_offer.h"
#include "gaebxml/x84_writer.h"
#include "util/date_time.h"

namespace {

// Now, as GAEB 2000 writes a date and a time.
SubmissionStamp SubmissionStampNow() {
  auto [date, time] = LocalNowText("%d.%m.%Y", "%H:%M");
  return {std::move(date), std::move(time)};
}

}  // namespace

void KsLyxObj::SetInfoText(const std::string& memberName, const std::string& text) {
  if (KsMember* member = GaebInfo->Members.FindOrMake(memberName)) member->SetAsString(text);
}

bool KsLyxObj::ExportD84(const std::string& fileName, OfferFormat format) {
  bool result = true;
  NotifyObservers(lcWriteStart);
  try {
    if (!Loaded() || !GaebRoot) throw std::runtime_error("Es ist keine GAEB-Datei geladen.");
    SetInfoText("PROGNAME", std::string(kProgramName) + " ");
    SetInfoText("PROGSYSTEM", "Tarvo f\xFCr Windows");
    WriteFileAtomically(fileName, [this, format](std::ostream& out) {
      if (gaeb90Origin_ && format == OfferFormat::AsTender) {
        WriteGaeb90D84(out, *Lv, *gaeb90Origin_);
        return;
      }
      if (xmlOrigin_) {
        WriteX84(out, *GaebRoot, *xmlOrigin_, X84StampNow());
        return;
      }
      KsFileWriteGaeb00 stream(out);
      stream.MarkAsSubmission(SubmissionStampNow());
      GaebRoot->WriteElement(stream);
      stream.Flush();
    });
  } catch (const std::exception& e) {
    result = false;
    LastError = std::string("Fehler beim Schreiben der Datei: ") + e.what();
  }
  NotifyObservers(lcWriteEnd);
  return result;
}
