#pragma once

#include <optional>
#include <string>

class KsLyxObj;
class WindowDialogs;
class QWidget;

// The two commands that hand a message to the mail system through Simple
// MAPI. Both block until the mail system returns. An exception of the mail
// system is shown as an error; a failure it reports other than the user's
// cancel is shown as a warning, so that nobody believes a mail has left that
// has not.

// The client's address for the offer: the tender's, else asked for in an
// input box. Abbrechen ends the command (nullopt), and so does an empty
// answer, unless the mail program's dialog follows, where the user can
// still give one ("").
std::optional<std::string> OfferRecipient(const KsLyxObj& document, bool showMapiClient,
                                          WindowDialogs& dialogs, QWidget* parent);

// aSend: the offer as a D84 (X84) file to `recipient`. The file is written
// for the mail alone and deleted afterwards, whatever happened. True when
// the mail system took the message.
bool SendOfferCommand(KsLyxObj& document, bool showMapiClient, const std::string& recipient);

// The support label: a prepared request to the maker's support, signed with
// the bidder's name and town, always shown in the mail program first.
void SendSupportRequest(const std::string& name1, const std::string& town);

// The file the offer is written to for sending: the folder "Tarvo" in the
// user's temporary folder ($XDG_RUNTIME_DIR, else the system's), created
// private to the user when missing, and in it the tender's name with the
// offer's extension (".D84", ".X84" for an XML tender); only where the path
// would exceed the 255 bytes the mail system takes does the stem lose its
// end, so the name still starts as the tender's. Raises std::runtime_error (German text)
// when the folder cannot be made or belongs to somebody else.
std::string OfferMailFile(const std::string& fileName, const std::string& extension);
