#include <exception>
#include <utility>

#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaebxml/x83_reader.h"

bool KsLyxObj::ImportXml() {
  NotifyObservers(lcReadStart);
  bool result = false;
  try {
    result = ReadXmlTree();
  } catch (const std::exception& e) {
    LastError = e.what();
  }
  if (!result) ClearReferences();
  NotifyObservers(lcReadEnd);
  return result;
}

bool KsLyxObj::ReadXmlTree() {
  XmlSource source;
  reader_->ReadRest(source.Buffer);
  // Messages that name a line count in the file's own bytes, read again.
  source.Original = [this] {
    std::string bytes;
    if (reader_->Rewind(0)) reader_->ReadRest(bytes);
    return bytes;
  };
  X83Result read = ReadX83(std::move(source), *this);
  if (!read.Root) {
    LastError = read.Error;
    return false;
  }
  GaebRoot = std::move(read.Root);
  xmlOrigin_ = std::make_unique<GaebXmlOrigin>(std::move(read.Origin));
  ImportWarning = std::move(read.Warning);
  BindReferences();
  DetectEpBreakdown();
  RecalculateAll();
  return true;
}
