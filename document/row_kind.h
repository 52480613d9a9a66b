#pragma once

#include "gaeb/gaeb_elements.h"

// The two kinds of grid rows, by exact class (derived classes do not count).
inline bool IsPositionRow(const KsGAEBObj* element) {
  return element && &element->Class() == &KsGPOSITION::StaticClass();
}

inline bool IsAreaRow(const KsGAEBObj* element) {
  return element && &element->Class() == &KsGLVBEREICH::StaticClass();
}
