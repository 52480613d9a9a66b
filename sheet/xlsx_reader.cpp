#include <zip.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <pugixml.hpp>
#include <vector>

#include "sheet/workbook_reader.h"
#include "util/codec.h"

namespace {

// No part of a workbook of an LV comes near this; a larger one is refused
// rather than unpacked (a ZIP bomb unpacks to gigabytes).
constexpr zip_uint64_t kLargestPart = 512ull << 20;

std::string Quoted(const std::string& fileName) { return "\"" + Utf8ToCp1252(fileName) + "\""; }

struct ZipCloser {
  void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Zip = std::unique_ptr<zip_t, ZipCloser>;

class XlsxFile {
 public:
  explicit XlsxFile(const std::string& fileName) : fileName_(fileName) {
    int error = 0;
    archive_.reset(zip_open(fileName.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive_) {
      zip_error_t reason;
      zip_error_init_with_code(&reason, error);
      const std::string text = zip_error_strerror(&reason);
      zip_error_fini(&reason);
      throw SheetError("Die Arbeitsmappe " + Quoted(fileName) +
                       " ist besch\xE4"
                       "digt und kann nicht gelesen werden (ZIP-Archiv: " +
                       text + ").");
    }
  }

  bool Has(const std::string& part) const {
    return zip_name_locate(archive_.get(), part.c_str(), 0) >= 0;
  }

  std::string Part(const std::string& part) const {
    const zip_int64_t index = zip_name_locate(archive_.get(), part.c_str(), 0);
    zip_stat_t stat;
    if (index < 0 ||
        zip_stat_index(archive_.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0)
      throw Damaged(part + " fehlt");
    if (!(stat.valid & ZIP_STAT_SIZE) || stat.size > kLargestPart)
      throw Damaged(part + " ist zu gro\xDF");
    zip_file_t* file = zip_fopen_index(archive_.get(), static_cast<zip_uint64_t>(index), 0);
    if (!file)
      throw Damaged(part +
                    " kann nicht ge\xF6"
                    "ffnet werden");
    std::string content(stat.size, '\0');
    const zip_int64_t read = zip_fread(file, content.data(), stat.size);
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size)
      throw Damaged(part + " ist nicht vollst\xE4ndig lesbar");
    return content;
  }

  pugi::xml_document Xml(const std::string& part) const {
    const std::string content = Part(part);
    pugi::xml_document document;
    if (!document.load_buffer(content.data(), content.size()))
      throw Damaged(part + " ist kein lesbares XML");
    return document;
  }

  SheetError Damaged(const std::string& why) const {
    return SheetError("Die Arbeitsmappe " + Quoted(fileName_) +
                      " ist besch\xE4"
                      "digt (" +
                      Utf8ToCp1252(why) + ").");
  }

 private:
  std::string fileName_;
  Zip archive_;
};

// The name of an element without its namespace prefix.
bool Named(const pugi::xml_node& node, const char* name) {
  const char* full = node.name();
  const char* colon = std::strrchr(full, ':');
  return std::strcmp(colon ? colon + 1 : full, name) == 0;
}

pugi::xml_node Child(const pugi::xml_node& node, const char* name) {
  for (const pugi::xml_node child : node.children())
    if (Named(child, name)) return child;
  return pugi::xml_node();
}

// An attribute by its name without prefix ("id" finds "r:id").
const char* Attribute(const pugi::xml_node& node, const char* name) {
  for (const pugi::xml_attribute attribute : node.attributes()) {
    const char* full = attribute.name();
    const char* colon = std::strrchr(full, ':');
    if (std::strcmp(colon ? colon + 1 : full, name) == 0) return attribute.value();
  }
  return "";
}

// The text of a shared or inline string: its runs' texts, without phonetic hints.
std::string StringText(const pugi::xml_node& item) {
  std::string text;
  for (const pugi::xml_node child : item.children()) {
    if (Named(child, "t")) text += child.text().get();
    if (Named(child, "r")) text += Child(child, "t").text().get();
  }
  return text;
}

std::string SheetPart(const XlsxFile& file) {
  const pugi::xml_document workbook = file.Xml("xl/workbook.xml");
  const pugi::xml_node sheets = Child(Child(workbook, "workbook"), "sheets");
  pugi::xml_node chosen;
  for (const pugi::xml_node sheet : sheets.children()) {
    if (!Named(sheet, "sheet")) continue;
    if (!chosen) chosen = sheet;
    if (std::strcmp(Attribute(sheet, "name"), "LV") == 0) {
      chosen = sheet;
      break;
    }
  }
  if (!chosen) throw file.Damaged("die Mappe hat kein Tabellenblatt");
  const std::string id = Attribute(chosen, "id");
  const pugi::xml_document rels = file.Xml("xl/_rels/workbook.xml.rels");
  for (const pugi::xml_node rel : Child(rels, "Relationships").children()) {
    if (Attribute(rel, "Id") != id) continue;
    const std::string target = Attribute(rel, "Target");
    return target.rfind('/', 0) == 0 ? target.substr(1) : "xl/" + target;
  }
  throw file.Damaged("das Tabellenblatt " + std::string(Attribute(chosen, "name")) + " fehlt");
}

std::vector<std::string> SharedStrings(const XlsxFile& file) {
  std::vector<std::string> strings;
  if (!file.Has("xl/sharedStrings.xml")) return strings;
  const pugi::xml_document document = file.Xml("xl/sharedStrings.xml");
  for (const pugi::xml_node item : Child(document, "sst").children())
    if (Named(item, "si")) strings.push_back(StringText(item));
  return strings;
}

// "BC12" as 0-based column and row; false for a reference of another form.
bool ReadReference(const char* reference, int& row, int& column) {
  int c = 0, r = 0;
  const char* p = reference;
  for (; *p >= 'A' && *p <= 'Z'; ++p) c = c * 26 + (*p - 'A' + 1);
  for (; *p >= '0' && *p <= '9'; ++p) r = r * 10 + (*p - '0');
  if (*p || c == 0 || r == 0) return false;
  row = r - 1;
  column = c - 1;
  return true;
}

ReadCell CellOf(const pugi::xml_node& c, const std::vector<std::string>& strings,
                const XlsxFile& file) {
  const std::string type = Attribute(c, "t");
  const char* value = Child(c, "v").text().get();
  ReadCell cell;
  if (const pugi::xml_node formula = Child(c, "f"); formula && !Child(c, "v")) {
    cell.Text = "=" + Utf8ToCp1252(formula.text().get());
    cell.Uncomputed = true;
  } else if (type == "s") {
    const unsigned long index = std::strtoul(value, nullptr, 10);
    if (index >= strings.size()) throw file.Damaged("ein Text fehlt in xl/sharedStrings.xml");
    cell.Text = Utf8ToCp1252(strings[index]);
  } else if (type == "inlineStr") {
    cell.Text = Utf8ToCp1252(StringText(Child(c, "is")));
  } else if (type == "str" || type == "e" || type == "b") {
    cell.Text = Utf8ToCp1252(value);
  } else if (*value) {
    char* end = nullptr;
    cell.Number = std::strtod(value, &end);
    cell.IsNumber = end && *end == '\0';
    cell.Text = value;
  }
  return cell;
}

}  // namespace

ReadSheet ReadXlsx(const std::string& fileName) {
  const XlsxFile file(fileName);
  if (!file.Has("xl/workbook.xml"))
    throw SheetError("Die Datei " + Quoted(fileName) +
                     " ist ein ZIP-Archiv, aber keine Excel-Arbeitsmappe (.xlsx).");
  const std::vector<std::string> strings = SharedStrings(file);
  const pugi::xml_document sheet = file.Xml(SheetPart(file));
  ReadSheet result;
  int row = -1;
  for (const pugi::xml_node r : Child(Child(sheet, "worksheet"), "sheetData").children()) {
    if (!Named(r, "row")) continue;
    const char* number = Attribute(r, "r");
    row = *number ? std::atoi(number) - 1 : row + 1;
    int column = -1;
    for (const pugi::xml_node c : r.children()) {
      if (!Named(c, "c")) continue;
      int cellRow = row;
      if (const char* reference = Attribute(c, "r"); !*reference) {
        ++column;
      } else if (!ReadReference(reference, cellRow, column)) {
        throw file.Damaged("Zellbezug " + std::string(reference));
      }
      ReadCell cell = CellOf(c, strings, file);
      if (!cell.Text.empty()) result.Rows[cellRow][column] = std::move(cell);
    }
  }
  return result;
}
