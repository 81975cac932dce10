#include "gui/tool_window_parts.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "gui/window_commands.h"
#include "platform/paths.h"
#include "shell/launcher.h"
#include "shell/workbench.h"

namespace pentrak {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;

}  // namespace

QPushButton* CloseButton(QDialog* window) {
  auto* close = new QPushButton(QStringLiteral("C&lose"), window);
  close->setObjectName(QStringLiteral("cmdClose"));
  close->setAutoDefault(false);
  QObject::connect(close, &QPushButton::clicked, window, &QDialog::reject);
  return close;
}

QListWidget* StatusView(const char* name, QWidget* parent) {
  auto* view = new QListWidget(parent);
  view->setObjectName(QString::fromLatin1(name));
  return view;
}

QLabel* StatusCaption(const char* name, QListWidget* view, QWidget* parent) {
  return ListCaption(name, QStringLiteral("Status"), view, parent);
}

QLabel* ListCaption(const char* name, const QString& text, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  label->setBuddy(buddy);
  return label;
}

QCheckBox* BoundCheckBox(const char* name, const QString& caption, bool& value, QWidget* parent,
                         const std::function<void()>& changed) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(value);
  QObject::connect(box, &QCheckBox::toggled, parent, [&value, changed](bool on) {
    value = on;
    changed();
  });
  return box;
}

QLineEdit* BoundLineEdit(const char* name, std::string& value, QWidget* parent,
                         const std::function<void()>& changed) {
  auto* field = new QLineEdit(parent);
  field->setObjectName(QString::fromLatin1(name));
  field->setMinimumWidth(360);
  QObject::connect(field, &QLineEdit::textChanged, parent, [&value, changed](const QString& text) {
    value = FromQt(text);
    changed();
  });
  return field;
}

void ListStatus::Add(std::string_view line) {
  list_->addItem(ToQt(line));
  list_->scrollToBottom();
}

void ListStatus::Clear() { list_->clear(); }

SelectionBox::SelectionBox(FileSelection& selection, QWidget* parent)
    : QGroupBox(QStringLiteral("Search In"), parent), selection_(selection) {
  setObjectName(QStringLiteral("fraScope"));
  auto changed = [this] {
    if (on_change) on_change();
  };
  whole_ = new QRadioButton(this);
  whole_->setObjectName(QStringLiteral("optWholeProject"));
  current_ = new QRadioButton(QStringLiteral("C&urrent document"), this);
  current_->setObjectName(QStringLiteral("optCurrentDocument"));
  (selection.scope == SearchScope::kWholeProject ? whole_ : current_)->setChecked(true);
  connect(current_, &QRadioButton::toggled, this, [this, changed](bool on) {
    selection_.scope = on ? SearchScope::kCurrentDocument : SearchScope::kWholeProject;
    changed();
  });

  kinds_ = new QWidget(this);
  auto* kinds = new QGridLayout(kinds_);
  kinds->setContentsMargins(0, 4, 0, 0);
  kinds->addWidget(
      BoundCheckBox("ckGlobals", QStringLiteral("&Globals"), selection.globals, kinds_, changed), 0,
      0);
  kinds->addWidget(BoundCheckBox("ckFolderGlobals", QStringLiteral("&Folder globals"),
                                 selection.folder_globals, kinds_, changed),
                   0, 1);
  kinds->addWidget(BoundCheckBox("ckTemplates", QStringLiteral("&Templates"), selection.templates,
                                 kinds_, changed),
                   1, 0);
  kinds->addWidget(BoundCheckBox("ckContentFiles", QStringLiteral("&Content files"),
                                 selection.content_files, kinds_, changed),
                   1, 1);

  auto* layout = new QVBoxLayout(this);
  auto* scope = new QHBoxLayout;
  scope->addWidget(whole_);
  scope->addWidget(current_);
  scope->addStretch(1);
  layout->addLayout(scope);
  layout->addWidget(kinds_);
  SetDocumentsMode(false);
}

void SelectionBox::SetDocumentsMode(bool documents_mode) {
  whole_->setText(documents_mode ? QStringLiteral("&All documents")
                                 : QStringLiteral("W&hole project"));
  kinds_->setVisible(!documents_mode);
}

