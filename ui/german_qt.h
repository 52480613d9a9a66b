#pragma once

class QCoreApplication;

// Qt's own texts (standard buttons, the file, print and message dialogs) in
// German, from the translations installed with Qt; false when they are
// missing, and the dialogs then speak English.
bool InstallGermanQtTexts(QCoreApplication& application);
