#pragma once

#include <functional>
#include <string>

class QDialog;
class QMainWindow;
class QWidget;

namespace pentrak {

// The shown dialog of this name among the window's children; null when none is. A dialog closed
// before may still wait for its deletion.
QDialog* ShownDialog(const QWidget& window, const char* name);

// Opens each dialog of the main window from its menu command and hands it to save with a file
// name: every tab of the program options and of the project properties, the new-project form,
// and both steps of the option import wizard (importing options_file). False when a save fails.
bool SaveDialogScreenshots(QMainWindow& window, const std::string& options_file,
                           const std::function<bool(QWidget&, const std::string&)>& save);

}  // namespace pentrak
