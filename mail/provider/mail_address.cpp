#include "mail/provider/mail_address.h"

#include <algorithm>

#include "mail/provider/ascii.h"

namespace {

constexpr size_t kMaxAddress = 254;
constexpr size_t kMaxLocalPart = 64;
constexpr size_t kMaxLabel = 63;

bool IsAtomChar(char c) {
  return IsAsciiAlnum(c) ||
         std::string_view("!#$%&'*+/=?^_`{|}~-").find(c) != std::string_view::npos;
}

bool IsLocalPart(std::string_view s) {
  if (s.empty() || s.size() > kMaxLocalPart) return false;
  // A leading "-" would read as an option to the programs mail is handed to.
  if (s.front() == '.' || s.front() == '-' || s.back() == '.') return false;
  if (s.find("..") != std::string_view::npos) return false;
  return std::all_of(s.begin(), s.end(), [](char c) { return c == '.' || IsAtomChar(c); });
}

bool IsLabel(std::string_view s) {
  if (s.empty() || s.size() > kMaxLabel || s.front() == '-' || s.back() == '-') return false;
  return std::all_of(s.begin(), s.end(), [](char c) { return c == '-' || IsAsciiAlnum(c); });
}

bool IsDomain(std::string_view s) {
  size_t start = 0;
  while (true) {
    const size_t dot = s.find('.', start);
    if (!IsLabel(s.substr(start, dot == std::string_view::npos ? dot : dot - start))) return false;
    if (dot == std::string_view::npos) return true;
    start = dot + 1;
  }
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool StartsWithSmtp(std::string_view s) {
  if (s.size() < 5) return false;
  const std::string_view smtp = "SMTP:";
  return std::equal(smtp.begin(), smtp.end(), s.begin(),
                    [](char a, char b) { return a == (b >= 'a' && b <= 'z' ? b - 32 : b); });
}

}  // namespace

AddressCheck CheckAddress(std::string_view text) {
  std::string_view s = TrimBlanks(text);
  if (s.size() >= 2 && s.front() == '[' && s.back() == ']')
    s = TrimBlanks(s.substr(1, s.size() - 2));
  if (StartsWithSmtp(s)) s = TrimBlanks(s.substr(5));
  const size_t at = s.find('@');
  if (at == std::string_view::npos) return {TAddressVerdict::Unknown, {}};
  if (s.find('@', at + 1) != std::string_view::npos) return {TAddressVerdict::Ambiguous, {}};
  if (s.size() > kMaxAddress || !IsLocalPart(s.substr(0, at)) || !IsDomain(s.substr(at + 1)))
    return {TAddressVerdict::Unknown, {}};
  return {TAddressVerdict::Valid, std::string(s)};
}
