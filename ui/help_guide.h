#pragma once

#include <QString>

// The user guide shown by the help window, as rich text for a Qt text view.
QString HelpGuideHtml();
