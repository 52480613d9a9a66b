#pragma once

#include <QString>
#include <QStringList>

// The tender a desktop or a shell asks the program to open: the last
// argument after the program's name that is no option. Options begin with
// "-"; an argument whose second character is "O" names the resource library
// unless it names an existing file ("/opt/lv.d83"). Empty when there is none;
// otherwise the absolute path.
QString FileArgument(const QStringList& arguments);
