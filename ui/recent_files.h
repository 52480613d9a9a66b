#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

class QAction;
class QMenu;

// The nine recent-file entries of the "&Datei" menu, most recent first,
// placed between two separators. An entry is visible exactly when it names a
// file. The path is kept beside the caption, so a "&" in a file name is shown
// as it is and never taken for a mnemonic.
class RecentFileList : public QObject {
  Q_OBJECT
 public:
  static constexpr int kCount = 9;

  // Creates the hidden entries between the separators, that is right before
  // breakAfter.
  RecentFileList(QMenu& menu, QAction& breakAfter, QObject* parent = nullptr);

  // Moves the entry of this path (letter case ignored) to the top, or gives
  // the path to the oldest entry and moves that one to the top.
  void Add(const QString& path);
  // The i-th entry, most recent first, takes the path ("" hides it).
  void SetPath(int index, const QString& path);
  // The path of the i-th entry; "" when it is hidden.
  QString Path(int index) const;
  // The visible paths, most recent first.
  QStringList Paths() const;
  QAction* Entry(int index) const { return entries_.at(index); }

 signals:
  // An entry was clicked.
  void Chosen(const QString& path);

 private:
  void Place();

  QMenu& menu_;
  QAction& breakAfter_;
  std::array<QAction*, kCount> entries_{};
};
