#include "ui/field_list.h"

#include <initializer_list>

#include "core/fb_desc.h"

namespace {

const char kColumnSet[] =
    ",OZ,_TARVO_POSTYP,BEZ,BEDARF,ENTF,EPAUFGL,NACHTRNR,NACHTRSTATUS,MENGE,ME,EP,EPANTEIL1,"
    "EPANTEIL2,EPANTEIL3,EPANTEIL4,EPANTEIL5,EPANTEIL6,NACHLASSPROZ,NACHLASSABS,GB,SUMMENACHNL,";
const char kShownByDefault[] = ",_TARVO_POSTYP,OZ,BEZ,MENGE,ME,EP,GB,NACHLASSABS,SUMMENACHNL,";

bool InSet(const char* set, const std::string& name) {
  return std::string(set).find("," + name + ",") != std::string::npos;
}

bool IsColumn(const KsFieldDesc& desc) {
  return desc.FieldType != ftUnknown && desc.FieldType != ftCursor && !desc.IsMultiValue() &&
         InSet(kColumnSet, desc.Name);
}

}  // namespace

const std::string& KsField::Name() const { return Desc->Name; }

std::string KsField::ListText() const {
  std::string text = Desc->DisplayLabel.empty() ? Desc->Name : Desc->DisplayLabel;
  if (!Desc->Hint.empty()) text += " (" + Desc->Hint + ")";
  return text;
}

KsFieldList::KsFieldList() {
  auto add = [this](const KsFieldDesc& desc) {
    if (!IsColumn(desc)) return;
    auto field = std::make_unique<KsField>();
    field->Desc = &desc;
    field->Flags = KsField::Available;
    if (InSet(kShownByDefault, desc.Name)) field->Flags |= KsField::ShownByDefault;
    items_.push_back(std::move(field));
  };
  if (const KsFBDesc* position = FindDescriptor("GAEBPOSITION"))
    for (const auto& desc : position->Fields) add(*desc);
  if (const KsFBDesc* area = FindDescriptor("GAEBLVBEREICH"))
    for (const char* name : {"NACHLASSABS", "SUMMENACHNL", "SUMMEPSCH"})
      if (const KsFieldDesc* desc = area->FindField(name)) add(*desc);
}

KsField* KsFieldList::Find(const std::string& name) const {
  for (const auto& field : items_)
    if (field->Name() == name) return field.get();
  return nullptr;
}
