#include "db/qt_text.h"

#include "util/codec.h"

QString ToQString(const std::string& text) {
  QString out(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* d = out.data();
  for (size_t i = 0; i < text.size(); ++i)
    d[i] = QChar(static_cast<char16_t>(Cp1252ToUnicode(static_cast<unsigned char>(text[i]))));
  return out;
}

std::string FromQString(const QString& text) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    out += c.isSurrogate() ? '?' : UnicodeToCp1252(c.unicode());
  }
  return out;
}
