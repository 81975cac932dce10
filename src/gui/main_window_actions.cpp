// The main window's menus, toolbar and pop-up menus.

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <tuple>
#include <utility>

#include "generation/generation_run.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "shell/launcher.h"
#include "shell/project_properties_dialog.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

// "Launch " + the option's caption, or the numbered default when the caption is empty.
QString CustomApplicationCaption(const ProgramOptions& options, int n, bool menu) {
  const std::string& caption = options.custom_applications[static_cast<std::size_t>(n - 1)].caption;
  QString launch = menu ? QStringLiteral("Launch &") : QStringLiteral("Launch ");
  if (!caption.empty()) return launch + ToQt(caption);
  if (n == 1) return launch + QStringLiteral("Custom Application");
  // The second and third take their number as menu letter: one letter, one command.
  return QStringLiteral("Launch Custom Application %1%2").arg(menu ? "&" : "").arg(n);
}

}  // namespace

void MainWindow::BuildActions() {
  QMenu* project = menuBar()->addMenu(QStringLiteral("&Project"));
  project->setObjectName(QStringLiteral("mnuProject"));
  QAction* new_project =
      NewAction("mnuNewProject", QStringLiteral("&New Project..."), [this] { NewProject(); });
  QAction* open_project = NewAction("mnuOpenProject", QStringLiteral("&Open Project..."),
                                    [this] { OpenProjectCommand(); });
  QAction* remove = NewAction("mnuRemoveProject", QStringLiteral("&Remove Project..."),
                              [this] { RemoveProject(); });
  QAction* refresh = NewAction("mnuRefreshProject", QStringLiteral("Re&fresh Project"),
                               [this] { DisplayCurrentProject(); });
  refresh->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  QAction* properties =
      NewAction("mnuProjectProperties", QStringLiteral("Project &Properties..."),
                [this] { ShowProjectProperties(OpenProjectProperties(workbench_)); });
  QAction* exit = NewAction("mnuExit", QStringLiteral("E&xit"), [this] { close(); });
  open_project->setShortcut(QKeySequence::Open);
  project->addActions({new_project, open_project, remove, refresh});
  project->addSeparator();
  project->addAction(properties);
  publish_actions_ = {NewAction("mnuPublish", QStringLiteral("P&ublish"), [this] { Publish(); })};
  project->addAction(publish_actions_[0]);
  project->addSeparator();
  project->addAction(exit);
  project_actions_ = {new_project, open_project, remove, refresh, properties};

  QMenu* generate = menuBar()->addMenu(QStringLiteral("&Generate"));
  generate->setObjectName(QStringLiteral("mnuGenerate"));
  generate_actions_ = {
      NewAction("mnuGenerateProject", QStringLiteral("Generate &Project"),
                [this] { Generate(kScopeProject); }),
      NewAction("mnuGenerateFolder", QStringLiteral("Generate &Folder"),
                [this] { Generate(kScopeFolder); }),
      NewAction("mnuGenerateDocument", QStringLiteral("Generate &Document"),
                [this] { Generate(kScopeDocument); }),
  };
  generate_actions_[0]->setShortcut(QKeySequence(Qt::Key_F5));
  stop_actions_ = {
      NewAction("mnuStopGeneration", QStringLiteral("&Stop Generation"), [this] { Stop(); })};
  stop_actions_[0]->setShortcut(QKeySequence(Qt::Key_Escape));
  generate->addActions({generate_actions_[0], generate_actions_[1], generate_actions_[2]});
  generate->addSeparator();
  generate->addAction(stop_actions_[0]);
  generate->addSeparator();
  preview_actions_ = {
      NewAction("mnuPreview", QStringLiteral("Pre&view in Browser"), [this] { TogglePreview(); })};
  generate->addAction(preview_actions_[0]);

  // The options dialogs are separate windows; their commands stand here and stay disabled until
  // those windows exist.
  QMenu* search = menuBar()->addMenu(QStringLiteral("&Search"));
  search->setObjectName(QStringLiteral("mnuSearchMenu"));
  QAction* find = NewAction("mnuSearch", QStringLiteral("&Find..."), [this] { OpenSearch(false); });
  find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  QAction* replace =
      NewAction("mnuReplace", QStringLiteral("&Replace..."), [this] { OpenReplace(); });
  replace->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
  search->addActions(
      {find,
       NewAction("mnuSearchDocuments", QStringLiteral("Find in &Documents..."),
                 [this] { OpenSearch(true); }),
       replace,
       NewAction("mnuReplaceSpecial", QStringLiteral("Replace &Special (Line Endings)..."),
                 [this] { OpenReplaceSpecial(); })});

  QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
  tools->setObjectName(QStringLiteral("mnuTools"));
  tools->addAction(NewAction("mnuEditor", QStringLiteral("Launch &Editor"),
                             [this] { LaunchEditor(Launch(), ""); }));
  tools->addAction(NewAction("mnuBrowser", QStringLiteral("Launch &Browser"),
                             [this] { LaunchBrowser(Launch(), ""); }));
  tools->addAction(NewAction("mnuImageEditor", QStringLiteral("Launch &Image Editor"),
                             [this] { LaunchImageEditor(Launch(), ""); }));
  tools->addAction(NewAction("mnuXMLEditor", QStringLiteral("Launch &XML Editor"),
                             [this] { LaunchXmlEditor(Launch(), ""); }));
  const char* applications[] = {"mnuCustomApplication", "mnuCustomApplication2",
                                "mnuCustomApplication3"};
  for (int n = 1; n <= 3; ++n) {
    tools->addAction(NewAction(applications[n - 1], QString(),
                               [this, n] { LaunchCustomApplication(Launch(), n); }));
  }
  tools->addAction(NewAction("mnuBrowseFolder1", QStringLiteral("Explore &Folder"), [this] {
    OpenWithAssociation(Launch(), workbench_.options.browse_folder, 2);
  }));
  tools->addSeparator();
  tools->addAction(NewAction("mnuViewLog", QStringLiteral("View &Log File"),
                             [this] { LaunchEditor(Launch(), workbench_.work_files.log_file); }));
  QAction* check_links =
      NewAction("mnuCheckLinks", QStringLiteral("Chec&k Links..."), [this] { OpenCheckLinks(); });
  tools->addAction(check_links);
  project_actions_.push_back(check_links);
  tools->addSeparator();
  QAction* options =
      NewAction("mnuOptions", QStringLiteral("&Options..."), [this] { ShowProgramOptions(); });
  QAction* import_options = NewAction("mnuImportOptions", QStringLiteral("I&mport Options..."),
                                      [this] { ShowImportOptions(); });
  tools->addActions({options, import_options});
  project_actions_.insert(project_actions_.end(), {options, import_options});

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  view->setObjectName(QStringLiteral("mnuView"));
  for (auto [name, caption, kind] :
       {std::tuple{"mnuViewTemplates", "&Templates...", ViewerKind::kTemplates},
        std::tuple{"mnuViewContentFiles", "&Content Files...", ViewerKind::kContentFiles},
        std::tuple{"mnuProjectBrowser", "&Project Files...", ViewerKind::kProjectFiles}}) {
    ViewerKind shown = kind;
    view->addAction(
        NewAction(name, QString::fromLatin1(caption), [this, shown] { OpenViewer(shown); }));
  }

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  help->addAction(NewAction("mnuAbout", QStringLiteral("&About Pentrak CMS"), [this] {
    workbench_.ui.ShowMessage("About Pentrak CMS",
                              std::string("Pentrak CMS ") + PENTRAK_VERSION +
                                  "\rBuilds static web sites from templates and macros.\r"
                                  "Program folder: " +
                                  workbench_.program_folder,
                              Icon::kInformation, Buttons::kOk);
  }));
}

