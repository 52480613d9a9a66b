#include "ui/one_line.h"

namespace {

bool IsLineBreak(QChar c) {
  return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator ||
         c == QChar::ParagraphSeparator;
}

}  // namespace

QString OneLine(const QString& text) {
  const QString whole = text.trimmed();
  for (qsizetype i = 0; i < whole.size(); ++i)
    if (IsLineBreak(whole.at(i))) return whole.left(i).trimmed() + QChar(0x2026);
  return text;
}
