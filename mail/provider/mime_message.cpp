#include "mail/provider/mime_message.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "mail/provider/ascii.h"

namespace {

constexpr size_t kLineLength = 76;
constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kHex[] = "0123456789ABCDEF";

std::string Base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t v = 0;
    for (size_t k = 0; k < 3; ++k)
      v = (v << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0);
    for (size_t k = 0; k < 4; ++k) out += k <= n ? kBase64[(v >> (18 - 6 * k)) & 0x3F] : '=';
  }
  return out;
}

bool IsPlainAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
  return true;
}

// Length of the UTF-8 sequence that starts with byte `c` (1 for stray bytes).
size_t SequenceLength(unsigned char c) {
  if (c >= 0xF0 && c < 0xF8) return 4;
  if (c >= 0xE0) return c < 0xF0 ? 3 : 1;
  if (c >= 0xC0) return 2;
  return 1;
}

std::string Percent(std::string_view bytes) {
  std::string out;
  for (char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (IsAsciiAlnum(c) || c == '.' || c == '-' || c == '_') {
      out += c;
    } else {
      out += '%';
      out += kHex[u >> 4];
      out += kHex[u & 0xF];
    }
  }
  return out;
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty()) return false;
  for (char c : name)
    if (!IsAsciiAlnum(c) && std::string_view("._- ()+").find(c) == std::string_view::npos)
      return false;
  return true;
}

std::string FileNameParameter(const char* parameter, std::string_view name) {
  if (IsSafeFileName(name)) return std::string(parameter) + "=\"" + std::string(name) + "\"";
  return std::string(parameter) + "*=UTF-8''" + Percent(name);
}

std::string AddressList(const char* header, const std::vector<std::string>& addresses) {
  if (addresses.empty()) return {};
  std::string line = std::string(header) + ": ";
  for (size_t i = 0; i < addresses.size(); ++i) line += (i ? ",\n " : "") + addresses[i];
  return line + "\n";
}

}  // namespace

std::string Base64Lines(std::string_view bytes) {
  const std::string encoded = Base64(bytes);
  std::string out;
  for (size_t i = 0; i < encoded.size(); i += kLineLength)
    out.append(encoded, i, kLineLength).append("\n");
  return out;
}

std::string QuotedPrintable(std::string_view text) {
  std::string out;
  size_t column = 0;
  auto put = [&](std::string_view piece) {
    if (column + piece.size() > kLineLength - 1) {
      out += "=\n";
      column = 0;
    }
    out += piece;
    column += piece.size();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += '\n';
      column = 0;
      continue;
    }
    const auto u = static_cast<unsigned char>(c);
    const bool lineEnd = i + 1 == text.size() || text[i + 1] == '\r' || text[i + 1] == '\n';
    const bool literal = (u >= 33 && u <= 126 && c != '=') || ((c == ' ' || c == '\t') && !lineEnd);
    if (literal) {
      put(std::string_view(&text[i], 1));
    } else {
      const char escaped[3] = {'=', kHex[u >> 4], kHex[u & 0xF]};
      put(std::string_view(escaped, 3));
    }
  }
  return out;
}

// Encoded words of at most 75 characters, each on a line of its own, split
// only between whole UTF-8 characters.
std::string EncodedHeaderText(std::string_view utf8, size_t nameLength) {
  if (IsPlainAscii(utf8) && utf8.find("=?") == std::string_view::npos &&
      nameLength + 2 + utf8.size() <= kLineLength)
    return std::string(utf8);
  constexpr size_t kMaxChunk = 45;  // 60 base64 characters + 12 of framing
  std::string out;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t end = i;
    while (end < utf8.size()) {
      const size_t next = end + SequenceLength(static_cast<unsigned char>(utf8[end]));
      if (next - i > kMaxChunk) break;
      end = std::min(next, utf8.size());
    }
    if (end == i) end = std::min(i + kMaxChunk, utf8.size());
    if (!out.empty()) out += "\n ";
    out += "=?UTF-8?B?" + Base64(utf8.substr(i, end - i)) + "?=";
    i = end;
  }
  return out;
}

std::string RfcDate(std::time_t when) {
  static constexpr std::array<const char*, 7> kDays = {"Sun", "Mon", "Tue", "Wed",
                                                       "Thu", "Fri", "Sat"};
  static constexpr std::array<const char*, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::tm local{};
  localtime_r(&when, &local);
  const long offset = local.tm_gmtoff / 60;
  const long absolute = offset < 0 ? -offset : offset;
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %c%02ld%02ld",
                kDays[local.tm_wday], local.tm_mday, kMonths[local.tm_mon], local.tm_year + 1900,
                local.tm_hour, local.tm_min, local.tm_sec, offset < 0 ? '-' : '+', absolute / 60,
                absolute % 60);
  return text;
}

std::string BuildMimeMessage(const OutgoingMail& mail, std::time_t now, std::string_view host,
                             std::string_view unique) {
  std::string m = "Date: " + RfcDate(now) + "\n";
  if (!mail.from.empty()) m += "From: " + mail.from + "\n";
  m += AddressList("To", mail.to);
  m += AddressList("Cc", mail.cc);
  m += AddressList("Bcc", mail.bcc);
  if (!mail.subject.empty()) m += "Subject: " + EncodedHeaderText(mail.subject, 7) + "\n";
  m += "Message-ID: <" + std::string(unique) + "@" + std::string(host) + ">\n";
  if (mail.receiptRequested && !mail.from.empty())
    m += "Disposition-Notification-To: " + mail.from + "\n";
  m += "MIME-Version: 1.0\n";

  const std::string text =
      "Content-Type: text/plain; charset=UTF-8\n"
      "Content-Transfer-Encoding: quoted-printable\n\n" +
      QuotedPrintable(mail.body);
  if (mail.attachments.empty()) return m + text + (text.back() == '\n' ? "" : "\n");

  // The line break before a boundary belongs to the boundary.
  const std::string boundary = "=_Tarvo_" + std::string(unique);
  m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\n\n";
  m += "--" + boundary + "\n" + text + "\n";
  for (const OutgoingMail::Attachment& file : mail.attachments) {
    m += "--" + boundary + "\n";
    m += "Content-Type: application/octet-stream; " + FileNameParameter("name", file.name) + "\n";
    m += "Content-Disposition: attachment; " + FileNameParameter("filename", file.name) + "\n";
    m += "Content-Transfer-Encoding: base64\n\n";
    m += Base64Lines(file.content);
  }
  return m + "--" + boundary + "--\n";
}
