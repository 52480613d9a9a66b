#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// The mapi32 library is there but lacks one of the entry points the binding needs.
class EMapiDllError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Mail was asked for on a machine without Simple MAPI.
class EMapiUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kMapiDllErrorText = "GetProcAddress for MAPI32.DLL function(s) failed";
inline constexpr const char* kMapiUnavailableText =
    "MAPI services are not available on this system";

// The German description of a Simple MAPI result code (1 to 26); empty for
// success, for 7 and for any code outside that range.
std::string MapiErrorText(int32_t code);
