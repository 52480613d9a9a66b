#include <chrono>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "mail/provider/handover.h"
#include "mail/provider/outbox.h"
#include "mail/provider/program_run.h"

namespace fs = std::filesystem;

namespace {

// xdg-email's exit codes.
constexpr int kFileMissing = 2;
constexpr int kNoMailProgram = 3;

// Some mail programs (Thunderbird, Evolution) keep xdg-email waiting until
// they are closed when it had to start them; the window would freeze that
// long. A mail program still running after this has the message open.
constexpr std::chrono::seconds kMailProgramPatience(5);

ULONG CodeOfExit(int status) {
  switch (status) {
    case 0:
    case kStillRunning:
      return SUCCESS_SUCCESS;
    case kFileMissing:
      return MAPI_E_ATTACHMENT_NOT_FOUND;
    case kNoMailProgram:
      return MAPI_E_NOT_SUPPORTED;
    default:
      return MAPI_E_FAILURE;
  }
}

// Each copy in a numbered folder of its own, so that two attachments of the
// same name both keep it.
bool WriteCopies(const OutgoingMail& mail, const fs::path& folder, std::vector<std::string>& args) {
  for (size_t i = 0; i < mail.attachments.size(); ++i) {
    const fs::path dir = folder / std::to_string(i + 1);
    std::error_code error;
    fs::create_directory(dir, error);
    if (error) return false;
    const fs::path copy = dir / mail.attachments[i].name;
    std::ofstream out(copy, std::ios::binary);
    out.write(mail.attachments[i].content.data(),
              static_cast<std::streamsize>(mail.attachments[i].content.size()));
    out.close();
    if (!out) return false;
    args.insert(args.end(), {"--attach", copy.string()});
  }
  return true;
}

}  // namespace

ULONG HandToMailProgram(const OutgoingMail& mail) {
  const std::string program = FindProgram("xdg-email");
  if (program.empty()) return MAPI_E_NOT_SUPPORTED;

  std::vector<std::string> args = {"xdg-email", "--utf8"};
  for (const std::string& address : mail.to) args.insert(args.end(), {"--to", address});
  for (const std::string& address : mail.cc) args.insert(args.end(), {"--cc", address});
  for (const std::string& address : mail.bcc) args.insert(args.end(), {"--bcc", address});
  if (!mail.subject.empty()) args.insert(args.end(), {"--subject", mail.subject});
  if (!mail.body.empty()) args.insert(args.end(), {"--body", mail.body});

  fs::path folder;
  if (!mail.attachments.empty()) {
    const fs::path outbox = OutboxFolder();
    CleanOutbox(outbox);
    std::error_code ignored;
    try {
      folder = NewMessageFolder(outbox);
    } catch (const fs::filesystem_error&) {
      return MAPI_E_ATTACHMENT_WRITE_FAILURE;
    }
    if (!WriteCopies(mail, folder, args)) {
      fs::remove_all(folder, ignored);
      return MAPI_E_ATTACHMENT_WRITE_FAILURE;
    }
  }

  const ULONG code = CodeOfExit(RunProgram(program, args, -1, kMailProgramPatience));
  if (code != SUCCESS_SUCCESS && !folder.empty()) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  return code;
}
