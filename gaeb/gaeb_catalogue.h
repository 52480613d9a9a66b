#pragma once

#include <span>

#include "core/fb_desc.h"

// The GAEB 2000 elements and their fields. The field order of a descriptor is
// the member order of its elements, the order the writer emits them and the
// order offered for grid columns.

struct GaebDescriptorBuilder {
  const char* TableName;  // "GAEB" + element name
  KsFBDescBuilder Build;
};

// The thirty element builders, one per descriptor.
std::span<const GaebDescriptorBuilder> GaebDescriptorBuilders();

// Registers every element builder that is not registered yet.
void RegisterGaebDescriptors();

// Adds the derived display fields BEZ and _TARVO_POSTYP to the POSITION
// descriptor (so it begins OZ, _TARVO_POSTYP, ZZGRUPPENR, BEZ, ZZLFDNR),
// registering the catalogue first if that has not happened.
// Must run before the first POSITION object is created; a second call
// changes nothing.
void AddPositionDisplayFields();
