#include "gaeb/gaeb_import.h"

#include <string>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_classes.h"
#include "util/same_text.h"

bool ScanGaebHeader(KsFileReadGaeb00& reader) {
  std::string name, value;
  TTokenKind kind;
  for (;;) {
    reader.ReadToken(name, kind, value);
    if (kind == tkEof) return false;
    if (kind == tkBegin && SameText(name, "VERGABE")) return true;
    if (kind == tkEnd && SameText(name, "GAEB")) return false;
    if (SameText(name, "ZEICHENSATZ")) reader.ConvertOem = value == "OEM";
  }
}

std::unique_ptr<KsGGAEB> ReadGaebRoot(GaebDocument& doc) {
  KsFileReadGaeb00* reader = doc.Reader();
  if (!reader || !reader->Rewind(0)) return nullptr;
  reader->ReadAhead();
  // Ends reading ahead however reading ends, so the thread is not kept.
  struct AheadScope {
    KsFileReadGaeb00& reader;
    ~AheadScope() { reader.StopReadingAhead(); }
  } scope{*reader};
  std::string name, value;
  TTokenKind kind;
  do {
    reader->ReadToken(name, kind, value);
    if (kind == tkEof) return nullptr;
  } while (!(kind == tkBegin && SameText(name, "GAEB")));
  std::unique_ptr<KsCustomObj> created(GaebClasses().CreateObj(
      "GAEBGAEB", nullptr, {Variant("GAEBImp00"), DocumentParam(&doc)}, nullptr));
  auto* element = dynamic_cast<KsGGAEB*>(created.get());
  if (!element) return nullptr;
  created.release();
  std::unique_ptr<KsGGAEB> root(element);
  root->ReadBody();
  return root;
}
