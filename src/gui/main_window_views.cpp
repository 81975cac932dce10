// What the main window shows of the current project.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>

#include "engine/content_file.h"
#include "engine/macro_tables.h"
#include "engine/optimization.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "project/definition_file.h"
#include "project/path_resolution.h"
#include "project/project_structure.h"
#include "settings/project_history.h"
#include "shell/launcher.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

constexpr int kFileRole = Qt::UserRole;
constexpr int kScopeRole = Qt::UserRole + 1;
constexpr int kLineRole = Qt::UserRole + 2;

const Folder* FolderAt(const ProjectDefinition& definition, int index) {
  if (index < 0 || index >= static_cast<int>(definition.folders.size())) return nullptr;
  const Folder& folder = definition.folders[static_cast<std::size_t>(index)];
  return folder.name.empty() ? nullptr : &folder;
}

const Document* DocumentAt(const Folder* folder, int index) {
  if (folder == nullptr || index < 0 || index >= static_cast<int>(folder->documents.size())) {
    return nullptr;
  }
  const Document& document = folder->documents[static_cast<std::size_t>(index)];
  return document.path.empty() ? nullptr : &document;
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         ToLowerAscii(text.substr(text.size() - end.size())) == ToLowerAscii(end);
}

// A macro's name as the list shows it: with its tags, or without them.
std::string MacroCaption(const std::string& name, const MacroTags& tags, bool with_tags) {
  if (with_tags) return name;
  std::string_view text = name;
  if (!tags.macro_start.empty() && text.substr(0, tags.macro_start.size()) == tags.macro_start) {
    text.remove_prefix(tags.macro_start.size());
  }
  if (!tags.macro_end.empty() && text.size() >= tags.macro_end.size() &&
      text.substr(text.size() - tags.macro_end.size()) == tags.macro_end) {
    text.remove_suffix(tags.macro_end.size());
  }
  return std::string(text);
}

}  // namespace

void MainWindow::RefreshProjects() {
  const QSignalBlocker blocker(projects_);
  projects_->clear();
  const ProjectHistory& history = workbench_.history;
  for (int i = 0; i <= history.last_index; ++i) {
    const ProjectHistoryEntry& entry = history.entries[static_cast<std::size_t>(i)];
    if (entry.status == kHistoryDropped) continue;
    projects_->addItem(ToQt(entry.name), i);
    projects_->setItemData(projects_->count() - 1, ToQt(entry.project_file), Qt::ToolTipRole);
    if (i == history.current_index) projects_->setCurrentIndex(projects_->count() - 1);
  }
}

void MainWindow::DisplayCurrentProject() {
  StopPreviewOfAnotherProject();
  Trap([this] {
    ProjectDefinition& definition = workbench_.definition;
    if (!workbench_.project.project_file_path.empty()) {
      ReadDefinition(DefinitionContext{workbench_.fs, workbench_.ui, workbench_.project,
                                       workbench_.options, definition},
                     false, true);
    } else {
      ClearDefinition(definition);
    }
    {
      const QSignalBlocker blocker(folders_);
      folders_->clear();
      for (int index : FolderDisplayOrder(definition, workbench_.options.sort_folders == 1)) {
        auto* item = new QListWidgetItem(
            ToQt(definition.folders[static_cast<std::size_t>(index)].name), folders_);
        item->setData(kFileRole, index);
        if (index == folder_index_) folders_->setCurrentItem(item);
      }
      if (folders_->currentItem() == nullptr && folders_->count() > 0) {
        folders_->setCurrentRow(0);
        folder_index_ = folders_->item(0)->data(kFileRole).toInt();
        document_index_ = -1;
      }
      if (folders_->count() == 0) folder_index_ = -1;
    }
    DisplayCurrentFolder();
    UpdateCaptions();
    RefillViewers();
  });
}

void MainWindow::OpenViewer(ViewerKind kind) {
  FileViewer*& viewer = viewers_[static_cast<std::size_t>(kind)];
  if (viewer == nullptr) {
    viewer = new FileViewer(kind, workbench_, processes_, this);
    // First shown over the main window, not in the screen's corner.
    viewer->adjustSize();
    viewer->move(geometry().center() - viewer->rect().center());
  } else {
    viewer->Refill();
  }
  viewer->show();
  viewer->raise();
  viewer->activateWindow();
}

void MainWindow::RefillViewers() {
  for (FileViewer* viewer : viewers_) {
    if (viewer != nullptr && viewer->isVisible()) viewer->Refill();
  }
}

