#pragma once

#include "mail/mapi.h"
#include "mail/provider/outgoing_mail.h"

// The two ways a message leaves the provider; each answers a MAPI code.

// Through the desktop's mail program (xdg-email), which shows the message for
// the user to complete and send; attachments go as copies in the outbox.
ULONG HandToMailProgram(const OutgoingMail& mail);

// Straight to the local mail system, as a complete message to `sendmail -t -i`.
ULONG HandToSendmail(const OutgoingMail& mail);
