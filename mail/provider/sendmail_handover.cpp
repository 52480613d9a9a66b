#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>

#include "mail/provider/ascii.h"
#include "mail/provider/handover.h"
#include "mail/provider/mime_message.h"
#include "mail/provider/program_run.h"

namespace {

// sendmail's exit codes (sysexits.h) that say more than "failed".
constexpr int kNoUser = 67;
constexpr int kNoHost = 68;
constexpr int kUnavailable = 69;
constexpr int kNoPermission = 77;
constexpr int kTryLater = 75;

ULONG CodeOfExit(int status) {
  switch (status) {
    case 0:
      return SUCCESS_SUCCESS;
    case kNoUser:
    case kNoHost:
      return MAPI_E_UNKNOWN_RECIPIENT;
    case kUnavailable:
    case kTryLater:
    case kEnded:
      return MAPI_E_NETWORK_FAILURE;
    case kNoPermission:
      return MAPI_E_ACCESS_DENIED;
    default:
      return MAPI_E_FAILURE;
  }
}

std::string HostName() {
  char name[256] = {};
  if (gethostname(name, sizeof name - 1) != 0) return "localhost";
  std::string host;
  for (const char* p = name; *p; ++p)
    if (IsAsciiAlnum(*p) || *p == '-' || *p == '.') host += *p;
  return host.empty() ? "localhost" : host;
}

// Unique per message: time, process, a counter and a random part.
std::string UniquePart(std::time_t now) {
  static std::atomic<unsigned> counter{0};
  std::random_device random;
  char text[96];
  std::snprintf(text, sizeof text, "%lld.%d.%u.%08x", static_cast<long long>(now),
                static_cast<int>(getpid()), counter.fetch_add(1), random());
  return text;
}

bool WriteAll(int fd, const std::string& data) {
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return lseek(fd, 0, SEEK_SET) == 0;
}

}  // namespace

// The message reaches sendmail from a file in memory rather than a pipe, so
// a sendmail that stops reading can never stop the program with SIGPIPE.
ULONG HandToSendmail(const OutgoingMail& mail, std::chrono::milliseconds patience) {
  const std::string program = FindProgram("sendmail", {"/usr/sbin/sendmail", "/usr/lib/sendmail"});
  if (program.empty()) return MAPI_E_NOT_SUPPORTED;
  const std::time_t now = std::time(nullptr);
  const std::string message = BuildMimeMessage(mail, now, HostName(), UniquePart(now));
  const int fd = memfd_create("tarvo-mail", MFD_CLOEXEC);
  if (fd < 0) return MAPI_E_INSUFFICIENT_MEMORY;
  ULONG code = MAPI_E_DISK_FULL;
  if (WriteAll(fd, message))
    code = CodeOfExit(RunProgram(program, {"sendmail", "-t", "-i"}, fd, patience, Overdue::kEnd));
  close(fd);
  return code;
}
