#include "gaebxml/x83_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <pugixml.hpp>
#include <vector>

#include "gaebxml/x83_check.h"
#include "gaebxml/x83_mapper.h"
#include "gaebxml/x83_piecewise.h"
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

void AddWarnings(X83Result& result, const std::string& versionWarning) {
  result.Warning = ReplacementWarning(result);
  if (!versionWarning.empty())
    result.Warning += (result.Warning.empty() ? "" : " ") + versionWarning;
}

// Pieces of a file as it is read; the block is reused.
class FilePieces {
 public:
  static constexpr size_t kBlockSize = size_t{1} << 20;
  explicit FilePieces(const std::string& path)
      : file_(std::make_shared<FileCloser>(std::fopen(path.c_str(), "rb"))),
        block_(std::make_shared<std::vector<char>>(kBlockSize)) {}
  bool Open() const { return file_->get() != nullptr; }
  // Empty at the end and after a read error (the whole reading then reports it).
  std::string_view operator()() const {
    const size_t n = std::fread(block_->data(), 1, block_->size(), file_->get());
    return std::string_view(block_->data(), std::ferror(file_->get()) ? 0 : n);
  }

 private:
  std::shared_ptr<FileCloser> file_;
  std::shared_ptr<std::vector<char>> block_;
};

}  // namespace

X83Result ReadX83Document(XmlSource source, GaebDocument& doc) {
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
  AddWarnings(result, versionWarning);
  return result;
}

X83Result ReadX83(const X83Input& input, GaebDocument& doc) {
  X83Result result;
  std::string versionWarning;
  if (ReadX83Piecewise(input.Pieces, doc, result, versionWarning)) {
    AddWarnings(result, versionWarning);
    return result;
  }
  XmlSource source;
  source.Buffer = input.Whole();
  source.Original = input.Whole;
  return ReadX83Document(std::move(source), doc);
}

X83Result ReadX83File(const std::string& path, GaebDocument& doc) {
  const auto whole = [path] {
    std::string bytes, ignored;
    ReadWholeFile(path, bytes, ignored);
    return bytes;
  };
  const FilePieces pieces(path);
  std::string error;
  if (!pieces.Open()) {
    X83Result failed;
    failed.Error = "Die Datei kann nicht gelesen werden: " + std::string(std::strerror(errno));
    return failed;
  }
  X83Result result;
  std::string versionWarning;
  if (ReadX83Piecewise(pieces, doc, result, versionWarning)) {
    AddWarnings(result, versionWarning);
    return result;
  }
  XmlSource source;
  if (!ReadWholeFile(path, source.Buffer, error)) {
    X83Result failed;
    failed.Error = "Die Datei kann nicht gelesen werden: " + error;
    return failed;
  }
  source.Original = whole;
  return ReadX83Document(std::move(source), doc);
}

X83Result ReadX83(std::string_view bytes, GaebDocument& doc) {
  X83Input input;
  input.Pieces = [bytes, given = false]() mutable {
    if (given) return std::string_view();
    given = true;
    return bytes;
  };
  input.Whole = [bytes] { return std::string(bytes); };
  return ReadX83(input, doc);
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
