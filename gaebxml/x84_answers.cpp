#include "gaebxml/x84_answers.h"

#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "gaeb/gaeb_obj.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/element_reading.h"
#include "gaebxml/text_complements.h"
#include "gaebxml/x83_mapper.h"
#include "gaebxml/xml_identity.h"
#include "gaebxml/xml_names.h"
#include "util/trim.h"

namespace {

// What a position of the offer answers, copied as the offer's tree holds it.
constexpr const char* kPositionAnswers[] = {"EP",        "EPANTEIL1", "EPANTEIL2", "EPANTEIL3",
                                            "EPANTEIL4", "EPANTEIL5", "EPANTEIL6", "NACHLASSPROZ"};
constexpr const char* kAreaAnswers[] = {"NACHLASSPROZ", "NACHLASSABS"};
// A list of numbers in a message names this many, then says how many more.
constexpr size_t kNamedAtMost = 10;

// An area or position with its number: the RNoParts from the LV down, then
// the index, parted by a character no number holds.
struct Numbered {
  KsGAEBObj* Element;
  std::string Key;
};

struct Entries {
  std::vector<Numbered> Areas, Positions;
};

void Collect(const KsGAEBObj& holder, const std::string& key, Entries& entries) {
  if (const KsGAEBObjList* areas = holder.ChildList("LVBEREICH"))
    for (int i = 0; i < areas->Count(); ++i) {
      KsGAEBObj* area = areas->Element(i);
      const std::string own = key + area->Text(kXmlRNoPartMember) + '\x1F';
      entries.Areas.push_back({area, own});
      Collect(*area, own, entries);
    }
  if (const KsGAEBObjList* positions = holder.ChildList("POSITION"))
    for (int i = 0; i < positions->Count(); ++i) {
      KsGAEBObj* position = positions->Element(i);
      entries.Positions.push_back({position, key + position->Text(kXmlRNoPartMember) + '\x1F' +
                                                 position->Text(kXmlRNoIndexMember)});
    }
}

Entries CollectLv(const KsGAEBObj& lv) {
  Entries entries;
  Collect(lv, std::string(), entries);
  return entries;
}

// The tender's elements by ID and by number.
struct Index {
  std::map<std::string, KsGAEBObj*> ById, ByKey;

  explicit Index(const std::vector<Numbered>& elements) {
    for (const Numbered& e : elements) {
      const std::string id = Trim(e.Element->Text(kXmlIdMember));
      if (!id.empty()) ById.emplace(id, e.Element);
      ByKey.emplace(e.Key, e.Element);
    }
  }

  KsGAEBObj* Find(const Numbered& wanted, bool byId) const {
    const std::map<std::string, KsGAEBObj*>& in = byId ? ById : ByKey;
    const auto found = in.find(byId ? Trim(wanted.Element->Text(kXmlIdMember)) : wanted.Key);
    return found == in.end() ? nullptr : found->second;
  }
};

bool AnyIdKnown(const std::vector<Numbered>& offered, const Index& index) {
  for (const Numbered& e : offered)
    if (index.ById.count(Trim(e.Element->Text(kXmlIdMember)))) return true;
  return false;
}

// A value the offer leaves out is no value in the tender either (an open
// price, no discount), not a text "".
void Copy(const KsGAEBObj& from, KsGAEBObj& to, const char* member) {
  KsMember* target = to.Members.FindOrMake(member);
  if (!target) return;
  const std::string text = from.Text(member);
  target->SetValue(Trim(text).empty() ? Variant() : Variant(text));
}

std::string Oz(const KsGAEBObj& element) { return Trim(element.Text("OZ")); }

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size() && i < kNamedAtMost; ++i)
    text += (i == 0 ? "" : ", ") + names[i];
  if (names.size() > kNamedAtMost)
    text += " und " + std::to_string(names.size() - kNamedAtMost) + " weitere";
  return text;
}

void AddSentence(std::string& text, const std::string& sentence) {
  text += (text.empty() ? "" : " ") + sentence;
}

}  // namespace

bool CarriesTender(const pugi::xml_node& gaeb) {
  const pugi::xml_node body = ChildNamed(ChildNamed(ChildNamed(gaeb, "Award"), "BoQ"), "BoQBody");
  // Walked without recursion: nesting is bounded only later, by the mapper.
  std::vector<pugi::xml_node> pending{body};
  bool anyItem = false;
  while (!pending.empty()) {
    const pugi::xml_node node = pending.back();
    pending.pop_back();
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
      if (IsNamed(child, "BoQCtgy")) pending.push_back(ChildNamed(child, "BoQBody"));
      if (IsNamed(child, "Itemlist")) pending.push_back(child);
      if (!IsNamed(child, "Item")) continue;
      anyItem = true;
      if (!ItemCarriesTender(child)) return false;
    }
  }
  return anyItem;
}

