#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

#include "ui/help_form.h"
#include "ui/info_dialog.h"
#include "ui/qt_message_boxes.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const QString title = QStringLiteral("Tarvo Rudarur: Bieter - Preiserfassung");
  QApplication::setApplicationDisplayName(title);
  KsQtMessageBoxes boxes;
  SetMessageBoxes(&boxes);

  QMainWindow window;
  window.setWindowTitle(title);
  window.resize(750, 550);
  QMenu* help = window.menuBar()->addMenu(QStringLiteral("&Hilfe"));
  QAction* aHelp = help->addAction(QStringLiteral("Hilfe"), &window, [&window] { TFormHelp(&window).exec(); });
  aHelp->setShortcut(Qt::Key_F1);
  help->addSeparator();
  help->addAction(QStringLiteral("Info"), &window, [&window] { TDlgInfoLyx(&window).exec(); });
  window.showMaximized();

  const int result = QApplication::exec();
  SetMessageBoxes(nullptr);
  return result;
}
