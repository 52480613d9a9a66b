#pragma once

#include <string>

// Machine settings, read once at start; the window and tests may set them.

// Decimals of "n" conversions without a precision (FormatEx); 2 until set.
int NumberDigits();
void SetNumberDigits(int digits);
// Colour depth of the screen (KsColor::ChangeLightness); 32 until the window
// sets it.
int ScreenBitsPerPixel();
void SetScreenBitsPerPixel(int bits);

inline constexpr const char* kDefaultResourceLibrary = "TARVO_RES.BPL";

// The resource library the command line asks for: the last argument whose
// second character is "O" or "o", from its third character on (at most 255
// characters, ".BPL" added when the name has no "."); the default otherwise.
std::string ResourceLibraryName(int argc, const char* const* argv,
                                const std::string& defaultName = kDefaultResourceLibrary);

// The helpers' start-up, created by main for the whole run: takes the number
// and date format and the number of decimals from the locale, and loads the
// optional resource library (the named one, else the default; a library that
// does not load is silently left out). The library is released on
// destruction.
class Startup {
 public:
  Startup(int argc, const char* const* argv,
          const std::string& defaultLibrary = kDefaultResourceLibrary);
  ~Startup();
  Startup(const Startup&) = delete;
  Startup& operator=(const Startup&) = delete;

  // The library that was loaded; empty when none.
  const std::string& LoadedLibrary() const { return loadedLibrary_; }

 private:
  bool Load(const std::string& name);

  void* library_ = nullptr;
  std::string loadedLibrary_;
};