void MainWindow::BuildToolbar() {
  QToolBar* toolbar = addToolBar(QStringLiteral("Toolbar"));
  toolbar->setObjectName(QStringLiteral("Toolbar1"));
  toolbar->setMovable(false);
  toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto button = [&](const char* key, const QString& text, const QString& tooltip,
                    std::function<void()> command) {
    QAction* action = NewAction(key, text, std::move(command));
    action->setToolTip(tooltip);
    toolbar->addAction(action);
    return action;
  };
  generate_actions_.push_back(button("Generate", QStringLiteral("Generate"),
                                     QStringLiteral("Generate Project"),
                                     [this] { Generate(kScopeProject); }));
  generate_actions_.push_back(button("GenerateFolder", QStringLiteral("Folder"),
                                     QStringLiteral("Generate Folder"),
                                     [this] { Generate(kScopeFolder); }));
  generate_actions_.push_back(button("GenerateDocument", QStringLiteral("Document"),
                                     QStringLiteral("Generate Document"),
                                     [this] { Generate(kScopeDocument); }));
  stop_actions_.push_back(button("Stop", QStringLiteral("Stop"), QStringLiteral("Stop Generation"),
                                 [this] { Stop(); }));
  preview_actions_.push_back(
      button("Preview", QStringLiteral("Preview"), QString(), [this] { TogglePreview(); }));
  // Checked while the preview serves: the second click stops it.
  for (QAction* action : preview_actions_) action->setCheckable(true);
  publish_actions_.push_back(button("Publish", QStringLiteral("Publish"),
                                    QStringLiteral("Publish the Site (Only What Changed)"),
                                    [this] { Publish(); }));
  toolbar->addSeparator();
  button("Search", QStringLiteral("Find"), QStringLiteral("Find"), [this] { OpenSearch(false); });
  button("Replace", QStringLiteral("Replace"), QStringLiteral("Replace"),
         [this] { OpenReplace(); });
  toolbar->addSeparator();
  button("Editor", QStringLiteral("Editor"), QStringLiteral("Launch Editor"),
         [this] { LaunchEditor(Launch(), ""); });
  button("Browser", QStringLiteral("Browser"), QStringLiteral("Launch Browser"),
         [this] { LaunchBrowser(Launch(), ""); });
  button("ImageEditor", QStringLiteral("Image"), QStringLiteral("Launch Image Editor"),
         [this] { LaunchImageEditor(Launch(), ""); });
  button("XMLEditor", QStringLiteral("XML"), QStringLiteral("Launch XML Editor"),
         [this] { LaunchXmlEditor(Launch(), ""); });
  const char* applications[] = {"CustomApplication", "CustomApplication2", "CustomApplication3"};
  for (int n = 1; n <= 3; ++n) {
    button(applications[n - 1], QStringLiteral("App %1").arg(n), QString(),
           [this, n] { LaunchCustomApplication(Launch(), n); });
  }
  button("BrowseFolder1", QStringLiteral("Explore"), QStringLiteral("Explore Folder"),
         [this] { OpenWithAssociation(Launch(), workbench_.options.browse_folder, 2); });
  button("Log", QStringLiteral("Log"), QStringLiteral("View Log File"),
         [this] { LaunchEditor(Launch(), workbench_.work_files.log_file); });
}

