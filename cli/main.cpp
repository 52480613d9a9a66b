#include <map>
#include <string>

#include "cli/commands.h"
#include "gaeb/gaeb_catalogue.h"
#include "util/format_settings.h"
#include "util/startup.h"

int main(int argc, char* argv[]) {
  SetFormatSettings(FormatSettingsFromLocale());
  SetNumberDigits(NumberDigitsFromLocale());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();

  if (argc < 2) return UsageError();
  const std::string command = argv[1];
  if (command == "--help" || command == "-h") {
    PrintUsage();
    return kExitOk;
  }
  static const std::map<std::string, int (*)(const KsArgs&)> kCommands = {
      {"info", RunInfo}, {"export", RunExport}, {"price", RunPrice}, {"print", RunPrint}};
  const auto it = kCommands.find(command);
  if (it == kCommands.end()) return UsageError();
  return it->second(KsArgs(argv + 2, argv + argc));
}
