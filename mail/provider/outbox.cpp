#include "mail/provider/outbox.h"

#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home == '/') return home;
  if (const passwd* user = getpwuid(getuid()); user && user->pw_dir) return user->pw_dir;
  return "/tmp";
}

}  // namespace

fs::path OutboxFolder() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  const fs::path base = cache && *cache == '/' ? fs::path(cache) : HomeFolder() / ".cache";
  return base / "Tarvo_Redurir" / "outbox";
}

void CleanOutbox(const fs::path& outbox, fs::file_time_type now) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(outbox, error)) {
    std::error_code ignored;
    const fs::file_time_type changed = entry.last_write_time(ignored);
    if (!ignored && now - changed > std::chrono::hours(24)) fs::remove_all(entry.path(), ignored);
  }
}

fs::path NewMessageFolder(const fs::path& outbox) {
  fs::create_directories(outbox);
  fs::permissions(outbox, fs::perms::owner_all);
  std::string pattern = (outbox / "mail-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw fs::filesystem_error("mkdtemp", outbox, std::error_code(errno, std::generic_category()));
  return pattern;
}
