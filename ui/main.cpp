#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "gaeb/gaeb_catalogue.h"
#include "mail/mapi_binding.h"
#include "mail/mapi_errors.h"
#include "mail/mapi_settings.h"
#include "ui/command_line.h"
#include "ui/file_argument.h"
#include "ui/form_lyx.h"
#include "ui/german_qt.h"
#include "ui/qt_message_boxes.h"
#include "ui/qt_settings_store.h"
#include "ui/qt_window_dialogs.h"
#include "ui/recovery_question.h"
#include "util/message_boxes.h"
#include "util/startup.h"

// The command line names the resource library and, as for every desktop
// program, the tender to open.
int main(int argc, char* argv[]) {
  if (const WindowRequest request = EarlyRequest(argc, argv); request != WindowRequest::Run)
    return request == WindowRequest::Help ? ShowHelp() : ShowVersion();
  QApplication app(argc, argv);
  if (const QString option = UnknownOption(QCoreApplication::arguments()); !option.isEmpty())
    return WindowUsageError(option);
  QApplication::setApplicationName(QStringLiteral("Tarvo Rudarur: Bieter - Preiserfassung"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tarvo"));
  InstallGermanQtTexts(app);

  const Startup startup(argc, argv);
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    SetScreenBitsPerPixel(screen->depth());
  RegisterGaebDescriptors();
  AddPositionDisplayFields();

  QtMessageBoxes boxes;
  SetMessageBoxes(&boxes);
  // A broken mail provider is reported; everything but mail still works.
  try {
    InitMapi(std::make_shared<SystemMapiSettings>(MapiLibraryCandidates()));
  } catch (const EMapiDllError& e) {
    boxes.ShowError(e.what());
  }
  QtSettingsStore settings;
  QtWindowDialogs dialogs;
  int result;
  {
    TFormLyx window(settings, dialogs);
    window.showMaximized();
    // Asked and opened once the window is up, so that both show over it:
    // first what a crash left behind, then the tender named to open.
    const QString tender = FileArgument(QCoreApplication::arguments());
    QTimer::singleShot(0, &window, [&window, tender] {
      AskAboutRecoveries(window);
      if (!tender.isEmpty() && window.MayDiscardChanges()) window.LoadFile(tender);
    });
    result = QApplication::exec();
  }
  DoneMapi();
  SetMessageBoxes(nullptr);
  return result;
}
