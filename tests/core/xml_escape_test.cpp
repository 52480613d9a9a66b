#include "core/xml_escape.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Escaped {
  char plain;
  const char* written;
};

// Every byte that is escaped, and bytes above 127 that stay, at every place
// of a text long enough to be read eight bytes at a time: each comes out as
// written, the text around it unchanged.
TEST(XmlEscape, EveryMarkAtEveryPlace) {
  const Escaped cases[] = {
      {'&', "&amp;"},       {'"', "&quot;"},      {'\'', "&apos;"},     {'<', "&lt;"},
      {'>', "&gt;"},        {'\xE4', "\xC3\xA4"}, {'\xC4', "\xC3\x84"}, {'\xF6', "\xC3\xB6"},
      {'\xD6', "\xC3\x96"}, {'\xFC', "\xC3\xBC"}, {'\xDC', "\xC3\x9C"}, {'\xDF', "\xC3\x9F"},
      {'\x80', "\x80"},     {'\xE9', "\xE9"},     {'\xC3', "\xC3"},     {'\x7F', "\x7F"},
      {'\t', "\t"},         {'%', "%"},
  };
  for (const Escaped& c : cases)
    for (size_t at = 0; at < 19; ++at) {
      const std::string before(at, 'a'), after(18 - at, 'z');
      const std::string text = before + c.plain + after;
      std::string out = "schon da:";
      AppendXmlEscaped(out, text);
      EXPECT_EQ(out, "schon da:" + before + c.written + after) << int(c.plain) << " at " << at;
      EXPECT_EQ(XmlEscape(text), before + c.written + after);
      EXPECT_EQ(XmlUnescape(XmlEscape(text), true), text);
    }
  EXPECT_EQ(XmlEscape("Br\xFC"
                      "cke <B\xE4ume> & \"Gr\xFC\xDF"
                      "e\" \xE4\xF6\xFC\xC4\xD6\xDC\xDF"),
            "Br\xC3\xBC"
            "cke &lt;B\xC3\xA4ume&gt; &amp; &quot;Gr\xC3\xBC\xC3\x9F"
            "e&quot; "
            "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F");
  EXPECT_EQ(XmlEscape(""), "");
}

}  // namespace
