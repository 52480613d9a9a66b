#pragma once

#include <string>

class KsLyxObj;
class WindowDialogs;
class QWidget;

// The two commands that hand a message to the mail system through Simple
// MAPI. Both block until the mail system returns. An exception of the mail
// system is shown as an error; a failure it reports other than the user's
// cancel is shown as a warning, so that nobody believes a mail has left that
// has not.

// aSend: the offer as a D84 (X84) file to the client's address (asked for when the
// tender has none and the mail program's dialog is not wanted). The file is
// written for the mail alone and deleted afterwards, whatever happened.
void SendOfferCommand(KsLyxObj& document, bool showMapiClient, WindowDialogs& dialogs,
                      QWidget* parent);

// The support label: a prepared request to the maker's support, signed with
// the bidder's name and town, always shown in the mail program first.
void SendSupportRequest(const std::string& name1, const std::string& town);

// The file the offer is written to for sending: the folder "Tarvo" in the
// user's temporary folder ($XDG_RUNTIME_DIR, else the system's), created
// private to the user when missing, and in it the tender's name with the
// offer's extension (".D84", ".X84" for an XML tender), its stem shortened
// at the front to fit a path of 255. Raises std::runtime_error (German text)
// when the folder cannot be made or belongs to somebody else.
std::string OfferMailFile(const std::string& fileName, const std::string& extension);
