#include "ui/file_argument.h"

#include <QFileInfo>

namespace {

bool IsOption(const QString& argument) {
  if (argument.startsWith(QLatin1Char('-'))) return true;
  const bool library = argument.size() > 1 && argument.at(1).toUpper() == QLatin1Char('O');
  return library && !QFileInfo(argument).isFile();
}

}  // namespace

QString FileArgument(const QStringList& arguments) {
  for (qsizetype i = arguments.size() - 1; i >= 1; --i)
    if (!arguments.at(i).isEmpty() && !IsOption(arguments.at(i)))
      return QFileInfo(arguments.at(i)).absoluteFilePath();
  return {};
}
