#include "document/recovery_offer.h"

#include <ctime>
#include <map>

#include "core/fb_desc.h"
#include "document/cell_text.h"
#include "document/change_tracker.h"
#include "document/lyx_obj.h"
#include "document/row_kind.h"
#include "gaeb/gaeb_obj.h"
#include "util/codec.h"
#include "util/trim.h"

namespace {

// Members the totals compute; every other member of an element that is no
// grid row is typed on a page or comes from the tender.
bool IsComputed(const std::string& name) {
  return name == "SUMME" || name == "SUMMEBRUTTO" || name == "SUMMENACHNL" || name == "GB";
}

bool IsBlank(const std::string& value) { return value.empty() || value == "0x0p+0"; }

bool IsEntry(const KsGAEBObj& element, const std::string& name) {
  if (IsPositionRow(&element) || IsAreaRow(&element)) return IsEnterable(element, name);
  return !IsComputed(name);
}

// Counts the differing entries of two elements and everything below them;
// false when their structure differs.
bool Compare(KsCustomObj& a, KsCustomObj& b, int& count) {
  if (a.TableName() != b.TableName()) return false;
  KsGAEBObj* x = AsElement(&a);
  KsGAEBObj* y = AsElement(&b);
  if (!x || !y) {
    KsGAEBObjList* xs = AsElementList(&a);
    KsGAEBObjList* ys = AsElementList(&b);
    // An object of a class the tree does not know holds nothing.
    if (!x && !y && !xs && !ys) return true;
    if (!xs || !ys || xs->Count() != ys->Count()) return false;
    for (int i = 0; i < xs->Count(); ++i)
      if (!Compare(*xs->Element(i), *ys->Element(i), count)) return false;
    return true;
  }
  // Members are made when first set, so either side may lack one the other
  // holds: a missing member counts as empty.
  std::map<std::string, std::string> theirs;
  for (const KsMember& n : y->Members.HeldMembers()) theirs[n.Name()] = ComparableValue(n);
  for (const KsMember& m : x->Members.HeldMembers()) {
    const auto other = theirs.find(m.Name());
    const std::string mine = ComparableValue(m);
    const uint8_t type = m.GetFieldType();
    if (type != ftUnknown && type != ftCursor && IsEntry(*x, m.Name()) &&
        (other == theirs.end() ? !IsBlank(mine) : other->second != mine))
      ++count;
    if (other != theirs.end()) theirs.erase(other);
  }
  // What is left is held only on their side.
  for (const auto& [name, value] : theirs) {
    const KsMember* n = y->Members.Find(name);
    const uint8_t type = n->GetFieldType();
    if (type != ftUnknown && type != ftCursor && IsEntry(*y, name) && !IsBlank(value)) ++count;
  }
  for (int i = 0; i < x->Children.Count(); ++i) {
    KsCustomObj* mine = x->Children.Objects(i);
    if (KsCustomObj* other = y->Children.Find(mine->TableName()))
      if (!Compare(*mine, *other, count)) return false;
  }
  return true;
}

std::string LocalTime(long long seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  char text[40];
  std::strftime(text, sizeof text, "%d.%m.%Y um %H:%M Uhr", &local);
  return text;
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int DifferingEntries(const KsLyxObj& offer, const KsLyxObj& tender) {
  if (!offer.GaebRoot || !tender.GaebRoot) return -1;
  int count = 0;
  return Compare(*offer.GaebRoot, *tender.GaebRoot, count) ? count : -1;
}

RecoveryFinding InspectRecovery(const std::string& path, KsLyxObj& offer) {
  RecoveryFinding finding;
  finding.Path = path;
  if (!offer.Restore(path, finding.Head)) {
    finding.Error = offer.LastError;
    return finding;
  }
  if (offer.LvInfo)
    finding.LvName = Trim(Trim(offer.LvInfo->Text("NAME")) + " " + offer.LvInfo->Text("BEZ"));
  finding.Tender = CheckTender(finding.Head);
  if (finding.Tender != TenderState::Gone) {
    KsLyxObj tender;
    if (tender.Import(finding.Head.TenderPath))
      finding.Differences = DifferingEntries(offer, tender);
  }
  return finding;
}

std::string RecoveryQuestionText(const RecoveryFinding& finding) {
  const std::string file = Utf8ToCp1252(finding.Path);
  if (!finding.Error.empty())
    return finding.Error +
           "\n\nSie kann nicht wiederhergestellt werden. \"Verwerfen\" l\xF6scht sie, "
           "\"Sp\xE4ter\" beh\xE4lt sie bis zum n\xE4"
           "chsten Start.";
  const std::string tender = Utf8ToCp1252(finding.Head.TenderPath);
  std::string text =
      "Ein Angebot wurde nicht gespeichert, bevor das Programm endete. Es ist gesichert:\n\n"
      "Ausschreibung: " +
      Utf8ToCp1252(FileNameOf(finding.Head.TenderPath)) +
      "\nLV: " + (finding.LvName.empty() ? std::string("(ohne Bezeichnung)") : finding.LvName) +
      "\nZuletzt gesichert: am " + LocalTime(finding.Head.SavedAt) + "\n";
  if (finding.Differences >= 0)
    text +=
        "Von der Ausschreibung abweichende Eintr\xE4ge: " + std::to_string(finding.Differences) +
        "\n";
  switch (finding.Tender) {
    case TenderState::Unchanged:
      break;
    case TenderState::Changed:
      text += "\nDie Ausschreibung " + tender +
              " wurde seit dem \xD6"
              "ffnen ge\xE4ndert. Wiederhergestellt wird das Angebot, wie es gesichert wurde, "
              "mit der Ausschreibung von damals.\n";
      break;
    case TenderState::Gone:
      text += "\nDie Ausschreibung " + tender +
              " ist nicht mehr vorhanden. Die Sicherung enth\xE4lt das ganze Angebot und "
              "stellt es auch ohne sie wieder her.\n";
      break;
  }
  return text + "\nSicherung: " + file +
         "\n\n\"Wiederherstellen\" \xF6"
         "ffnet das Angebot, wie es zuletzt gesichert wurde. \"Verwerfen\" l\xF6scht die "
         "Sicherung. \"Sp\xE4ter\" beh\xE4lt sie bis zum n\xE4"
         "chsten Start.";
}
