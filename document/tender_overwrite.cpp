#include "document/tender_overwrite.h"

#include <sys/stat.h>

#include "document/lyx_obj.h"
#include "gaeb/gaeb_obj.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return Utf8ToCp1252(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool IsOffer(const KsLyxObj& document) {
  if (document.IsXml()) return document.IsXmlOffer();
  if (document.IsGaeb90()) return document.IsGaeb90Offer();
  const KsGAEBObj* award = document.VergabeInfo ? document.VergabeInfo->ParentElement() : nullptr;
  return (award && Trim(award->Text("DP")) == "84") ||
         (document.GaebInfo && Trim(document.GaebInfo->Text("PROGNAME")) == KsLyxObj::kProgramName);
}

TenderOverwrite CheckTenderOverwrite(const KsLyxObj& document, const std::string& tender,
                                     const std::string& target) {
  if (!document.Loaded()) return TenderOverwrite::None;
  // The X83 an X84 was entered into holds what the offer does not.
  if (!document.TenderFile().empty() && SameFile(document.TenderFile(), target))
    return TenderOverwrite::Destroys;
  if (!SameFile(tender, target) || IsOffer(document)) return TenderOverwrite::None;
  // A GAEB 90 offer holds prices alone and is read back with its tender.
  return document.IsXml() || document.IsGaeb90() || !document.ImportWarning.empty()
             ? TenderOverwrite::Destroys
             : TenderOverwrite::Replaces;
}

std::string TenderOverwriteText(TenderOverwrite kind, const std::string& target) {
  switch (kind) {
    case TenderOverwrite::Replaces:
      return "Die Ausschreibung " + NameOf(target) + " wird durch das Angebot ersetzt. Fortfahren?";
    case TenderOverwrite::Destroys:
      return "Die Datei " + NameOf(target) +
             " ist die gelesene Ausschreibung. Das Angebot kann sie nicht ersetzen, ohne ihre "
             "Mengen und Texte zu verlieren; sie wird nicht \xFC"
             "berschrieben. Bitte w\xE4hlen Sie einen anderen Dateinamen.";
    case TenderOverwrite::None:
      break;
  }
  return std::string();
}
