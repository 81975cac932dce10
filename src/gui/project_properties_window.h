#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "shell/project_properties_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace pentrak {

class Mnemonics;
struct Workbench;

// The project properties dialog "frmProjectProperties", for the current project or, in
// new-project mode, for a new one: the five tabs, the example texts beside the tags, the three
// reset buttons, the creation switches of a new project, and "OK" or "Create" running the
// model's confirmation. It only shows the form and forwards what the user does.
class ProjectPropertiesWindow : public QDialog {
 public:
  // after_confirm runs once the project is saved and read back, for the main window to show it.
  ProjectPropertiesWindow(Workbench& workbench, ProjectPropertiesForm form,
                          std::function<void()> after_confirm, QWidget* parent);

  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Control {
    const PropertiesField* field;
    QWidget* widget;
  };
  struct Example {
    std::string SampleTexts::*text;
    QLabel* label;
  };

  QWidget* BuildTab(PropertiesTab tab, const QString& reserved);
  QWidget* BuildControl(const PropertiesField& field, QWidget* page);
  QWidget* BuildCreationSwitches(QWidget* page, Mnemonics& mnemonics);
  QLabel* NewExample(std::string SampleTexts::*text, const std::string& name, QWidget* page);
  void Edited(const PropertiesField& field, const QString& text);
  void ShowForm();
  void Confirm();

  Workbench& workbench_;
  ProjectPropertiesForm form_;
  std::function<void()> after_confirm_;
  QTabWidget* tabs_ = nullptr;
  QLineEdit* exclude_list_ = nullptr;
  std::vector<Control> controls_;
  std::vector<Example> examples_;
  std::vector<std::pair<bool SampleProjectSwitches::*, QCheckBox*>> switches_;
};

}  // namespace pentrak
