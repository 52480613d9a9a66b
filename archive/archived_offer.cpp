#include "archive/archived_offer.h"

#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <system_error>

#include "archive/text_key.h"
#include "core/member.h"
#include "document/lv_walk.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_texts.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/xml_identity.h"
#include "util/trim.h"

namespace {

const char* const kComponents[6] = {"EPANTEIL1", "EPANTEIL2", "EPANTEIL3",
                                    "EPANTEIL4", "EPANTEIL5", "EPANTEIL6"};

// A blank or unreadable number is none.
std::optional<double> Number(const KsGAEBObj& element, const char* field) {
  const KsMember* member = element.Members.Find(field);
  if (!member) return std::nullopt;
  const Variant& v = member->Value;
  double value;
  if (v.IsEmptyOrNull() || (v.Kind() == KsVarKind::String && TrimmedView(v.Str()).empty()) ||
      !member->TryAsFloat(value))
    return std::nullopt;
  return value;
}

std::string TextOf(const KsGAEBObj* element, const char* field) {
  return element ? Trim(element->Text(field)) : std::string();
}

std::string Joined(const std::string& a, const std::string& b) {
  return a.empty() || b.empty() ? a + b : a + " " + b;
}

}  // namespace

std::string ArchiveCatalog(const KsGAEBObj& position) {
  if (const std::string ctlg = Trim(position.Text(kXmlCatalogMember)); !ctlg.empty())
    return "CTLG:" + ctlg;
  const KsGAEBObj* description = position.Child("BESCHREIBUNG");
  if (const std::string stl = TextOf(description, "STLNR"); !stl.empty()) return "STLNR:" + stl;
  if (const std::string tlk = TextOf(description, "TLKNR"); !tlk.empty()) return "TLKNR:" + tlk;
  return "";
}

std::string ArchiveLvKey(const KsLyxObj& document) {
  return ArchiveTextKey(TextOf(document.PrjInfo, "NAME") + " | " + TextOf(document.LvInfo, "NAME") +
                        " | " + TextOf(document.LvInfo, "BEZ")) +
         (document.Lv ? "|" + Trim(document.Lv->Text(kXmlIdMember)) : std::string());
}

namespace {

std::string Day(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

}  // namespace

std::string ArchiveToday() { return Day(std::time(nullptr)); }

std::string ArchiveDateOfFile(const std::string& file) {
  struct stat info {};
  if (stat(file.c_str(), &info) != 0) return ArchiveToday();
  return Day(info.st_mtime);
}

ArchivedOfferHead CollectArchivedOfferHead(const KsLyxObj& document, const std::string& offerFile,
                                           const std::string& date) {
  ArchivedOfferHead head;
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(offerFile, ec);
  head.OfferFile = ec ? offerFile : absolute.lexically_normal().string();
  head.Tender = Joined(TextOf(document.LvInfo, "NAME"), TextOf(document.LvInfo, "BEZ"));
  head.LvKey = ArchiveLvKey(document);
  head.Project = Joined(TextOf(document.PrjInfo, "NAME"), TextOf(document.PrjInfo, "BEZ"));
  const KsGAEBObj* address = document.Ag ? document.Ag->Child("ADRESSE") : nullptr;
  head.Client = Joined(TextOf(address, "NAME1"), TextOf(address, "NAME2"));
  head.Date = date;
  return head;
}

void ForEachArchivedPosition(const KsLyxObj& document,
                             const std::function<void(const ArchivedPosition&)>& take) {
  ArchivedPosition entry;
  WalkLv(
      document, [](const KsGAEBObj&, int) {},
      [&take, &entry](const KsGAEBObj& position) {
        if (!IsPositionRow(&position)) return;
        const std::optional<double> ep = Number(position, "EP");
        if (!ep) return;
        entry.Oz = Trim(position.Text("OZ"));
        entry.ShortText = Trim(ShortText(position, 255));
        entry.LongText = LongText(position).substr(0, ArchivedOffer::kLongTextKept);
        entry.Unit = Trim(position.Text("ME"));
        entry.Quantity = Number(position, "MENGE");
        entry.Ep = *ep;
        for (size_t i = 0; i < 6; ++i) entry.Components[i] = Number(position, kComponents[i]);
        entry.Catalog = ArchiveCatalog(position);
        take(entry);
      });
}

ArchivedOffer CollectArchivedOffer(const KsLyxObj& document, const std::string& offerFile,
                                   const std::string& date) {
  ArchivedOffer offer;
  static_cast<ArchivedOfferHead&>(offer) = CollectArchivedOfferHead(document, offerFile, date);
  ForEachArchivedPosition(document,
                          [&offer](const ArchivedPosition& p) { offer.Positions.push_back(p); });
  return offer;
}
