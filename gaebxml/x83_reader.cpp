#include "gaebxml/x83_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <pugixml.hpp>
#include <vector>

#include "gaebxml/x83_check.h"
#include "gaebxml/x83_mapper.h"
#include "gaebxml/x84_answers.h"
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

// "1 Byte ... ist", "2 Bytes ... sind".
std::string Counted(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string ReplacementWarning(const X83Result& result) {
  std::vector<std::string> sentences;
  if (result.ReplacedCharacters > 0)
    sentences.push_back(std::to_string(result.ReplacedCharacters) +
                        " Zeichen der Datei gibt es im Zeichensatz Windows-1252 nicht");
  if (result.InvalidBytes > 0)
    sentences.push_back(Counted(result.InvalidBytes, "Byte der Datei ist", "Bytes der Datei sind") +
                        " kein g\xFCltiges UTF-8");
  if (result.ControlCharacters > 0)
    sentences.push_back(Counted(result.ControlCharacters, "Steuerzeichen der Datei ist",
                                "Steuerzeichen der Datei sind") +
                        " in XML nicht erlaubt");
  std::string warning;
  for (size_t i = 0; i < sentences.size(); ++i) {
    const size_t rest = sentences.size() - i - 1;
    warning += sentences[i] + (rest == 0 ? "" : rest == 1 ? " und " : ", ");
  }
  if (!warning.empty()) warning += "; sie wurden durch \"?\" ersetzt.";
  return warning;
}

}  // namespace

X83Result ReadX83(XmlSource source, GaebDocument& doc) {
  X83Result result;
  pugi::xml_document document;
  if (!ParseXml(document, source, result.Error)) return result;
  std::string versionWarning, phase;
  if (!CheckX83(document, result.Origin, phase, result.Error, versionWarning)) return result;
  result.Offer = phase == "84";
  result.CarriesTender = !result.Offer || CarriesTender(document.document_element());
  X83Mapper mapper(doc, source, result.Origin, result.Offer);
  try {
    result.Root = mapper.Map(document.document_element());
  } catch (const X83Error& e) {
    result.Error = e.what();
    return result;
  }
  result.ReplacedCharacters = mapper.Text().Replaced();
  result.InvalidBytes = mapper.Text().InvalidBytes();
  result.ControlCharacters = mapper.Text().ControlCharacters();
  result.Warning = ReplacementWarning(result);
  if (!versionWarning.empty())
    result.Warning += (result.Warning.empty() ? "" : " ") + versionWarning;
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
