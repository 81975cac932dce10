#include "gui/file_viewer.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <utility>
#include <vector>

#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "platform/paths.h"
#include "project/path_resolution.h"
#include "project/project_structure.h"
#include "shell/launcher.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kNameColumn = 0;
constexpr int kKindColumn = 1;
constexpr int kPathColumn = 2;

struct ListedFile {
  QString kind;      // shown by the project browser only
  std::string name;  // as the definition writes it
  std::string path;  // resolved against the roots
};

struct ViewerText {
  const char* object_name;
  const char* title;
  const char* caption;
};

ViewerText TextOf(ViewerKind kind) {
  switch (kind) {
    case ViewerKind::kTemplates:
      return {"frmViewTemplates", "Templates", "Templates used by the project's documents:"};
    case ViewerKind::kContentFiles:
      return {"frmViewContentFiles", "Content Files",
              "Content files of the project, its folders and its documents:"};
    case ViewerKind::kProjectFiles:
      break;
  }
  return {"frmProjectBrowser", "Project Files",
          "The project file, its definition file and its project macro file:"};
}

std::vector<ListedFile> FilesOf(ViewerKind kind, const Workbench& workbench) {
  std::vector<ListedFile> files;
  const ProjectSettings& project = workbench.project;
  if (project.project_file_path.empty()) return files;
  auto source = [&workbench](const std::string& name) {
    return ResolveProjectPath({workbench.fs, workbench.project, workbench.options}, name, true,
                              false);
  };
  if (kind == ViewerKind::kProjectFiles) {
    // The project may name them with full paths; the name alone says which is which.
    auto add = [&files](const char* what, const std::string& path) {
      files.push_back({QString::fromLatin1(what), FileNameOfPath(path), path});
    };
    add("Project file", project.project_file_path);
    add("Definition file", source(project.definition_file));
    if (!project.project_macro_file.empty()) {
      add("Project macro file", source(project.project_macro_file));
    }
    return files;
  }
  std::vector<std::string> names = kind == ViewerKind::kTemplates
                                       ? TemplateNames(workbench.definition)
                                       : ContentFileNames(workbench.definition);
  for (std::string& name : names) {
    std::string path = source(name);
    files.push_back({QString(), std::move(name), std::move(path)});
  }
  return files;
}

}  // namespace

