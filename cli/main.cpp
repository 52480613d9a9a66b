#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <string>

#include "cli/commands.h"
#include "gaeb/gaeb_catalogue.h"
#include "util/codec.h"
#include "util/format_settings.h"
#include "util/startup.h"
#include "util/version.h"

namespace {

// What was written to standard output reached it: a full disk or a closed
// pipe must not end with success.
bool StandardOutputWritten() {
  std::cout.flush();
  const bool written = std::cout.good() && std::fflush(stdout) == 0 && !std::ferror(stdout);
  if (!written)
    PrintError(std::string("Fehler beim Schreiben der Standardausgabe (") + std::strerror(errno) +
               ")");
  return written;
}

}  // namespace

int main(int argc, char* argv[]) {
  SetFormatSettings(FormatSettingsFromLocale());
  SetNumberDigits(NumberDigitsFromLocale());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();

  if (argc < 2) return UsageError();
  const std::string command = argv[1];
  static const std::map<std::string, int (*)(const KsArgs&)> kCommands = {
      {"info", RunInfo},   {"export", RunExport}, {"price", RunPrice},
      {"print", RunPrint}, {"sheet", RunSheet},   {"archive", RunArchive}};
  const auto it = kCommands.find(command);
  int result = kExitUsage;
  if (command == "--help" || command == "-h") {
    PrintUsage();
    result = kExitOk;
  } else if (command == "--version") {
    std::cout << "tarvo-cli " << kTarvoVersion << '\n';
    result = kExitOk;
  } else if (it != kCommands.end()) {
    KsArgs args(argv + 2, argv + argc);
    if (const std::string option = UnknownOption(args); !option.empty()) {
      PrintError("Unbekannte Option: " + Utf8ToCp1252(option));
      return UsageError();
    }
    if (!TakeArchiveOptions(args)) return UsageError();
    result = it->second(args);
  } else {
    return UsageError();
  }
  return StandardOutputWritten() ? result : kExitFailure;
}
