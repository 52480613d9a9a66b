#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "xml/xml_parser.h"

namespace {

// A private folder with the document and the entity files it may name.
struct EntityFolder {
  std::string dir;
  EntityFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "tarvo-fuzz-xml-XXXXXX").string();
    if (mkdtemp(pattern.data())) dir = pattern;
    std::filesystem::create_directories(dir + "/sub");
    Write("e.ent", "<e a='&amp;'>t&#228;<![CDATA[c]]></e>");
    Write("d.dtd", "<!ENTITY x 'y&e;'><!ENTITY % p SYSTEM 'sub/p.ent'>%p;<!ATTLIST a b CDATA 'c'>");
    Write("sub/p.ent", "<!ENTITY q SYSTEM 'e.ent'><!ELEMENT a ANY>");
  }
  ~EntityFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  std::string Write(const std::string& name, const std::string& text) const {
    const std::string path = dir + "/" + name;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
      std::fwrite(text.data(), 1, text.size(), f);
      std::fclose(f);
    }
    return path;
  }
};

// Reads every part; aborts when a part breaks what every caller relies on.
void ScanAll(TXmlParser& parser) {
  while (parser.NextPart()) {
    if (!parser.PartBegin() || !parser.PartEnd() || parser.PartKind() == pkNone ||
        parser.PartKind() > pkCData)
      std::abort();
    for (int i = 0; i < parser.PartAttributes().Count(); ++i)
      if (parser.PartAttributes().Attr(i)->Name.empty()) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const EntityFolder folder;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const bool collapse = size > 0 && (data[0] & 1);

  TXmlParser attached;
  attached.Attach(text.c_str());
  attached.CollapseSpace = collapse;
  ScanAll(attached);
  if (!attached.Malformed() && attached.PartEnd() != text.c_str() + std::strlen(text.c_str()))
    std::abort();
  // A second pass meets a document type declaration that was read already.
  // (Its parts may differ: declarations read later in the first pass are
  // known from the start.)
  attached.Restart();
  ScanAll(attached);

  TXmlParser opened;
  if (opened.Open(folder.Write("doc.xml", text))) {
    opened.CollapseSpace = !collapse;
    ScanAll(opened);
  }
  return 0;
}
