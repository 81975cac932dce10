#pragma once

// For tests only: typing into and finding the controls of the window's dialogs.

#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <string>

#include "gui/dialog_screenshots.h"
#include "gui/gui_test_support.h"

namespace pentrak {

// Replaces a field's text by keystrokes, as a user types it.
inline void Type(QLineEdit* edit, const std::string& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Backspace);
  QTest::keyClicks(edit, ToQt(text));
}

// The dialog a menu command opened, once it is shown; null when none is.
inline QDialog* ShownDialog(DesktopFixture& desktop, const char* name) {
  return ShownDialog(*desktop.window, name);
}

template <typename Widget>
Widget* Control(QWidget* dialog, const char* name) {
  return dialog->findChild<Widget*>(QString::fromLatin1(name));
}

}  // namespace pentrak
