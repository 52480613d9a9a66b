#include "mail/provider/mail_address.h"

#include <gtest/gtest.h>

TEST(MailAddress, Verdicts) {
  const struct {
    std::string text;
    TAddressVerdict verdict;
    std::string address;
  } cases[] = {
      {"bau@ulm.de", TAddressVerdict::Valid, "bau@ulm.de"},
      {"SMTP:bau@ulm.de", TAddressVerdict::Valid, "bau@ulm.de"},
      {"smtp:bau@ulm.de", TAddressVerdict::Valid, "bau@ulm.de"},
      {"[SMTP:bau@ulm.de]", TAddressVerdict::Valid, "bau@ulm.de"},
      {"  bau@ulm.de\t", TAddressVerdict::Valid, "bau@ulm.de"},
      {"vergabe.stelle+d83@stadt-ulm.example", TAddressVerdict::Valid,
       "vergabe.stelle+d83@stadt-ulm.example"},
      {"o'brien@localhost", TAddressVerdict::Valid, "o'brien@localhost"},
      {"a@b@c.de", TAddressVerdict::Ambiguous, ""},
      {"a@x.de b@y.de", TAddressVerdict::Ambiguous, ""},
      {"Bauamt Ulm", TAddressVerdict::Unknown, ""},
      {"", TAddressVerdict::Unknown, ""},
      {"SMTP:", TAddressVerdict::Unknown, ""},
      {"@ulm.de", TAddressVerdict::Unknown, ""},
      {"bau@", TAddressVerdict::Unknown, ""},
      {"bau@ulm..de", TAddressVerdict::Unknown, ""},
      {"bau@-ulm.de", TAddressVerdict::Unknown, ""},
      {"bau@ulm.de.", TAddressVerdict::Unknown, ""},
      {".bau@ulm.de", TAddressVerdict::Unknown, ""},
      {"b..au@ulm.de", TAddressVerdict::Unknown, ""},
      {"-bau@ulm.de", TAddressVerdict::Unknown, ""},
      {"--attach=/etc/passwd@x.de", TAddressVerdict::Unknown, ""},
      {"Max <bau@ulm.de>", TAddressVerdict::Unknown, ""},
      {"bau@ulm.de\r\nBcc: x@evil.example", TAddressVerdict::Ambiguous, ""},
      {"bau@ulm.de\r\nX-Evil: 1", TAddressVerdict::Unknown, ""},
      {"bau\n@ulm.de", TAddressVerdict::Unknown, ""},
      {"b\xFC@ulm.de", TAddressVerdict::Unknown, ""},
      {"bau@\xFCml.de", TAddressVerdict::Unknown, ""},
      {"\"bau\"@ulm.de", TAddressVerdict::Unknown, ""},
      {std::string(65, 'a') + "@ulm.de", TAddressVerdict::Unknown, ""},
      {"a@" + std::string(64, 'b') + ".de", TAddressVerdict::Unknown, ""},
      {"a@" + std::string(63, 'b') + ".de", TAddressVerdict::Valid,
       "a@" + std::string(63, 'b') + ".de"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const AddressCheck check = CheckAddress(c.text);
    EXPECT_EQ(check.verdict, c.verdict);
    EXPECT_EQ(check.address, c.address);
  }
}
