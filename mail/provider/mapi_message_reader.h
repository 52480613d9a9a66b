#pragma once

#include "mail/mapi.h"
#include "mail/provider/outgoing_mail.h"

// Takes a caller's message apart, trusting nothing in it: every address must
// be a valid name@domain, every recipient class known, every attachment a
// readable file. Texts come in as Windows-1252; the subject loses its line
// breaks and other control characters, attachment names their folders.
// SUCCESS_SUCCESS or the MAPI code of the first fault.
ULONG ReadMapiMessage(const MapiMessage& message, bool withDialog, OutgoingMail& mail);
