#include "archive/text_key.h"

#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

// Lower case, umlauts and ß spelled out, accents dropped; every other
// character that is no letter or digit parts words ("." stays for the
// abbreviations and is dropped with them).
std::string Folded(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') {
      out += static_cast<char>(c - 'A' + 'a');
    } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.') {
      out += static_cast<char>(c);
    } else if (c == 0xE4 || c == 0xC4) {
      out += "ae";
    } else if (c == 0xF6 || c == 0xD6) {
      out += "oe";
    } else if (c == 0xFC || c == 0xDC) {
      out += "ue";
    } else if (c == 0xDF) {
      out += "ss";
    } else if (c == 0xB2) {
      out += '2';
    } else if (c == 0xB3) {
      out += '3';
    } else if ((c >= 0xE0 && c <= 0xE5) || (c >= 0xC0 && c <= 0xC5)) {
      out += 'a';
    } else if ((c >= 0xE8 && c <= 0xEB) || (c >= 0xC8 && c <= 0xCB)) {
      out += 'e';
    } else if ((c >= 0xF2 && c <= 0xF5) || (c >= 0xD2 && c <= 0xD5)) {
      out += 'o';
    } else if ((c >= 0xEC && c <= 0xEF) || (c >= 0xCC && c <= 0xCF)) {
      out += 'i';
    } else if ((c >= 0xF9 && c <= 0xFB) || (c >= 0xD9 && c <= 0xDB)) {
      out += 'u';
    } else {
      out += ' ';
    }
  }
  return out;
}

std::vector<std::string> Words(const std::string& folded) {
  std::vector<std::string> words;
  std::string word;
  for (size_t i = 0; i <= folded.size(); ++i) {
    const char c = i < folded.size() ? folded[i] : ' ';
    if (c == ' ') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else {
      // "DN150" is "DN 150": where letters meet digits a new word begins.
      const auto digit = [](char x) { return x >= '0' && x <= '9'; };
      if (!word.empty() && c != '.' && word.back() != '.' && digit(c) != digit(word.back())) {
        words.push_back(std::move(word));
        word.clear();
      }
      word += c;
      // "herst.,vorh." are two words: a dot ends a word that a letter follows.
      if (c == '.' && i + 1 < folded.size() && folded[i + 1] != '.' && folded[i + 1] != ' ' &&
          !(folded[i + 1] >= '0' && folded[i + 1] <= '9')) {
        words.push_back(std::move(word));
        word.clear();
      }
    }
  }
  return words;
}

// Abbreviations of position texts, written without their dot.
const std::unordered_map<std::string_view, std::string_view>& Abbreviations() {
  static const std::unordered_map<std::string_view, std::string_view> table = {
      {"herst", "herstellen"},
      {"herstell", "herstellen"},
      {"vorh", "vorhalten"},
      {"vorhalt", "vorhalten"},
      {"entf", "entfernen"},
      {"beseit", "beseitigen"},
      {"lief", "liefern"},
      {"einb", "einbauen"},
      {"ausb", "ausbauen"},
      {"abbr", "abbrechen"},
      {"demont", "demontieren"},
      {"mont", "montieren"},
      {"anschl", "anschliessen"},
      {"transp", "transportieren"},
      {"verl", "verlegen"},
      {"abtr", "abtragen"},
      {"lag", "lagern"},
      {"wiederverw", "wiederverwenden"},
      {"entsorg", "entsorgen"},
      {"bzw", ""},
      {"ca", ""},
      {"u", ""},
      {"inkl", ""},
      {"einschl", ""},
      {"incl", ""},
      {"mit", ""},
      {"und", ""},
      {"sowie", ""},
      {"oder", ""},
      {"d", ""},
      {"der", ""},
      {"die", ""},
      {"das", ""},
      {"des", ""},
      {"dem", ""},
      {"den", ""},
      {"zum", ""},
      {"zur", ""},
      {"von", ""},
      {"vom", ""},
      {"im", ""},
      {"in", ""},
      {"fuer", ""},
      {"f", ""},
      {"ein", ""},
      {"eine", ""},
      {"einer", ""},
      {"einen", ""},
      {"auf", ""},
      {"an", ""},
      {"bis", ""}};
  return table;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string key;
  for (const std::string& w : words) {
    if (w.empty()) continue;
    if (!key.empty()) key += ' ';
    key += w;
  }
  return key;
}

}  // namespace

std::string ArchiveTextKey(const std::string& shortText) {
  std::vector<std::string> words = Words(Folded(shortText));
  for (std::string& word : words) {
    while (!word.empty() && word.back() == '.') word.pop_back();
    while (!word.empty() && word.front() == '.') word.erase(0, 1);
    const auto found = Abbreviations().find(word);
    if (found != Abbreviations().end()) word = std::string(found->second);
  }
  return Joined(words);
}

std::string ArchiveUnitKey(const std::string& unit) {
  std::string key;
  for (const char c : Folded(unit))
    if (c != ' ' && c != '.') key += c;
  static const std::unordered_map<std::string_view, std::string_view> kUnits = {
      {"qm", "m2"},  {"cbm", "m3"},    {"lfm", "m"},         {"lfdm", "m"},     {"stck", "st"},
      {"stk", "st"}, {"stueck", "st"}, {"pauschal", "psch"}, {"pschl", "psch"}, {"pau", "psch"},
      {"std", "h"},  {"stunde", "h"},  {"stunden", "h"},     {"tonne", "t"},    {"to", "t"},
      {"ltr", "l"},  {"liter", "l"}};
  if (const auto found = kUnits.find(key); found != kUnits.end()) return std::string(found->second);
  return key;
}
