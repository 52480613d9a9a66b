#pragma once

#include <QString>
#include <string>

// Text of the program (Windows-1252) <-> the engine's Unicode strings.
QString ToQString(const std::string& text);
std::string FromQString(const QString& text);
