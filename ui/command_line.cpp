#include "ui/command_line.h"

#include <cstdio>
#include <string_view>

#include "util/version.h"

namespace {

const char kUsage[] =
    "Aufruf:\n"
    "  tarvo [DATEI]\n"
    "      \u00F6ffnet das Fenster, mit DATEI die Ausschreibung oder das Angebot darin\n"
    "      (GAEB 2000 D83, P83, D84; GAEB 90 D83, D84; GAEB DA XML X83)\n"
    "  tarvo -ONAME [DATEI]\n"
    "      l\u00E4dt die Ressourcenbibliothek NAME statt TARVO_RES.BPL\n"
    "  tarvo --help | -h\n"
    "      zeigt diesen Text\n"
    "  tarvo --version\n"
    "      zeigt die Version\n"
    "\n"
    "Die Optionen von Qt gelten ebenso, etwa -platform offscreen oder -style NAME.\n"
    "\n"
    "R\u00FC"
    "ckgabewert: 0 beendet, 2 falscher Aufruf.\n";

bool NamesResourceLibrary(const QString& argument) {
  return argument.size() >= 2 && argument.at(1).toUpper() == QLatin1Char('O');
}

}  // namespace

WindowRequest EarlyRequest(int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") return WindowRequest::Help;
    if (argument == "--version") return WindowRequest::Version;
  }
  return WindowRequest::Run;
}

QString UnknownOption(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments.at(i);
    if (argument.startsWith(QLatin1Char('-')) && !NamesResourceLibrary(argument)) return argument;
  }
  return {};
}

int ShowHelp() {
  std::fputs(kUsage, stdout);
  return 0;
}

int ShowVersion() {
  std::printf("tarvo %s\n", kTarvoVersion);
  return 0;
}

int WindowUsageError(const QString& option) {
  std::fprintf(stderr, "Unbekannte Option: %s\n%s", option.toLocal8Bit().constData(), kUsage);
  return 2;
}
