#include "ui/tender_file_types.h"

#include <QFileInfo>
#include <QStringList>

namespace {

const QStringList kTenders = {QStringLiteral("D83"), QStringLiteral("P83"), QStringLiteral("X83"),
                              QStringLiteral("D81")};
const QStringList kOffers = {QStringLiteral("D84"), QStringLiteral("P84"), QStringLiteral("X84")};

// "*.D83 *.d83 ...": the patterns of Qt's dialog heed the letter case.
QString Patterns(const QStringList& extensions) {
  QStringList patterns;
  for (const QString& extension : extensions)
    patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toLower();
  return patterns.join(QLatin1Char(' '));
}

}  // namespace

QString OpenFileFilter() {
  return QStringLiteral(
             "Ausschreibungen und Angebote (%1);;Ausschreibungen (%2);;"
             "Angebote (%3);;GAEB DA XML-Dateien (%4);;alle Dateien (*)")
      .arg(Patterns(kTenders + kOffers), Patterns(kTenders), Patterns(kOffers),
           Patterns({QStringLiteral("X83"), QStringLiteral("X84")}));
}

bool IsOpenableFileName(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toUpper();
  return kTenders.contains(suffix) || kOffers.contains(suffix);
}

bool IsOfferFileName(const QString& path) {
  return kOffers.contains(QFileInfo(path).suffix().toUpper());
}
