#pragma once

#include <QString>
#include <QStringList>

// The window program's own options. --help and --version are answered
// before a window (or a display) is needed; every other argument that
// begins with "-" and does not name the resource library ("-Oname") is
// wrong usage, once Qt has taken its own options (-platform, -style …).
enum class WindowRequest { Run, Help, Version };

WindowRequest EarlyRequest(int argc, const char* const* argv);
// The first argument after the program's name that is an option the
// program does not know; empty when there is none.
QString UnknownOption(const QStringList& arguments);
// Prints the usage on stdout (--help), the version on stdout, or the usage
// with the unknown option on stderr, and returns the exit code.
int ShowHelp();
int ShowVersion();
int WindowUsageError(const QString& option);
