#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "gaeb/file_read_gaeb00.h"
#include "gaeb/gaeb_catalogue.h"
#include "gaeb/gaeb_import.h"
#include "tests/support/test_document.h"
#include "tests/support/test_files.h"

// A file holding the given bytes, removed at the end of its scope.
class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    path_ = (std::filesystem::temp_directory_path() / "tarvo_reader_XXXXXX").string();
    const int fd = mkstemp(path_.data());
    if (fd < 0) throw std::runtime_error("mkstemp");
    close(fd);
    if (!WriteFile(path_, bytes)) throw std::runtime_error("write " + path_);
  }
  ~TempFile() { std::remove(path_.c_str()); }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

inline std::string RealFile(const std::string& name) {
  return std::string(TARVO_TEST_DATA_DIR) + "/real/" + name;
}

// The import of one file: the file, its reader, the document the elements
// report to, and the tree read (null when the file has no root block).
struct ImportedFile {
  explicit ImportedFile(const std::string& bytes, int blockSize = 1024)
      : ImportedFile(std::make_unique<TempFile>(bytes), blockSize) {}
  ImportedFile(std::unique_ptr<TempFile> temp, int blockSize)
      : file(std::move(temp)), reader(file->Path(), blockSize) {
    RegisterGaebDescriptors();
    AddPositionDisplayFields();
    doc.reader = &reader;
    foundVergabe = ScanGaebHeader(reader);
    root = ReadGaebRoot(doc);
  }
  static ImportedFile FromPath(const std::string& path, int blockSize = 1024) {
    return ImportedFile(std::make_unique<TempFile>(ReadFile(path)), blockSize);
  }

  std::unique_ptr<TempFile> file;
  KsFileReadGaeb00 reader;
  TestDocument doc;
  bool foundVergabe = false;
  std::unique_ptr<KsGGAEB> root;
};