QMenu* MainWindow::NewPopup(QWidget* view, const char* name) {
  auto* menu = new QMenu(view);
  menu->setObjectName(QString::fromLatin1(name));
  // An item view reports the point in its viewport, below the header.
  auto* scroller = qobject_cast<QAbstractScrollArea*>(view);
  QWidget* area = scroller != nullptr ? scroller->viewport() : view;
  connect(view, &QWidget::customContextMenuRequested, this,
          [area, menu](const QPoint& at) { menu->popup(area->mapToGlobal(at)); });
  // Shift+F10 opens it from the keyboard, at the current item (the Menu key already does).
  auto* key = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), view, nullptr, nullptr,
                            Qt::WidgetShortcut);
  connect(key, &QShortcut::activated, this, [view, area, menu] {
    QPoint at = area->rect().center();
    auto* items = qobject_cast<QAbstractItemView*>(view);
    if (items != nullptr && items->currentIndex().isValid()) {
      at = items->visualRect(items->currentIndex()).center();
    }
    menu->popup(area->mapToGlobal(at));
  });
  return menu;
}

void MainWindow::AddCustomCommands(QMenu* menu, const char* suffix,
                                   std::function<std::string()> file) {
  menu->addSeparator();
  for (int n = 1; n <= 6; ++n) {
    std::string name = "mnuCustom" + std::to_string(n) + suffix;
    menu->addAction(NewAction(name.c_str(), QString(),
                              [this, file, n] { LaunchCustomCommand(Launch(), file(), n); }));
  }
}

