#include "gui/qt_text.h"

#include <QStringList>

namespace pentrak {

QString MessageText(std::string_view text) {
  QString result = ToQt(text);
  result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return result;
}

QString ChooserFilter(std::string_view filter) {
  QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // A description that already shows its patterns ("Projects (*.web)") is not given them twice.
    const QString shown = QStringLiteral("(") + patterns + QLatin1Char(')');
    entries << (parts[i].endsWith(shown) ? parts[i] : parts[i] + QLatin1Char(' ') + shown);
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace pentrak
