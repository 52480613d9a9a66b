#pragma once

#include <QStringList>
#include <QWidget>

class QLabel;

// What the window shows while no tender is open: how to open one ("Ausschreibung
// öffnen (F4)", or drop a file here) and the recent files as links.
class StartPage : public QWidget {
  Q_OBJECT
 public:
  explicit StartPage(QWidget* parent = nullptr);

  // The recent files, most recent first; the links follow them.
  void SetRecentFiles(const QStringList& paths);

 signals:
  void OpenRequested();
  void RecentFileChosen(const QString& path);

 private:
  void LinkActivated(const QString& link);

  QLabel* lblOpen;
  QLabel* lblRecent;
  QStringList paths_;
};
