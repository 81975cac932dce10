#pragma once

#include <QWidget>
#include <functional>
#include <string>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace pentrak {

class ProcessStarter;
struct Workbench;

// Which of the current project's files a viewer lists.
enum class ViewerKind {
  kTemplates,     // the documents' templates
  kContentFiles,  // global, folder and document content files
  kProjectFiles,  // the project file, the definition file and the project macro file
};

// A window listing the current project's files of one kind, each with its full path, and
// offering the editor and the custom commands on the selected one, as the main window's views
// do.
class FileViewer : public QWidget {
 public:
  FileViewer(ViewerKind kind, Workbench& workbench, ProcessStarter& processes, QWidget* parent);

  // Lists the files of the current project again, keeping the selected one when it is still
  // there.
  void Refill();

 private:
  std::string SelectedPath() const;
  void RunOnSelected(const std::function<void(const std::string& path)>& command);
  void UpdateButtons();

  ViewerKind kind_;
  Workbench& workbench_;
  ProcessStarter& processes_;
  QLabel* caption_ = nullptr;
  QTreeWidget* files_ = nullptr;
  QPushButton* edit_ = nullptr;
  QPushButton* commands_ = nullptr;
};

}  // namespace pentrak
