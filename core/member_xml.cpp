// Text forms of members in the XML object format.

#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/member.h"
#include "core/member_whole_xml.h"
#include "core/xml_escape.h"
#include "util/date_time.h"
#include "util/trim.h"

namespace {

constexpr uint8_t kTypeMask = 0x7F;
constexpr std::string_view kCDataOpen = "<![CDATA[";
constexpr std::string_view kCDataClose = "]]>";

bool IsBinaryOrCursor(uint8_t type) {
  switch (type) {
    case 12:
    case 13:
    case 15:
    case 17:
    case 19:
    case 20:
    case 21:
    case 22:
      return true;
    default:
      return false;
  }
}

// The offset +01:00 is part of the format and written for every value.
std::string DateTimeText(double value, uint8_t type) {
  const DateTimeParts p = DecodeDateTime(value);
  char text[40];
  if (type == ftDate)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
  else if (type == ftTime)
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.000+01:00", p.Hour, p.Minute, p.Second);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.000+01:00", p.Year, p.Month,
                  p.Day, p.Hour, p.Minute, p.Second);
  return text;
}

bool ReadDigits(std::string_view s, size_t pos, size_t count, int& value) {
  if (pos + count > s.size()) return false;
  value = 0;
  for (size_t i = pos; i < pos + count; ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    value = value * 10 + (s[i] - '0');
  }
  return true;
}

// "yyyy-mm-dd" at the start of s; 0 when it is no date.
double ReadDate(std::string_view s) {
  int year, month, day;
  double date;
  if (s.size() < 10 || s[4] != '-' || s[7] != '-' || !ReadDigits(s, 0, 4, year) ||
      !ReadDigits(s, 5, 2, month) || !ReadDigits(s, 8, 2, day) ||
      !TryEncodeDate(year, month, day, date))
    return 0;
  return date;
}

// "hh:mm:ss" at the start of s; false when it is no time.
bool ReadTime(std::string_view s, double& time) {
  int hour, minute, second;
  if (s.size() < 8 || s[2] != ':' || s[5] != ':' || !ReadDigits(s, 0, 2, hour) ||
      !ReadDigits(s, 3, 2, minute) || !ReadDigits(s, 6, 2, second) || hour > 23 || minute > 59 ||
      second > 59)
    return false;
  time = EncodeTime(hour, minute, second, 0);
  return true;
}

// "yyyy-mm-dd", optionally followed by "T" and "hh:mm:ss"; 0 when it is neither.
double ReadDateTime(std::string_view s) {
  const double date = ReadDate(s);
  if (date == 0 || s.size() <= 11) return date;
  double time;
  if (!ReadTime(s.substr(11), time)) return 0;
  return date >= 0 ? date + time : date - time;
}

// The member's text as the writer had it: a CDATA section is taken raw and
// its escaping undone; other text has had its entities read by the parser,
// so only the UTF-8 forms are left to undo.
std::string WrittenText(std::string_view text) {
  if (text.size() >= kCDataOpen.size() + kCDataClose.size() && text.starts_with(kCDataOpen) &&
      text.ends_with(kCDataClose))
    return XmlUnescape(
        text.substr(kCDataOpen.size(), text.size() - kCDataOpen.size() - kCDataClose.size()), true);
  return XmlUnescape(text, false);
}

}  // namespace

std::string KsMember::GetXmlText() const {
  const uint8_t type = GetFieldType() & kTypeMask;
  if (type == ftDate || type == ftTime || type == ftDateTime) {
    if (Value.IsEmptyOrNull() || (Value.Kind() == KsVarKind::String && Value.Str().empty()))
      return {};
    const double t = Value.IsNumeric() ? Value.ToFloat() : Value.ToDateTime();
    return t == 0 ? std::string() : DateTimeText(t, type);
  }
  if (IsBinaryOrCursor(type)) return {};
  const std::string escaped = XmlEscape(GetAsString());
  if (type != ftMemo && type != ftFmtMemo) return escaped;
  const std::string memo = Trim(escaped);
  return memo.empty() ? memo : std::string(kCDataOpen) + memo + std::string(kCDataClose);
}

