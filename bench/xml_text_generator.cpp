#include "bench/xml_text_generator.h"

#include <array>
#include <random>

namespace {

constexpr std::array<const char*, 12> kWords = {
    "Baustelleneinrichtung",
    "f\xC3\xBCr",
    "s\xC3\xA4mtliche",
    "Leistungen",
    "einrichten",
    "vorhalten",
    "r\xC3\xA4umen",
    "Arbeitsb\xC3\xBChne",
    "Fu\xC3\x9F"
    "boden",
    "Ger\xC3\xA4t",
    "Stahlbeton",
    "&amp;",
};

std::string Sentence(std::mt19937_64& random, int words) {
  std::string text;
  for (int i = 0; i < words; ++i) {
    if (i > 0) text += ' ';
    text += kWords[random() % kWords.size()];
  }
  return text;
}

}  // namespace

std::string GenerateXmlText(size_t bytes, uint64_t seed) {
  std::mt19937_64 random(seed);
  std::string xml;
  xml.reserve(bytes + 4096);
  xml +=
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE GAEB [\n"
      "  <!ENTITY firma \"M&#252;ller &amp; S&#246;hne\">\n"
      "  <!ATTLIST Item Unit CDATA \"St\">\n"
      "]>\n"
      "<GAEB xmlns=\"http://www.gaeb.de/GAEB_DA_XML/DA83/3.3\">\n"
      " <Award>\n  <BoQ ID=\"B1\">\n   <BoQBody>\n";
  for (long item = 1; xml.size() < bytes; ++item) {
    const std::string id = std::to_string(item);
    xml += "    <Item ID=\"I" + id + "\" RNoPart=\"" + std::to_string(item % 1000) + "\">\n";
    xml += "     <Qty>" + std::to_string(random() % 100000) + "." +
           std::to_string(random() % 1000) + "</Qty>\n     <QU>m&#178;</QU>\n";
    xml +=
        "     <Description>\n      <CompleteText>\n       <OutlineText>\n        <OutlTxt>\n"
        "         <TextOutlTxt><span>" +
        Sentence(random, 5) +
        "</span></TextOutlTxt>\n"
        "        </OutlTxt>\n       </OutlineText>\n       <DetailTxt>\n        <Text>\n";
    const int lines = 3 + static_cast<int>(random() % 6);
    for (int line = 0; line < lines; ++line)
      xml += "         <p><span>" + Sentence(random, 8) + "</span></p>\n";
    if (item % 7 == 0) xml += "         <p><span>Hersteller: &firma;</span><br/></p>\n";
    if (item % 11 == 0) xml += "         <!-- Hinweis des Verfassers -->\n";
    if (item % 13 == 0)
      xml +=
          "         <![CDATA[Ma\xC3\x9F"
          "e < 2 m & > 1 m]]>\n";
    xml +=
        "        </Text>\n       </DetailTxt>\n      </CompleteText>\n     </Description>\n"
        "    </Item>\n";
  }
  xml += "   </BoQBody>\n  </BoQ>\n </Award>\n</GAEB>\n";
  return xml;
}
