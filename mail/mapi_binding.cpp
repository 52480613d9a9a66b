#include "mail/mapi_binding.h"

#include <dlfcn.h>

#include <filesystem>
#include <utility>

#include "mail/mapi_errors.h"
#include "mail/mapi_settings.h"
#include "util/program_dir.h"

namespace {

constexpr const char* kLibraryName = "libmapi32.so";

MapiBinding& Binding() {
  static MapiBinding binding;
  return binding;
}

template <typename Function>
bool Resolve(void* library, const char* name, Function*& entry) {
  entry = reinterpret_cast<Function*>(dlsym(library, name));
  return entry != nullptr;
}

bool ResolveAll(void* library, MapiEntryPoints& e) {
  bool all = true;
  all &= Resolve(library, "MAPIFindNext", e.MAPIFindNext);
  all &= Resolve(library, "MAPILogoff", e.MAPILogoff);
  all &= Resolve(library, "MAPILogon", e.MAPILogon);
  all &= Resolve(library, "MAPISendMail", e.MAPISendMail);
  all &= Resolve(library, "MAPIReadMail", e.MAPIReadMail);
  all &= Resolve(library, "MAPIDeleteMail", e.MAPIDeleteMail);
  all &= Resolve(library, "MAPIResolveName", e.MAPIResolveName);
  all &= Resolve(library, "MAPIFreeBuffer", e.MAPIFreeBuffer);
  all &= Resolve(library, "MAPIAddress", e.MAPIAddress);
  all &= Resolve(library, "MAPISaveMail", e.MAPISaveMail);
  return all;
}

}  // namespace

const MapiBinding& Mapi() { return Binding(); }

std::vector<std::string> MapiLibraryCandidates() {
  std::vector<std::string> candidates;
  const std::filesystem::path program = ProgramDirectory();
  if (!program.empty()) {
    candidates.push_back((program / kLibraryName).string());
    candidates.push_back(
        (program / TARVO_INSTALL_LIBRARY_DIR / kLibraryName).lexically_normal().string());
  }
  candidates.push_back(kLibraryName);
  return candidates;
}

void InitMapi(std::shared_ptr<const MapiSettings> settings,
              const std::vector<std::string>& libraries) {
  DoneMapi();
  MapiBinding& binding = Binding();
  binding.Settings = std::move(settings);
  if (!binding.Settings || binding.Settings->MapiValue() != "1") return;
  for (const std::string& library : libraries) {
    binding.MapiLibrary = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (binding.MapiLibrary) break;
  }
  if (!binding.MapiLibrary) return;
  binding.MapiAvailable = true;
  if (!ResolveAll(binding.MapiLibrary, binding.Entry)) {
    DoneMapi();
    throw EMapiDllError(kMapiDllErrorText);
  }
}

void DoneMapi() {
  MapiBinding& binding = Binding();
  if (binding.MapiLibrary) dlclose(binding.MapiLibrary);
  binding.MapiLibrary = nullptr;
  binding.MapiAvailable = false;
  binding.Entry = {};
  binding.Settings.reset();
}
