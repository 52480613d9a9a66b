#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <pugixml.hpp>
#include <sstream>
#include <string>
#include <string_view>

#include "fuzz/cut_check.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_totals.h"
#include "gaebxml/x83_reader.h"
#include "gaebxml/x84_writer.h"
#include "util/entry_error.h"

namespace {

class FuzzDocument : public GaebDocument {
 public:
  KsFileReadGaeb00* Reader() override { return nullptr; }
  void NotifyObservers(int) override {}
  bool RecalcAll() const override { return true; }
};

void Fail(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

bool IsReadVersion(const std::string& v) {
  return v == "3.0" || v == "3.1" || v == "3.2" || v == "3.3";
}

// The answer is XML whatever the tender held: no character XML 1.0 cannot
// carry, well-formed, in the phase 84 namespace of the version read, which it
// names.
void CheckAnswer(const std::string& x84, const std::string& version) {
  for (const char c : x84) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r')
      Fail("The X84 holds a control character XML does not allow.");
  }
  pugi::xml_document answer;
  if (!answer.load_buffer(x84.data(), x84.size())) Fail("The X84 is no well-formed XML.");
  const pugi::xml_node gaeb = answer.document_element();
  const std::string expected =
      std::string(kGaebXmlNamespacePrefix) + (version == "3.0" ? "200407" : "DA84/" + version);
  if (gaeb.attribute("xmlns").value() != expected)
    Fail("The X84 is not in the namespace of the version read.");
  if (gaeb.child("GAEBInfo").child_value("Version") != version)
    Fail("The X84 names another version than its namespace.");
}

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == ':' || c == '.' || c == '-' || static_cast<unsigned char>(c) >= 0x80;
}

// Where the end tag of the root element `root` begins, when it is the last
// thing in the bytes (blanks aside); npos when the file ends with something
// else (a comment or processing instruction after the root).
size_t RootEndTag(std::string_view bytes, std::string_view root) {
  size_t end = bytes.size();
  while (end > 0 && IsXmlBlank(bytes[end - 1])) --end;
  if (end == 0 || bytes[end - 1] != '>') return std::string_view::npos;
  const size_t start = bytes.rfind("</", end - 1);
  if (start == std::string_view::npos) return start;
  std::string_view name = bytes.substr(start + 2, end - 1 - (start + 2));
  while (!name.empty() && IsXmlBlank(name.back())) name.remove_suffix(1);
  for (char c : name)
    if (!IsNameChar(c)) return std::string_view::npos;
  return name == root ? start : std::string_view::npos;
}

// A tender read whole: no cut before the ">" of its root's end tag is read.
void CheckCutsOfTheRootEnd(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  pugi::xml_document parsed;
  if (!parsed.load_buffer(data, size, pugi::parse_minimal)) Fail("A tender read is no XML.");
  const size_t start = RootEndTag(bytes, parsed.document_element().name());
  if (start == std::string_view::npos) return;
  CheckCutsAreRefused(data, size, start, bytes.find('>', start), [&](size_t cut) {
    FuzzDocument doc;
    return ReadX83(bytes.substr(0, cut), doc).Root != nullptr;
  });
}

// The whole tree as text, "" when it cannot be written.
std::string TreeText(const X83Result& result) {
  if (!result.Root) return {};
  std::ostringstream out;
  try {
    result.Root->SaveWholeToXML(out, 0);
  } catch (const std::exception& e) {
    return std::string("(") + e.what() + ")";
  }
  return out.str();
}

// Read piece by piece, in pieces as small as the first byte says so that
// every tag and text is cut somewhere, the bytes must give what the whole
// document's reading gives: the same tree, counts, warnings and refusal.
X83Result ReadBothWays(std::string_view bytes, GaebDocument& doc) {
  const size_t piece = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes[0]) % 64;
  X83Input input;
  input.Pieces = [bytes, piece, at = size_t{0}]() mutable {
    const std::string_view next = bytes.substr(std::min(at, bytes.size()), piece);
    at += next.size();
    return next;
  };
  input.Whole = [bytes] { return std::string(bytes); };
  X83Result piecewise = ReadX83(input, doc);
  XmlSource source;
  source.Buffer.assign(bytes);
  source.Original = input.Whole;
  const X83Result whole = ReadX83Document(std::move(source), doc);
  if (piecewise.Error != whole.Error || piecewise.Warning != whole.Warning ||
      piecewise.Offer != whole.Offer || piecewise.CarriesTender != whole.CarriesTender ||
      piecewise.ReplacedCharacters != whole.ReplacedCharacters ||
      piecewise.InvalidBytes != whole.InvalidBytes ||
      piecewise.ControlCharacters != whole.ControlCharacters ||
      piecewise.Origin.Namespace != whole.Origin.Namespace ||
      piecewise.Origin.Version != whole.Origin.Version ||
      piecewise.Origin.VersDate != whole.Origin.VersDate ||
      piecewise.Origin.Breakdown.size() != whole.Origin.Breakdown.size() ||
      TreeText(piecewise) != TreeText(whole))
    Fail("Read piece by piece, the file gives another result than read whole.");
  return piecewise;
}

}  // namespace

// Reads the bytes as an X83 tender (both ways, which must agree) and, when it
// is taken, recalculates it as the document would after an import, writes
// its answer and checks it; and no cut of it is read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool catalogue = [] {
    AddPositionDisplayFields();
    return true;
  }();
  (void)catalogue;
  FuzzDocument doc;
  const X83Result result =
      ReadBothWays(std::string_view(reinterpret_cast<const char*>(data), size), doc);
  if (!result.Root) return 0;
  try {
    if (KsGAEBObj* vergabe = result.Root->Child("VERGABE"))
      if (KsGAEBObj* lv = vergabe->Child("LV")) CalcAll(*lv);
  } catch (const EntryError&) {
    // An amount beyond the limit ends the import, as it should.
    return 0;
  }
  if (!IsReadVersion(result.Origin.Version)) Fail("A tender of another version was read.");
  std::ostringstream out;
  WriteX84(out, *result.Root, result.Origin, {"2025-06-02", "14:05:00"});
  CheckAnswer(out.str(), result.Origin.Version);
  CheckCutsOfTheRootEnd(data, size);
  return 0;
}
