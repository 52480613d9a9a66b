#include "util/startup.h"

#include <dlfcn.h>

#include <filesystem>

#include "util/format_settings.h"
#include "util/program_dir.h"

namespace {

int& Digits() {
  static int digits = 2;
  return digits;
}

int& BitsPerPixel() {
  static int bits = 32;
  return bits;
}

// A bare name is looked for beside the program first, where it is installed
// with it, then where the dynamic loader searches.
std::string LibraryPath(const std::string& name) {
  if (name.find('/') != std::string::npos) return name;
  const std::string directory = ProgramDirectory();
  if (!directory.empty()) {
    const std::filesystem::path beside = std::filesystem::path(directory) / name;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) return beside.string();
  }
  return name;
}

}  // namespace

int NumberDigits() { return Digits(); }
void SetNumberDigits(int digits) { Digits() = digits; }
int ScreenBitsPerPixel() { return BitsPerPixel(); }
void SetScreenBitsPerPixel(int bits) { BitsPerPixel() = bits; }

std::string ResourceLibraryName(int argc, const char* const* argv, const std::string& defaultName) {
  std::string name = defaultName;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.size() < 2 || (arg[1] != 'O' && arg[1] != 'o')) continue;
    name = arg.substr(2, 255);
    if (name.find('.') == std::string::npos) name += ".BPL";
  }
  return name;
}

Startup::Startup(int argc, const char* const* argv, const std::string& defaultLibrary) {
  SetFormatSettings(FormatSettingsFromLocale());
  SetNumberDigits(NumberDigitsFromLocale());
  const std::string name = ResourceLibraryName(argc, argv, defaultLibrary);
  if (!Load(name) && name != defaultLibrary) Load(defaultLibrary);
}

Startup::~Startup() {
  if (library_) dlclose(library_);
}

bool Startup::Load(const std::string& name) {
  library_ = dlopen(LibraryPath(name).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library_) loadedLibrary_ = name;
  return library_ != nullptr;
}
