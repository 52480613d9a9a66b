#pragma once

#include <QIcon>
#include <QStringList>

// Icons of the window's commands: the desktop theme's where it has one, else
// a drawn picture of the same thing, so the tool bar never shows a stand-in
// of another meaning.
enum class TActionIcon { Open, Save, Print, Help, PreviousEmpty, NextEmpty };

// The theme's names of the icon, the preferred first ("document-open" and so on).
QStringList ThemeIconNames(TActionIcon icon);
QIcon ActionIcon(TActionIcon icon);
