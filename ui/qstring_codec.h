#pragma once

#include <QString>
#include <string>

// The window's edge between the program's Windows-1252 text and Qt's Unicode.
// Latin-1 would be wrong: 0x80-0x9F hold the euro sign, dashes and quotes.
QString FromCp1252(const std::string& text);
std::string ToCp1252(const QString& text);
