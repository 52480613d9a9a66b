#include "document/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "document/save_target.h"
#include "document/temporary_file.h"

namespace {

// "<text> (<the system's reason>)"
std::string Reason(const std::string& text, int error) {
  return text + " (" + std::strerror(error) + ")";
}

}  // namespace

void WriteFileAtomically(const std::string& target,
                         const std::function<void(std::ostream&)>& write) {
  const SaveTarget checked = CheckSaveTarget(target);
  TemporaryFile temp(checked);
  {
    std::ofstream out(temp.Path(), std::ios::binary | std::ios::trunc);
    if (!out) {
      const int error = errno;
      throw std::runtime_error(Reason("Die Datei " + checked.Name +
                                          " kann nicht ge\xF6"
                                          "ffnet werden",
                                      error));
    }
    write(out);
    out.flush();
    out.close();
    if (out.fail()) {
      const int error = errno;
      throw std::runtime_error(Reason(
          "Die Datei " + checked.Name + " konnte nicht vollst\xE4ndig geschrieben werden", error));
    }
  }
  temp.Sync();
  temp.Commit();
}
