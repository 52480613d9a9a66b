#pragma once

#include <string>
#include <vector>

class KsLyxObj;

// Exit codes of tarvo-cli.
enum KsCliExit { kExitOk = 0, kExitFailure = 1, kExitUsage = 2 };

using KsArgs = std::vector<std::string>;

// A Windows-1252 message as one UTF-8 line on stderr; file names in it may
// already be UTF-8, as the system gave them, and stay so.
void PrintError(const std::string& text);
// The usage text on stderr; returns kExitUsage.
int UsageError();
// The usage text on stdout (for --help).
void PrintUsage();
// Imports the file into the document; on failure prints LastError.
bool ImportOrReport(KsLyxObj& document, const std::string& fileName);
// Exports the document as D84; on failure prints LastError.
bool ExportOrReport(KsLyxObj& document, const std::string& fileName);
