#include "gui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/qt_user_interface.h"
#include "preview/preview_server.h"
#include "shell/launcher.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

QLabel* Caption(const char* name, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  return label;
}

// A captioned view stacked in a column.
QWidget* Column(std::initializer_list<QWidget*> widgets, QWidget* parent) {
  auto* column = new QWidget(parent);
  auto* layout = new QVBoxLayout(column);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(3);
  for (QWidget* widget : widgets) layout->addWidget(widget, widget->inherits("QLabel") ? 0 : 1);
  return column;
}

template <typename View>
View* NamedView(const char* name, QWidget* parent) {
  auto* view = new View(parent);
  view->setObjectName(QString::fromLatin1(name));
  view->setContextMenuPolicy(Qt::CustomContextMenu);
  return view;
}

QCheckBox* Switch(const char* name, const QString& caption, short value, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(value == 1);
  return box;
}

}  // namespace

MainWindow::MainWindow(Workbench& workbench, QtUserInterface& ui, ProcessStarter& processes)
    : workbench_(workbench),
      ui_(ui),
      processes_(processes),
      preview_(std::make_unique<PreviewServer>(workbench)) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QStringLiteral("Pentrak CMS"));
  BuildViews();
  BuildActions();
  BuildToolbar();
  BuildPopups();
  ui_.SetParentWindow(this);
  ui_.SetStatusList(status_lines_);

  batch_timer_ = new QTimer(this);
  batch_timer_->setObjectName(QStringLiteral("Timer2"));
  batch_timer_->setSingleShot(true);
  connect(batch_timer_, &QTimer::timeout, this, [this] { RunBatchTick(); });
  preview_timer_ = new QTimer(this);
  preview_timer_->setObjectName(QStringLiteral("PreviewTimer"));
  connect(preview_timer_, &QTimer::timeout, this, [this] { PreviewTick(); });
  preview_->OnRun([this](bool running) { SetGenerating(running); });

  ApplyDisplaySize();
  ApplyCaptions();
  ShowPreviewState();
  UpdateCommandStates();
}

MainWindow::~MainWindow() {
  ui_.SetStatusList(nullptr);
  ui_.SetParentWindow(nullptr);
}

QAction* MainWindow::NewAction(const char* name, const QString& caption,
                               std::function<void()> command) {
  auto* action = new QAction(caption, this);
  action->setObjectName(QString::fromLatin1(name));
  connect(action, &QAction::triggered, this, [this, command] { Trap(command); });
  return action;
}