void MainWindow::DisplayCurrentFolder() {
  bool attributes = workbench_.display.display_attributes == 1;
  {
    const QSignalBlocker blocker(documents_->selectionModel());
    document_rows_->Reset(
        DocumentRows({workbench_.fs, workbench_.project, workbench_.options, workbench_.definition},
                     folder_index_, workbench_.display.display_paths == 1, attributes));
    for (int column = 1; column <= 3; ++column) documents_->setColumnHidden(column, !attributes);
    const std::vector<DocumentRow>& rows = document_rows_->rows();
    auto current = std::find_if(rows.begin(), rows.end(), [this](const DocumentRow& row) {
      return row.slot == document_index_;
    });
    if (current == rows.end()) current = rows.begin();
    document_index_ = current == rows.end() ? -1 : current->slot;
    if (current != rows.end()) {
      documents_->setCurrentIndex(
          document_rows_->index(static_cast<int>(current - rows.begin()), 0));
    }
  }
  DisplayCurrentDocument();
  UpdateCommandStates();
}

std::vector<MainWindow::ListedFile> MainWindow::ContentFilesOfDocument() const {
  std::vector<ListedFile> files;
  const Folder* folder = FolderAt(workbench_.definition, folder_index_);
  const Document* document = DocumentAt(folder, document_index_);
  if (document == nullptr) return files;
  auto add = [&files](const std::vector<std::string>& names, short scope) {
    for (const std::string& name : names) {
      if (name.empty()) break;
      files.push_back({name, scope});
    }
  };
  // In the order a generation loads them, as far as this document sees them.
  const ProjectSettings& project = workbench_.project;
  if (document->no_project_globals == 0) {
    if (project.display_project_macro_file == 1 && !project.project_macro_file.empty() &&
        folder->no_project_macro_file == 0) {
      files.push_back({project.project_macro_file, kProjectMacroScope});
    }
    add(workbench_.definition.global_content_files, kGlobalScope);
  }
  if (document->no_folder_globals == 0) add(folder->content_files, kFolderGlobalScope);
  add(document->content_files, kContentFileScope);
  const ProgramOptions& options = workbench_.options;
  if (options.enable_content_file_filter == 1 && !options.content_file_filter.empty()) {
    std::erase_if(files, [&options](const ListedFile& file) {
      return !EndsWithIgnoringCase(file.name, options.content_file_filter);
    });
  }
  return files;
}

void MainWindow::DisplayCurrentDocument() {
  const Folder* folder = FolderAt(workbench_.definition, folder_index_);
  const Document* document = DocumentAt(folder, document_index_);
  template_->clear();
  {
    const QSignalBlocker blocker(content_files_);
    content_files_->clear();
    for (const ListedFile& file : ContentFilesOfDocument()) {
      auto* item = new QListWidgetItem(ToQt(file.name), content_files_);
      item->setData(kFileRole, ToQt(file.name));
      item->setData(kScopeRole, file.scope);
    }
    if (content_files_->count() > 0) content_files_->setCurrentRow(content_files_->count() - 1);
  }
  if (document == nullptr) {
    document_details_->clear();
  } else {
    QString details = ToQt(document->path);
    if (document->template_path.empty()) {
      details += QStringLiteral("\nStatic document: copied by hand, never generated.");
    } else {
      new QListWidgetItem(ToQt(document->template_path), template_);
      details += QStringLiteral("\nOptimization level: %1")
                     .arg(EffectiveOptimizationLevel(workbench_.project, *document));
    }
    document_details_->setText(details);
  }
  const ProgramOptions& options = workbench_.options;
  content_files_caption_->setText(options.enable_content_file_filter == 1
                                      ? QStringLiteral("Content Files (using filter *") +
                                            ToQt(options.content_file_filter) + QLatin1Char(')')
                                      : QStringLiteral("Content Files"));
  DisplayMacros();
}

