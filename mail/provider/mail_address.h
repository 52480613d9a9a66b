#pragma once

#include <string>
#include <string_view>

// What a recipient text names, for the provider's name resolution.
enum class TAddressVerdict { Valid, Unknown, Ambiguous };

struct AddressCheck {
  TAddressVerdict verdict;
  std::string address;  // the bare name@domain when valid
};

// Accepts "name@domain", optionally written "SMTP:name@domain" and enclosed
// in square brackets, with blanks around. The name is a dot-atom of ASCII
// characters, the domain host-name labels, so a valid address can hold no
// blank, no line break and nothing a header or an option could be made of.
// A text with several "@" names several addresses and is ambiguous.
AddressCheck CheckAddress(std::string_view text);
