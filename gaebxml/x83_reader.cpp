#include "gaebxml/x83_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <pugixml.hpp>

#include "gaebxml/x83_check.h"
#include "gaebxml/x83_mapper.h"
#include "gaebxml/xml_parse.h"

namespace {

class FileCloser {
 public:
  explicit FileCloser(std::FILE* f) : f_(f) {}
  ~FileCloser() {
    if (f_) std::fclose(f_);
  }
  FileCloser(const FileCloser&) = delete;
  FileCloser& operator=(const FileCloser&) = delete;
  std::FILE* get() const { return f_; }

 private:
  std::FILE* f_;
};

// The whole file, or false with the system's reason.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  const FileCloser file(std::fopen(path.c_str(), "rb"));
  if (!file.get()) {
    error = std::strerror(errno);
    return false;
  }
  bytes.clear();
  char block[1 << 16];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, file.get())) > 0) bytes.append(block, n);
  if (std::ferror(file.get())) {
    error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

X83Result ReadX83(XmlSource source, GaebDocument& doc) {
  X83Result result;
  pugi::xml_document document;
  if (!ParseXml(document, source, result.Error)) return result;
  if (!CheckX83(document, result.Origin, result.Error)) return result;
  X83Mapper mapper(doc, source, result.Origin);
  try {
    result.Root = mapper.Map(document.document_element());
  } catch (const X83Error& e) {
    result.Error = e.what();
  }
  result.ReplacedCharacters = mapper.ReplacedCharacters();
  return result;
}

X83Result ReadX83File(const std::string& path, GaebDocument& doc) {
  XmlSource source;
  std::string error;
  if (!ReadWholeFile(path, source.Buffer, error)) {
    X83Result failed;
    failed.Error = "Die Datei kann nicht gelesen werden: " + error;
    return failed;
  }
  source.Original = [path] {
    std::string bytes, ignored;
    ReadWholeFile(path, bytes, ignored);
    return bytes;
  };
  return ReadX83(std::move(source), doc);
}

X83Result ReadX83(std::string_view bytes, GaebDocument& doc) {
  XmlSource source;
  source.Buffer.assign(bytes);
  source.Original = [bytes] { return std::string(bytes); };
  return ReadX83(std::move(source), doc);
}

bool LooksLikeXml(std::string_view head) {
  for (std::string_view bom : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
    if (head.substr(0, bom.size()) == bom) {
      head.remove_prefix(bom.size());
      break;
    }
  for (char c : head) {
    if (c == '<') return true;
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n' && c != '\0') return false;
  }
  return false;
}

bool IsXmlFile(const std::string& path) {
  const FileCloser file(std::fopen(path.c_str(), "rb"));
  if (!file.get()) return false;
  char head[256];
  const size_t n = std::fread(head, 1, sizeof head, file.get());
  return LooksLikeXml(std::string_view(head, n));
}
