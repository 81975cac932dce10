#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace pentrak {

// The system's texts are bytes; on the desktop they are shown as UTF-8, the encoding of file
// names on POSIX.
inline QString ToQt(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQt(const QString& text) { return text.toUtf8().toStdString(); }

// A message whose lines are broken by CR or CR LF, as a widget shows it.
QString MessageText(std::string_view text);

// A chooser filter "Label|*.a;*.b|Other|*.c" in the form a Qt file dialog takes.
QString ChooserFilter(std::string_view filter);

}  // namespace pentrak
