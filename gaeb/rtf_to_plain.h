#pragma once

#include <string>

// Plain text of a rich-text long text, Windows-1252 in and out. Text containing
// "{\rtf" is read as RTF and its paragraphs are joined without any separator;
// other text is returned unchanged. Never fails: malformed RTF yields the text
// that could be read.
std::string RtfToPlain(const std::string& text);
