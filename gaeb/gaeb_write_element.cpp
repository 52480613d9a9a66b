#include <algorithm>
#include <string_view>

#include "gaeb/file_write_gaeb00.h"
#include "gaeb/gaeb_elements.h"
#include "util/amount_limit.h"
#include "util/number_text.h"
#include "util/rounding.h"
#include "util/trim.h"

namespace {

// Class tests by the class objects' parent chain: cheaper than dynamic_cast
// on every element of a large tender.
bool Is(const KsCustomObj& obj, const ObjClass& cls) { return obj.Class().InheritsFrom(cls); }

bool IsBlank(std::string_view t) { return std::all_of(t.begin(), t.end(), IsTrimChar); }

// The text of a single-valued field as it is written. Points into the
// member's own text where that is written as it stands (most fields, and all
// long texts), otherwise into `scratch`.
std::string_view FieldText(const KsMember& member, std::string& scratch) {
  const KsFieldDesc& field = *member.FieldDesc;
  const Variant& value = member.Value;
  std::string_view text;
  if (value.Kind() == KsVarKind::String) {
    text = value.Str();
  } else {
    if (value.IsEmptyOrNull())
      scratch.clear();
    else
      scratch = value.ToString();
    text = scratch;
  }
  const bool blank = IsBlank(text);
  if (!field.Required && blank) return {};
  if (field.FieldType == ftFloat || field.FieldType == ftCurrency) {
    if (blank) return "0";
    // As the reader stores a number: it would be written as it stands.
    if (IsPlainNumberText(text, field.Size)) return text;
    // The reader stores numbers normalised and every entry is checked, so
    // only a fault could put anything else here; written, it would end the
    // next import of the file, so the save stops instead.
    double number = 0;
    if (value.IsNumeric())
      number = value.ToFloat();
    else if (!TryTextToFloat(std::string(text), number))
      throw UnwritableValue(field.Name, "enth\xE4lt '" + std::string(text) +
                                            "', das beim Lesen keine g\xFCltige Zahl w\xE4re.");
    if (!WithinAmountLimit(number))
      throw UnwritableValue(field.Name,
                            "enth\xE4lt '" + std::string(text) + "': " + AmountLimitReason());
    // A number field without declared decimals (size 0) keeps its value:
    // rounding it to a whole number would change amounts and rates read from
    // the tender (a VAT rate of 7,5, a surcharge of 12,34).
    if (field.Size > 0) number = RoundDec(field.Size, number);
    scratch = FloatToStr(number);
    return scratch;
  }
  const auto size = static_cast<size_t>(std::max<int16_t>(field.Size, 0));
  if (size > 0 && text.size() > size) {
    scratch = Trim(text);
    if (scratch.size() > size) scratch.resize(size);
    return scratch;
  }
  return text;
}

// "POSITION 01.0010": an element as a message names it.
std::string ElementTitle(const KsGAEBObj& element, const std::string& name) {
  const KsMember* oz = element.Members.Find("OZ");
  const std::string number = oz ? Trim(oz->GetAsString()) : std::string();
  return number.empty() ? name : name + " " + number;
}

}  // namespace

void KsGAEBObj::WriteElement(KsFileWriteGaeb00& stream) {
  const std::string name = TableName().substr(4);
  try {
    WriteBlock(stream, name);
  } catch (const UnwritableValue& e) {
    throw e.InElement(ElementTitle(*this, name));
  }
}

void KsGAEBObj::WriteBlock(KsFileWriteGaeb00& stream, const std::string& name) {
  stream.WriteBegin(name);
  const bool titPos = Is(*this, KsGTitPosBase::StaticClass());
  const bool position = titPos && Is(*this, KsGPOSITION::StaticClass());
  // Texts are always written in Windows-1252, and the file says so: a tree
  // read from an OEM or UTF-8 file was converted while reading, and any other
  // declaration would make the reader convert every text a second time (a
  // missing one means OEM to the reader) or refuse the file.
  const bool gaebInfo = Is(*this, KsGGAEBInfo::StaticClass());
  const std::optional<SubmissionStamp>& submission = stream.Submission();
  const bool award = submission && Is(*this, KsGVERGABE::StaticClass());
  std::string scratch;
  // The stamp of a submission stands for the tender's phase and date.
  const auto stamped = [&](const std::string& field, std::string_view text) -> std::string_view {
    if (award && field == "DP") return "84";
    if (gaebInfo && submission && field == "DATUM") return submission->Date;
    if (gaebInfo && submission && field == "UHRZEIT") return submission->Time;
    return text;
  };
  const auto write = [&](const KsMember& m) {
    const KsFieldDesc& field = *m.FieldDesc;
    switch (field.FieldType) {
      case ftUnknown:
        if (KsGAEBObj* child = AsElement(m.Child())) child->WriteElement(stream);
        if (titPos && ImportDoc) ImportDoc->NotifyObservers(gcWriteStep);
        break;
      case ftCursor:
        if (KsCustomObj* list = m.Child(); list && Is(*list, KsObjList::StaticClass())) {
          for (KsCustomObj* item : static_cast<KsObjList*>(list)->ItemsList)
            if (KsGAEBObj* element = AsElement(item)) element->WriteElement(stream);
        }
        break;
      default:
        if (field.IsMultiValue()) {
          stream.WriteField(field.Name, JoinValueLines(m));
        } else if (!(position && field.Name == "BEZ")) {
          const std::string_view text = stamped(field.Name, FieldText(m, scratch));
          const bool characterSet = gaebInfo && field.Name == "ZEICHENSATZ";
          stream.WriteField(field.Name, characterSet ? "ANSI" : text);
        }
        break;
    }
  };
  // A field without a member would write nothing: an element holds its
  // required and single-child fields from its creation, a list waiting to be
  // made has no items, and the file information holds every field.
  for (const KsMember& m : Members.HeldMembers()) write(m);
  stream.WriteEnd(name);
}

std::string KsGAEBObj::FormatFieldValue(const KsMember& member) const {
  std::string scratch;
  return std::string(FieldText(member, scratch));
}

std::string KsGAEBObj::JoinValueLines(const KsMember& member) const {
  if (member.Value.Kind() != KsVarKind::StringList) return std::string();
  const KsStringList& entries = member.Value.List();
  std::string joined;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (i > 0) joined += '|';
    joined += entries[i];
  }
  return joined;
}