bool ItemCarriesTender(const pugi::xml_node& item) {
  const pugi::xml_node complete = ChildNamed(ChildNamed(item, "Description"), "CompleteText");
  return ChildNamed(item, "Qty") || ChildNamed(complete, "OutlineText");
}

std::string EnterX84Answers(const KsGAEBObj& offerLv, KsGAEBObj& tenderLv,
                            const std::string& offerName, const std::string& tenderName) {
  const Entries offered = CollectLv(offerLv);
  const Entries tender = CollectLv(tenderLv);
  const Index positions(tender.Positions), areas(tender.Areas);
  const bool byId = AnyIdKnown(offered.Positions, positions);
  const std::string offerLvName = Trim(MemberText(offerLv.Child("LVINFO"), "NAME"));
  const std::string tenderLvName = Trim(MemberText(tenderLv.Child("LVINFO"), "NAME"));
  const std::string refused =
      "Das Angebot " + offerName + " geh\xF6rt nicht zur Ausschreibung " + tenderName + ": ";
  if (!byId && offerLvName != tenderLvName)
    throw X83Error(refused + "keine seiner Positionen kommt dort vor, und das LV hei\xDFt dort \"" +
                   tenderLvName + "\", im Angebot \"" + offerLvName + "\".");

  std::vector<std::pair<const KsGAEBObj*, KsGAEBObj*>> placed;
  std::vector<std::string> unplaced;
  for (const Numbered& p : offered.Positions) {
    if (KsGAEBObj* target = positions.Find(p, byId))
      placed.emplace_back(p.Element, target);
    else
      unplaced.push_back(Oz(*p.Element));
  }
  if (placed.empty() && !offered.Positions.empty())
    throw X83Error(refused + "keine seiner " + std::to_string(offered.Positions.size()) +
                   " Positionen kommt dort vor.");

  std::vector<std::string> unplacedComplements;
  for (const auto& [from, to] : placed) {
    for (const char* member : kPositionAnswers) Copy(*from, *to, member);
    for (const TextComplement& c : BidderComplements(*from))
      if (!c.Answer.empty() && !AnswerComplement(*to, c.MarkLbl, c.Answer))
        unplacedComplements.push_back(c.MarkLbl + " der Position " + Oz(*from));
  }
  for (const Numbered& a : offered.Areas)
    if (KsGAEBObj* target = areas.Find(a, byId))
      for (const char* member : kAreaAnswers) Copy(*a.Element, *target, member);
  if (const KsGAEBObj* offerInfo = offerLv.Child("LVINFO"))
    if (KsGAEBObj* tenderInfo = tenderLv.Child("LVINFO")) Copy(*offerInfo, *tenderInfo, "UST");
  CalcAll(tenderLv);

  std::vector<std::string> differing;
  for (const auto& [from, to] : placed) {
    if (HasEmptyUnitPrice(*from)) continue;
    if (std::llround(MemberNumber(from, "GB") * 100) != std::llround(MemberNumber(to, "GB") * 100))
      differing.push_back(Oz(*to));
  }

  std::string warning;
  if (!byId)
    AddSentence(warning, "Die IDs des Angebots " + offerName + " kommen in der Ausschreibung " +
                             tenderName +
                             " nicht vor; seine Positionen wurden ihr \xFC"
                             "ber die Ordnungszahlen zugeordnet.");
  if (unplaced.size() == 1)
    AddSentence(warning,
                "Die Position " + unplaced[0] +
                    " des Angebots gibt es in der Ausschreibung nicht; ihr Preis wurde nicht "
                    "\xFC"
                    "bernommen.");
  if (unplaced.size() > 1)
    AddSentence(warning, std::to_string(unplaced.size()) +
                             " Positionen des Angebots gibt es in der Ausschreibung nicht; ihre "
                             "Preise wurden nicht \xFC"
                             "bernommen: " +
                             Listed(unplaced) + ".");
  if (!unplacedComplements.empty())
    AddSentence(warning, std::string(unplacedComplements.size() == 1 ? "Die Texterg\xE4nzung "
                                                                     : "Die Texterg\xE4nzungen ") +
                             Listed(unplacedComplements) +
                             " gibt es in der Ausschreibung nicht; ihre Antworten wurden nicht "
                             "\xFC"
                             "bernommen.");
  if (!differing.empty())
    AddSentence(warning,
                "Bei " +
                    (differing.size() == 1 ? std::string("einer Position")
                                           : std::to_string(differing.size()) + " Positionen") +
                    " weicht der Gesamtbetrag des Angebots vom neu berechneten "
                    "ab (" +
                    Listed(differing) +
                    "); die Einheitspreise wurden \xFC"
                    "bernommen.");
  return warning;
}