ResultsPanel::ResultsPanel(Workbench& workbench, ProcessStarter& processes, QWidget* parent)
    : QWidget(parent), workbench_(workbench), processes_(processes) {
  results_ = new QListWidget(this);
  results_->setObjectName(QStringLiteral("lstResults"));
  details_ = new QTreeWidget(this);
  details_->setObjectName(QStringLiteral("tvwDetailedResults"));
  details_->setHeaderHidden(true);
  details_->setUniformRowHeights(true);
  // Long lines scroll sideways rather than lose their middle.
  details_->header()->setStretchLastSection(false);
  details_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  details_caption_ = ListCaption("lblDetailedResults", QStringLiteral("Detailed Results by Li&ne"),
                                 details_, this);
  for (QWidget* view : {static_cast<QWidget*>(results_), static_cast<QWidget*>(details_)}) {
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    AddPopup(view);
  }
  auto edit = [this](QWidget* view) {
    Target target = CurrentTarget(view);
    if (target.path.empty()) return;
    RunTrapped(workbench_.ui, [this, &target] {
      LaunchEditor({workbench_.options, workbench_.project, processes_, workbench_.ui, {}},
                   target.path, target.line);
    });
  };
  connect(results_, &QListWidget::itemDoubleClicked, this, [this, edit] { edit(results_); });
  connect(details_, &QTreeWidget::itemDoubleClicked, this, [this, edit](QTreeWidgetItem* item) {
    // A file's own entry folds and unfolds; its lines open the editor.
    if (item->parent() != nullptr) edit(details_);
  });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(ListCaption("lblResults", QStringLiteral("R&esults"), results_, this));
  layout->addWidget(results_, 1);
  layout->addWidget(details_caption_);
  layout->addWidget(details_, 2);
}

void ResultsPanel::SetDetailsShown(bool shown) {
  details_caption_->setVisible(shown);
  details_->setVisible(shown);
}

void ResultsPanel::Clear() {
  results_->clear();
  details_->clear();
}

void ResultsPanel::AddResult(const std::string& path, int count) {
  auto* item = new QListWidgetItem(ToQt(ResultEntryText(path, count)), results_);
  item->setData(kPathRole, ToQt(path));
}

void ResultsPanel::AddDetail(const LineHit& hit) {
  // Lines come file by file, so a file's entry is the last one when it exists. Its lines show
  // the file's name only: the full path stands once, on the file's entry.
  QString path = ToQt(hit.path);
  int files = details_->topLevelItemCount();
  QTreeWidgetItem* file = files > 0 ? details_->topLevelItem(files - 1) : nullptr;
  if (file == nullptr || file->data(0, kPathRole).toString() != path) {
    file = new QTreeWidgetItem(details_, {path});
    file->setData(0, kPathRole, path);
    file->setExpanded(true);
  }
  LineHit shown = hit;
  shown.path = FileNameOfPath(hit.path);
  auto* line = new QTreeWidgetItem(file, {ToQt(DetailText(shown))});
  line->setData(0, kPathRole, path);
  line->setData(0, kLineRole, hit.line_number);
  line->setToolTip(0, QStringLiteral("%1, line %2").arg(path).arg(hit.line_number));
}

ResultsPanel::Target ResultsPanel::CurrentTarget(QWidget* view) const {
  if (view == results_) {
    QListWidgetItem* item = results_->currentItem();
    if (item == nullptr) return {};
    return {FromQt(item->data(kPathRole).toString()), 0};
  }
  QTreeWidgetItem* item = details_->currentItem();
  if (item == nullptr) return {};
  return {FromQt(item->data(0, kPathRole).toString()), item->data(0, kLineRole).toInt()};
}

void ResultsPanel::AddPopup(QWidget* view) {
  auto* menu = new QMenu(view);
  auto run = [this, view](const std::function<void(const LaunchContext&, const Target&)>& command) {
    Target target = CurrentTarget(view);
    if (target.path.empty()) return;
    RunTrapped(workbench_.ui, [&] {
      command({workbench_.options, workbench_.project, processes_, workbench_.ui, {}}, target);
    });
  };
  QAction* edit = menu->addAction(QStringLiteral("&Edit"));
  edit->setObjectName(QStringLiteral("mnuEditResult"));
  connect(edit, &QAction::triggered, this, [run] {
    run([](const LaunchContext& launch, const Target& target) {
      LaunchEditor(launch, target.path, target.line);
    });
  });
  menu->addSeparator();
  const ProgramOptions& options = workbench_.options;
  for (int n = 1; n <= 6; ++n) {
    QAction* action = menu->addAction(CustomCommandCaption(options, n));
    action->setObjectName(QStringLiteral("mnuCustom%1Result").arg(n));
    // A custom command that is not set up would start nothing.
    action->setVisible(!options.custom_options[static_cast<std::size_t>(n - 1)].command.empty());
    connect(action, &QAction::triggered, this, [run, n] {
      run([n](const LaunchContext& launch, const Target& target) {
        LaunchCustomCommand(launch, target.path, n);
      });
    });
  }
  connect(view, &QWidget::customContextMenuRequested, this, [this, view, menu](const QPoint& at) {
    if (CurrentTarget(view).path.empty()) return;
    auto* scroller = qobject_cast<QAbstractScrollArea*>(view);
    menu->popup((scroller != nullptr ? scroller->viewport() : view)->mapToGlobal(at));
  });
}

}  // namespace pentrak
