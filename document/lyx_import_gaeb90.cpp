#include <utility>

#include "document/lyx_obj.h"
#include "gaeb/file_read_gaeb00.h"
#include "gaeb90/gaeb90_file.h"

bool KsLyxObj::ImportGaeb90() {
  return ReadAnnounced([this] { return ReadGaeb90Tree(); });
}

bool KsLyxObj::ReadGaeb90Tree() {
  std::string bytes;
  reader_->ReadRest(bytes);
  Gaeb90Read read = ReadGaeb90(bytes, reader_->FileName(), *this);
  GaebRoot = std::move(read.Root);
  gaeb90Origin_ = std::make_unique<Gaeb90Origin>(std::move(read.Origin));
  ImportWarning = std::move(read.Warning);
  CompleteTree();
  return true;
}
