#pragma once

#include <string>
#include <string_view>

// Plain text of a rich-text long text, Windows-1252 in and out. Text containing
// "{\rtf" is read as RTF: paragraph, line, page and table-row ends become
// CR LF (none at the end of the text). Other text is returned unchanged.
// Never fails: malformed RTF yields the text that could be read.
std::string RtfToPlain(std::string_view text);
// Whether RtfToPlain reads `text` as RTF; other text it returns unchanged.
bool IsRtf(std::string_view text);
