#pragma once

#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/file_viewer.h"
#include "gui/row_list_model.h"
#include "gui/row_list_view.h"
#include "shell/document_list.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QTimer;
class QWidget;

namespace pentrak {

class PreviewServer;
class ProcessStarter;
class QtUserInterface;
class ReplaceForm;
class ReplaceSpecialForm;
class SearchForm;
class CheckLinksForm;
struct ToolWindowHost;
struct LaunchContext;
struct ProjectPropertiesForm;
struct Workbench;

// The main window "frmMain": the project selector, the project's folders, documents, template,
// content files and macros, the status list, the six switches, and every command. It presents
// the workbench and forwards each command to the shell functions pentrak-cli calls.
class MainWindow : public QMainWindow {
 public:
  MainWindow(Workbench& workbench, QtUserInterface& ui, ProcessStarter& processes);
  ~MainWindow() override;

  // Fills the project selector from the history.
  void RefreshProjects();
  // Reads the current project's definition again and shows it, keeping the selection.
  void DisplayCurrentProject();
  // Arms Timer2 when the command line asked for a batch run; true when it did.
  bool ArmBatchTimer();
  // The status the program ends with: that of the batch run, 0 when there was none.
  int ExitStatus() const { return exit_status_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // A file of the project a pop-up or double-click acts on.
  struct ListedFile {
    std::string name;  // as the definition or the project file holds it
    short scope = 0;   // the macro scope of a content file
  };

  void BuildActions();
  void BuildMenus();
  void BuildToolbar();
  void BuildViews();
  void BuildPopups();
  QAction* NewAction(const char* name, const QString& caption, std::function<void()> command);
  QMenu* NewPopup(QWidget* view, const char* name);
  void AddCustomCommands(QMenu* menu, const char* suffix, std::function<std::string()> file);
  void ApplyCaptions();

  // Views.
  void DisplayCurrentFolder();
  void DisplayCurrentDocument();
  void DisplayMacros();
  void UpdateCaptions();
  void UpdateCommandStates();
  std::vector<ListedFile> ContentFilesOfDocument() const;
  std::string ResolvedDocumentPath() const;
  std::string ResolvedSourcePath(const std::string& name) const;
  std::string DefinitionFilePath() const;
  std::string SelectedTemplatePath() const;
  std::string SelectedContentFilePath() const;

  // Commands; each runs under an error trap.
  void Trap(const std::function<void()>& command);
  void Generate(short scope);
  void Stop();
  void RunBatchTick();
  void NewProject();
  void OpenProjectCommand();
  void RemoveProject();
  void ChooseProjectAt(int row);
  void DocumentAction(int action);
  void EditFolder();
  void EditMacro();
  void SetSwitch(short& value, bool checked);
  void CloseProgram();
  LaunchContext Launch() const;
  void SetGenerating(bool generating);

  // The live preview of the current project.
  void TogglePreview();
  void StopPreview();
  void ShowPreviewState();
  void PreviewTick();
  void StopPreviewOfAnotherProject();

  // Sends the generated site to the project's destination, with a progress window and Stop.
  void Publish();

  // The program options dialog, the project properties dialog (a form for the current project
  // or a new one) and the option import wizard; each shows what it changed once confirmed.
  void ShowProgramOptions();
  void ShowProjectProperties(ProjectPropertiesForm form);
  void ShowImportOptions();
  void ShowChangedOptions();
  void ApplyBorder(bool resizable);
  void ApplyDisplaySize();

  // The viewers of the project's templates, content files and own files.
  void OpenViewer(ViewerKind kind);
  void RefillViewers();

  // The search and replace windows; one run at a time, and none during a generation.
  void OpenSearch(bool documents_mode);
  void OpenReplace();
  void OpenReplaceSpecial();
  void OpenCheckLinks();
  ToolWindowHost Host();
  bool ToolRunning() const;
  bool MayCloseToolWindows();
  void UpdateToolWindows();

  Workbench& workbench_;
  QtUserInterface& ui_;
  ProcessStarter& processes_;
  int folder_index_ = -1;    // the selected folder's slot in the definition, -1 for none
  int document_index_ = -1;  // the selected document's slot in that folder, -1 for none
  bool generating_ = false;
  short shown_large_display_ = -1;  // the "Large Display" value the window was sized for
  bool close_after_run_ = false;
  int exit_status_ = 0;

  QComboBox* projects_ = nullptr;
  QListWidget* folders_ = nullptr;
  RowListView* documents_ = nullptr;
  RowListModel<DocumentRow>* document_rows_ = nullptr;
  QLabel* document_details_ = nullptr;
  QListWidget* template_ = nullptr;
  QLabel* content_files_caption_ = nullptr;
  QListWidget* content_files_ = nullptr;
  QWidget* macros_frame_ = nullptr;
  QListWidget* macros_ = nullptr;
  RowListView* status_ = nullptr;
  StatusLines* status_lines_ = nullptr;
  QLabel* project_status_ = nullptr;
  QCheckBox* show_paths_ = nullptr;
  QCheckBox* show_attributes_ = nullptr;
  QCheckBox* show_macros_ = nullptr;
  QCheckBox* modified_only_ = nullptr;
  QCheckBox* skip_read_only_ = nullptr;
  QCheckBox* create_subdirectories_ = nullptr;
  QTimer* batch_timer_ = nullptr;
  std::unique_ptr<PreviewServer> preview_;
  std::string previewed_project_;  // the project file the preview serves
  QTimer* preview_timer_ = nullptr;
  std::vector<QAction*> preview_actions_;  // the menu's and the toolbar's, checked together
  std::vector<QAction*> publish_actions_;  // the menu's and the toolbar's
  std::array<FileViewer*, 3> viewers_{};   // made on first use, owned by the window
  SearchForm* search_form_ = nullptr;      // the same, for the tool windows
  ReplaceForm* replace_form_ = nullptr;
  ReplaceSpecialForm* replace_special_form_ = nullptr;
  CheckLinksForm* check_links_form_ = nullptr;
  std::vector<QAction*> generate_actions_;  // disabled while a run is in progress
  std::vector<QAction*> stop_actions_;
  std::vector<QAction*> project_actions_;      // reload settings: disabled during a run
  std::vector<QAction*> edit_folder_actions_;  // [0] unsorted, [1] sorted list
};

}  // namespace pentrak
