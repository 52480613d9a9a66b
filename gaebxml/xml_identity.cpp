#include "gaebxml/xml_identity.h"

#include <initializer_list>

#include "core/fb_desc.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaebxml/text_complements.h"

namespace {

void AddHiddenFields(const char* tableName, std::initializer_list<const char*> names) {
  KsFBDesc* desc = FindDescriptor(tableName);
  if (!desc) return;
  for (const char* name : names)
    if (!desc->FindField(name)) desc->AddField(false, name, "", "", ftString);
}

}  // namespace

void AddXmlIdentityFields() {
  RegisterGaebDescriptors();
  AddHiddenFields("GAEBLV", {kXmlIdMember});
  AddHiddenFields("GAEBHINWEIS", {kXmlIdMember});
  AddHiddenFields("GAEBLVBEREICH", {kXmlIdMember, kXmlRNoPartMember});
  AddHiddenFields("GAEBPOSITION", {kXmlIdMember, kXmlRNoPartMember, kXmlRNoIndexMember,
                                   kXmlComplementsMember, kXmlCatalogMember});
  AddHiddenFields("GAEBZUSCHLPOSITION", {kXmlIdMember, kXmlRNoPartMember, kXmlRNoIndexMember});
}
