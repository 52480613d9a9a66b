#include "xml/entity_path.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool IsSafeRelative(const std::string& id) {
  if (id.empty() || id[0] == '/') return false;
  if (id.size() >= 2 && id[1] == ':') return false;
  size_t start = 0;
  while (start <= id.size()) {
    size_t end = id.find('/', start);
    if (end == std::string::npos) end = id.size();
    if (id.compare(start, end - start, "..") == 0) return false;
    start = end + 1;
  }
  return true;
}

// True when path lies inside folder (both canonical).
bool IsInside(const fs::path& path, const fs::path& folder) {
  auto p = path.begin();
  for (auto f = folder.begin(); f != folder.end(); ++f, ++p)
    if (p == path.end() || *p != *f) return false;
  return true;
}

}  // namespace

std::optional<std::string> ResolveEntityPath(const std::string& sourceName,
                                             const std::string& systemId) {
  if (sourceName.empty() || sourceName[0] == '<') return std::nullopt;
  std::string id = systemId;
  std::replace(id.begin(), id.end(), '\\', '/');
  if (!IsSafeRelative(id)) return std::nullopt;
  std::error_code ec;
  fs::path folder = fs::path(sourceName).parent_path();
  if (folder.empty()) folder = ".";
  const fs::path root = fs::canonical(folder, ec);
  if (ec) return std::nullopt;
  const fs::path target = fs::canonical(root / id, ec);
  if (ec || !IsInside(target, root) || !fs::is_regular_file(target, ec)) return std::nullopt;
  return target.string();
}
