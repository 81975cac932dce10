#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

#include "shell/option_import_wizard.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace pentrak {

struct Workbench;

// The option import wizard "frmImportOptions": step 1 names the options file to import, step 2
// chooses the project history under the two headings; Back, Next and Finish follow the model.
// It only shows the wizard and forwards what the user does.
class OptionImportWindow : public QDialog {
 public:
  // after_finish runs once the imported options are in place and read back, for the main window
  // to show them.
  OptionImportWindow(Workbench& workbench, std::function<void()> after_finish, QWidget* parent);

 private:
  QWidget* BuildOptionsStep();
  QWidget* BuildHistoryStep();
  // Typing in a path field goes to typed, leaving it normalizes field, and the browse button
  // beside it (returned) runs browse.
  QPushButton* WirePathField(QLineEdit* edit, std::string OptionImportWizard::*field,
                             void (*typed)(OptionImportWizard&, std::string),
                             const char* browse_name,
                             void (*browse)(Workbench&, OptionImportWizard&), QWidget* page);
  void ShowWizard();
  void Next();
  void Finish();

  Workbench& workbench_;
  OptionImportWizard wizard_;
  std::function<void()> after_finish_;
  QStackedWidget* steps_ = nullptr;
  QLineEdit* options_path_ = nullptr;
  QLineEdit* other_history_path_ = nullptr;
  std::array<QRadioButton*, 4> choices_{};
  QPushButton* back_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* finish_ = nullptr;
};

}  // namespace pentrak
