#pragma once

#include <string>
#include <vector>

class KsGAEBObj;

// The text complements a GAEB DA XML tender leaves to the bidder
// (TextComplement Kind="Bidder"): blanks inside a position's long text that
// the offer must fill ("Fabrikat: ...", "Breite von ... cm."). A position
// keeps them, in the order of its text, in the hidden member below, one line
// each, the four parts parted by tabs: the client's mark, the text before
// and after the blank as the client wrote them, and the bidder's answer.
// None of them can hold a tab or a line break (the reader makes both blanks,
// an answer with one is refused).
inline constexpr char kXmlComplementsMember[] = "_TARVO_XML_TEXTERG";

struct TextComplement {
  std::string MarkLbl;  // the client's mark, e.g. "60"
  std::string Caption;  // text before the blank ("Breite von")
  std::string Tail;     // text after it ("cm.")
  std::string Answer;   // the bidder's entry, "" while open
  bool operator==(const TextComplement&) const = default;
};

std::vector<TextComplement> BidderComplements(const KsGAEBObj& position);
void SetBidderComplements(KsGAEBObj& position, const std::vector<TextComplement>& complements);

// Enters the bidder's answer (Windows-1252, blanks at both ends dropped; ""
// opens it again) for the complement of that mark. False when the position
// has no such complement; raises EntryError for an answer of more than one
// line or longer than kComplementAnswerLimit characters.
bool AnswerComplement(KsGAEBObj& position, const std::string& markLbl, const std::string& answer);
inline constexpr size_t kComplementAnswerLimit = 2000;

// "Breite von ... cm." with the answer or "..." in the blank.
std::string ComplementLine(const TextComplement& complement);
