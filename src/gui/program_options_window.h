#pragma once

#include <QDialog>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/program_options_dialog.h"

class QTabWidget;

namespace pentrak {

struct Workbench;

// The program options dialog "frmOptions": every option of "pentrak.ini" on its tab, and OK
// running the model's confirm steps. It only shows the form and forwards what the user does.
class ProgramOptionsWindow : public QDialog {
 public:
  // set_border is the model's last confirm step; after_confirm runs once the new options are
  // saved and read back, for the main window to show them.
  ProgramOptionsWindow(Workbench& workbench, std::function<void(bool resizable)> set_border,
                       std::function<void()> after_confirm, QWidget* parent);

 private:
  QWidget* BuildTab(OptionsTab tab);
  QWidget* BuildField(const OptionsField& field, QWidget* page);
  void ShowEnabling();
  void Confirm();

  Workbench& workbench_;
  ProgramOptionsForm form_;
  std::function<void(bool resizable)> set_border_;
  std::function<void()> after_confirm_;
  QTabWidget* tabs_ = nullptr;
  std::vector<std::pair<std::string_view, QWidget*>> fields_;  // by key, in table order
};

}  // namespace pentrak