FileViewer::FileViewer(ViewerKind kind, Workbench& workbench, ProcessStarter& processes,
                       QWidget* parent)
    : QWidget(parent, Qt::Window), kind_(kind), workbench_(workbench), processes_(processes) {
  ViewerText text = TextOf(kind);
  setObjectName(QString::fromLatin1(text.object_name));
  // Escape closes a viewer as it closes every other tool window.
  auto* close_key = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close_key, &QShortcut::activated, this, &QWidget::close);
  auto* layout = new QVBoxLayout(this);
  caption_ = new QLabel(QString::fromLatin1(text.caption), this);
  caption_->setObjectName(QStringLiteral("lblFiles"));
  layout->addWidget(caption_);

  files_ = new QTreeWidget(this);
  files_->setObjectName(QStringLiteral("lvwFiles"));
  files_->setRootIsDecorated(false);
  files_->setUniformRowHeights(true);
  files_->setHeaderLabels(
      {QStringLiteral("File"), QStringLiteral("Kind"), QStringLiteral("Full Path")});
  files_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  files_->setColumnHidden(kKindColumn, kind != ViewerKind::kProjectFiles);
  files_->setContextMenuPolicy(Qt::CustomContextMenu);
  layout->addWidget(files_, 1);

  // The same commands as the main window's views: Edit, then custom commands 1 to 6.
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("mnuFiles"));
  auto* edit = new QAction(QStringLiteral("&Edit"), menu);
  edit->setObjectName(QStringLiteral("mnuEditFile"));
  connect(edit, &QAction::triggered, this, [this] {
    RunOnSelected([this](const std::string& path) {
      LaunchEditor({workbench_.options, workbench_.project, processes_, workbench_.ui, {}}, path);
    });
  });
  menu->addAction(edit);
  menu->addSeparator();
  const ProgramOptions& options = workbench_.options;
  bool any_command = false;
  for (int n = 1; n <= 6; ++n) {
    auto* action = new QAction(CustomCommandCaption(options, n), menu);
    action->setObjectName(QStringLiteral("mnuCustom%1File").arg(n));
    // A custom command that is not set up would start nothing.
    bool set_up = !options.custom_options[static_cast<std::size_t>(n - 1)].command.empty();
    action->setVisible(set_up);
    any_command = any_command || set_up;
    connect(action, &QAction::triggered, this, [this, n] {
      RunOnSelected([this, n](const std::string& path) {
        LaunchCustomCommand({workbench_.options, workbench_.project, processes_, workbench_.ui, {}},
                            path, n);
      });
    });
    menu->addAction(action);
  }
  connect(files_, &QWidget::customContextMenuRequested, this, [this, menu](const QPoint& at) {
    if (files_->currentItem() != nullptr) menu->popup(files_->viewport()->mapToGlobal(at));
  });
  connect(files_, &QTreeWidget::itemDoubleClicked, edit, &QAction::trigger);
  connect(files_, &QTreeWidget::currentItemChanged, this, [this] { UpdateButtons(); });

  auto* buttons = new QHBoxLayout;
  edit_ = new QPushButton(QStringLiteral("&Edit"), this);
  edit_->setObjectName(QStringLiteral("cmdEdit"));
  connect(edit_, &QPushButton::clicked, edit, &QAction::trigger);
  commands_ = new QPushButton(QStringLiteral("&Commands"), this);
  commands_->setObjectName(QStringLiteral("cmdCommands"));
  commands_->setMenu(menu);
  commands_->setVisible(any_command);
  auto* close = new QPushButton(QStringLiteral("C&lose"), this);
  close->setObjectName(QStringLiteral("cmdClose"));
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  buttons->addWidget(edit_);
  buttons->addWidget(commands_);
  buttons->addStretch(1);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  resize(760, 420);
  Refill();
}

void FileViewer::Refill() {
  ViewerText text = TextOf(kind_);
  const ProjectSettings& project = workbench_.project;
  setWindowTitle(project.project_file_path.empty()
                     ? QString::fromLatin1(text.title)
                     : QString::fromLatin1(text.title) + QStringLiteral(" - ") +
                           ToQt(project.name));
  QString selected = files_->currentItem() == nullptr
                         ? QString()
                         : files_->currentItem()->data(kNameColumn, kPathRole).toString();
  files_->clear();
  for (const ListedFile& file : FilesOf(kind_, workbench_)) {
    auto* item = new QTreeWidgetItem(files_);
    item->setText(kNameColumn, ToQt(file.name));
    item->setText(kKindColumn, file.kind);
    item->setText(kPathColumn, ToQt(file.path));
    item->setData(kNameColumn, kPathRole, ToQt(file.path));
    if (item->data(kNameColumn, kPathRole).toString() == selected) files_->setCurrentItem(item);
  }
  if (files_->currentItem() == nullptr && files_->topLevelItemCount() > 0) {
    files_->setCurrentItem(files_->topLevelItem(0));
  }
  UpdateButtons();
}

std::string FileViewer::SelectedPath() const {
  QTreeWidgetItem* item = files_->currentItem();
  return item == nullptr ? "" : FromQt(item->data(kNameColumn, kPathRole).toString());
}

void FileViewer::RunOnSelected(const std::function<void(const std::string& path)>& command) {
  std::string path = SelectedPath();
  if (path.empty()) return;
  RunTrapped(workbench_.ui, [&command, &path] { command(path); });
}

void FileViewer::UpdateButtons() {
  bool selected = files_->currentItem() != nullptr;
  edit_->setEnabled(selected);
  commands_->setEnabled(selected);
}

}  // namespace pentrak