void MainWindow::BuildViews() {
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);

  auto* selector_row = new QHBoxLayout;
  projects_ = new QComboBox(central);
  projects_->setObjectName(QStringLiteral("cboProjects"));
  projects_->setMinimumContentsLength(40);
  connect(projects_, &QComboBox::activated, this, [this](int row) { ChooseProjectAt(row); });
  auto* selector_caption = Caption("lblProjects", QStringLiteral("Pro&ject:"), central);
  selector_caption->setBuddy(projects_);
  selector_row->addWidget(selector_caption);
  selector_row->addWidget(projects_, 1);
  outer->addLayout(selector_row);

  auto* vertical = new QSplitter(Qt::Vertical, central);
  auto* views = new QSplitter(Qt::Horizontal, vertical);

  folders_ = NamedView<QListWidget>("lstFolders", views);
  views->addWidget(
      Column({Caption("lblFolders", QStringLiteral("Folders"), views), folders_}, views));

  documents_ = new RowListView("lvwDocuments", views);
  documents_->setContextMenuPolicy(Qt::CustomContextMenu);
  document_rows_ = new RowListModel<DocumentRow>(
      {QStringLiteral("Document"), QStringLiteral("Template"), QStringLiteral("Attributes"),
       QStringLiteral("Modified")},
      [](const DocumentRow& row, int column, int role) -> QVariant {
        if (role == Qt::ToolTipRole && column == 0) return ToQt(row.path);
        if (role != Qt::DisplayRole) return QVariant();
        const std::string* texts[] = {&row.name, &row.template_path, &row.notes, &row.modified};
        return ToQt(*texts[column]);
      },
      documents_);
  documents_->SetRowModel(document_rows_);
  documents_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  document_details_ = new QLabel(views);
  document_details_->setObjectName(QStringLiteral("lblDocumentDetails"));
  document_details_->setWordWrap(true);
  document_details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  views->addWidget(Column(
      {Caption("lblDocuments", QStringLiteral("Documents"), views), documents_, document_details_},
      views));

  template_ = NamedView<QListWidget>("lvwTemplate", views);
  template_->setMaximumHeight(template_->fontMetrics().height() * 3);
  content_files_caption_ = Caption("lblContentFiles", QStringLiteral("Content Files"), views);
  content_files_ = NamedView<QListWidget>("lvwContentFiles", views);
  macros_ = NamedView<QListWidget>("lstMacros", views);
  macros_frame_ = Column({Caption("lblMacros", QStringLiteral("Macros"), views), macros_}, views);
  macros_frame_->setObjectName(QStringLiteral("fraMacros"));
  views->addWidget(Column({Caption("lblTemplate", QStringLiteral("Template"), views), template_,
                           content_files_caption_, content_files_, macros_frame_},
                          views));
  views->setStretchFactor(0, 2);
  views->setStretchFactor(1, 4);
  views->setStretchFactor(2, 3);

  auto* lower = new QWidget(vertical);
  auto* lower_layout = new QVBoxLayout(lower);
  lower_layout->setContentsMargins(0, 0, 0, 0);
  auto* switches = new QGridLayout;
  const DisplaySettings& display = workbench_.display;
  show_paths_ = Switch("ckShowPaths", QStringLiteral("Show Paths"), display.display_paths, lower);
  show_attributes_ = Switch("ckShowAttributes", QStringLiteral("Show Attributes"),
                            display.display_attributes, lower);
  show_macros_ =
      Switch("ckShowMacros", QStringLiteral("Show Macros"), display.display_macros, lower);
  modified_only_ =
      Switch("ckGenerateModifiedOnly", QStringLiteral("Generate Modified Documents Only"),
             display.modified_only, lower);
  skip_read_only_ = Switch("ckSkipReadOnly", QStringLiteral("Skip Read-Only Documents"),
                           display.skip_read_only, lower);
  create_subdirectories_ = Switch("ckAutomaticallyCreateSubdirectories",
                                  QStringLiteral("Automatically Create Subdirectories"),
                                  display.create_subdirectories, lower);
  switches->addWidget(show_paths_, 0, 0);
  switches->addWidget(show_attributes_, 0, 1);
  switches->addWidget(show_macros_, 0, 2);
  switches->addWidget(modified_only_, 1, 0);
  switches->addWidget(skip_read_only_, 1, 1);
  switches->addWidget(create_subdirectories_, 1, 2);
  lower_layout->addLayout(switches);
  status_ = new RowListView("lstStatus", lower);
  status_lines_ = NewStatusLines(status_);
  status_->SetRowModel(status_lines_);
  status_->FollowLastRow(true);
  lower_layout->addWidget(Caption("lblStatus", QStringLiteral("Status"), lower));
  lower_layout->addWidget(status_, 1);
  vertical->addWidget(views);
  vertical->addWidget(lower);
  vertical->setStretchFactor(0, 3);
  vertical->setStretchFactor(1, 1);
  outer->addWidget(vertical, 1);
  setCentralWidget(central);

  project_status_ = new QLabel(this);
  project_status_->setObjectName(QStringLiteral("lblProjectStatus"));
  statusBar()->setObjectName(QStringLiteral("sbStatusBar"));
  statusBar()->addWidget(project_status_, 1);

  DisplaySettings& switched = workbench_.display;
  connect(show_paths_, &QCheckBox::toggled, this, [this, &switched](bool on) {
    SetSwitch(switched.display_paths, on);
    DisplayCurrentFolder();
  });
  connect(show_attributes_, &QCheckBox::toggled, this, [this, &switched](bool on) {
    SetSwitch(switched.display_attributes, on);
    DisplayCurrentFolder();
  });
  connect(show_macros_, &QCheckBox::toggled, this, [this, &switched](bool on) {
    SetSwitch(switched.display_macros, on);
    DisplayMacros();
  });
  connect(modified_only_, &QCheckBox::toggled, this,
          [this, &switched](bool on) { SetSwitch(switched.modified_only, on); });
  connect(skip_read_only_, &QCheckBox::toggled, this,
          [this, &switched](bool on) { SetSwitch(switched.skip_read_only, on); });
  connect(create_subdirectories_, &QCheckBox::toggled, this,
          [this, &switched](bool on) { SetSwitch(switched.create_subdirectories, on); });

  connect(folders_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    folder_index_ = folders_->item(row)->data(Qt::UserRole).toInt();
    document_index_ = -1;
    DisplayCurrentFolder();
  });
  // "Activated" is a double-click or Enter: the keyboard reaches every list's action.
  connect(folders_, &QListWidget::itemActivated, this, [this] { Trap([this] { EditFolder(); }); });
  connect(documents_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            const DocumentRow* row = document_rows_->RowAt(current);
            document_index_ = row == nullptr ? -1 : row->slot;
            DisplayCurrentDocument();
          });
  connect(documents_, &QAbstractItemView::activated, this, [this] {
    Trap([this] { DocumentAction(workbench_.options.documents_default_action); });
  });
  connect(content_files_, &QListWidget::currentRowChanged, this, [this] { DisplayMacros(); });
  connect(macros_, &QListWidget::itemActivated, this, [this] { Trap([this] { EditMacro(); }); });
  connect(status_, &QAbstractItemView::activated, this,
          [this] { Trap([this] { LaunchEditor(Launch(), workbench_.work_files.log_file); }); });
}

}  // namespace pentrak