void MainWindow::BuildPopups() {
  QMenu* folders = NewPopup(folders_, "mnuFolders");
  edit_folder_actions_ = {
      NewAction("mnuEditFolder", QStringLiteral("&Edit Folder"), [this] { EditFolder(); }),
      NewAction("mnuEditFolderSorted", QStringLiteral("&Edit Folder"), [this] { EditFolder(); })};
  folders->addActions({edit_folder_actions_[0], edit_folder_actions_[1]});
  // A folder lives in the definition file, so its custom commands act on that file.
  AddCustomCommands(folders, "Folders", [this] { return DefinitionFilePath(); });

  QMenu* documents = NewPopup(documents_, "mnuDocuments");
  struct DocumentItem {
    const char* name;
    const char* caption;
    int action;
  };
  for (const DocumentItem& item :
       {DocumentItem{"mnuOpenDocument", "&Open", 0},
        DocumentItem{"mnuBrowseDocument", "Open in &Browser", 1},
        DocumentItem{"mnuEditDocument", "&Edit", 2},
        DocumentItem{"mnuEditContentFileDocument", "Edit &Content File", 3},
        DocumentItem{"mnuImageEditDocument", "Open in &Image Editor", 4},
        DocumentItem{"mnuXMLEditDocument", "Open in &XML Editor", 5}}) {
    int action = item.action;
    documents->addAction(NewAction(item.name, QString::fromLatin1(item.caption),
                                   [this, action] { DocumentAction(action); }));
  }
  documents->addSeparator();
  for (int n = 1; n <= 6; ++n) {
    std::string name = "mnuCustom" + std::to_string(n) + "Document";
    documents->addAction(NewAction(name.c_str(), QString(), [this, n] { DocumentAction(6 + n); }));
  }

  QMenu* templates = NewPopup(template_, "mnuTemplate");
  templates->addAction(NewAction("mnuEditTemplate", QStringLiteral("&Edit Template"),
                                 [this] { LaunchEditor(Launch(), SelectedTemplatePath()); }));
  AddCustomCommands(templates, "Template", [this] { return SelectedTemplatePath(); });
  connect(template_, &QListWidget::itemActivated, this,
          [this] { Trap([this] { LaunchEditor(Launch(), SelectedTemplatePath()); }); });

  QMenu* content = NewPopup(content_files_, "mnuContentFiles");
  content->addAction(NewAction("mnuEditContentFile", QStringLiteral("&Edit Content File"),
                               [this] { LaunchEditor(Launch(), SelectedContentFilePath()); }));
  AddCustomCommands(content, "ContentFile", [this] { return SelectedContentFilePath(); });
  connect(content_files_, &QListWidget::itemActivated, this,
          [this] { Trap([this] { LaunchEditor(Launch(), SelectedContentFilePath()); }); });

  QMenu* macros = NewPopup(macros_, "mnuMacros");
  macros->addAction(
      NewAction("mnuEditMacro", QStringLiteral("&Edit Macro"), [this] { EditMacro(); }));
}

// Captions that come from the program options, applied at start.
void MainWindow::ApplyCaptions() {
  const ProgramOptions& options = workbench_.options;
  const char* menu_names[] = {"mnuCustomApplication", "mnuCustomApplication2",
                              "mnuCustomApplication3"};
  const char* keys[] = {"CustomApplication", "CustomApplication2", "CustomApplication3"};
  for (int n = 1; n <= 3; ++n) {
    findChild<QAction*>(QString::fromLatin1(menu_names[n - 1]))
        ->setText(CustomApplicationCaption(options, n, true));
    const CustomApplication& application =
        options.custom_applications[static_cast<std::size_t>(n - 1)];
    auto* button = findChild<QAction*>(QString::fromLatin1(keys[n - 1]));
    button->setToolTip(CustomApplicationCaption(options, n, false));
    button->setText(application.caption.empty() ? QStringLiteral("App %1").arg(n)
                                                : ToQt(application.caption));
    // A button that would start nothing only takes room on the toolbar.
    button->setVisible(!application.command.empty());
  }
  for (const char* suffix : {"Folders", "Document", "Template", "ContentFile"}) {
    for (int n = 1; n <= 6; ++n) {
      auto* action = findChild<QAction*>(
          QStringLiteral("mnuCustom%1%2").arg(n).arg(QString::fromLatin1(suffix)));
      const CustomOption& option = options.custom_options[static_cast<std::size_t>(n - 1)];
      action->setText(CustomCommandCaption(options, n));
      // A custom command that is not set up would start nothing.
      action->setVisible(!option.command.empty());
    }
  }
  bool sorted = options.sort_folders == 1;
  edit_folder_actions_[0]->setVisible(!sorted);
  edit_folder_actions_[1]->setVisible(sorted);
}

}  // namespace pentrak