void MainWindow::DisplayMacros() {
  macros_->clear();
  bool shown = workbench_.display.display_macros == 1;
  macros_frame_->setVisible(shown);
  if (!shown) return;
  std::vector<QListWidgetItem*> files;
  if (workbench_.options.display_all_macros == 1) {
    new QListWidgetItem(QStringLiteral("(all macros)"), macros_);
    for (int row = 0; row < content_files_->count(); ++row)
      files.push_back(content_files_->item(row));
  } else if (content_files_->currentItem() != nullptr) {
    files.push_back(content_files_->currentItem());
  }
  MacroTables& macros = workbench_.macros;
  LogContext log{workbench_.work_files, workbench_.fs, workbench_.ui, workbench_.options};
  bool with_tags = workbench_.options.show_macro_tags == 1;
  Trap([&] {
    for (QListWidgetItem* file : files) {
      short scope = static_cast<short>(file->data(kScopeRole).toInt());
      std::string path = ResolvedSourcePath(FromQt(file->data(kFileRole).toString()));
      ClearSwitches which;
      which.display_table = true;
      ClearMacroTables(macros, which);
      LoadContentFile(ContentLoadContext{workbench_.project, workbench_.fs, log, macros}, scope,
                      path, macros.display_table, false, true);
      for (const Macro& macro : macros.display_table.slots) {
        if (macro.name.empty()) break;
        auto* item = new QListWidgetItem(
            ToQt(MacroCaption(macro.name, workbench_.project.tags, with_tags)), macros_);
        item->setData(kFileRole, ToQt(path));
        item->setData(kLineRole, macro.line_number);
      }
    }
  });
}

void MainWindow::UpdateCaptions() {
  const ProjectSettings& project = workbench_.project;
  if (project.project_file_path.empty()) {
    setWindowTitle(QStringLiteral("Pentrak CMS"));
    project_status_->setText(QStringLiteral("No project"));
    return;
  }
  setWindowTitle(QStringLiteral("Pentrak CMS - ") + ToQt(project.name) + QStringLiteral(" - ") +
                 ToQt(project.project_file_path));
  project_status_->setText(
      QStringLiteral("Project: ") + ToQt(project.name) +
      QStringLiteral(" (%1 Documents)").arg(workbench_.definition.document_count));
}

void MainWindow::UpdateCommandStates() {
  bool project = !workbench_.project.project_file_path.empty();
  bool folder = FolderAt(workbench_.definition, folder_index_) != nullptr;
  bool document = DocumentAt(FolderAt(workbench_.definition, folder_index_), document_index_);
  bool enabled[] = {project, folder, document};
  // A search or replace run holds the project as a generation does.
  bool busy = generating_ || ToolRunning();
  // The menu holds the first three, the toolbar the next three, in the same order.
  for (std::size_t i = 0; i < generate_actions_.size(); ++i) {
    generate_actions_[i]->setEnabled(!busy && enabled[i % 3]);
  }
  for (QAction* action : stop_actions_) action->setEnabled(generating_);
  // Reading another project in the middle of a run would pull its tables away from it.
  for (QAction* action : project_actions_) {
    bool needs_project = action->objectName() == QStringLiteral("mnuProjectProperties");
    action->setEnabled(!busy && (project || !needs_project));
  }
  projects_->setEnabled(!busy);
  for (QAction* action : preview_actions_) action->setEnabled(project && !busy);
  for (QAction* action : publish_actions_) action->setEnabled(project && !busy);
  UpdateToolWindows();
}

std::string MainWindow::ResolvedSourcePath(const std::string& name) const {
  return ResolveProjectPath({workbench_.fs, workbench_.project, workbench_.options}, name, true,
                            false);
}

std::string MainWindow::ResolvedDocumentPath() const {
  const Document* document =
      DocumentAt(FolderAt(workbench_.definition, folder_index_), document_index_);
  if (document == nullptr) return "";
  return ResolveProjectPath({workbench_.fs, workbench_.project, workbench_.options}, document->path,
                            true, true);
}

std::string MainWindow::DefinitionFilePath() const {
  return ResolvedSourcePath(workbench_.project.definition_file);
}

std::string MainWindow::SelectedTemplatePath() const {
  if (template_->count() == 0) return "";
  return ResolvedSourcePath(FromQt(template_->item(0)->text()));
}

std::string MainWindow::SelectedContentFilePath() const {
  QListWidgetItem* item = content_files_->currentItem();
  if (item == nullptr) return "";
  return ResolvedSourcePath(FromQt(item->data(kFileRole).toString()));
}

void MainWindow::EditMacro() {
  QListWidgetItem* item = macros_->currentItem();
  if (item == nullptr || item->data(kFileRole).isNull()) return;
  LaunchEditor(Launch(), FromQt(item->data(kFileRole).toString()), item->data(kLineRole).toInt());
}

void MainWindow::EditFolder() {
  const Folder* folder = FolderAt(workbench_.definition, folder_index_);
  if (folder == nullptr) return;
  LaunchEditor(Launch(), DefinitionFilePath(), folder->header_line);
}

}  // namespace pentrak
