#pragma once

#include "core/obj_classes.h"

// The registry of the GAEB element classes, keyed "GAEB" + element name;
// filled on first use, lives until program end.
const KsObjClasses& GaebClasses();
