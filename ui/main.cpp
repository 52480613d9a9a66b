#include <QApplication>
#include <QScreen>

#include "gaeb/gaeb_catalogue.h"
#include "mail/mapi_binding.h"
#include "mail/mapi_errors.h"
#include "mail/mapi_settings.h"
#include "ui/form_lyx.h"
#include "ui/qt_message_boxes.h"
#include "ui/qt_settings_store.h"
#include "ui/qt_window_dialogs.h"
#include "util/message_boxes.h"
#include "util/startup.h"

// No file is opened from the command line; the only argument read names the
// resource library.
int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvo Rudarur: Bieter - Preiserfassung"));

  const KsStartup startup(argc, argv);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    SetScreenBitsPerPixel(screen->depth());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();

  KsQtMessageBoxes boxes;
  SetMessageBoxes(&boxes);
  // A broken mail provider is reported; everything but mail still works.
  try {
    InitMapi(std::make_shared<KsSystemMapiSettings>(MapiLibraryCandidates()));
  } catch (const EMapiDllError& e) {
    boxes.ShowError(e.what());
  }
  KsQtSettingsStore settings;
  KsQtWindowDialogs dialogs;
  int result;
  {
    TFormLyx window(settings, dialogs);
    window.showMaximized();
    result = QApplication::exec();
  }
  DoneMapi();
  SetMessageBoxes(nullptr);
  return result;
}
