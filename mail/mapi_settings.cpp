#include "mail/mapi_settings.h"

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>

#include "util/strings.h"

namespace {

std::optional<std::string> ValueInFile(const std::string& path, const std::string& name) {
  std::ifstream in(path);
  if (!in) return std::nullopt;
  std::optional<std::string> value;
  for (std::string line; std::getline(in, line);) {
    StripTrailing(line, "\r");
    if (line.compare(0, name.size() + 1, name + "=") == 0) value = line.substr(name.size() + 1);
  }
  return value;
}

std::optional<std::string> AdministratorValue(const std::string& name) {
  const char* dirs = std::getenv("XDG_CONFIG_DIRS");
  const std::string list = dirs && *dirs ? dirs : "/etc/xdg";
  for (int i = 1; i <= TokenCount(list, ":"); ++i) {
    const std::string dir = Token(list, i, ":");
    if (dir.empty()) continue;
    if (std::optional<std::string> value = ValueInFile(dir + "/Tarvo_Redurir/mapi.conf", name))
      return value;
  }
  return std::nullopt;
}

bool Loads(const std::string& library) {
  void* handle = dlopen(library.c_str(), RTLD_LAZY | RTLD_LOCAL);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

}  // namespace

SystemMapiSettings::SystemMapiSettings(std::vector<std::string> libraries)
    : libraries_(std::move(libraries)) {}

std::optional<std::string> SystemMapiSettings::MapiValue() const {
  if (std::optional<std::string> value = AdministratorValue("MAPI")) return value;
  for (const std::string& library : libraries_)
    if (Loads(library)) return "1";
  return std::nullopt;
}
