#pragma once

#include <chrono>

#include "mail/mapi.h"
#include "mail/provider/outgoing_mail.h"

// The two ways a message leaves the provider; each answers a MAPI code.

// Through the desktop's mail program (xdg-email), which shows the message for
// the user to complete and send; attachments go as copies in the outbox.
ULONG HandToMailProgram(const OutgoingMail& mail);

// A sendmail that hands a message on takes a moment, one that waits for an
// unreachable mail server can take for ever; the window waits this long.
constexpr std::chrono::seconds kSendmailPatience(30);

// Straight to the local mail system, as a complete message to `sendmail -t -i`.
// A sendmail still running after `patience` is ended, and the message counts
// as not sent (MAPI_E_NETWORK_FAILURE).
ULONG HandToSendmail(const OutgoingMail& mail,
                     std::chrono::milliseconds patience = kSendmailPatience);
