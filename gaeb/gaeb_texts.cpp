#include "gaeb/gaeb_texts.h"

#include "gaeb/gaeb_obj.h"
#include "gaeb/rtf_to_plain.h"
#include "util/same_text.h"
#include "util/trim.h"

namespace {
const char kCrLf[] = "\r\n";

// A position's or note's description element; null when it has none.
const KsGAEBObj* Description(const KsGAEBObj& element) { return element.Child("BESCHREIBUNG"); }

// Plain text of a member of the description element; "" when there is none.
// Read where the member holds it: shown for every position of a tender. Text
// that is plain already is handed as it stands in the tree; other text is
// made in `held`.
std::string_view DescriptionView(const KsGAEBObj& element, std::string_view member, bool trimmed,
                                 std::string& held) {
  const KsGAEBObj* beschreibung = Description(element);
  const KsMember* m = beschreibung ? beschreibung->Members.Find(member) : nullptr;
  if (!m) return {};
  std::string_view raw;
  if (m->Value.Kind() == KsVarKind::String) {
    raw = m->Value.Str();
  } else {
    held = m->GetAsString();
    raw = held;
  }
  if (trimmed) raw = TrimmedView(raw);
  if (!IsRtf(raw)) return raw;
  held = RtfToPlain(raw);
  return held;
}

std::string DescriptionText(const KsGAEBObj& element, std::string_view member, bool trimmed) {
  std::string held;
  const std::string_view text = DescriptionView(element, member, trimmed, held);
  return text.data() == held.data() ? std::move(held) : std::string(text);
}
}  // namespace

std::string ShortText(const KsGAEBObj& element, int maxLength) {
  if (!Description(element)) return std::string();
  std::string t = DescriptionText(element, "KURZTEXT", true);
  if (t.empty()) t = DescriptionText(element, "LANGTEXT", true);
  if (maxLength >= 3 && t.size() > static_cast<size_t>(maxLength))
    t = t.substr(0, static_cast<size_t>(maxLength) - 3) + "...";
  return t;
}

std::string LongText(const KsGAEBObj& position) {
  return DescriptionText(position, "LANGTEXT", false);
}

std::string_view LongTextView(const KsGAEBObj& position, std::string& held) {
  return DescriptionView(position, "LANGTEXT", false, held);
}

std::string AreaLongText(const KsGAEBObj& area) {
  std::string result;
  if (const KsGAEBObjList* hinweise = area.ChildList("HINWEIS")) {
    for (int i = 0; i < hinweise->Count(); ++i) {
      const KsGAEBObj* hinweis = hinweise->Element(i);
      if (!Description(*hinweis)) continue;
      result += DescriptionText(*hinweis, "LANGTEXT", false) + kCrLf;
    }
  }
  if (const KsGAEBObjList* ausf = area.ChildList("AUSFBESCHR")) {
    for (int i = 0; i < ausf->Count(); ++i) {
      const KsGAEBObjList* texts = ausf->Element(i)->ChildList("BESCHREIBUNG");
      if (!texts) continue;
      for (int j = 0; j < texts->Count(); ++j)
        result += RtfToPlain(texts->Element(j)->Text("LANGTEXT")) + kCrLf;
    }
  }
  return result;
}

std::string OZMask(const KsGAEBObjList* lvGlieder) {
  std::string mask;
  if (!lvGlieder) return mask;
  int level = 1;
  try {
    for (int i = 0; i < lvGlieder->Count(); ++i) {
      const KsGAEBObj* glied = lvGlieder->Element(i);
      const std::string typ = glied->Text("TYP");
      const KsMember* laenge = glied->Members.Find("LAENGE");
      const int count = laenge ? laenge->GetAsInteger() : 0;
      if (SameText(typ, "LOS") || SameText(typ, "LVSTUFE")) {
        const std::string digit = std::to_string(level);
        for (int k = 0; k < count; ++k) mask += digit;
        ++level;
      } else if (SameText(typ, "POSITION")) {
        mask.append(count > 0 ? static_cast<size_t>(count) : 0, 'P');
      } else if (SameText(typ, "INDEX")) {
        mask += 'X';
      }
    }
  } catch (const VariantError&) {
    // A length that is no number: the mask is unknown, a dashed one stands in.
    mask += "------------";
  }
  return mask;
}

std::string ZusTextSummary(const KsGAEBObjList* zusTexte) {
  std::string result;
  if (!zusTexte) return result;
  try {
    for (int i = 0; i < zusTexte->Count(); ++i) {
      const KsGAEBObj* entry = zusTexte->Element(i);
      if (!result.empty()) result += kCrLf;
      result += entry->Text("TEXT");
      const KsMember* extdat = entry->Members.Find("EXTDAT");
      if (extdat && extdat->Value.Kind() == KsVarKind::StringList &&
          !extdat->Value.List().empty()) {
        result += std::string(":") + kCrLf;
        for (const std::string& line : extdat->Value.List()) result += line + kCrLf;
        result += kCrLf;
      }
    }
  } catch (const VariantError&) {
    // A broken entry ends the summary; what was gathered stays.
  }
  return result;
}

int CountItems(const KsGAEBObj& element) {
  int n = 0;
  if (const KsGAEBObjList* areas = element.ChildList("LVBEREICH")) {
    n += areas->Count();
    for (int i = 0; i < areas->Count(); ++i) n += CountItems(*areas->Element(i));
  }
  if (const KsGAEBObjList* positions = element.ChildList("POSITION")) n += positions->Count();
  return n;
}