void KsMember::SetXmlText(const std::string& text) {
  if (text.empty()) return;
  const uint8_t type = GetFieldType() & kTypeMask;
  const std::string s = WrittenText(text);
  double time = 0;
  switch (type) {
    case ftDate:
      SetAsDateTime(ReadDate(s));
      break;
    case ftTime:
      SetAsDateTime(ReadTime(s, time) ? time : 0);
      break;
    case ftDateTime:
      SetAsDateTime(ReadDateTime(s));
      break;
    default:
      SetAsString(IsBinaryOrCursor(type) ? std::string() : s);
      break;
  }
}

size_t WholeXmlTextCount(const KsMember& member) {
  switch (member.Value.Kind()) {
    case KsVarKind::Empty:
    case KsVarKind::Null:
    case KsVarKind::Pointer:
      return 0;
    case KsVarKind::StringList:
      return member.Value.List().size();
    default:
      return 1;
  }
}

void AppendWholeXmlText(std::string& out, const KsMember& member, size_t i) {
  const Variant& value = member.Value;
  char number[40];
  switch (value.Kind()) {
    case KsVarKind::Empty:
    case KsVarKind::Null:
    case KsVarKind::Pointer:
      return;
    case KsVarKind::StringList:
      AppendXmlEscaped(out, value.List()[i]);
      return;
    case KsVarKind::Integer:
      out.append(number, std::to_chars(number, number + sizeof number, value.ToInteger()).ptr);
      return;
    case KsVarKind::Boolean:
      out += value.ToBoolean() ? '1' : '0';
      return;
    case KsVarKind::Float:
    case KsVarKind::Currency:
    case KsVarKind::DateTime:
      out.append(number, std::to_chars(number, number + sizeof number, value.ToFloat()).ptr);
      return;
    case KsVarKind::String:
      break;
  }
  const uint8_t type = member.GetFieldType() & kTypeMask;
  // A long text keeps its blanks and line ends, which parsed text would not.
  const bool cdata = type == ftMemo || type == ftFmtMemo;
  if (cdata) out += kCDataOpen;
  AppendXmlEscaped(out, value.Str());
  if (cdata) out += kCDataClose;
}

std::string KsMember::WholeXmlKind() const {
  switch (Value.Kind()) {
    case KsVarKind::Integer:
      return "I";
    case KsVarKind::Boolean:
      return "B";
    case KsVarKind::Float:
      return "F";
    case KsVarKind::Currency:
      return "C";
    case KsVarKind::DateTime:
      return "D";
    default:
      return "";
  }
}

bool KsMember::AddWholeXmlText(const std::string& text, bool cdata, const std::string& kind,
                               TextPool* pool) {
  if (!kind.empty()) {
    const char* end = text.data() + text.size();
    if (kind == "I") {
      int32_t i = 0;
      const auto r = std::from_chars(text.data(), end, i);
      if (r.ec != std::errc() || r.ptr != end) return false;
      SetValue(Variant(i));
      return true;
    }
    if (kind == "B") {
      if (text != "0" && text != "1") return false;
      SetValue(Variant(text == "1"));
      return true;
    }
    double d = 0;
    const auto r = std::from_chars(text.data(), end, d);
    if (r.ec != std::errc() || r.ptr != end) return false;
    if (kind == "F")
      SetValue(Variant(d));
    else if (kind == "C")
      SetValue(Variant::FromCurrency(d));
    else if (kind == "D")
      SetValue(Variant::FromDateTime(d));
    else
      return false;
    return true;
  }
  const std::string s = cdata ? XmlUnescape(text, true) : WrittenText(text);
  if (!FieldDesc || !FieldDesc->IsMultiValue()) {
    SetValue(Variant(std::string_view(s), pool));
    return true;
  }
  KsStringList entries;
  if (Value.Kind() == KsVarKind::StringList) entries = Value.List();
  entries.push_back(s);
  SetValue(Variant::FromStringList(std::move(entries)));
  return true;
}
