#pragma once

#include <string>
#include <vector>

class KsLyxObj;
struct ArchiveLocation;

// Exit codes of tarvo-cli.
enum KsCliExit { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitNotAllApplied = 3 };

using KsArgs = std::vector<std::string>;

// An output file name that means standard output.
inline constexpr const char* kStandardOutput = "-";

// Windows-1252 text as UTF-8 for a terminal: control characters (escape
// sequences of a hostile file could clear the screen) are shown as \xNN.
std::string TerminalText(const std::string& text);
// A Windows-1252 message as one line on stderr.
void PrintError(const std::string& text);
// The usage text on stderr; returns kExitUsage.
int UsageError();
// The usage text on stdout (for --help).
void PrintUsage();
// The first argument that is written like an option (a "-" and more) but is
// none of the commands' options; empty when there is none. "-" alone is
// standard input or output.
std::string UnknownOption(const KsArgs& args);
// Takes "--tender FILE" out of the arguments of any command: the tender an
// X84 that answers by ID only is entered into, when it is not the X83 of the
// same name beside it. False (wrong usage) for "--tender" without FILE or
// given twice.
bool TakeTenderOption(KsArgs& args, std::string& tender);
// Imports the file into the document (an X84 with `tender`, see
// KsLyxObj::Import); on failure prints LastError, on success what the
// import had to change (ImportWarning).
bool ImportOrReport(KsLyxObj& document, const std::string& fileName,
                    const std::string& tender = std::string());
// ImportOrReport for a command that makes the offer: a tender without a VAT
// rate takes KsLyxObj::kDefaultVatRate, as the window takes the one of its
// options (the command line reads no settings, so a script's result does
// not depend on who runs it; "LV;UST;Satz" in a price list sets another).
bool ImportOffer(KsLyxObj& document, const std::string& fileName,
                 const std::string& tender = std::string());
// What is missing in the offer that was written (CheckOffer), each as a
// warning on stderr after the command's own messages.
void WarnOfFindings(const KsLyxObj& document);
// Takes "--archive ORT" and "--no-archive" out of the arguments of any
// command: where the offers saved are entered into the price archive (a
// file, or "postgresql:host=H port=P dbname=D user=U"; without the option
// the user's own archive, ArchiveLocation::Default) or that they are not.
// False (wrong usage) for "--archive" without ORT, or a server named wrongly
// (the reason printed).
bool TakeArchiveOptions(KsArgs& args);
// Whether saved offers go into the archive, and where.
bool ArchiveOn();
// The archive the options name; raises std::runtime_error (German).
ArchiveLocation ArchiveLocationOfOptions();
// Exports the offer (D84, X84 for an XML tender); on failure prints LastError.
// A written offer file is then entered into the price archive (ArchiveOn);
// a failure of the archive is a warning on stderr and changes nothing else.
bool ExportOrReport(KsLyxObj& document, const std::string& fileName);
// Refuses, with a message, to write over the tender that was read: true when
// `output` is `tender`, or the X83 a reopened X84 was entered into. A tender that already is an
// offer (phase 84, or saved by this program) may be saved over itself, as the window does; `always`
// refuses that too.
bool OutputIsTender(const KsLyxObj& document, const std::string& tender, const std::string& output,
                    bool always);
