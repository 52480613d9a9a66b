#pragma once

#include <QMessageBox>

// Finishes a message box of the window: its buttons read "OK", "Ja", "Nein"
// and "Abbrechen" whether or not Qt's own translations are installed, and
// answer to the keys J, N and A; the box is wide enough for its title, which
// a narrow box would cut in its title bar.
void GermanMessageBox(QMessageBox& box);

// The width a dialog needs for its title not to be cut in the title bar.
int TitleWidth(const QWidget& dialog);
