#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "mail/provider/outgoing_mail.h"

// The complete message for `sendmail -t`: headers after RFC 5322 (Date,
// From when known, To, Cc, Bcc, Subject, Message-ID), the subject in RFC 2047
// encoded words when it is not plain ASCII, the text as quoted-printable
// UTF-8 and every attachment base64 with its file name (RFC 2231 when not
// plain ASCII). Lines end in LF, as the local mail system expects them;
// `boundary` must not occur in any body part (quoted-printable and base64
// never produce "=_").
std::string BuildMimeMessage(const OutgoingMail& mail, std::time_t now, std::string_view host,
                             std::string_view unique);

// The encoders, exposed for their tests.
std::string Base64Lines(std::string_view bytes);
std::string QuotedPrintable(std::string_view text);
std::string EncodedHeaderText(std::string_view utf8, size_t nameLength);
std::string RfcDate(std::time_t when);
