#include "gaebxml/text_complements.h"

#include "gaeb/gaeb_obj.h"
#include "util/entry_error.h"
#include "util/trim.h"

namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1)
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace

std::vector<TextComplement> BidderComplements(const KsGAEBObj& position) {
  std::vector<TextComplement> complements;
  const std::string held = position.Text(kXmlComplementsMember);
  if (held.empty()) return complements;
  for (const std::string& line : Split(held, '\n')) {
    std::vector<std::string> parts = Split(line, '\t');
    parts.resize(4);
    complements.push_back({parts[0], parts[1], parts[2], parts[3]});
  }
  return complements;
}

void SetBidderComplements(KsGAEBObj& position, const std::vector<TextComplement>& complements) {
  KsMember* member = position.Members.FindOrMake(kXmlComplementsMember);
  if (!member) return;
  std::string held;
  for (const TextComplement& c : complements) {
    if (!held.empty()) held += '\n';
    held += c.MarkLbl + '\t' + c.Caption + '\t' + c.Tail + '\t' + c.Answer;
  }
  member->SetAsString(held);
}

bool AnswerComplement(KsGAEBObj& position, const std::string& markLbl, const std::string& answer) {
  const std::string text = Trim(answer);
  if (text.find_first_of("\t\r\n") != std::string::npos)
    throw EntryError(
        "Eine Texterg\xE4nzung ist eine Zeile; Tabulatoren und Zeilenumbr\xFC"
        "che sind darin nicht m\xF6glich.");
  if (text.size() > kComplementAnswerLimit)
    throw EntryError(
        "Eine Texterg\xE4nzung hat h\xF6"
        "chstens " +
        std::to_string(kComplementAnswerLimit) + " Zeichen, diese " + std::to_string(text.size()) +
        ".");
  std::vector<TextComplement> complements = BidderComplements(position);
  for (TextComplement& c : complements)
    if (c.MarkLbl == Trim(markLbl)) {
      c.Answer = text;
      SetBidderComplements(position, complements);
      return true;
    }
  return false;
}

std::string ComplementLine(const TextComplement& complement) {
  std::string line = complement.Caption;
  const std::string blank = complement.Answer.empty() ? "..." : complement.Answer;
  line += (line.empty() ? "" : " ") + blank;
  if (!complement.Tail.empty()) line += " " + complement.Tail;
  return line;
}
